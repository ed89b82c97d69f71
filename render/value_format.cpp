#include "render/value_format.h"

#include "render/format_conversion.h"
#include "render/format_prepared.h"

namespace vn {

std::string VarFormat(const data::Variant& value, std::string_view pattern, int firstDay,
                      int firstWeek, const RegionalSettings& settings) {
  std::string out;
  PreparedFormat(pattern, firstDay, firstWeek, settings).Append(value, out);
  return out;
}

std::string VariantToText(const data::Variant& value, const RegionalSettings& settings) {
  std::string out;
  format::AppendVariantText(out, value, settings);
  return out;
}

}  // namespace vn
