#include "render/value_format.h"

#include <cmath>

#include "platform/language.h"
#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "render/format_date.h"
#include "render/format_decimal.h"
#include "render/format_number.h"
#include "render/format_parse.h"
#include "render/format_pattern.h"
#include "render/format_text.h"

namespace vn {
namespace {

using format::DecimalNumber;
using format::SectionKind;

std::string DoubleText(double value, const RegionalSettings& settings) {
  DecimalNumber n = format::DecimalFromDouble(value, 15);
  if (n.IsZero()) return "0";  // negative zero too
  int fractionDigits = n.count - n.exponent;
  if (n.exponent <= 15 && fractionDigits <= 15) return format::PlainDecimalText(n, settings.decimalSymbol);
  std::string out;
  if (n.negative) out += '-';
  out += n.digits[0];
  if (n.count > 1) {
    out += settings.decimalSymbol;
    out.append(n.digits + 1, n.digits + n.count);
  }
  int exponent = n.exponent - 1;
  out += exponent < 0 ? "E-" : "E+";
  int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) out += '0';
  out += std::to_string(magnitude);
  return out;
}

std::string DateText(double serial, const RegionalSettings& settings) {
  std::string out;
  format::AppendDateAndTime(out, format::DatePartsFromSerial(serial), 1, 1, settings);
  return out;
}

// A value as the formatter sees it: NULL, a number (dates are numbers that remember being
// dates) or text.
struct Operand {
  enum class Kind { kNull, kNumber, kText } kind = Kind::kText;
  DecimalNumber number;
  double approximate = 0;  // the number as a double: the date serial for date sections
  bool isDate = false;
  std::string_view text;
};

Operand Classify(const data::Variant& value) {
  Operand o;
  struct Visitor {
    Operand& o;
    void operator()(std::monostate) const { o.text = {}; }
    void operator()(data::Null) const { o.kind = Operand::Kind::kNull; }
    void operator()(bool v) const { SetNumber(format::DecimalFromInt(v ? -1 : 0), v ? -1.0 : 0.0); }
    void operator()(std::int64_t v) const { SetNumber(format::DecimalFromInt(v), static_cast<double>(v)); }
    void operator()(double v) const { SetNumber(format::DecimalFromDouble(v, 15), v); }
    void operator()(const data::Currency& v) const {
      SetNumber(format::DecimalFromCurrency(v.scaled), static_cast<double>(v.scaled) / 10000.0);
    }
    void operator()(const data::Decimal& v) const {
      SetNumber(format::DecimalFromText(v.text), std::strtod(v.text.c_str(), nullptr));
    }
    void operator()(const data::Date& v) const {
      SetNumber(format::DecimalFromDouble(v.serial, 15), v.serial);
      o.isDate = true;
    }
    void operator()(const std::string& v) const { o.text = v; }
    void operator()(const std::shared_ptr<data::Recordset>&) const { throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch); }
    void SetNumber(const DecimalNumber& n, double approximate) const {
      o.kind = Operand::Kind::kNumber;
      o.number = n;
      o.approximate = approximate;
    }
  };
  std::visit(Visitor{o}, value.Raw());
  return o;
}

void SetReadNumber(Operand& o, double value, bool isDate) {
  o.kind = Operand::Kind::kNumber;
  o.number = format::DecimalFromDouble(value, 15);
  o.approximate = value;
  o.isDate = isDate;
}

// Text under a pattern: numeric patterns take it only if it reads as a number (the locale's
// rules); date patterns first read it as a date, then as a number that is a valid date
// serial. False if the text stays as it is.
bool ReadText(Operand& o, bool forDate, const RegionalSettings& settings) {
  if (forDate) {
    if (auto serial = format::ParseDateText(o.text, settings)) {
      SetReadNumber(o, *serial, true);
      return true;
    }
    auto number = format::ParseNumberText(o.text, settings);
    if (number && *number >= format::kMinDateSerial && *number < format::kMaxDateSerial) {
      SetReadNumber(o, *number, false);
      return true;
    }
    return false;
  }
  if (auto number = format::ParseNumberText(o.text, settings)) {
    SetReadNumber(o, *number, false);
    return true;
  }
  return false;
}

// Text of a value placed into a text section or written without a pattern: the automation's
// own conversion, in which a boolean is the number -1 or 0.
std::string ConvertedText(const data::Variant& value, const RegionalSettings& settings) {
  if (value.Is<bool>()) return value.As<bool>() ? "-1" : "0";
  return VariantToText(value, settings);
}

std::string FormatSections(const Operand& value, const data::Variant& original, std::string_view pattern,
                           int firstDay, int firstWeek, const RegionalSettings& settings) {
  format::Sections sections = format::SplitSections(pattern);
  SectionKind firstKind = format::KindOf(sections.part[0]);

  if (value.kind == Operand::Kind::kNull) {
    if (firstKind == SectionKind::kText) {
      return sections.count >= 2 ? format::FormatTextSection(sections.part[1], {}, settings) : std::string();
    }
    return sections.count >= 4 ? format::FormatNumberSection(sections.part[3], DecimalNumber{}, false, settings)
                               : std::string();
  }

  Operand operand = value;
  if (operand.kind == Operand::Kind::kText) {
    if (firstKind == SectionKind::kText) {
      if (operand.text.empty() && sections.count >= 2) return format::FormatTextSection(sections.part[1], {}, settings);
      return format::FormatTextSection(sections.part[0], operand.text, settings);
    }
    // Numeric and date patterns leave text that is neither number nor date as it is.
    if (!ReadText(operand, firstKind == SectionKind::kDate, settings)) return std::string(operand.text);
  }

  // Positive; negative (without a sign of its own); zero. An empty section means the first.
  const DecimalNumber& n = operand.number;
  std::string_view section = sections.part[0];
  bool minus = false;
  if (n.negative && !n.IsZero()) {
    if (sections.count >= 2 && !sections.part[1].empty()) {
      section = sections.part[1];
    } else {
      minus = true;
    }
  } else if (n.IsZero() && sections.count >= 3 && !sections.part[2].empty()) {
    section = sections.part[2];
  }

  switch (section == sections.part[0] ? firstKind : format::KindOf(section)) {
    case SectionKind::kDate:
      return format::FormatDateSection(section, operand.approximate, firstDay, firstWeek, settings);
    case SectionKind::kText:
      return format::FormatTextSection(
          section, value.kind == Operand::Kind::kText ? std::string(value.text) : ConvertedText(original, settings), settings);
    case SectionKind::kNumber:
    case SectionKind::kLiteral:
      break;
  }
  DecimalNumber magnitude = n;
  magnitude.negative = false;
  return format::FormatNumberSection(section, magnitude, minus, settings);
}

