#include "data/variant.h"

#include <cmath>
#include <cstdio>

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
  // Civil date from the OLE serial (day 0 = 1899-12-30), time from the fraction.
  double whole = std::trunc(serial);
  double fraction = std::fabs(serial - whole);
  long long seconds = std::llround(fraction * 86400.0);
  long long days = static_cast<long long>(whole) + seconds / 86400;
  seconds %= 86400;
  long long z = days - 25569 + 719468;  // days since 0000-03-01 via the Unix epoch
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buf[128];
  std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d,
                seconds / 3600, seconds / 60 % 60, seconds % 60);
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
