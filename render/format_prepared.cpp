#include "render/format_prepared.h"

#include <cmath>
#include <cstdlib>

#include "platform/language.h"
#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "render/format_conversion.h"
#include "render/format_decimal.h"
#include "render/format_parse.h"
#include "render/format_text.h"

namespace vn {
namespace format {

// A value as the formatter sees it: NULL, a number (dates are numbers that remember being
// dates) or text. The decimal digits of a double are worked out only when a section writes
// them: a date section needs only the serial.
struct Operand {
  enum class Kind { kNull, kNumber, kText } kind = Kind::kText;
  bool negative = false;
  bool zero = false;
  bool isDate = false;
  double approximate = 0;  // the number as a double: the date serial for date sections
  std::string_view text;

  const DecimalNumber& Number() {
    if (!hasDecimal) {
      decimal = DecimalFromDouble(approximate, 15);
      hasDecimal = true;
    }
    return decimal;
  }

  void SetExact(const DecimalNumber& n, double value) {
    kind = Kind::kNumber;
    decimal = n;
    hasDecimal = true;
    negative = n.negative;
    zero = n.IsZero();
    approximate = value;
  }

  // Sign and zero of a double are those of its decimal digits; what has no digits (NaN,
  // infinity) cannot be formatted at all.
  void SetDouble(double value) {
    if (!std::isfinite(value)) throw RuntimeError(kErrOverflow, kTextOverflow);
    kind = Kind::kNumber;
    hasDecimal = false;
    negative = value < 0;
    zero = value == 0;
    approximate = value;
  }

 private:
  DecimalNumber decimal;
  bool hasDecimal = false;
};

namespace {

Operand Classify(const data::Variant& value) {
  Operand o;
  struct Visitor {
    Operand& o;
    void operator()(std::monostate) const { o.text = {}; }
    void operator()(data::Null) const { o.kind = Operand::Kind::kNull; }
    void operator()(bool v) const { o.SetExact(DecimalFromInt(v ? -1 : 0), v ? -1.0 : 0.0); }
    void operator()(std::int64_t v) const { o.SetExact(DecimalFromInt(v), static_cast<double>(v)); }
    void operator()(double v) const { o.SetDouble(v); }
    void operator()(const data::Currency& v) const {
      o.SetExact(DecimalFromCurrency(v.scaled), static_cast<double>(v.scaled) / 10000.0);
    }
    void operator()(const data::Decimal& v) const {
      o.SetExact(DecimalFromText(v.text), std::strtod(v.text.c_str(), nullptr));
    }
    void operator()(const data::Date& v) const {
      o.SetDouble(v.serial);
      o.isDate = true;
    }
    void operator()(const std::string& v) const { o.text = v; }
    void operator()(const std::shared_ptr<data::Recordset>&) const {
      throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch);
    }
  };
  std::visit(Visitor{o}, value.Raw());
  return o;
}

}  // namespace
}  // namespace format

using format::DecimalNumber;
using format::Operand;
using format::SectionKind;

PreparedFormat::PreparedFormat(std::string_view pattern, int firstDay, int firstWeek,
                               const RegionalSettings& settings)
    : settings_(&settings), firstDay_(firstDay), firstWeek_(firstWeek) {
  if (firstDay < 0 || firstDay > 7 || firstWeek < 0 || firstWeek > 3) {
    throw RuntimeError(kErrInvalidProcedureCall, kTextInvalidProcedureCall);
  }
  if (firstDay_ == 0) firstDay_ = settings.firstDayOfWeek;
  if (firstWeek_ == 0) firstWeek_ = settings.firstWeekOfYear;
  if (pattern.empty()) {
    empty_ = true;
    return;
  }
  if (!ResolveNamed(pattern)) AddSections(pattern);
  dateOnly_ =
      named_ == Named::kNone && sectionCount_ == 1 && sections_[0].kind == SectionKind::kDate;
  exactOnly_ = named_ == Named::kNone && sectionCount_ == 1 &&
               sections_[0].kind == SectionKind::kNumber && sections_[0].number->Plain();
}

