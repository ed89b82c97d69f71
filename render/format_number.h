// Numeric sections of a format pattern: digit placeholders, grouping, scaling, decimals,
// percent, scientific notation and literals.
#pragma once

#include <string>
#include <string_view>

#include "render/format_decimal.h"
#include "render/regional_settings.h"

namespace vn::format {

// Writes the magnitude of `number` through one numeric (or literal-only) section; `minus`
// puts "-" in front of everything, as a one-section pattern does for negative values.
std::string FormatNumberSection(std::string_view section, DecimalNumber number, bool minus,
                                const RegionalSettings& settings);

}  // namespace vn::format
