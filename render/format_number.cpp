#include "render/format_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "render/format_buffer.h"
#include "render/format_pattern.h"

namespace vn::format {

enum class NumberPattern::Item : std::uint8_t {
  kLiteral,
  kIntDigit,
  kPoint,
  kFracDigit,
  kComma,
  kPercent,
  kExponent,
  kDateSep,
  kTimeSep
};

NumberPattern::NumberPattern(std::string_view section) : source_(section) {
  tokens_.reserve(section.size());  // at most one token per character
  Tokenize();
  Analyse();
}

void NumberPattern::AddLiteral(std::size_t offset, std::size_t length, bool merge) {
  Token* last = tokens_.empty() ? nullptr : &tokens_.back();
  if (merge && last && last->kind == Item::kLiteral && last->offset + last->length == offset) {
    last->length += static_cast<std::uint32_t>(length);
    return;
  }
  Token t{Item::kLiteral};
  t.offset = static_cast<std::uint32_t>(offset);
  t.length = static_cast<std::uint32_t>(length);
  tokens_.push_back(t);
}

void NumberPattern::Tokenize() {
  const std::string_view s = source_;
  bool seenPoint = false;
  bool seenExponent = false;
  bool seenDigit = false;  // "E+" and a comma only mean something after a digit placeholder
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '"') {
      // Quoted text stays one token of its own, even when empty: it ends a run of commas.
      auto end = s.find('"', i + 1);
      if (end == std::string_view::npos) end = s.size();
      AddLiteral(i + 1, end - i - 1, false);
      i = end + 1;
    } else if (c == '\\') {
      if (i + 1 < s.size()) {
        std::size_t n = Utf8Length(s, i + 1);
        AddLiteral(i + 1, n, false);
        i += 1 + n;
      } else {
        ++i;
      }
    } else if ((c == '0' || c == '#') && !seenExponent) {
      tokens_.push_back({seenPoint ? Item::kFracDigit : Item::kIntDigit, c});
      seenDigit = true;
      ++i;
    } else if (c == '.' && !seenPoint && !seenExponent) {
      seenPoint = true;
      tokens_.push_back({Item::kPoint, c});
      ++i;
    } else if (c == ',' && !seenPoint && !seenExponent && seenDigit) {
      tokens_.push_back({Item::kComma, c});
      ++i;
    } else if (c == '%') {
      tokens_.push_back({Item::kPercent, c});
      ++i;
    } else if ((c == 'E' || c == 'e') && !seenExponent && seenDigit && i + 1 < s.size() &&
               (s[i + 1] == '+' || s[i + 1] == '-')) {
      seenExponent = true;
      Token t{Item::kExponent, c, s[i + 1]};
      i += 2;
      while (i < s.size() && (s[i] == '0' || s[i] == '#')) {
        ++t.digits;
        ++i;
      }
      tokens_.push_back(t);
    } else if (c == '/') {
      tokens_.push_back({Item::kDateSep, c});
      ++i;
    } else if (c == ':') {
      tokens_.push_back({Item::kTimeSep, c});
      ++i;
    } else {
      std::size_t n = Utf8Length(s, i);
      AddLiteral(i, n, true);
      i += n;
    }
  }
}

void NumberPattern::Analyse() {
  Layout& layout = layout_;
  int lastInt = -1;
  int pointIndex = -1;
  const int count = static_cast<int>(tokens_.size());
  bool onlyDigits = true;
  for (int i = 0; i < count; ++i) {
    const Token& t = tokens_[static_cast<std::size_t>(i)];
    if (t.kind != Item::kIntDigit && t.kind != Item::kFracDigit && t.kind != Item::kPoint &&
        t.kind != Item::kComma) {
      onlyDigits = false;
    }
    switch (t.kind) {
      case Item::kIntDigit:
        if (t.ch == '0' && layout.firstZeroInt < 0) layout.firstZeroInt = layout.intCount;
        ++layout.intCount;
        lastInt = i;
        break;
      case Item::kFracDigit:
        if (t.ch == '0') layout.lastZeroFrac = layout.fracCount;
        ++layout.fracCount;
        break;
      case Item::kPoint:
        layout.point = true;
        pointIndex = i;
        break;
      case Item::kPercent:
        ++layout.percent;
        break;
      case Item::kExponent:
        layout.exponent = true;
        break;
      default:
        break;
    }
  }
  if (lastInt < 0) return;
  // The tokeniser puts integer places and commas before the point and fraction places after
  // it, so such a pattern writes its integer digits in one run and its fraction in another.
  layout.plain = onlyDigits;
  // Commas: a run right after the last integer placeholder scales by 1000 each when the
  // decimal point follows it or there is none; a comma between integer placeholders groups.
  auto kindAt = [&](int i) { return tokens_[static_cast<std::size_t>(i)].kind; };
  int j = lastInt + 1;
  while (j < count && kindAt(j) == Item::kComma) ++j;
  const bool scaling = !layout.point || (j < count && j == pointIndex);
  if (scaling) layout.scale = j - lastInt - 1;
  bool seenInt = false;
  for (int i = 0; i < lastInt; ++i) {
    if (kindAt(i) == Item::kIntDigit) seenInt = true;
    if (kindAt(i) == Item::kComma && seenInt) layout.grouping = true;
  }
}

