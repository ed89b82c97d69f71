// The prepared paths (PreparedFormat, FieldFormat) against the one-call functions: one object
// per pattern or column reused for many values, appending to a buffer that already holds text,
// must write what VarFormat and FormatFieldValue return, byte for byte.
#include "render/format_prepared.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "platform/runtime_error.h"
#include "render/format_decimal.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"
#include "render/value_format.h"

namespace vn {
namespace {

using data::Currency;
using data::Decimal;
using data::Null;
using data::Variant;

// Before 30 December 1899 the serial's integer part is the day and its fraction, taken
// positive, the time: 29 December 1899 06:00 is -1.25.
data::Date At(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  using namespace std::chrono;
  auto days = sys_days{year{y} / month{m} / day{d}} - sys_days{year{1899} / December / day{30}};
  const double time = (hh * 3600 + mm * 60 + ss) / 86400.0;
  return data::Date{static_cast<double>(days.count()) + (days.count() < 0 ? -time : time)};
}

struct Case {
  const char* locale;
  const char* pattern;
  Variant value;
  const char* expected;
};

class PreparedFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("LC_MESSAGES");
    ::unsetenv("LC_NUMERIC");
    ::unsetenv("LC_TIME");
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  }
};

// Rows sharing locale and pattern go through one prepared object, in order, into one buffer.
TEST_F(PreparedFormatTest, PatternsTimesValuesThroughBothPaths) {
  const std::vector<Case> cases = {
      {"de_DE", "#,##0.00", 1234.5, "1.234,50"},
      {"de_DE", "#,##0.00", -1234.5, "-1.234,50"},
      {"de_DE", "#,##0.00", Null{}, ""},
      {"de_DE", "#,##0.00", 0.005, "0,01"},
      {"de_DE", "#,##0.00", -0.004, "-0,00"},
      {"de_DE", "#,##0.00", 1.005, "1,01"},
      {"de_DE", "#,##0.00", 2.675, "2,68"},
      {"de_DE", "#,##0.00", 999999.995, "1.000.000,00"},
      {"de_DE", "#,##0.00", 0.1 + 0.2, "0,30"},
      {"de_DE", "#,##0.00", 1e15, "1.000.000.000.000.000,00"},
      {"de_DE", "#,##0.00", Currency{-26750}, "-2,68"},
      {"de_DE", "#,##0.00", Decimal{"-12345678.125"}, "-12.345.678,13"},
      {"de_DE", "#,##0.00", std::int64_t{-7}, "-7,00"},
      {"de_DE", "#,##0.00", true, "-1,00"},
      {"de_DE", "#,##0.00", "1234,5", "1.234,50"},
      {"de_DE", "#,##0.00", "abc", "abc"},
      {"de_DE", "#,##0.00", At(2026, 12, 7), "46.363,00"},
      {"de_CH", "#,##0.00", -1234.5, "-1\u2019234.50"},
      {"de_AT", "#,##0.00", 1234567.891, "1\u00A0234\u00A0567,89"},
      {"de_DE", "0.0;(0.0);\"null\";\"n/a\"", -2.25, "(2,3)"},
      {"de_DE", "0.0;(0.0);\"null\";\"n/a\"", 0.0, "null"},
      {"de_DE", "0.0;(0.0);\"null\";\"n/a\"", 0.04, "0,0"},
      {"de_DE", "0.0;(0.0);\"null\";\"n/a\"", Null{}, "n/a"},
      {"de_DE", "0.0;(0.0);\"null\";\"n/a\"", -0.04, "(0,0)"},
      {"en_US", "0.00E+00", -0.000123, "-1.23E-04"},
      {"en_US", "0.00E+00", 9.999, "1.00E+01"},
      {"en_US", "0", 2.5, "3"},
      {"en_US", "0", -2.5, "-3"},
      {"de_DE", "dd.mm.yyyy", At(2026, 12, 7), "07.12.2026"},
      {"de_DE", "dd.mm.yyyy", Null{}, ""},
      {"de_DE", "dd.mm.yyyy", data::Date{-657434.0}, "01.01.100"},
      {"de_DE", "dd.mm.yyyy", data::Date{-49192.24}, "24.04.1765"},
      {"de_DE", "dd.mm.yyyy", data::Date{1.5}, "31.12.1899"},
      {"de_DE", "dd.mm.yyyy", data::Date{0.0}, "30.12.1899"},
      {"de_DE", "dd.mm.yyyy", "7.12.2026", "07.12.2026"},
      {"de_DE", "dd.mm.yyyy", 45000.0, "15.03.2023"},
      {"de_DE", "dd.mm.yyyy", "Montag", "Montag"},
      {"de_DE", "dddd, d. mmmm yyyy", At(1899, 3, 15), "Mittwoch, 15. März 1899"},
      {"de_DE", "dddd, d. mmmm yyyy", At(2026, 12, 7), "Montag, 7. Dezember 2026"},
      {"de_DE", "ddd d. mmm yy", At(1800, 3, 1), "Sa 1. Mär 00"},
      {"de_AT", "mmmm", At(1899, 1, 15), "Jänner"},
      {"de_AT", "mmmm", At(2026, 3, 15), "März"},
      {"de_DE", "c", data::Date{-49192.24}, "24.04.1765 05:45:36"},
      {"de_DE", "c", data::Date{0.25}, "06:00:00"},
      {"en_US", "c", At(2026, 12, 7, 14, 30, 5), "12/7/2026 2:30:05 PM"},
      {"en_US", "hh:mm AM/PM", At(1899, 12, 30, 0, 5), "12:05 AM"},
      {"en_US", "hh:mm AM/PM", At(1899, 12, 30, 23, 59, 59), "11:59 PM"},
      {"en_US", "hh:mm AM/PM", At(1899, 12, 29, 23, 59, 59), "11:59 PM"},
      {"de_DE", "dd.mm.yyyy hh:nn:ss", data::Date{-1.25}, "29.12.1899 06:00:00"},
      {"de_DE", "dd.mm.yyyy hh:nn:ss", data::Date{-1.9999999}, "30.12.1899 00:00:00"},
      {"de_DE", "@;\"(leer)\"", "", "(leer)"},
      {"de_DE", "@;\"(leer)\"", Null{}, "(leer)"},
      {"de_DE", "@;\"(leer)\"", "Müller", "Müller"},
      {"de_DE", ">", "Straße", "STRASSE"},
      {"de_DE", "Standard", -1234.5, "-1.234,50"},
      {"de_DE", "Yes/No", 0.0, "Nein"},
      {"de_DE", "Yes/No", 3.0, "Ja"},
      {"de_DE", "General Date", At(2026, 12, 7, 14, 30), "07.12.2026 14:30:00"},
      {"de_DE", "", 1.0 / 3, "0,333333333333333"},
      {"de_DE", "", 2.0 / 3, "0,666666666666667"},
      {"de_DE", "", 4.9e-324, "4,94065645841247E-324"},
      {"de_DE", "", true, "-1"},
      {"de_DE", "", Null{}, ""},
  };

  std::map<std::pair<std::string, std::string>, std::unique_ptr<PreparedFormat>> prepared;
  std::string buffer = "<tr>";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " [" + c.pattern + "] " + c.value.DebugText());
    const RegionalSettings& settings = RegionalSettingsFor(c.locale);
    EXPECT_EQ(VarFormat(c.value, c.pattern, 1, 1, settings), c.expected);
    auto& format = prepared[{c.locale, c.pattern}];
    if (!format) format = std::make_unique<PreparedFormat>(c.pattern, 1, 1, settings);
    const std::size_t before = buffer.size();
    format->Append(c.value, buffer);
    EXPECT_EQ(buffer.substr(before), c.expected);
    buffer += "|";
  }
}

