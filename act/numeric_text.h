// The platform's numeric test for strings and the conversion of such a string to a whole
// number, as the ACT! source commands read field numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace vn {

// True for an optionally signed decimal number with a point as decimal separator and an
// optional exponent ("E" or "D"), blanks around it allowed: "25", " -3.5 ", "1e2", ".5".
// Thousands separators and hexadecimal forms are not numbers here.
bool IsNumeric(std::string_view text);

// True for a plain number as it may stand in SQL: an optional sign, digits and at most one
// decimal separator ("." or ","), at least one digit, nothing else (no blanks, no exponent).
bool IsPlainNumber(std::string_view text);

// The number in `text` (IsNumeric must hold) rounded to a whole number, halves to the even
// one ("2.5" gives 2, "3.5" gives 4). A result outside 32 bits throws RuntimeError 6 (overflow).
std::int32_t RoundToLong(std::string_view text);

}  // namespace vn
