// Numeric sections of a format pattern: digit placeholders, grouping, scaling, decimals,
// percent, scientific notation and literals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/format_decimal.h"
#include "render/regional_settings.h"

namespace vn::format {

class StagingBuffer;

// One numeric (or literal-only) section split into its tokens and measured once (how many
// integer and fraction places, grouping, scaling, percent, exponent), for writing any number
// of values through it.
class NumberPattern {
 public:
  explicit NumberPattern(std::string_view section);

  // Appends the magnitude of `number` through the section; `minus` puts "-" in front of
  // everything, as a one-section pattern does for negative values.
  void Append(std::string& out, DecimalNumber number, bool minus,
              const RegionalSettings& settings) const;

  // True for a section of digit places, commas and a point only ("#,##0.00").
  bool Plain() const { return layout_.plain; }
  // For a plain section: appends the magnitude `scaled` / 10^`decimals` of an exact number (an
  // integer, or a currency's scaled integer), as Append writes it, with its digits worked out
  // in integer arithmetic. False, with nothing appended, when that arithmetic would overflow;
  // Append then takes the number.
  bool AppendExact(std::string& out, std::uint64_t scaled, int decimals, bool minus,
                   const RegionalSettings& settings) const;

 private:
  enum class Item : std::uint8_t;
  struct Token {
    Item kind;
    char ch = 0;               // placeholder '0'/'#', exponent letter
    char sign = 0;             // exponent: '+' always signed, '-' only negative
    std::uint16_t digits = 0;  // exponent: minimum digits
    std::uint32_t offset = 0;  // literal: its text in source_
    std::uint32_t length = 0;
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
    bool exponent = false;
    // Only digit placeholders, commas and the point: the value is its digits, grouped, and
    // its fraction, written without going through the tokens.
    bool plain = false;
  };
  // What one value needs besides the pattern: its exponent and how many digits show.
  struct Placed {
    int exponentValue = 0;
    int valueDigits = 0;
    int shownInt = 0;
    int shownFrac = 0;
  };

  void Tokenize();
  void AddLiteral(std::size_t offset, std::size_t length, bool merge);
  void Analyse();
  Placed Place(DecimalNumber& n) const;
  void PutToken(StagingBuffer& out, const Token& t, const DecimalNumber& n, const Placed& placed,
                int& intIndex, int& fracIndex, const RegionalSettings& settings) const;
  void PutIntegerDigits(StagingBuffer& out, const DecimalNumber& n, int from, int to,
                        const RegionalSettings& settings) const;
  void PutPlain(StagingBuffer& out, const DecimalNumber& n, const Placed& placed,
                const RegionalSettings& settings) const;

  std::string source_;
  std::vector<Token> tokens_;
  Layout layout_;
};

// Writes the magnitude of `number` through one numeric section (tokenised for this one call).
std::string FormatNumberSection(std::string_view section, DecimalNumber number, bool minus,
                                const RegionalSettings& settings);

}  // namespace vn::format