TEST_F(PreparedFormatTest, AValueThatFailsLeavesTheBufferAsItWasAndTheFormatUsable) {
  const RegionalSettings& settings = RegionalSettingsFor("de_DE");
  const PreparedFormat date("dd.mm.yyyy \"und\" c", 1, 1, settings);
  std::string buffer = "<td>";
  EXPECT_THROW(date.Append(3000000.0, buffer), RuntimeError);
  EXPECT_THROW(date.Append(std::numeric_limits<double>::quiet_NaN(), buffer), RuntimeError);
  EXPECT_THROW(date.Append(Variant(std::shared_ptr<data::Recordset>()), buffer), RuntimeError);
  EXPECT_EQ(buffer, "<td>");
  date.Append(At(2026, 12, 7, 14, 30), buffer);
  EXPECT_EQ(buffer, "<td>07.12.2026 und 07.12.2026 14:30:00");

  const FieldFormat column("formatdd*mm*yyyy_Datum", data::adDouble, settings);
  buffer = "x";
  EXPECT_THROW(column.Append(1e9, buffer), RuntimeError);
  EXPECT_EQ(buffer, "x");
  const FieldFormat converted("Datum", data::adDate, settings);
  EXPECT_THROW(converted.Append(data::Date{-1e7}, buffer), RuntimeError);
  EXPECT_EQ(buffer, "x");
}

