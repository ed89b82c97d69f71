#include "render/format_text.h"

#include <vector>

#include "platform/unicode_case.h"
#include "render/format_pattern.h"

namespace vn::format {
namespace {

std::string ChangeCase(std::string_view text, bool upper) {
  return upper ? UpperText(text) : LowerText(text);
}

}  // namespace

std::string FormatTextSection(std::string_view s, std::string_view text,
                              const RegionalSettings& settings) {
  // First pass: placeholders, case and fill direction.
  int placeholders = 0;
  char caseMark = 0;
  bool fromLeft = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      auto end = s.find('"', i + 1);
      if (end == std::string_view::npos) break;
      i = end;
    } else if (c == '\\') {
      ++i;
    } else if (c == '@' || c == '&') {
      ++placeholders;
    } else if ((c == '<' || c == '>') && caseMark == 0) {
      caseMark = c;
    } else if (c == '!') {
      fromLeft = true;
    }
  }

  std::string cased;
  if (caseMark != 0) {
    cased = ChangeCase(text, caseMark == '>');
    text = cased;
  }
  std::vector<std::string_view> chars;
  chars.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = Utf8Length(text, i);
    chars.push_back(text.substr(i, n));
    i += n;
  }
  int count = static_cast<int>(chars.size());
  // Fewer characters than placeholders: the first placeholders stay empty (right-aligned),
  // or the last ones with "!". More characters: they fill from the left, the rest follows.
  int shift = (!fromLeft && count < placeholders) ? placeholders - count : 0;

  std::string out;
  out.reserve(s.size() + text.size());
  int slot = 0;
  for (std::size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '"') {
      auto end = s.find('"', i + 1);
      if (end == std::string_view::npos) end = s.size();
      out += s.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (c == '\\') {
      if (i + 1 < s.size()) {
        std::size_t n = Utf8Length(s, i + 1);
        out += s.substr(i + 1, n);
        i += 1 + n;
      } else {
        ++i;
      }
      continue;
    }
    if (c == '@' || c == '&') {
      int index = slot - shift;
      if (index >= 0 && index < count) {
        out += chars[index];
      } else if (c == '@') {
        out += ' ';
      }
      ++slot;
      ++i;
      continue;
    }
    if (c == '<' || c == '>' || c == '!') {
      ++i;
      continue;
    }
    if (c == '/') {
      out += settings.dateSeparator;
      ++i;
      continue;
    }
    if (c == ':') {
      out += settings.timeSeparator;
      ++i;
      continue;
    }
    std::size_t n = Utf8Length(s, i);
    out += s.substr(i, n);
    i += n;
  }
  for (int index = slot - shift; index < count; ++index) {
    if (index >= 0) out += chars[index];
  }
  return out;
}

}  // namespace vn::format
