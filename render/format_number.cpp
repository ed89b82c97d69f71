#include "render/format_number.h"

#include <cstdint>
#include <vector>

#include "render/format_pattern.h"

namespace vn::format {
namespace {

enum class Item : std::uint8_t { kLiteral, kIntDigit, kPoint, kFracDigit, kComma, kPercent, kExponent, kDateSep, kTimeSep };

struct Token {
  Item kind;
  char ch = 0;        // placeholder '0'/'#', exponent letter
  char sign = 0;      // exponent: '+' always signed, '-' only negative
  int digits = 0;     // exponent: minimum digits
  std::string_view text;  // literal
};

struct Layout {
  int intCount = 0;
  int firstZeroInt = -1;
  int fracCount = 0;
  int lastZeroFrac = -1;
  bool point = false;
  bool grouping = false;
  int scale = 0;
  int percent = 0;
  const Token* exponent = nullptr;
};

void Tokenize(std::string_view s, std::vector<Token>& tokens) {
  bool seenPoint = false;
  bool seenExponent = false;
  bool seenDigit = false;  // "E+" and a comma only mean something after a digit placeholder
  for (std::size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '"') {
      auto end = s.find('"', i + 1);
      if (end == std::string_view::npos) end = s.size();
      tokens.push_back({Item::kLiteral, 0, 0, 0, s.substr(i + 1, end - i - 1)});
      i = end + 1;
    } else if (c == '\\') {
      if (i + 1 < s.size()) {
        std::size_t n = Utf8Length(s, i + 1);
        tokens.push_back({Item::kLiteral, 0, 0, 0, s.substr(i + 1, n)});
        i += 1 + n;
      } else {
        ++i;
      }
    } else if ((c == '0' || c == '#') && !seenExponent) {
      tokens.push_back({seenPoint ? Item::kFracDigit : Item::kIntDigit, c, 0, 0, {}});
      seenDigit = true;
      ++i;
    } else if (c == '.' && !seenPoint && !seenExponent) {
      seenPoint = true;
      tokens.push_back({Item::kPoint, c, 0, 0, {}});
      ++i;
    } else if (c == ',' && !seenPoint && !seenExponent && seenDigit) {
      tokens.push_back({Item::kComma, c, 0, 0, {}});
      ++i;
    } else if (c == '%') {
      tokens.push_back({Item::kPercent, c, 0, 0, s.substr(i, 1)});
      ++i;
    } else if ((c == 'E' || c == 'e') && !seenExponent && seenDigit && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      seenExponent = true;
      Token t{Item::kExponent, c, s[i + 1], 0, {}};
      i += 2;
      while (i < s.size() && (s[i] == '0' || s[i] == '#')) {
        ++t.digits;
        ++i;
      }
      tokens.push_back(t);
    } else if (c == '/') {
      tokens.push_back({Item::kDateSep, c, 0, 0, {}});
      ++i;
    } else if (c == ':') {
      tokens.push_back({Item::kTimeSep, c, 0, 0, {}});
      ++i;
    } else {
      std::size_t n = Utf8Length(s, i);
      // Adjacent plain characters form one literal.
      if (!tokens.empty() && tokens.back().kind == Item::kLiteral &&
          tokens.back().text.data() + tokens.back().text.size() == s.data() + i) {
        tokens.back().text = std::string_view(tokens.back().text.data(), tokens.back().text.size() + n);
      } else {
        tokens.push_back({Item::kLiteral, 0, 0, 0, s.substr(i, n)});
      }
      i += n;
    }
  }
}

Layout Analyse(std::vector<Token>& tokens) {
  Layout layout;
  int lastInt = -1;
  int pointIndex = -1;
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    const Token& t = tokens[i];
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
        layout.exponent = &t;
        break;
      default:
        break;
    }
  }
  // Commas: a run right after the last integer placeholder scales by 1000 each when the
  // decimal point follows it or there is none; a comma between integer placeholders groups.
  if (lastInt >= 0) {
    int j = lastInt + 1;
    while (j < static_cast<int>(tokens.size()) && tokens[j].kind == Item::kComma) ++j;
    bool scaling = !layout.point || (j < static_cast<int>(tokens.size()) && j == pointIndex);
    if (scaling) layout.scale = j - lastInt - 1;
    bool seenInt = false;
    for (int i = 0; i < lastInt; ++i) {
      if (tokens[i].kind == Item::kIntDigit) seenInt = true;
      if (tokens[i].kind == Item::kComma && seenInt) layout.grouping = true;
    }
  }
  return layout;
}

