// The value formatter: the pattern language of OLE Automation's VarFormat (Visual Basic's
// Format) and the standard conversion of a value to text, both under given regional settings.
// For many values through one pattern, PreparedFormat (render/format_prepared.h) reads the
// pattern once and appends to a caller's buffer.
#pragma once

#include <string>
#include <string_view>

#include "data/variant.h"
#include "render/regional_settings.h"

namespace vn {

// `value` written through `pattern`. firstDay: 0 the locale's, 1 Sunday ... 7 Saturday;
// firstWeek: 0 the locale's, 1 the week of 1 January, 2 the first four-day week, 3 the first
// full week. An empty pattern gives the standard conversion (NULL: empty text).
// Throws RuntimeError when the value cannot be written through the pattern.
std::string VarFormat(const data::Variant& value, std::string_view pattern, int firstDay,
                      int firstWeek, const RegionalSettings& settings);

// The standard conversion to text: numbers without grouping with the locale's decimal symbol
// (doubles to 15 significant digits, exponent form from 1E+15 and below 1E-15), dates in the
// short date form with the time if there is one, booleans as True/False, text unchanged, Empty
// as empty text. Throws RuntimeError for NULL and for values that have no text form.
std::string VariantToText(const data::Variant& value, const RegionalSettings& settings);

}  // namespace vn
