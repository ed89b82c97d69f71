// Conversions of database values that several providers share: date serials from ISO texts,
// exact decimal texts, currency amounts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/variant.h"

namespace vn::data {

// `YYYY-MM-DD`, optionally followed by ` ` or `T` and `HH:MM[:SS[.fff]]`; also a bare time
// `HH:MM[:SS]` (on day 0). Anything else: nullopt.
std::optional<Date> ParseIsoDate(std::string_view text);

// A whole number in the range of 64 bits, blanks around it allowed ("-12", " 7 "); nullopt for
// anything else.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

// A plain decimal number ("-12.50", "+3", ".5", "1e3" is not one), normalised to
// "[-]digits[.digits]" without superfluous zeros; nullopt otherwise.
std::optional<std::string> NormaliseDecimal(std::string_view text);

// Currency from a decimal text; amounts with more than four places are rounded half away
// from zero. Accepts the symbols and group separators of a money text (`$1,234.56`,
// `-$5.00`, `(5.00)`, `1.234,56 €` is not read). nullopt when the text holds no amount.
std::optional<Currency> ParseCurrency(std::string_view text);

// The shortest text that reads back as `value`.
std::string ShortestDouble(double value);

}  // namespace vn::data
