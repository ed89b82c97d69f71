#include "render/format_field_value.h"

#include "data/data_type.h"
#include "platform/text.h"
#include "render/format_conversion.h"

namespace vn {
namespace {

constexpr int kSunday = 1;
constexpr int kWeekOfJanuaryFirst = 1;
constexpr std::string_view kAmountPattern = "#,##0.00";

// The pattern carried in the column name: the last "format..." part before the final part,
// without "format", with "*" standing for "." (aliases cannot hold a point).
std::string PatternOf(const std::string& name) {
  std::string pattern;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = name.find('_', start);
    if (end == std::string::npos) break;  // the last part is never a format part
    std::string_view part(name.data() + start, end - start);
    if (part.size() >= 6 && EqualsIgnoringCase(part.substr(0, 6), "format")) {
      pattern = ReplaceAll(part.substr(6), "*", ".");
    }
    start = end + 1;
  }
  return pattern;
}

}  // namespace

FieldFormat::FieldFormat(const std::string& columnName, int type, const RegionalSettings& settings,
                         bool manyValues)
    : settings_(&settings), amount_(type == data::adDouble || type == data::adCurrency) {
  const std::string pattern = PatternOf(columnName);
  if (amount_) {
    format_.emplace(pattern.empty() ? kAmountPattern : std::string_view(pattern), kSunday,
                    kWeekOfJanuaryFirst, settings);
  } else if (!pattern.empty()) {
    format_.emplace(pattern, kSunday, kWeekOfJanuaryFirst, settings);
  } else if (manyValues && data::IsDateType(type)) {
    dates_.emplace(settings);
  }
}

void FieldFormat::Append(const data::Variant& value, std::string& out) const {
  if (value.IsNull()) {
    if (amount_) out += '0';
    return;
  }
  if (format_) {
    format_->Append(value, out);
    return;
  }
  if (dates_ && value.Is<data::Date>()) {
    dates_->Append(out, value.As<data::Date>().serial);  // writes nothing when it fails
    return;
  }
  const std::size_t size = out.size();
  try {
    format::AppendVariantText(out, value, *settings_);
  } catch (...) {
    out.resize(size);  // no half-written value in the caller's buffer
    throw;
  }
}

std::string FormatFieldValue(const data::Field& field) {
  return FormatFieldValue(field, CurrentRegionalSettings());
}

std::string FormatFieldValue(const data::Field& field, const RegionalSettings& settings) {
  const FieldFormat format(field.Name(), field.Type(), settings, false);
  std::string out;
  format.Append(field.Value(), out);
  return out;
}

}  // namespace vn
