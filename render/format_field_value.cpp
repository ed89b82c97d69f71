#include "render/format_field_value.h"

#include "platform/text.h"
#include "render/regional_settings.h"
#include "render/value_format.h"

namespace vn {
namespace {

constexpr int kSunday = 1;
constexpr int kWeekOfJanuaryFirst = 1;

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

std::string FormatFieldValue(const data::Field& field) {
  return FormatFieldValue(field, CurrentRegionalSettings());
}

std::string FormatFieldValue(const data::Field& field, const RegionalSettings& settings) {
  std::string pattern = PatternOf(field.Name());
  int type = field.Type();
  data::Variant value = field.Value();

  if (type == data::adDouble || type == data::adCurrency) {
    if (value.IsNull()) return "0";
    return VarFormat(value, pattern.empty() ? std::string_view("#,##0.00") : std::string_view(pattern), kSunday,
                     kWeekOfJanuaryFirst, settings);
  }
  if (value.IsNull()) return {};
  if (!pattern.empty()) return VarFormat(value, pattern, kSunday, kWeekOfJanuaryFirst, settings);
  return VariantToText(value, settings);
}

}  // namespace vn