NumberPattern::Placed NumberPattern::Place(DecimalNumber& n) const {
  const Layout& layout = layout_;
  Placed placed;
  if (!n.IsZero()) n.exponent += 2 * layout.percent - 3 * layout.scale;
  if (!layout.exponent) {
    n.RoundToPlaces(layout.fracCount);
  } else if (!n.IsZero()) {
    // The mantissa gets exactly as many integer digits as the pattern has places.
    placed.exponentValue = n.exponent - layout.intCount;
    n.exponent = layout.intCount;
    n.RoundToPlaces(layout.fracCount);
    if (n.exponent > layout.intCount) {
      n.exponent = layout.intCount;
      ++placed.exponentValue;
    }
  }
  placed.valueDigits = n.IsZero() ? 0 : std::max(0, n.exponent);
  const int minInt = layout.firstZeroInt >= 0 ? layout.intCount - layout.firstZeroInt : 0;
  placed.shownInt = std::max(placed.valueDigits, minInt);
  // Fraction places up to the rightmost "0" always show, "#" places only up to the last
  // digit that is not zero.
  placed.shownFrac = layout.lastZeroFrac + 1;
  for (int j = layout.fracCount - 1; j >= placed.shownFrac; --j) {
    if (n.DigitAtPower(-(j + 1)) != '0') {
      placed.shownFrac = j + 1;
      break;
    }
  }
  return placed;
}

// The integer digits at powers `from` down to `to`, with the grouping symbol after every
// third power when the pattern groups.
void NumberPattern::PutIntegerDigits(StagingBuffer& out, const DecimalNumber& n, int from, int to,
                                     const RegionalSettings& settings) const {
  for (int p = from; p >= to; --p) {
    out.Put(n.DigitAtPower(p));
    if (layout_.grouping && p > 0 && p % 3 == 0) out.Put(settings.groupingSymbol);
  }
}

void NumberPattern::PutToken(StagingBuffer& out, const Token& t, const DecimalNumber& n,
                             const Placed& placed, int& intIndex, int& fracIndex,
                             const RegionalSettings& settings) const {
  switch (t.kind) {
    case Item::kLiteral:
      out.Put(std::string_view(source_).substr(t.offset, t.length));
      return;
    case Item::kPercent:
      out.Put('%');
      return;
    case Item::kDateSep:
      out.Put(settings.dateSeparator);
      return;
    case Item::kTimeSep:
      out.Put(settings.timeSeparator);
      return;
    case Item::kComma:
      return;
    case Item::kIntDigit: {
      const int own = layout_.intCount - 1 - intIndex;
      // The leftmost placeholder takes every digit the pattern has no place for; a place
      // left of the shown digits stays empty.
      const int from = intIndex == 0 ? placed.shownInt - 1 : std::min(own, placed.shownInt - 1);
      PutIntegerDigits(out, n, from, own, settings);
      ++intIndex;
      return;
    }
    case Item::kPoint:
      if (layout_.intCount == 0) PutIntegerDigits(out, n, placed.valueDigits - 1, 0, settings);
      out.Put(settings.decimalSymbol);
      return;
    case Item::kFracDigit:
      if (fracIndex < placed.shownFrac) out.Put(n.DigitAtPower(-(fracIndex + 1)));
      ++fracIndex;
      return;
    case Item::kExponent: {
      out.Put(t.ch);
      const int value = placed.exponentValue;
      if (value < 0) {
        out.Put('-');
      } else if (t.sign == '+') {
        out.Put('+');
      }
      char buf[16];
      int len = 0;
      for (int magnitude = value < 0 ? -value : value; len == 0 || magnitude > 0; magnitude /= 10) {
        buf[len++] = static_cast<char>('0' + magnitude % 10);
      }
      for (int k = len; k < t.digits; ++k) out.Put('0');
      while (len > 0) out.Put(buf[--len]);
      return;
    }
  }
}

