// libFuzzer target for format patterns: the input's first byte picks the value and the
// locale, the rest is the pattern; also fed to FormatFieldValue as a column name. Only
// RuntimeError may come out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/runtime_error.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"
#include "render/value_format.h"

namespace {

vn::data::Variant PickValue(unsigned selector, const std::string& text) {
  switch (selector % 12) {
    case 0: return vn::data::Variant(1234.5);
    case 1: return vn::data::Variant(-0.004999);
    case 2: return vn::data::Variant(static_cast<std::int64_t>(-9223372036854775807LL - 1));
    case 3: return vn::data::Variant(vn::data::Currency{9223372036854775807LL});
    case 4: return vn::data::Variant(vn::data::Decimal{"-123456789012345678901234567890123456789012345.55"});
    case 5: return vn::data::Variant(vn::data::Date{46363.60423});
    case 6: return vn::data::Variant(vn::data::Date{-657434.0});
    case 7: return vn::data::Variant(vn::data::Null{});
    case 8: return vn::data::Variant(true);
    case 9: return vn::data::Variant(1e300);
    case 10: return vn::data::Variant(text);
    default: return vn::data::Variant(std::string());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  unsigned selector = data[0];
  std::string pattern(reinterpret_cast<const char*>(data + 1), size - 1);
  static const char* const kLocales[] = {"de_DE", "en_US", "en_GB", "de_AT", "de_CH"};
  const vn::RegionalSettings& settings = vn::RegionalSettingsFor(kLocales[selector % 5]);
  int firstDay = static_cast<int>(selector / 12 % 8);
  int firstWeek = static_cast<int>(selector / 96 % 4);
  try {
    vn::VarFormat(PickValue(selector, pattern), pattern, firstDay, firstWeek, settings);
  } catch (const vn::RuntimeError&) {
    // A value the pattern cannot write is the formatter's documented answer, not a finding.
  }
  try {
    vn::VariantToText(vn::data::Variant(pattern), settings);
    static const int kTypes[] = {vn::data::adDouble, vn::data::adInteger, vn::data::adDate, vn::data::adVarWChar};
    vn::FormatFieldValue(vn::data::SimpleField(pattern, kTypes[selector % 4], PickValue(selector / 4, pattern)));
  } catch (const vn::RuntimeError&) {
    // As above: only other exceptions and crashes count.
  }
  return 0;
}
