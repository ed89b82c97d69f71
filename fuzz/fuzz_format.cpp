// libFuzzer target for format patterns: the input's first byte picks the value and the
// locale, the rest is the pattern; also fed to FormatFieldValue as a column name. Only
// RuntimeError may come out. The prepared paths (PreparedFormat, FieldFormat) must write what
// the one-call functions return, appending to a buffer that already holds text, and leave that
// buffer as it was when a value fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/runtime_error.h"
#include "render/format_field_value.h"
#include "render/format_prepared.h"
#include "render/regional_settings.h"
#include "render/value_format.h"

namespace {

constexpr unsigned kValueKinds = 12;

vn::data::Variant PickValue(unsigned selector, const std::string& text) {
  switch (selector % kValueKinds) {
    case 0:
      return vn::data::Variant(1234.5);
    case 1:
      return vn::data::Variant(-0.004999);
    case 2:
      return vn::data::Variant(static_cast<std::int64_t>(-9223372036854775807LL - 1));
    case 3:
      return vn::data::Variant(vn::data::Currency{9223372036854775807LL});
    case 4:
      return vn::data::Variant(
          vn::data::Decimal{"-123456789012345678901234567890123456789012345.55"});
    case 5:
      return vn::data::Variant(vn::data::Date{46363.60423});
    case 6:
      return vn::data::Variant(vn::data::Date{-657434.0});
    case 7:
      return vn::data::Variant(vn::data::Null{});
    case 8:
      return vn::data::Variant(true);
    case 9:
      return vn::data::Variant(1e300);
    case 10:
      return vn::data::Variant(text);
    default:
      return vn::data::Variant(std::string());
  }
}

// The one-call result, or nothing when the value cannot be written.
template <typename F>
std::optional<std::string> Result(F&& f) {
  try {
    return f();
  } catch (const vn::RuntimeError&) {
    return std::nullopt;  // a value the pattern cannot write is a documented answer
  }
}

// Appends through a prepared object and checks it against the one-call result.
template <typename Prepared>
void CheckAppend(const Prepared& prepared, const vn::data::Variant& value,
                 const std::optional<std::string>& expected, std::string& buffer) {
  const std::string before = buffer;
  try {
    prepared.Append(value, buffer);
  } catch (const vn::RuntimeError&) {
    if (expected || buffer != before) std::abort();
    return;
  }
  if (!expected || buffer.compare(0, before.size(), before) != 0 ||
      buffer.substr(before.size()) != *expected) {
    std::abort();
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

  std::optional<vn::PreparedFormat> prepared;
  try {
    prepared.emplace(pattern, firstDay, firstWeek, settings);
  } catch (const vn::RuntimeError&) {
    // Week rules out of range: the one-call function must refuse them too.
    if (Result([&] {
          return vn::VarFormat(vn::data::Variant(), pattern, firstDay, firstWeek, settings);
        })) {
      std::abort();
    }
  }
  std::string buffer = "<td>";
  for (unsigned k = 0; k < kValueKinds && prepared; ++k) {
    const vn::data::Variant value = PickValue(selector + k, pattern);
    CheckAppend(*prepared, value, Result([&] {
      return vn::VarFormat(value, pattern, firstDay, firstWeek, settings);
    }),
                buffer);
  }

  static const int kTypes[] = {vn::data::adDouble, vn::data::adInteger, vn::data::adDate,
                               vn::data::adVarWChar};
  const int type = kTypes[selector % 4];
  const vn::FieldFormat column(pattern, type, settings);
  for (unsigned k = 0; k < 4; ++k) {
    const vn::data::SimpleField field(pattern, type, PickValue(selector / 4 + k, pattern));
    CheckAppend(column, field.Value(),
                Result([&] { return vn::FormatFieldValue(field, settings); }), buffer);
  }
  Result([&] { return vn::VariantToText(vn::data::Variant(pattern), settings); });
  Result([&] {
    return vn::FormatFieldValue(
        vn::data::SimpleField(pattern, kTypes[selector % 4], PickValue(selector / 4, pattern)));
  });
  return 0;
}
