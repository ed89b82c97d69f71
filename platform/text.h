// Small text helpers with the platform's rules (blanks are spaces only, ASCII case folding).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vn {

std::string LowerAscii(std::string_view s);
std::string UpperAscii(std::string_view s);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Removes leading and trailing space characters (not tabs or line breaks), as VB's Trim.
std::string TrimSpaces(std::string_view s);

// Splits at every occurrence of `separator`; empty parts count.
std::vector<std::string> Split(std::string_view s, std::string_view separator);

// Replaces every occurrence of `from` (not empty) by `to`.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

}  // namespace vn