TEST_F(PreparedFormatTest, WeekRulesAreCheckedAndResolvedWhenPrepared) {
  const RegionalSettings& settings = RegionalSettingsFor("de_DE");  // Monday, first four-day week
  EXPECT_THROW(PreparedFormat("ww", 8, 1, settings), RuntimeError);
  EXPECT_THROW(PreparedFormat("ww", 1, 4, settings), RuntimeError);
  std::string buffer;
  PreparedFormat("ww w", 0, 0, settings).Append(At(2021, 1, 1), buffer);
  EXPECT_EQ(buffer, "53 5");
}

// The words of Yes/No follow the language when the format is prepared, as a page's columns
// are prepared when the page is built.
TEST_F(PreparedFormatTest, TheLanguageOfTheWordsIsTakenWhenPrepared) {
  const PreparedFormat german("Yes/No", 1, 1, RegionalSettingsFor("de_DE"));
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  const PreparedFormat english("Yes/No", 1, 1, RegionalSettingsFor("de_DE"));
  std::string buffer;
  german.Append(1.0, buffer);
  english.Append(1.0, buffer);
  EXPECT_EQ(buffer, "JaYes");
}

// The locale's own date forms are kept tokenised by their text: settings that differ only in
// those forms still get their own.
TEST_F(PreparedFormatTest, LocaleDateFormsFollowTheSettingsOfEachCall) {
  RegionalSettings iso = RegionalSettingsFor("de_DE");
  iso.shortDatePattern = "yyyy\"-\"mm\"-\"dd";
  iso.timePattern = "h\"h\"nn";
  const PreparedFormat german("c", 1, 1, RegionalSettingsFor("de_DE"));
  const PreparedFormat custom("c", 1, 1, iso);
  std::string buffer;
  for (int round = 0; round < 2; ++round) {
    german.Append(At(2026, 12, 7, 9, 5), buffer);
    buffer += ' ';
    custom.Append(At(2026, 12, 7, 9, 5), buffer);
    buffer += ' ';
    buffer += VariantToText(At(1765, 4, 24), RegionalSettingsFor("en_GB"));
    buffer += ';';
  }
  EXPECT_EQ(buffer,
            "07.12.2026 09:05:00 2026-12-07 9h05 24/04/1765;"
            "07.12.2026 09:05:00 2026-12-07 9h05 24/04/1765;");
}