// The named formats ("Standard", "Short Date" ...); false if `pattern` is none of them.
bool FormatNamed(const Operand& value, const data::Variant& original, std::string_view pattern, int firstDay,
                 int firstWeek, const RegionalSettings& settings, std::string& out) {
  struct Alias {
    const char* name;
    const char* pattern;
  };
  static const Alias kAliases[] = {
      {"fixed", "0.00"},        {"standard", "#,##0.00"},     {"percent", "0.00%"},
      {"scientific", "0.00E+00"}, {"long date", "dddddd"},   {"medium date", "dd-mmm-yy"},
      {"short date", "ddddd"},  {"long time", "ttttt"},       {"medium time", "hh:nn AMPM"},
      {"short time", "hh:nn"},
  };
  if (pattern.size() < 5 || pattern.size() > 14) return false;
  auto is = [&](std::string_view name) {
    return pattern.size() == name.size() && format::MatchesAt(pattern, 0, name);
  };
  for (const Alias& alias : kAliases) {
    if (is(alias.name)) {
      out = FormatSections(value, original, alias.pattern, firstDay, firstWeek, settings);
      return true;
    }
  }
  if (is("currency")) {
    out = FormatSections(value, original, settings.currencyPattern, firstDay, firstWeek, settings);
    return true;
  }
  // The words come in the user's language, as from a German or English Windows; the language
  // is looked up only for these names, since every other pattern of a page passes here.
  const bool yesNo = is("yes/no"), trueFalse = is("true/false"), onOff = is("on/off");
  const bool german = (yesNo || trueFalse || onOff) && UserLanguage() == Language::kGerman;
  const char* words[2] = {nullptr, nullptr};
  if (yesNo) words[0] = german ? "Nein" : "No", words[1] = german ? "Ja" : "Yes";
  if (trueFalse) words[0] = german ? "Falsch" : "False", words[1] = german ? "Wahr" : "True";
  if (onOff) words[0] = german ? "Aus" : "Off", words[1] = german ? "Ein" : "On";
  bool general = is("general number");
  bool generalDate = is("general date");
  if (!words[0] && !general && !generalDate) return false;

  Operand operand = value;
  if (operand.kind == Operand::Kind::kNull) {
    out.clear();
  } else if (operand.kind == Operand::Kind::kText && !ReadText(operand, generalDate, settings)) {
    out = std::string(operand.text);
  } else if (words[0]) {
    out = words[operand.number.IsZero() ? 0 : 1];
  } else if (general) {
    out = operand.isDate ? DoubleText(operand.approximate, settings)
                         : format::PlainDecimalText(operand.number, settings.decimalSymbol);
  } else {
    out = DateText(operand.approximate, settings);
  }
  return true;
}

}  // namespace

std::string VarFormat(const data::Variant& value, std::string_view pattern, int firstDay, int firstWeek,
                      const RegionalSettings& settings) {
  if (firstDay < 0 || firstDay > 7 || firstWeek < 0 || firstWeek > 3) {
    throw RuntimeError(kErrInvalidProcedureCall, kTextInvalidProcedureCall);
  }
  if (firstDay == 0) firstDay = settings.firstDayOfWeek;
  if (firstWeek == 0) firstWeek = settings.firstWeekOfYear;
  if (pattern.empty()) return value.IsNull() ? std::string() : ConvertedText(value, settings);

  Operand operand = Classify(value);
  std::string out;
  if (FormatNamed(operand, value, pattern, firstDay, firstWeek, settings, out)) return out;
  return FormatSections(operand, value, pattern, firstDay, firstWeek, settings);
}

std::string VariantToText(const data::Variant& value, const RegionalSettings& settings) {
  struct Visitor {
    const RegionalSettings& s;
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(data::Null) const { throw RuntimeError(kErrInvalidUseOfNull, kTextInvalidUseOfNull); }
    std::string operator()(bool v) const { return v ? "True" : "False"; }
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(double v) const { return DoubleText(v, s); }
    std::string operator()(const data::Currency& v) const {
      return format::PlainDecimalText(format::DecimalFromCurrency(v.scaled), s.decimalSymbol);
    }
    std::string operator()(const data::Decimal& v) const {
      return format::PlainDecimalText(format::DecimalFromText(v.text), s.decimalSymbol);
    }
    std::string operator()(const data::Date& v) const { return DateText(v.serial, s); }
    std::string operator()(const std::string& v) const { return v; }
    std::string operator()(const std::shared_ptr<data::Recordset>&) const {
      throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch);
    }
  };
  return std::visit(Visitor{settings}, value.Raw());
}

}  // namespace vn
