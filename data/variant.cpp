#include "data/variant.h"

#include <cstdio>

#include "data/date_serial.h"

namespace vn::data {

namespace {

std::string CurrencyText(std::int64_t scaled) {
  bool negative = scaled < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(scaled)
                                          : static_cast<unsigned long long>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  unsigned long long fraction = magnitude % 10000;
  if (fraction != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04llu", fraction);
    std::string f = buf;
    while (!f.empty() && f.back() == '0') f.pop_back();
    text += "." + f;
  }
  return negative ? "-" + text : text;
}

std::string DateText(double serial) {
  const SerialParts parts = SplitSerial(serial);
  const CalendarDay day = CalendarDayOf(parts.day);
  char buf[128];
  std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02ld:%02ld:%02ld", day.year, day.month, day.day,
                parts.second / 3600, parts.second / 60 % 60, parts.second % 60);
  return buf;
}

}  // namespace

std::string Variant::DebugText() const {
  struct Visitor {
    std::string operator()(std::monostate) const { return ""; }
    std::string operator()(Null) const { return "NULL"; }
    std::string operator()(bool v) const { return v ? "True" : "False"; }
    std::string operator()(std::int64_t v) const { return std::to_string(v); }
    std::string operator()(double v) const {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.15g", v);
      return buf;
    }
    std::string operator()(const Currency& v) const { return CurrencyText(v.scaled); }
    std::string operator()(const Decimal& v) const { return v.text; }
    std::string operator()(const Date& v) const { return DateText(v.serial); }
    std::string operator()(const std::string& v) const { return v; }
    std::string operator()(const std::shared_ptr<Recordset>&) const { return "<chapter>"; }
  };
  return std::visit(Visitor{}, value_);
}

bool Variant::operator==(const Variant& other) const { return value_ == other.value_; }

}  // namespace vn::data
