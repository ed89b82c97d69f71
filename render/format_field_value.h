// FormatFieldValue: one field value of the current record as display text, driven by the
// column name (format patterns in the alias) and the field type, under the user's regional
// settings. FieldFormat is the same decided once per column, for tables.
#pragma once

#include <optional>
#include <string>

#include "data/field.h"
#include "render/format_prepared.h"
#include "render/regional_settings.h"

namespace vn {

// Throws RuntimeError when the value cannot be read or the pattern cannot format it.
std::string FormatFieldValue(const data::Field& field);
// The same under `settings`, for callers that format many values under the settings they took
// once (CurrentRegionalSettings reads the environment at every call).
std::string FormatFieldValue(const data::Field& field, const RegionalSettings& settings);

// How the values of one column are shown, worked out once: the pattern its name carries (or
// the default pattern of doubles and currencies) read and tokenised, under settings taken
// once. A renderer keeps one per column and appends every row's value to its own buffer; the
// text is the one FormatFieldValue gives.
class FieldFormat {
 public:
  // `settings` must outlive the object (those of RegionalSettingsFor live as long as the program).
  FieldFormat(const std::string& columnName, int type, const RegionalSettings& settings)
      : FieldFormat(columnName, type, settings, true) {}
  FieldFormat(const data::Field& field, const RegionalSettings& settings)
      : FieldFormat(field.Name(), field.Type(), settings, true) {}

  // Throws RuntimeError when the pattern cannot format the value; `out` is then left as it was.
  void Append(const data::Variant& value, std::string& out) const;
  // The field's current value; throws RuntimeError also when there is no current row.
  void Append(const data::Field& field, std::string& out) const {
    if (const data::Variant* value = field.ValueInPlace()) {
      Append(*value, out);
    } else {
      Append(field.Value(), out);
    }
  }

 private:
  friend std::string FormatFieldValue(const data::Field& field, const RegionalSettings& settings);
  // `manyValues`: worth tokenising the locale's date forms for date columns without a pattern.
  FieldFormat(const std::string& columnName, int type, const RegionalSettings& settings,
              bool manyValues);

  const RegionalSettings* settings_;
  bool amount_;                                // doubles and currencies: NULL shows as 0
  std::optional<PreparedFormat> format_;       // none: the standard conversion
  std::optional<format::DateTimeForm> dates_;  // date columns without a pattern
};

}  // namespace vn
