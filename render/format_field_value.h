// FormatFieldValue: one field value of the current record as display text, driven by the
// column name (format patterns in the alias) and the field type, under the user's regional
// settings.
#pragma once

#include <string>

#include "data/field.h"

namespace vn {

struct RegionalSettings;

// Throws RuntimeError when the value cannot be read or the pattern cannot format it.
std::string FormatFieldValue(const data::Field& field);
// The same under `settings`, for callers that format many values under the settings they took
// once (CurrentRegionalSettings reads the environment at every call).
std::string FormatFieldValue(const data::Field& field, const RegionalSettings& settings);

}  // namespace vn
