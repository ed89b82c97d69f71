#include "data/sql_values.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "data/date_serial.h"
#include "platform/text.h"

namespace vn::data {

namespace {

bool Digits(std::string_view s, size_t pos, size_t count, int& out) {
  if (pos + count > s.size()) return false;
  out = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    out = out * 10 + (s[i] - '0');
  }
  return true;
}

// Parses "HH:MM[:SS[.fff]]" at pos to the end of s.
bool ParseTime(std::string_view s, size_t pos, int& h, int& mi, double& sec) {
  if (!Digits(s, pos, 2, h) || pos + 2 >= s.size() || s[pos + 2] != ':' ||
      !Digits(s, pos + 3, 2, mi)) {
    return false;
  }
  sec = 0;
  size_t p = pos + 5;
  if (p < s.size()) {
    int whole = 0;
    if (s[p] != ':' || !Digits(s, p + 1, 2, whole)) return false;
    sec = whole;
    p += 3;
    if (p < s.size()) {
      if (s[p] != '.' || p + 1 >= s.size()) return false;
      double scale = 0.1;
      for (++p; p < s.size(); ++p) {
        if (s[p] < '0' || s[p] > '9') return false;
        sec += (s[p] - '0') * scale;
        scale /= 10;
      }
    }
  }
  return h < 24 && mi < 60 && sec < 60;
}

}  // namespace

std::optional<Date> ParseIsoDate(std::string_view s) {
  int y = 0, m = 0, d = 0, h = 0, mi = 0;
  double sec = 0;
  if (s.size() >= 5 && s[2] == ':') {
    if (!ParseTime(s, 0, h, mi, sec)) return std::nullopt;
    return Date{(h * 3600.0 + mi * 60.0 + sec) / 86400.0};
  }
  if (!Digits(s, 0, 4, y) || s.size() < 10 || s[4] != '-' || !Digits(s, 5, 2, m) || s[7] != '-' ||
      !Digits(s, 8, 2, d)) {
    return std::nullopt;
  }
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return std::nullopt;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (m == 2 && d == 29 && !leap) return std::nullopt;
  if (s.size() > 10) {
    if ((s[10] != ' ' && s[10] != 'T') || !ParseTime(s, 11, h, mi, sec)) return std::nullopt;
  }
  return Date{DateSerial(y, m, d, h, mi, sec)};
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
  const std::string t = TrimSpaces(std::string(text));
  if (t.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || end != t.c_str() + t.size()) return std::nullopt;
  return static_cast<std::int64_t>(v);
}

std::optional<std::string> NormaliseDecimal(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  std::string whole, fraction;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') whole += s[i++];
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') fraction += s[i++];
  }
  if (i != s.size() || (whole.empty() && fraction.empty())) return std::nullopt;
  size_t lead = whole.find_first_not_of('0');
  whole = lead == std::string::npos ? "0" : whole.substr(lead);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (whole == "0" && fraction.empty()) negative = false;
  std::string out = negative ? "-" : "";
  out += whole;
  if (!fraction.empty()) out += "." + fraction;
  return out;
}

std::optional<Currency> ParseCurrency(std::string_view s) {
  bool negative = false;
  std::string digits;
  int places = -1;
  bool any = false;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      if (places >= 0) ++places;
      digits += c;
      any = true;
    } else if (c == '.') {
      if (places >= 0) return std::nullopt;
      places = 0;
    } else if (c == '-' || c == '(') {
      negative = true;
    } else if (c == ',' || c == ' ' || c == '$' || c == ')' || c == '+' ||
               static_cast<unsigned char>(c) >= 0x80) {
      // group separators, signs and currency symbols around the amount
    } else {
      return std::nullopt;
    }
  }
  if (!any) return std::nullopt;
  if (places < 0) places = 0;
  // Scale to four places, rounding half away from zero on the fifth; the digits after it do not
  // count. 64 bits suffice (there is no 128-bit integer on 32-bit targets): what is kept can
  // only grow, so anything above the largest currency value is out of range at once.
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const size_t kept = digits.size() - static_cast<size_t>(places > 4 ? places - 4 : 0);
  std::uint64_t value = 0;
  for (size_t i = 0; i < kept; ++i) {
    if (value > kMax / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(digits[i] - '0');
  }
  for (; places < 4; ++places) {
    if (value > kMax / 10) return std::nullopt;
    value *= 10;
  }
  if (kept < digits.size() && digits[kept] >= '5') ++value;
  if (value > kMax) return std::nullopt;
  auto scaled = static_cast<std::int64_t>(value);
  return Currency{negative ? -scaled : scaled};
}

std::string ShortestDouble(double value) {
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

}  // namespace vn::data
