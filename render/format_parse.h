// Reading text values as numbers or dates under the regional settings, as the automation
// conversions do before a numeric or date pattern is applied to text.
#pragma once

#include <optional>
#include <string_view>

#include "render/regional_settings.h"

namespace vn::format {

// A number with the locale's decimal symbol; the grouping symbol is accepted (and ignored)
// anywhere among the integer digits, so German reads "1234.5" as 12345. Blanks around it, a
// leading sign and an exponent are allowed.
std::optional<double> ParseNumberText(std::string_view text, const RegionalSettings& settings);

// A date and/or time: numbers separated by "-", "/", "." or blanks in the locale's day/month
// order (a four-digit first number means year-month-day), month names, "h:mm[:ss]" with an
// optional AM/PM. Returns the OLE date serial.
std::optional<double> ParseDateText(std::string_view text, const RegionalSettings& settings);

}  // namespace vn::format
