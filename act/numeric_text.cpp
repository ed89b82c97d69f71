#include "act/numeric_text.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"

namespace vn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number in the canonical form from_chars reads, or nothing when `text` is not numeric.
std::optional<std::string> Canonical(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  std::string out;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
    while (i < n && IsBlank(text[i])) ++i;
  }
  size_t digits = 0;
  while (i < n && IsDigit(text[i])) {
    out += text[i++];
    ++digits;
  }
  if (i < n && text[i] == '.') {
    out += text[i++];
    while (i < n && IsDigit(text[i])) {
      out += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    out += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) out += text[i++];
    size_t exponentDigits = 0;
    while (i < n && IsDigit(text[i])) {
      out += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return std::nullopt;
  return out;
}

}  // namespace

bool IsNumeric(std::string_view text) { return Canonical(text).has_value(); }

std::int32_t RoundToLong(std::string_view text) {
  std::optional<std::string> canonical = Canonical(text);
  if (!canonical) throw RuntimeError(kErrTypeMismatch, kTextTypeMismatch, "RoundToLong");
  double value = 0;
  auto [end, ec] = std::from_chars(canonical->data(), canonical->data() + canonical->size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Too small to be anything but zero, or too large for any whole number.
    if (canonical->find("e-") != std::string::npos) return 0;
    throw RuntimeError(kErrOverflow, kTextOverflow, "RoundToLong");
  }
  // The default rounding direction takes halves to the even neighbour.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw RuntimeError(kErrOverflow, kTextOverflow, "RoundToLong");
  }
  return static_cast<std::int32_t>(rounded);
}

bool IsPlainNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digit = false;
  bool separator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace vn
