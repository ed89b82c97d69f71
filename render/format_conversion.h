// The standard conversion of a value to text under the regional settings (what the
// automation's variant-to-text coercion writes), appended to a caller's buffer.
#pragma once

#include <string>

#include "data/variant.h"
#include "render/regional_settings.h"

namespace vn::format {

// Numbers without grouping with the locale's decimal symbol (doubles to 15 significant digits,
// exponent form from 1E+15 and below 1E-15), dates in the short date form with the time if
// there is one, booleans as True/False, text unchanged, Empty as nothing. Throws RuntimeError
// for NULL and for values that have no text form.
void AppendVariantText(std::string& out, const data::Variant& value,
                       const RegionalSettings& settings);

// The same as the pattern language's own conversion does it, in which a boolean is the number
// -1 or 0 (no pattern, text sections).
void AppendConvertedText(std::string& out, const data::Variant& value,
                         const RegionalSettings& settings);

void AppendDoubleText(std::string& out, double value, const RegionalSettings& settings);
void AppendDateText(std::string& out, double serial, const RegionalSettings& settings);

}  // namespace vn::format