TEST_F(PreparedFormatTest, ColumnFormatsWriteWhatFormatFieldValueWrites) {
  struct Column {
    const char* name;
    int type;
    std::vector<Variant> values;
    std::vector<const char*> expected;
  };
  const std::vector<Column> columns = {
      {"Betrag",
       data::adDouble,
       {1234.5, Null{}, -0.004, 1e-5},
       {"1.234,50", "0", "-0,00", "0,00"}},
      {"Betrag", data::adCurrency, {Currency{12345000}, Null{}}, {"1.234,50", "0"}},
      {"format0*0_Menge", data::adDouble, {3.0, -2.25}, {"3,0", "-2,3"}},
      {"Anzahl",
       data::adInteger,
       {std::int64_t{-1234}, Null{}, std::int64_t{0}},
       {"-1234", "", "0"}},
      {"format#,##0_Anzahl", data::adInteger, {std::int64_t{1234567}}, {"1.234.567"}},
      {"Datum",
       data::adDate,
       {At(2026, 12, 7), At(1899, 3, 15, 8, 0), Null{}},
       {"07.12.2026", "15.03.1899 08:00:00", ""}},
      {"left_formatmmmm_Monat",
       data::adDate,
       {At(2026, 3, 1), At(1850, 12, 24)},
       {"März", "Dezember"}},
      {"Name", data::adVarWChar, {"Müller & Söhne", Null{}, ""}, {"Müller & Söhne", "", ""}},
      {"Aktiv", data::adBoolean, {true, false}, {"True", "False"}},
      {"Preis", data::adDecimal, {Decimal{"1234.50"}}, {"1234,5"}},
  };
  const RegionalSettings& settings = RegionalSettingsFor("de_DE");
  for (const Column& column : columns) {
    SCOPED_TRACE(column.name);
    const FieldFormat format(column.name, column.type, settings);
    std::string row;
    std::string expectedRow;
    for (std::size_t i = 0; i < column.values.size(); ++i) {
      const data::SimpleField field(column.name, column.type, column.values[i]);
      EXPECT_EQ(FormatFieldValue(field, settings), column.expected[i]);
      row += "<td>";
      format.Append(field, row);
      expectedRow += std::string("<td>") + column.expected[i];
    }
    EXPECT_EQ(row, expectedRow);
  }
}

// Patterns of digit places, commas and a point alone are written without going through their
// tokens, and integers and currencies through them in integer arithmetic. An empty quoted text
// at the end changes nothing in the output but keeps a pattern on the token-by-token path of
// decimal digits: the two must agree for every value, sign, rounding and locale.
TEST_F(PreparedFormatTest, PlainDigitPatternsWriteWhatTheTokensWrite) {
  const char* const patterns[] = {"0",      "#",      "#,##0.00", "0.00",   "#.##",    "00000",
                                  "#,###",  "0,",     "#,##0,,",  "0.###",  "##,##0.0#", "0.",
                                  "#,#,#0", "000,00", "#,##0,.0", "#0.0000000000",
                                  "0,,,,,,,", "0.00000000000000000000", "#,##0.0000"};
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> amounts(-1e7, 1e7);
  std::vector<Variant> values = {0.0,   -0.0,   0.5,     -0.5,    0.004,     0.005,   999.995,
                                 1e15,  1e-7,   -1e300,  123456.0, Currency{0}, Currency{-1},
                                 Currency{12345000}, std::int64_t{0}, std::int64_t{-9007199254740993},
                                 Decimal{"-0.000"}, Decimal{"99999999999999999999.995"}, Null{}};
  // Integers and currencies take their digits from the integer itself: halves at every place,
  // and the ends of the 64-bit range.
  for (const std::int64_t n : {std::int64_t{5}, std::int64_t{49}, std::int64_t{50}, std::int64_t{499},
                               std::int64_t{500}, std::int64_t{1500}, std::int64_t{5000},
                               std::int64_t{99995}, std::int64_t{999500}, INT64_MAX, INT64_MIN}) {
    values.push_back(Currency{n});
    values.push_back(n);
    if (n == INT64_MIN) continue;  // its negative does not exist
    values.push_back(Currency{-n});
    values.push_back(-n);
  }
  for (int i = 0; i < 400; ++i) {
    values.push_back(i % 2 == 0 ? Variant(amounts(random))
                                : Variant(Currency{static_cast<std::int64_t>(random() >> 8) -
                                                   (std::int64_t{1} << 55)}));
  }
  for (const char* locale : {"de_DE", "de_CH", "en_US"}) {
    const RegionalSettings& settings = RegionalSettingsFor(locale);
    for (const char* pattern : patterns) {
      SCOPED_TRACE(std::string(locale) + " [" + pattern + "]");
      const PreparedFormat plain(pattern, 1, 1, settings);
      const PreparedFormat tokens(std::string(pattern) + "\"\"", 1, 1, settings);
      for (const Variant& value : values) {
        std::string fast = "<td>";
        std::string reference = "<td>";
        plain.Append(value, fast);
        tokens.Append(value, reference);
        ASSERT_EQ(fast, reference) << value.DebugText();
      }
    }
  }
}

