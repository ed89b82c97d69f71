#include "data/connection_string.h"

#include "data/errors.h"
#include "platform/text.h"

namespace vn::data {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

}  // namespace

ConnectionString::ConnectionString(const std::string& text, BareWords bareWords) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    // Key: up to '=', where "==" stands for a literal '='.
    std::string key;
    size_t keyStart = i;
    bool sawEquals = false;
    while (i < n) {
      if (text[i] == '=') {
        if (i + 1 < n && text[i + 1] == '=') {
          key += '=';
          i += 2;
          continue;
        }
        sawEquals = true;
        ++i;
        break;
      }
      if (text[i] == ';') break;
      key += text[i++];
    }
    key = TrimBlanks(key);
    if (!sawEquals) {
      // A part without '=': blank parts (";;" or a trailing ";") are allowed, anything else
      // is a key without value.
      if (!key.empty() && bareWords == BareWords::kRefuse) {
        throw RuntimeError(kErrInvalidArgument,
                           "Connection string: '=' expected after the keyword '" + key +
                               "' at position " + std::to_string(keyStart + 1) + ".",
                           "ConnectionString");
      }
      ++i;  // skip ';'
      continue;
    }
    // Value: quoted when its first non-blank character is a quote.
    size_t j = i;
    while (j < n && IsBlank(text[j]) && text[j] != ';') ++j;
    std::string value;
    if (j < n && (text[j] == '"' || text[j] == '\'')) {
      char quote = text[j];
      size_t quoteStart = j;
      ++j;
      bool closed = false;
      while (j < n) {
        if (text[j] == quote) {
          if (j + 1 < n && text[j + 1] == quote) {
            value += quote;
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        value += text[j++];
      }
      if (!closed) {
        throw RuntimeError(kErrInvalidArgument,
                           "Connection string: the quote opened at position " +
                               std::to_string(quoteStart + 1) + " for the keyword '" + key +
                               "' is not closed.",
                           "ConnectionString");
      }
      while (j < n && IsBlank(text[j])) ++j;
      if (j < n && text[j] != ';') {
        throw RuntimeError(kErrInvalidArgument,
                           "Connection string: ';' expected after the quoted value of '" + key +
                               "' at position " + std::to_string(j + 1) + ".",
                           "ConnectionString");
      }
      i = j + 1;
    } else {
      size_t end = text.find(';', i);
      if (end == std::string::npos) end = n;
      value = TrimBlanks(text.substr(i, end - i));
      i = end + 1;
    }
    if (key.empty()) {
      throw RuntimeError(kErrInvalidArgument,
                         "Connection string: keyword missing before '=' at position " +
                             std::to_string(keyStart + 1) + ".",
                         "ConnectionString");
    }
    pairs_.emplace_back(std::move(key), std::move(value));
  }
}

std::string ConnectionString::Get(const std::string& key) const {
  bool firstWins = EqualsIgnoringCase(key, "Provider");
  std::string result;
  for (const auto& [k, v] : pairs_) {
    if (EqualsIgnoringCase(k, key)) {
      if (firstWins) return v;
      result = v;
    }
  }
  return result;
}

bool ConnectionString::Has(const std::string& key) const {
  for (const auto& pair : pairs_) {
    if (EqualsIgnoringCase(pair.first, key)) return true;
  }
  return false;
}

void ConnectionString::Remove(const std::string& key) {
  std::erase_if(pairs_, [&](const auto& pair) { return EqualsIgnoringCase(pair.first, key); });
}

std::string ConnectionString::Text() const {
  std::string out;
  for (const auto& [k, v] : pairs_) {
    if (!out.empty()) out += ';';
    out += ReplaceAll(k, "=", "==");
    out += '=';
    // A leading '=' would read back as part of an "==" in the key.
    bool needsQuotes =
        v.find_first_of(";'\"") != std::string::npos ||
        (!v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) || v.front() == '='));
    if (!needsQuotes) {
      out += v;
    } else if (v.find('"') == std::string::npos) {
      out += '"' + v + '"';
    } else if (v.find('\'') == std::string::npos) {
      out += '\'' + v + '\'';
    } else {
      out += '"' + ReplaceAll(v, "\"", "\"\"") + '"';
    }
  }
  return out;
}

std::string ConnectionString::OdbcText() const {
  bool hasTarget = Has("DSN") || Has("FILEDSN") || Has("DRIVER");
  std::string out;
  auto append = [&out](const std::string& key, const std::string& value) {
    bool braces = value.find_first_of(";{}") != std::string::npos ||
                  (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())));
    // A driver name customarily stands in braces already.
    if (EqualsIgnoringCase(key, "DRIVER") && !value.empty() && value.front() == '{' &&
        value.back() == '}') {
      braces = false;
    }
    out += key + "=";
    out += braces ? "{" + ReplaceAll(value, "}", "}}") + "}" : value;
    out += ';';
  };
  std::string extended;
  for (const auto& [k, v] : pairs_) {
    if (EqualsIgnoringCase(k, "Provider") || EqualsIgnoringCase(k, "Persist Security Info")) {
      continue;
    } else if (EqualsIgnoringCase(k, "Data Source")) {
      if (!hasTarget) append("DSN", v);
    } else if (EqualsIgnoringCase(k, "User ID")) {
      append("UID", v);
    } else if (EqualsIgnoringCase(k, "Password")) {
      append("PWD", v);
    } else if (EqualsIgnoringCase(k, "Initial Catalog")) {
      append("DATABASE", v);
    } else if (EqualsIgnoringCase(k, "Extended Properties")) {
      extended += v;
    } else {
      append(k, v);
    }
  }
  if (!extended.empty()) {
    out += extended;
    if (out.back() != ';') out += ';';
  }
  return out;
}

}  // namespace vn::data