// The named formats ("Standard", "Short Date" ...): those that stand for a pattern replace
// `pattern` by it; true for those that are no pattern at all.
bool PreparedFormat::ResolveNamed(std::string_view& pattern) {
  struct Alias {
    const char* name;
    const char* pattern;
  };
  static const Alias kAliases[] = {
      {"fixed", "0.00"},          {"standard", "#,##0.00"}, {"percent", "0.00%"},
      {"scientific", "0.00E+00"}, {"long date", "dddddd"},  {"medium date", "dd-mmm-yy"},
      {"short date", "ddddd"},    {"long time", "ttttt"},   {"medium time", "hh:nn AMPM"},
      {"short time", "hh:nn"},
  };
  if (pattern.size() < 5 || pattern.size() > 14) return false;
  auto is = [&](std::string_view name) {
    return pattern.size() == name.size() && format::MatchesAt(pattern, 0, name);
  };
  for (const Alias& alias : kAliases) {
    if (is(alias.name)) {
      pattern = alias.pattern;
      return false;
    }
  }
  if (is("currency")) {
    pattern = settings_->currencyPattern;
    return false;
  }
  // The words come in the user's language, as from a German or English Windows; the language
  // is looked up only for these names.
  const bool yesNo = is("yes/no"), trueFalse = is("true/false"), onOff = is("on/off");
  if (yesNo || trueFalse || onOff) {
    const bool german = UserLanguage() == Language::kGerman;
    if (yesNo) words_[0] = german ? "Nein" : "No", words_[1] = german ? "Ja" : "Yes";
    if (trueFalse) words_[0] = german ? "Falsch" : "False", words_[1] = german ? "Wahr" : "True";
    if (onOff) words_[0] = german ? "Aus" : "Off", words_[1] = german ? "Ein" : "On";
    named_ = Named::kWords;
  } else if (is("general number")) {
    named_ = Named::kGeneralNumber;
  } else if (is("general date")) {
    named_ = Named::kGeneralDate;
  }
  return named_ != Named::kNone;
}

void PreparedFormat::AddSections(std::string_view pattern) {
  const format::Sections parts = format::SplitSections(pattern);
  sectionCount_ = parts.count;
  for (int i = 0; i < parts.count; ++i) {
    Section& section = sections_[i];
    section.text = parts.part[i];
    section.kind = format::KindOf(parts.part[i]);
    if (section.kind == SectionKind::kDate) section.date.emplace(parts.part[i]);
    // The fourth section writes NULL as a number whatever it looks like.
    if (section.kind == SectionKind::kNumber || section.kind == SectionKind::kLiteral || i == 3) {
      section.number.emplace(parts.part[i]);
    }
  }
}

void PreparedFormat::Append(const data::Variant& value, std::string& out) const {
  const std::size_t size = out.size();
  try {
    AppendValue(value, out);
  } catch (...) {
    out.resize(size);  // no half-written value in the caller's buffer
    throw;
  }
}

void PreparedFormat::AppendValue(const data::Variant& value, std::string& out) const {
  if (empty_) {
    if (!value.IsNull()) format::AppendConvertedText(out, value, *settings_);
    return;
  }
  if (dateOnly_ && (value.Is<data::Date>() || value.Is<double>())) {
    // One date section takes every number, whatever its sign: straight to it.
    const double serial =
        value.Is<data::Date>() ? value.As<data::Date>().serial : value.As<double>();
    if (!std::isfinite(serial)) throw RuntimeError(kErrOverflow, kTextOverflow);
    sections_[0].date->Append(out, serial, firstDay_, firstWeek_, *settings_);
    return;
  }
  if (exactOnly_ && AppendExact(value, out)) return;
  Operand operand = format::Classify(value);
  if (named_ != Named::kNone) {
    AppendNamed(operand, out);
  } else {
    AppendSections(operand, value, out);
  }
}

// Integers and currencies through a single plain section: the section takes every sign (a
// negative value gets its "-" in front), so the digits can come straight from the integer.
bool PreparedFormat::AppendExact(const data::Variant& value, std::string& out) const {
  std::int64_t integer = 0;
  int decimals = 0;
  if (value.Is<data::Currency>()) {
    integer = value.As<data::Currency>().scaled;
    decimals = 4;
  } else if (value.Is<std::int64_t>()) {
    integer = value.As<std::int64_t>();
  } else {
    return false;
  }
  const std::uint64_t magnitude = integer < 0 ? 0ULL - static_cast<std::uint64_t>(integer)
                                              : static_cast<std::uint64_t>(integer);
  return sections_[0].number->AppendExact(out, magnitude, decimals, integer < 0, *settings_);
}

