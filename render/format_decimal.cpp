#include "render/format_decimal.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"

namespace vn::format {
namespace {

void Normalize(DecimalNumber& n) {
  int lead = 0;
  while (lead < n.count && n.digits[lead] == '0') ++lead;
  if (lead > 0) {
    for (int i = lead; i < n.count; ++i) n.digits[i - lead] = n.digits[i];
    n.count -= lead;
    n.exponent -= lead;
  }
  n.StripTrailingZeros();
  if (n.count == 0) n.exponent = 0;
}

// Keeps the first `keep` digits and rounds half away from zero on the next one.
void RoundAtIndex(DecimalNumber& n, int keep) {
  if (keep >= n.count) return;
  if (keep < 0) {
    n.count = 0;
    n.exponent = 0;
    return;
  }
  bool up = n.digits[keep] >= '5';
  n.count = keep;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && n.digits[i] == '9') {
      n.digits[i] = '0';
      --i;
    }
    if (i >= 0) {
      ++n.digits[i];
    } else {
      // All nines: 0.999 became 1.000, one power of ten more.
      n.digits[0] = '1';
      n.count = 1;
      ++n.exponent;
    }
  }
  Normalize(n);
}

// Reads the digits and the exponent of to_chars' scientific form "d.ddde[+-]xx".
void ReadScientific(const char* begin, const char* end, DecimalNumber& n) {
  const char* p = begin;
  for (; p < end && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9' && n.count < DecimalNumber::kMaxDigits) n.digits[n.count++] = *p;
  }
  int exp10 = 0;
  bool negative = false;
  if (p < end) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    for (; p < end; ++p) exp10 = exp10 * 10 + (*p - '0');
  }
  n.exponent = (negative ? -exp10 : exp10) + 1;
}

}  // namespace

void DecimalNumber::RoundToPlaces(int places) { RoundAtIndex(*this, exponent + places); }

void DecimalNumber::RoundToSignificant(int significant) { RoundAtIndex(*this, significant); }

void DecimalNumber::StripTrailingZeros() {
  while (count > 0 && digits[count - 1] == '0') --count;
}

DecimalNumber DecimalFromDouble(double value, int significant) {
  if (!std::isfinite(value)) throw RuntimeError(kErrOverflow, kTextOverflow);
  DecimalNumber n;
  if (value == 0) return n;
  n.negative = value < 0;
  const double magnitude = std::fabs(value);
  char buf[64];
  // The shortest text that reads back as the same double is the cheaper one to get. When it
  // has no more digits than wanted it is also the double rounded to that many digits: the
  // double's neighbours lie closer than the spacing of 15-digit decimals, so no other decimal
  // of that length is nearer. Subnormal doubles are spaced wider and take the general way.
  if (significant <= 15 && magnitude >= std::numeric_limits<double>::min()) {
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    if (ec == std::errc()) {
      ReadScientific(buf, end, n);
      if (n.count <= significant) {
        Normalize(n);
        return n;
      }
      n.count = 0;
    }
  }
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                 significant - 1);
  if (ec != std::errc()) throw RuntimeError(kErrOverflow, kTextOverflow);
  ReadScientific(buf, end, n);
  Normalize(n);
  return n;
}

DecimalNumber DecimalFromInt(std::int64_t value) {
  DecimalNumber n;
  if (value == 0) return n;
  n.negative = value < 0;
  unsigned long long magnitude = n.negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
  // At most 20 digits, straight into the number; no leading zeros, so only the trailing
  // ones go.
  auto [end, ec] = std::to_chars(n.digits, n.digits + DecimalNumber::kMaxDigits, magnitude);
  (void)ec;
  n.count = static_cast<int>(end - n.digits);
  n.exponent = n.count;
  n.StripTrailingZeros();
  return n;
}

DecimalNumber DecimalFromCurrency(std::int64_t scaled) {
  DecimalNumber n = DecimalFromInt(scaled);
  if (!n.IsZero()) n.exponent -= 4;
  return n;
}

DecimalNumber DecimalFromText(std::string_view text) {
  DecimalNumber n;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) n.negative = text[i++] == '-';
  bool point = false;
  bool any = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch);
    any = true;
    if (n.count == 0 && c == '0') {
      if (point) --n.exponent;  // zeros right after the point only move the exponent
      continue;
    }
    if (n.count <= DecimalNumber::kMaxDigits) n.digits[n.count++] = c;
    if (!point) ++n.exponent;
  }
  if (!any) throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch);
  if (n.count == 0) return DecimalNumber{};
  // Digits beyond the capacity: the first surplus digit rounds the rest.
  if (n.count > DecimalNumber::kMaxDigits) RoundAtIndex(n, DecimalNumber::kMaxDigits);
  Normalize(n);
  return n;
}

void AppendPlainDecimalText(std::string& out, const DecimalNumber& number,
                            std::string_view decimalSymbol) {
  if (number.IsZero()) {
    out += '0';
    return;
  }
  if (number.negative) out += '-';
  if (number.exponent <= 0) {
    out += '0';
  } else {
    for (int p = number.exponent - 1; p >= 0; --p) out += number.DigitAtPower(p);
  }
  const int lowest = number.exponent - number.count;  // power of the last significant digit
  if (lowest < 0) {
    out += decimalSymbol;
    for (int p = -1; p >= lowest; --p) out += number.DigitAtPower(p);
  }
}

}  // namespace vn::format
