#include "render/format_conversion.h"

#include <charconv>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "render/format_date.h"
#include "render/format_decimal.h"

namespace vn::format {
namespace {

void AppendInteger(std::string& out, std::int64_t value) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  (void)ec;  // 24 characters hold every 64-bit integer
  out.append(buf, end);
}

}  // namespace

void AppendDoubleText(std::string& out, double value, const RegionalSettings& settings) {
  DecimalNumber n = DecimalFromDouble(value, 15);
  if (n.IsZero()) {
    out += '0';  // negative zero too
    return;
  }
  const int fractionDigits = n.count - n.exponent;
  if (n.exponent <= 15 && fractionDigits <= 15) {
    AppendPlainDecimalText(out, n, settings.decimalSymbol);
    return;
  }
  if (n.negative) out += '-';
  out += n.digits[0];
  if (n.count > 1) {
    out += settings.decimalSymbol;
    out.append(n.digits + 1, n.digits + n.count);
  }
  const int exponent = n.exponent - 1;
  out += exponent < 0 ? "E-" : "E+";
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) out += '0';
  AppendInteger(out, magnitude);
}

void AppendDateText(std::string& out, double serial, const RegionalSettings& settings) {
  AppendDateAndTime(out, DatePartsFromSerial(serial), 1, 1, settings);
}

void AppendVariantText(std::string& out, const data::Variant& value,
                       const RegionalSettings& settings) {
  struct Visitor {
    std::string& out;
    const RegionalSettings& s;
    void operator()(std::monostate) const {}
    void operator()(data::Null) const {
      throw RuntimeError(kErrInvalidUseOfNull, kTextInvalidUseOfNull);
    }
    void operator()(bool v) const { out += v ? "True" : "False"; }
    void operator()(std::int64_t v) const { AppendInteger(out, v); }
    void operator()(double v) const { AppendDoubleText(out, v, s); }
    void operator()(const data::Currency& v) const {
      AppendPlainDecimalText(out, DecimalFromCurrency(v.scaled), s.decimalSymbol);
    }
    void operator()(const data::Decimal& v) const {
      AppendPlainDecimalText(out, DecimalFromText(v.text), s.decimalSymbol);
    }
    void operator()(const data::Date& v) const { AppendDateText(out, v.serial, s); }
    void operator()(const std::string& v) const { out += v; }
    void operator()(const std::shared_ptr<data::Recordset>&) const {
      throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch);
    }
  };
  std::visit(Visitor{out, settings}, value.Raw());
}

void AppendConvertedText(std::string& out, const data::Variant& value,
                         const RegionalSettings& settings) {
  if (value.Is<bool>()) {
    out += value.As<bool>() ? "-1" : "0";
    return;
  }
  AppendVariantText(out, value, settings);
}

}  // namespace vn::format
