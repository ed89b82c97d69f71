// DecimalNumber: a number as its significant decimal digits and a power of ten, the form in
// which the formatter rounds (half away from zero on decimal digits, never on the binary value)
// and places digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vn::format {

struct DecimalNumber {
  static constexpr int kMaxDigits = 40;

  bool negative = false;
  int count = 0;                     // significant digits in `digits`; 0 means the value zero
  int exponent = 0;                  // value = 0.d1 d2 ... dn x 10^exponent
  char digits[kMaxDigits + 1] = {};  // one spare for rounding surplus input

  bool IsZero() const { return count == 0; }

  // The digit at 10^power, '0' outside the significant digits.
  char DigitAtPower(int power) const {
    int index = exponent - 1 - power;
    return index >= 0 && index < count ? digits[index] : '0';
  }

  // Rounds half away from zero to `places` digits after the decimal point (may be negative).
  void RoundToPlaces(int places);
  // Rounds half away from zero to `significant` significant digits.
  void RoundToSignificant(int significant);
  void StripTrailingZeros();
};

// A double reduced to `significant` significant digits (15 for doubles, 7 for singles), as the
// automation conversions do before any further rounding. Throws RuntimeError for NaN/infinity.
DecimalNumber DecimalFromDouble(double value, int significant = 15);
DecimalNumber DecimalFromInt(std::int64_t value);
// Currency: the integer scaled by 10 000.
DecimalNumber DecimalFromCurrency(std::int64_t scaled);
// Exact decimal text "[-]digits[.digits]" (point separator); throws RuntimeError if malformed.
DecimalNumber DecimalFromText(std::string_view text);

// Plain digits with `decimalSymbol` between integer and fraction (no grouping), trailing
// fraction zeros removed, "0" for zero: the default text of integers, currency and decimals.
void AppendPlainDecimalText(std::string& out, const DecimalNumber& number,
                            std::string_view decimalSymbol);

}  // namespace vn::format