// What the tokens of a plain pattern write, in two runs: the leftmost integer place takes the
// digits down to its own power, each further place one digit; the point its symbol; the
// fraction places the shown fraction digits.
void NumberPattern::PutPlain(StagingBuffer& out, const DecimalNumber& n, const Placed& placed,
                             const RegionalSettings& settings) const {
  PutIntegerDigits(out, n, placed.shownInt - 1, 0, settings);
  if (!layout_.point) return;
  out.Put(settings.decimalSymbol);
  for (int j = 0; j < placed.shownFrac; ++j) out.Put(n.DigitAtPower(-(j + 1)));
}

void NumberPattern::Append(std::string& out, DecimalNumber n, bool minus,
                           const RegionalSettings& settings) const {
  const Placed placed = Place(n);
  StagingBuffer staged(out);
  if (minus) staged.Put('-');
  if (layout_.plain) {
    PutPlain(staged, n, placed, settings);
  } else {
    int intIndex = 0;
    int fracIndex = 0;
    for (const Token& t : tokens_) PutToken(staged, t, n, placed, intIndex, fracIndex, settings);
  }
  staged.Flush();
}

namespace {

constexpr int kMaxPowerOfTen = 19;  // 10^19 is the largest power of ten in 64 bits

constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, kMaxPowerOfTen + 1> powers{};
  powers[0] = 1;
  for (int i = 1; i <= kMaxPowerOfTen; ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

std::uint64_t PowerOfTen(int exponent) { return kPowersOfTen[static_cast<std::size_t>(exponent)]; }

}  // namespace

bool NumberPattern::AppendExact(std::string& out, std::uint64_t scaled, int decimals, bool minus,
                                const RegionalSettings& settings) const {
  const Layout& layout = layout_;
  if (!layout.plain || layout.fracCount > kMaxPowerOfTen) return false;
  // The value scaled down by the commas, rounded half away from zero to the fraction places,
  // as a count of units of the last place.
  const int shift = decimals + 3 * layout.scale - layout.fracCount;
  std::uint64_t units = scaled;
  if (shift > 0) {
    if (shift > kMaxPowerOfTen) return false;
    const std::uint64_t divisor = PowerOfTen(shift);
    const std::uint64_t rest = scaled % divisor;
    units = scaled / divisor + (rest >= divisor - rest ? 1 : 0);
  } else if (shift < 0) {
    if (-shift > kMaxPowerOfTen) return false;
    const std::uint64_t factor = PowerOfTen(-shift);
    if (scaled > UINT64_MAX / factor) return false;
    units = scaled * factor;
  }
  const std::uint64_t one = PowerOfTen(layout.fracCount);
  const std::uint64_t whole = units / one;
  const std::uint64_t fraction = units % one;

  char intDigits[24];
  char* const intEnd = std::to_chars(intDigits, intDigits + sizeof intDigits, whole).ptr;
  const int valueDigits = whole == 0 ? 0 : static_cast<int>(intEnd - intDigits);
  const int minInt = layout.firstZeroInt >= 0 ? layout.intCount - layout.firstZeroInt : 0;
  const int shownInt = std::max(valueDigits, minInt);
  char fracDigits[kMaxPowerOfTen + 1];
  std::uint64_t rest = fraction;
  for (int j = layout.fracCount - 1; j >= 0; --j, rest /= 10) {
    fracDigits[j] = static_cast<char>('0' + rest % 10);
  }
  int shownFrac = layout.lastZeroFrac + 1;
  for (int j = layout.fracCount - 1; j >= shownFrac; --j) {
    if (fracDigits[j] != '0') {
      shownFrac = j + 1;
      break;
    }
  }

  StagingBuffer staged(out);
  if (minus) staged.Put('-');
  for (int p = shownInt - 1; p >= 0; --p) {
    staged.Put(p < valueDigits ? intDigits[valueDigits - 1 - p] : '0');
    if (layout.grouping && p > 0 && p % 3 == 0) staged.Put(settings.groupingSymbol);
  }
  if (layout.point) {
    staged.Put(settings.decimalSymbol);
    for (int j = 0; j < shownFrac; ++j) staged.Put(fracDigits[j]);
  }
  staged.Flush();
  return true;
}

std::string FormatNumberSection(std::string_view section, DecimalNumber number, bool minus,
                                const RegionalSettings& settings) {
  std::string out;
  out.reserve(section.size() + 24);
  NumberPattern(section).Append(out, number, minus, settings);
  return out;
}

}  // namespace vn::format
