// PreparedFormat: a format pattern read once (named formats resolved, sections split and
// tokenised) together with the regional settings and week rules it writes under, for writing
// many values, as a table writes a column, into a caller's buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/variant.h"
#include "render/format_date.h"
#include "render/format_number.h"
#include "render/format_pattern.h"
#include "render/regional_settings.h"

namespace vn {

namespace format {
struct Operand;
}  // namespace format

class PreparedFormat {
 public:
  // firstDay: 0 the locale's, 1 Sunday ... 7 Saturday; firstWeek: 0 the locale's, 1 the week of
  // 1 January, 2 the first four-day week, 3 the first full week; others raise RuntimeError.
  // `settings` must outlive the object (those of RegionalSettingsFor live as long as the
  // program).
  PreparedFormat(std::string_view pattern, int firstDay, int firstWeek,
                 const RegionalSettings& settings);

  // Appends `value` written through the pattern, as VarFormat returns it. Throws RuntimeError
  // when the value cannot be written through the pattern; `out` is then left as it was.
  void Append(const data::Variant& value, std::string& out) const;

 private:
  using Operand = format::Operand;
  struct Section {
    std::string text;  // the section itself, for text sections
    format::SectionKind kind = format::SectionKind::kLiteral;
    std::optional<format::NumberPattern> number;  // number and literal sections, and the fourth
    std::optional<format::DatePattern> date;
  };
  // Named formats that are not patterns of their own: the words of Yes/No, True/False, On/Off,
  // "General Number" and "General Date".
  enum class Named : std::uint8_t { kNone, kWords, kGeneralNumber, kGeneralDate };

  bool ResolveNamed(std::string_view& pattern);
  void AddSections(std::string_view pattern);
  void AppendValue(const data::Variant& value, std::string& out) const;
  bool AppendExact(const data::Variant& value, std::string& out) const;
  void AppendNamed(Operand& operand, std::string& out) const;
  void AppendSections(Operand& operand, const data::Variant& original, std::string& out) const;
  bool AppendNullOrText(Operand& operand, std::string& out) const;
  int SectionFor(const Operand& operand, bool& minus) const;
  void AppendText(std::size_t section, std::string_view text, std::string& out) const;
  bool ReadText(Operand& operand, bool forDate) const;

  const RegionalSettings* settings_;
  int firstDay_;
  int firstWeek_;
  bool empty_ = false;     // no pattern: the standard conversion
  bool dateOnly_ = false;  // one date section: every number is written through it
  // One plain number section ("#,##0.00"): integers and currencies go straight to it.
  bool exactOnly_ = false;
  Named named_ = Named::kNone;
  const char* words_[2] = {nullptr, nullptr};
  Section sections_[4];
  int sectionCount_ = 0;
};

}  // namespace vn