void AppendDigit(std::string& out, const DecimalNumber& n, int power, bool grouping, const RegionalSettings& settings) {
  out += n.DigitAtPower(power);
  if (grouping && power > 0 && power % 3 == 0) out += settings.groupingSymbol;
}

}  // namespace

std::string FormatNumberSection(std::string_view section, DecimalNumber n, bool minus, const RegionalSettings& settings) {
  std::vector<Token> tokens;
  tokens.reserve(16);
  Tokenize(section, tokens);
  Layout layout = Analyse(tokens);

  if (!n.IsZero()) n.exponent += 2 * layout.percent - 3 * layout.scale;

  int exponentValue = 0;
  if (layout.exponent) {
    if (!n.IsZero()) {
      exponentValue = n.exponent - layout.intCount;
      n.exponent = layout.intCount;
      n.RoundToPlaces(layout.fracCount);
      if (n.exponent > layout.intCount) {
        n.exponent = layout.intCount;
        ++exponentValue;
      }
    }
  } else {
    n.RoundToPlaces(layout.fracCount);
  }

  int valueDigits = n.IsZero() ? 0 : std::max(0, n.exponent);
  int minInt = layout.firstZeroInt >= 0 ? layout.intCount - layout.firstZeroInt : 0;
  int shownInt = std::max(valueDigits, minInt);

  int shownFrac = layout.lastZeroFrac + 1;
  for (int j = layout.fracCount - 1; j >= shownFrac; --j) {
    if (n.DigitAtPower(-(j + 1)) != '0') {
      shownFrac = j + 1;
      break;
    }
  }

  std::string out;
  out.reserve(section.size() + 24);
  if (minus) out += '-';
  int intIndex = 0;
  int fracIndex = 0;
  for (const Token& t : tokens) {
    switch (t.kind) {
      case Item::kLiteral:
        out += t.text;
        break;
      case Item::kPercent:
        out += '%';
        break;
      case Item::kDateSep:
        out += settings.dateSeparator;
        break;
      case Item::kTimeSep:
        out += settings.timeSeparator;
        break;
      case Item::kComma:
        break;
      case Item::kIntDigit: {
        int own = layout.intCount - 1 - intIndex;
        if (intIndex == 0) {
          // The leftmost placeholder takes every digit the pattern has no place for.
          for (int p = shownInt - 1; p > own; --p) AppendDigit(out, n, p, layout.grouping, settings);
        }
        if (own < shownInt) AppendDigit(out, n, own, layout.grouping, settings);
        ++intIndex;
        break;
      }
      case Item::kPoint:
        if (layout.intCount == 0) {
          for (int p = valueDigits - 1; p >= 0; --p) AppendDigit(out, n, p, layout.grouping, settings);
        }
        out += settings.decimalSymbol;
        break;
      case Item::kFracDigit:
        if (fracIndex < shownFrac) out += n.DigitAtPower(-(fracIndex + 1));
        ++fracIndex;
        break;
      case Item::kExponent: {
        out += t.ch;
        int magnitude = exponentValue < 0 ? -exponentValue : exponentValue;
        if (exponentValue < 0) {
          out += '-';
        } else if (t.sign == '+') {
          out += '+';
        }
        char buf[16];
        int len = 0;
        do {
          buf[len++] = static_cast<char>('0' + magnitude % 10);
          magnitude /= 10;
        } while (magnitude > 0);
        for (int k = len; k < t.digits; ++k) out += '0';
        while (len > 0) out += buf[--len];
        break;
      }
    }
  }
  return out;
}

}  // namespace vn::format
