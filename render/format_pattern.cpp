#include "render/format_pattern.h"

#include <algorithm>

namespace vn::format {

std::size_t Utf8Length(std::string_view s, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t length = c < 0x80           ? 1
                       : (c >> 5) == 0x6  ? 2
                       : (c >> 4) == 0xE  ? 3
                       : (c >> 3) == 0x1E ? 4
                                          : 1;
  return i + length <= s.size() ? length : s.size() - i;
}

bool MatchesAt(std::string_view s, std::size_t i, std::string_view word) {
  if (s.size() - i < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    char c = s[i + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[k]) return false;
  }
  return true;
}

Sections SplitSections(std::string_view pattern) {
  Sections sections;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quoted) {
      if (c == '"') quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '\\') {
      ++i;
    } else if (c == ';') {
      sections.part[sections.count++] = pattern.substr(start, i - start);
      start = i + 1;
      if (sections.count == 3) break;
    }
  }
  if (sections.count == 3) {
    // The fourth section ends at the next unquoted ";" if any.
    std::string_view rest = pattern.substr(start);
    Sections tail = SplitSections(rest);
    sections.part[sections.count++] = tail.part[0];
  } else {
    sections.part[sections.count++] = pattern.substr(std::min(start, pattern.size()));
  }
  return sections;
}

SectionKind KindOf(std::string_view section) {
  bool date = false;
  bool text = false;
  for (std::size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    switch (c) {
      case '"': {
        auto end = section.find('"', i + 1);
        if (end == std::string_view::npos)
          return date ? SectionKind::kDate : text ? SectionKind::kText : SectionKind::kLiteral;
        i = end;
        break;
      }
      case '\\':
        ++i;
        break;
      case '0':
      case '#':
        return SectionKind::kNumber;
      case 'd':
      case 'D':
      case 'w':
      case 'W':
      case 'm':
      case 'M':
      case 'q':
      case 'Q':
      case 'y':
      case 'Y':
      case 'h':
      case 'H':
      case 'n':
      case 'N':
      case 's':
      case 'S':
      case 'c':
      case 'C':
        date = true;
        break;
      case 't':
      case 'T':
        if (MatchesAt(section, i, "ttttt")) date = true;
        break;
      case 'a':
      case 'A':
        if (MatchesAt(section, i, "am/pm") || MatchesAt(section, i, "a/p") ||
            MatchesAt(section, i, "ampm"))
          date = true;
        break;
      case '@':
      case '&':
      case '<':
      case '>':
      case '!':
        text = true;
        break;
      default:
        break;
    }
  }
  return date ? SectionKind::kDate : text ? SectionKind::kText : SectionKind::kLiteral;
}

}  // namespace vn::format