// Integers and currencies take their digits straight from the integer; reading the integer's
// decimal text is the reference.
TEST(DecimalFromIntTest, AgreesWithTheDecimalText) {
  std::mt19937_64 random(7);
  std::vector<std::int64_t> values = {0, 1, -1, 10, -1000, 1234567890, INT64_MAX, INT64_MIN,
                                      INT64_MIN + 1};
  for (int i = 0; i < 20000; ++i) {
    const int shift = static_cast<int>(random() % 64);
    values.push_back(static_cast<std::int64_t>(random() >> shift) * (i % 2 == 0 ? 1 : -1));
  }
  auto text = [](const format::DecimalNumber& n) {
    return std::string(n.negative ? "-" : "") +
           std::string(n.digits, static_cast<std::size_t>(n.count)) + "e" +
           std::to_string(n.exponent);
  };
  for (const std::int64_t value : values) {
    const std::string decimal = std::to_string(value);
    ASSERT_EQ(text(format::DecimalFromInt(value)), text(format::DecimalFromText(decimal)))
        << value;
    const format::DecimalNumber currency = format::DecimalFromCurrency(value);
    format::DecimalNumber expected = format::DecimalFromText(decimal);
    if (!expected.IsZero()) expected.exponent -= 4;
    ASSERT_EQ(text(currency), text(expected)) << value;
  }
}

// Doubles are reduced to 15 significant digits through their shortest exact text when that is
// short enough; the straightforward rounding of the binary value to 15 digits is the reference.
TEST(DecimalFromDoubleTest, AgreesWithRoundingTheBinaryValueToFifteenDigits) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> cents(-1e7, 1e7);
  auto reference = [](double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value),
                                   std::chars_format::scientific, 14);
    EXPECT_EQ(ec, std::errc());
    *end = '\0';
    std::string digits;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p) {
      if (*p != '.') digits += *p;
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return digits + "e" + std::to_string(std::atoi(p + 1) + 1);
  };
  auto ours = [](double value) {
    format::DecimalNumber n = format::DecimalFromDouble(value, 15);
    return std::string(n.digits, static_cast<std::size_t>(n.count)) + "e" +
           std::to_string(n.exponent);
  };
  for (int i = 0; i < 200000; ++i) {
    double value = 0;
    switch (i % 4) {
      case 0:
        value = std::round(cents(random) * 100) / 100;
        break;  // amounts
      case 1:
        value = cents(random);
        break;  // 16-17 digit doubles
      case 2: {
        std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || value == 0) continue;
        break;
      }
      default:
        value = static_cast<double>(random() % 1000000) / 1000.0;
        break;
    }
    ASSERT_EQ(ours(value), reference(value)) << value;
    ASSERT_EQ(format::DecimalFromDouble(value, 15).negative, value < 0);
  }
}

}  // namespace
}  // namespace vn
