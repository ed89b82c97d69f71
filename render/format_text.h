// Text sections of a format pattern: "@" and "&" character placeholders, "<" and ">" for
// lower and upper case, "!" for filling from the left, and literals.
#pragma once

#include <string>
#include <string_view>

#include "render/regional_settings.h"

namespace vn::format {

std::string FormatTextSection(std::string_view section, std::string_view text,
                              const RegionalSettings& settings);

}  // namespace vn::format