void PreparedFormat::AppendNamed(Operand& operand, std::string& out) const {
  if (operand.kind == Operand::Kind::kNull) return;
  if (operand.kind == Operand::Kind::kText && !ReadText(operand, named_ == Named::kGeneralDate)) {
    out += operand.text;
    return;
  }
  if (named_ == Named::kWords) {
    out += words_[operand.zero ? 0 : 1];
  } else if (named_ == Named::kGeneralNumber && operand.isDate) {
    format::AppendDoubleText(out, operand.approximate, *settings_);
  } else if (named_ == Named::kGeneralNumber) {
    format::AppendPlainDecimalText(out, operand.Number(), settings_->decimalSymbol);
  } else {
    format::AppendDateText(out, operand.approximate, *settings_);
  }
}

void PreparedFormat::AppendSections(Operand& operand, const data::Variant& original,
                                    std::string& out) const {
  const bool wasText = operand.kind == Operand::Kind::kText;
  const std::string_view originalText = operand.text;
  if (AppendNullOrText(operand, out)) return;

  bool minus = false;
  const Section& section = sections_[SectionFor(operand, minus)];
  switch (section.kind) {
    case SectionKind::kDate:
      section.date->Append(out, operand.approximate, firstDay_, firstWeek_, *settings_);
      return;
    case SectionKind::kText: {
      if (wasText) {
        out += format::FormatTextSection(section.text, originalText, *settings_);
        return;
      }
      std::string converted;
      format::AppendConvertedText(converted, original, *settings_);
      out += format::FormatTextSection(section.text, converted, *settings_);
      return;
    }
    case SectionKind::kNumber:
    case SectionKind::kLiteral:
      break;
  }
  DecimalNumber magnitude = operand.Number();
  magnitude.negative = false;
  section.number->Append(out, magnitude, minus, *settings_);
}

// NULL and text go their own ways: NULL to the second text section or the fourth section,
// text through a text pattern or, under other patterns, read as a number or date if it is
// one. True when the value is written.
bool PreparedFormat::AppendNullOrText(Operand& operand, std::string& out) const {
  const SectionKind firstKind = sections_[0].kind;
  if (operand.kind == Operand::Kind::kNull) {
    if (firstKind == SectionKind::kText) {
      if (sectionCount_ >= 2) AppendText(1, {}, out);
    } else if (sectionCount_ >= 4) {
      sections_[3].number->Append(out, DecimalNumber{}, false, *settings_);
    }
    return true;
  }
  if (operand.kind != Operand::Kind::kText) return false;
  if (firstKind == SectionKind::kText) {
    if (operand.text.empty() && sectionCount_ >= 2) {
      AppendText(1, {}, out);
    } else {
      AppendText(0, operand.text, out);
    }
    return true;
  }
  // Numeric and date patterns leave text that is neither number nor date as it is.
  if (ReadText(operand, firstKind == SectionKind::kDate)) return false;
  out += operand.text;
  return true;
}

// Positive; negative (without a sign of its own); zero. An empty section means the first, and
// a negative value written through the first gets a "-" in front.
int PreparedFormat::SectionFor(const Operand& operand, bool& minus) const {
  if (operand.negative && !operand.zero) {
    if (sectionCount_ >= 2 && !sections_[1].text.empty()) return 1;
    minus = true;
    return 0;
  }
  if (operand.zero && sectionCount_ >= 3 && !sections_[2].text.empty()) return 2;
  return 0;
}

void PreparedFormat::AppendText(std::size_t section, std::string_view text,
                                std::string& out) const {
  out += format::FormatTextSection(sections_[section].text, text, *settings_);
}

// Text under a pattern: numeric patterns take it only if it reads as a number (the locale's
// rules); date patterns first read it as a date, then as a number that is a valid date
// serial. False if the text stays as it is.
bool PreparedFormat::ReadText(Operand& operand, bool forDate) const {
  if (forDate) {
    if (auto serial = format::ParseDateText(operand.text, *settings_)) {
      operand.SetDouble(*serial);
      operand.isDate = true;
      return true;
    }
  }
  auto number = format::ParseNumberText(operand.text, *settings_);
  if (!number ||
      (forDate && !(*number >= format::kMinDateSerial && *number < format::kMaxDateSerial)))
    return false;
  operand.SetDouble(*number);
  operand.isDate = false;
  return true;
}

}  // namespace vn
