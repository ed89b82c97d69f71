#include "platform/password_mask.h"

#include <vector>

namespace vn {
namespace {

constexpr std::string_view kMask = "***";

// Blanks as the connection-string syntax trims them around keys and values.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `key` names a password: "PWD" or "Password" in any case, alone or as the last word
// of a longer key ("Jet OLEDB:Database Password"), blanks around it ignored.
bool IsPasswordKey(std::string_view key) {
  while (!key.empty() && IsBlank(key.front())) key.remove_prefix(1);
  while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
  for (std::string_view word : {std::string_view("password"), std::string_view("pwd")}) {
    if (key.size() < word.size()) continue;
    const size_t at = key.size() - word.size();
    bool same = true;
    for (size_t i = 0; i < word.size() && same; ++i) same = Lower(key[at + i]) == word[i];
    if (same && (at == 0 || key[at - 1] == ' ' || key[at - 1] == ':')) return true;
  }
  return false;
}

// The end of the value that starts at `at` (after the blanks behind "="): the next ";" outside
// the quotes (or, with `braces`, the braces) that the value starts with; the end of the text when
// they stay open. Only a password's value reads braces as ODBC does: elsewhere a brace is a plain
// character, as the connection-string syntax has it, so a "{" in another value cannot hide the
// pairs behind it from the mask.
size_t ValueEnd(std::string_view text, size_t at, bool braces) {
  const size_t n = text.size();
  size_t from = at;
  if (at < n && (text[at] == '"' || text[at] == '\'' || (braces && text[at] == '{'))) {
    const char close = text[at] == '{' ? '}' : text[at];
    from = n;
    for (size_t i = at + 1; i < n; ++i) {
      if (text[i] != close) continue;
      if (i + 1 < n && text[i + 1] == close) {  // a doubled delimiter stays inside
        ++i;
        continue;
      }
      from = i + 1;
      break;
    }
  }
  const size_t semicolon = text.find(';', from);
  return semicolon == std::string_view::npos ? n : semicolon;
}

// A password as its connection string quotes it, without the quotes or braces around it and with
// the doubled delimiters inside made single.
std::string Unquoted(std::string_view value) {
  if (value.size() < 2) return std::string(value);
  const char open = value.front();
  const char close = open == '{' ? '}' : open;
  if ((open != '"' && open != '\'' && open != '{') || value.back() != close) {
    return std::string(value);
  }
  std::string out;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    out += value[i];
    if (value[i] == close && value[i + 1] == close) ++i;
  }
  return out;
}

bool IsWordCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Walks the key=value pairs of `text`: the copy with the passwords masked, and the passwords.
std::string Scan(std::string_view text, std::vector<std::string>* passwords) {
  const size_t n = text.size();
  std::string out;
  out.reserve(n);
  size_t i = 0;
  while (i < n) {
    // The key runs to "=" ("==" is an "=" inside it); a part without one is copied.
    size_t equals = i;
    while (equals < n && text[equals] != ';') {
      if (text[equals] == '=') {
        if (equals + 1 < n && text[equals + 1] == '=') {
          equals += 2;
          continue;
        }
        break;
      }
      ++equals;
    }
    if (equals >= n || text[equals] != '=') {
      const size_t end = equals < n ? equals + 1 : n;
      out.append(text.substr(i, end - i));
      i = end;
      continue;
    }
    size_t valueStart = equals + 1;
    while (valueStart < n && IsBlank(text[valueStart])) ++valueStart;
    out.append(text.substr(i, valueStart - i));
    const bool password = IsPasswordKey(text.substr(i, equals - i));
    const size_t valueEnd = ValueEnd(text, valueStart, password);
    // An empty value hides nothing; it shows only that no password was given.
    if (password && valueEnd > valueStart) {
      out.append(kMask);
      if (passwords != nullptr) {
        std::string_view value = text.substr(valueStart, valueEnd - valueStart);
        while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
        passwords->push_back(Unquoted(value));
      }
    } else {
      out.append(text.substr(valueStart, valueEnd - valueStart));
    }
    i = valueEnd;
  }
  return out;
}

}  // namespace

std::string MaskPasswords(std::string_view text) { return Scan(text, nullptr); }

std::string MaskPasswordsIn(std::string_view text, std::string_view connection) {
  std::vector<std::string> passwords;
  Scan(connection, &passwords);
  std::string out = Scan(text, nullptr);
  for (const std::string& password : passwords) {
    if (password.empty()) continue;
    for (size_t at = out.find(password); at != std::string::npos; at = out.find(password, at)) {
      const size_t end = at + password.size();
      const bool alone =
          (at == 0 || !IsWordCharacter(out[at - 1]) || !IsWordCharacter(password.front())) &&
          (end == out.size() || !IsWordCharacter(out[end]) || !IsWordCharacter(password.back()));
      if (alone) {
        out.replace(at, password.size(), kMask);
        at += kMask.size();
      } else {
        ++at;
      }
    }
  }
  return out;
}

}  // namespace vn
