// Case mapping with Unicode's rules, not only ASCII: the system's own (ICU's root locale on
// Linux, the invariant locale's LCMapStringEx on Windows). UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// The whole text in upper or lower case (full mappings where the system has them, "ß" to "SS"
// under ICU). Invalid UTF-8 bytes become U+FFFD.
std::string UpperText(std::string_view utf8);
std::string LowerText(std::string_view utf8);

// One character in lower case, as VB's LCase maps it (a simple, one-to-one mapping).
unsigned long LowerCodePoint(unsigned long codePoint);

// One character folded for comparing without regard to case (simple case folding).
unsigned long FoldCodePoint(unsigned long codePoint);

}  // namespace vn
