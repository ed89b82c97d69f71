// The structure shared by all format patterns: sections separated by ";" (outside quotes and
// escapes) and the kind of a section, which decides how a value is written through it.
#pragma once

#include <cstddef>
#include <string_view>

namespace vn::format {

enum class SectionKind { kNumber, kDate, kText, kLiteral };

struct Sections {
  std::string_view part[4];
  int count = 0;
};

// Up to four sections; text after a fourth ";" is ignored.
Sections SplitSections(std::string_view pattern);

// Number if a "0" or "#" stands outside quotes, else date/time if a date or time token does,
// else text if one of "@&<>!" does, else literal.
SectionKind KindOf(std::string_view section);

// Length in bytes of the UTF-8 character that starts at s[i] (1 for a stray byte).
std::size_t Utf8Length(std::string_view s, std::size_t i);

// Case-insensitive test whether `s` continues at `i` with the ASCII word `word`.
bool MatchesAt(std::string_view s, std::size_t i, std::string_view word);

}  // namespace vn::format
