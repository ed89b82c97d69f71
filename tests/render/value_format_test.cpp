// The formatter against the reference vectors of Windows' VarFormat and the standard
// conversion to text (numbered as in the reference table; "believed" marks vectors that rest on
// knowledge of Windows rather than recorded output).
#include "render/value_format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <limits>

#include "platform/runtime_error.h"
#include "render/regional_settings.h"

namespace vn {
namespace {

using data::Currency;
using data::Decimal;
using data::Null;
using data::Variant;

data::Date At(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  using namespace std::chrono;
  auto days = sys_days{year{y} / month{m} / day{d}} - sys_days{year{1899} / December / day{30}};
  return data::Date{static_cast<double>(days.count()) + (hh * 3600 + mm * 60 + ss) / 86400.0};
}

std::string Fmt(const Variant& v, std::string_view pattern, const char* locale = "en_US",
                int firstDay = 1, int firstWeek = 1) {
  return VarFormat(v, pattern, firstDay, firstWeek, RegionalSettingsFor(locale));
}

std::string Text(const Variant& v, const char* locale) {
  return VariantToText(v, RegionalSettingsFor(locale));
}

// The regional settings are passed explicitly; the locale variables still choose the language
// of the Yes/No words.
class ValueFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
  }
};
using DefaultConversionTest = ValueFormatTest;

TEST_F(ValueFormatTest, ProjectCases) {
  EXPECT_EQ(Fmt(1234.5, "#,##0.00", "de_DE"), "1.234,50");               // 1
  EXPECT_EQ(Fmt(1234.5, "#,##0.00", "en_US"), "1,234.50");               // 2
  EXPECT_EQ(Fmt(3.0, "0.0", "de_DE"), "3,0");                            // 3
  EXPECT_EQ(Fmt(1234, "0", "de_DE"), "1234");                            // 4
  EXPECT_EQ(Fmt(At(2026, 12, 7), "dd.mm.yyyy", "de_DE"), "07.12.2026");  // 5
  EXPECT_EQ(Fmt(At(2026, 12, 7), "dd.mm.yyyy", "en_US"), "07.12.2026");
}

TEST_F(ValueFormatTest, DigitPlaceholdersAndLiterals) {
  EXPECT_EQ(Fmt(5459.4, "##,##0.00"), "5,459.40");      // 6
  EXPECT_EQ(Fmt(334.9, "###0.00"), "334.90");           // 7
  EXPECT_EQ(Fmt(23, ""), "23");                         // 9
  EXPECT_EQ(Fmt(1, "#"), "1");                          // 15
  EXPECT_EQ(Fmt(0, "#"), "");                           // 16
  EXPECT_EQ(Fmt(1, "#.#"), "1.");                       // 17
  EXPECT_EQ(Fmt(0, "#.#"), ".");                        // 18
  EXPECT_EQ(Fmt(1, "00"), "01");                        // 19
  EXPECT_EQ(Fmt(1, "00\\c\\o\\p\\y"), "01copy");        // 20
  EXPECT_EQ(Fmt(17, "#3"), "173");                      // 28
  EXPECT_EQ(Fmt(1, "1#####0000"), "10001");             // 29
  EXPECT_EQ(Fmt(0.17, "#.00"), ".17");                  // 30
  EXPECT_EQ(Fmt(-0.1, ".#"), "-.1");                    // 31
  EXPECT_EQ(Fmt(0.0049, "#.##"), ".");                  // 32
  EXPECT_EQ(Fmt(9.9999999, "#0.000000"), "10.000000");  // 33
  // Minimum digit counts from the leftmost / up to the rightmost zero.
  EXPECT_EQ(Fmt(1, "#00##00#0"), "00000001");
  EXPECT_EQ(Fmt(1, "000###"), "000001");
  EXPECT_EQ(Fmt(17, "#000"), "017");
  EXPECT_EQ(Fmt(1.2, "0#.0#0#0#0#0"), "01.200000000");
  EXPECT_EQ(Fmt(9.8, "#0.#0#0#0#0#"), "9.80000000");
  EXPECT_EQ(Fmt(1, "##abcdefghijklmnopqrstuvwxyz"), "1abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(Fmt(1234, "0"), "1234");
}

TEST_F(ValueFormatTest, PercentGroupingAndScaling) {
  EXPECT_EQ(Fmt(5.0, "0.00%"), "500.00%");                       // 8
  EXPECT_EQ(Fmt(100000000, "##0,,"), "100");                     // 13
  EXPECT_EQ(Fmt(499999, "##0,,"), "0");                          // 14
  EXPECT_EQ(Fmt(100000, "#,###,###,###"), "100,000");            // 25
  EXPECT_EQ(Fmt(1, "0,000,000,000"), "0,000,000,001");           // 26
  EXPECT_EQ(Fmt(123456789, "#,#.#"), "123,456,789.");            // 27
  EXPECT_EQ(Fmt(1234567, "#,##0,"), "1,235");                    // 49 believed
  EXPECT_EQ(Fmt(1234.5, "#,##0.00", "de_CH"), "1\u2019234.50");  // 50 believed
  EXPECT_EQ(Fmt(1234.5, "#,##0.00", "de_AT"), "1\u00A0234,50");  // believed (section 8)
  EXPECT_EQ(Fmt(1234.5, "#,##0.00", "en_GB"), "1,234.50");
  EXPECT_EQ(Fmt(600000, "##0,,"), "1");  // half-up, believed
}

TEST_F(ValueFormatTest, SectionsAndSign) {
  EXPECT_EQ(Fmt(0.0, "$#,##0;;\\Z\\e\\r\\o"), "Zero");    // 11
  EXPECT_EQ(Fmt(-5.0, "$#,##0;;\\Z\\e\\r\\o"), "-$5");    // believed
  EXPECT_EQ(Fmt(-5.0, "$#,##0;($#,##0)"), "($5)");        // 12
  EXPECT_EQ(Fmt(0, "\"pos\";\"neg\""), "pos");            // 21
  EXPECT_EQ(Fmt(-1, "\"pos\";\"neg\";\"zero\""), "neg");  // 22
  EXPECT_EQ(Fmt(0, "\"pos\";\"neg\";\"zero\""), "zero");  // 23
  EXPECT_EQ(Fmt(-1, "#;-#"), "-1");                       // 24
  EXPECT_EQ(Fmt(-1234.5, "#,##0", "de_DE"), "-1.235");    // 45 believed
  EXPECT_EQ(Fmt(-1234.5, "#,##0", "en_US"), "-1,235");    // 46 believed
  EXPECT_EQ(Fmt(-5.0, "$0.00"), "-$5.00");                // 47 believed
  EXPECT_EQ(Fmt(-0.4, "0"), "-0");                        // 48 believed
  EXPECT_EQ(Fmt(-0.001, "0.00"), "-0.00");
  EXPECT_EQ(Fmt(0.001, "0;-0;\"zero\""), "0");
  EXPECT_EQ(Fmt(7, "\"n/a\""), "n/a");
  EXPECT_EQ(Fmt(-7, "\"n/a\""), "-n/a");
}

TEST_F(ValueFormatTest, ScientificNotation) {
  EXPECT_EQ(Fmt(1.7, "0.0000E-000"), "1.7000E000");         // 34
  EXPECT_EQ(Fmt(1.73245, "0.0000E+000"), "1.7325E+000");    // 35
  EXPECT_EQ(Fmt(47.11, ".0000E+0"), ".4711E+2");            // 36
  EXPECT_EQ(Fmt(1234.5, "0.00E+00", "de_DE"), "1,23E+03");  // 37 believed
  EXPECT_EQ(Fmt(0.000123, "0.00E-00"), "1.23E-04");         // 38 believed
  EXPECT_EQ(Fmt(1.000001e27, "0.0000e+0"), "1.0000e+27");
  EXPECT_EQ(Fmt(1e-15, "##00.0000e-0"), "1000.0000e-18");
  EXPECT_EQ(Fmt(0.0, "Scientific"), "0.00E+00");
  EXPECT_EQ(Fmt(9.999, "0.00E+00"), "1.00E+01");
}

TEST_F(ValueFormatTest, RoundsHalfAwayFromZeroOnFifteenDigits) {
  EXPECT_EQ(Fmt(0.075, "$#.##"), "$.08");           // 10
  EXPECT_EQ(Fmt(2.5, "0"), "3");                    // 39
  EXPECT_EQ(Fmt(-2.5, "0"), "-3");                  // 40
  EXPECT_EQ(Fmt(0.125, "0.00"), "0.13");            // 41
  EXPECT_EQ(Fmt(0.005, "0.00", "de_DE"), "0,01");   // 42
  EXPECT_EQ(Fmt(1.005, "0.00"), "1.01");            // 43
  EXPECT_EQ(Fmt(Currency{26750}, "0.00"), "2.68");  // 44
  EXPECT_EQ(Fmt(Currency{-26750}, "0.00"), "-2.68");
  EXPECT_EQ(Fmt(Decimal{"0.125"}, "0.00"), "0.13");
  EXPECT_EQ(Fmt(Decimal{"-12345678901234567890.5"}, "0"), "-12345678901234567891");
  EXPECT_EQ(Fmt(std::numeric_limits<std::int64_t>::min(), "#,##0"), "-9,223,372,036,854,775,808");
}

TEST_F(ValueFormatTest, NullAndText) {
  EXPECT_EQ(Fmt(Null{}, ""), "");                            // 51
  EXPECT_EQ(Fmt(Null{}, "0.00;-0.00;0.00;\"n/a\""), "n/a");  // 52
  EXPECT_EQ(Fmt(Null{}, "0.00"), "");                        // 53 believed
  EXPECT_EQ(Fmt("", "@;\"(leer)\""), "(leer)");              // 54
  EXPECT_EQ(Fmt(Null{}, "@;\"(leer)\""), "(leer)");
  EXPECT_EQ(Fmt("HELLO", "<"), "hello");               // 55
  EXPECT_EQ(Fmt("This is it", ">"), "THIS IS IT");     // 56
  EXPECT_EQ(Fmt("testing", "@@@@@@@@"), " testing");   // 57
  EXPECT_EQ(Fmt("testing", "\\x@\\x@"), "xtxesting");  // 58
  EXPECT_EQ(Fmt("testing", "@"), "testing");
  EXPECT_EQ(Fmt("testing", "&&&&&&&&"), "testing");
  EXPECT_EQ(Fmt("testing", ">&&"), "TESTING");
  EXPECT_EQ(Fmt("testing", "<&>&"), "testing");
  EXPECT_EQ(Fmt("ab", "!@@@@"), "ab  ");
  EXPECT_EQ(Fmt("Ärger", ">"), "ÄRGER");
  EXPECT_EQ(Fmt(1.5, "@", "de_DE"), "1,5");  // 59
  EXPECT_EQ(Fmt(1.5, "@", "en_US"), "1.5");
}

TEST_F(ValueFormatTest, TextReadWithTheLocaleRules) {
  EXPECT_EQ(Fmt("6,90", "###,##0.00", "de_DE"), "6,90");        // 60
  EXPECT_EQ(Fmt("6,90", "###,##0.00", "en_US"), "690.00");      // 61
  EXPECT_EQ(Fmt("1234.5", "#,##0.00", "de_DE"), "12.345,00");   // 62 believed
  EXPECT_EQ(Fmt("abc", "0.00"), "abc");                         // 63 believed
  EXPECT_EQ(Fmt("12-11", "dd-mm", "en_US"), "11-12");           // 64
  EXPECT_EQ(Fmt("12-11", "dd-mm", "de_DE"), "12-11");           // 65
  EXPECT_EQ(Fmt("39697.11", "mm-dd-yy", "en_US"), "09-06-08");  // 66
  EXPECT_EQ(Fmt("39697.11", "hh:mm", "en_US"), "02:38");
  EXPECT_EQ(Fmt("2026-12-07", "dd.mm.yyyy", "de_DE"), "07.12.2026");  // 67 believed
  EXPECT_EQ(Fmt("2026-12-07", "dd.mm.yyyy", "en_GB"), "07.12.2026");
  EXPECT_EQ(Fmt(" -1.5e2 ", "0.0"), "-150.0");
}

TEST_F(ValueFormatTest, NumbersAndDatesCrossed) {
  EXPECT_EQ(Fmt(45000.0, "dd.mm.yyyy"), "15.03.2023");  // 68 believed
  EXPECT_EQ(Fmt(12, "dd.mm.yyyy"), "11.01.1900");       // 69 believed
  EXPECT_EQ(Fmt(true, "0"), "-1");                      // 70 believed
  EXPECT_EQ(Fmt(false, "0"), "0");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "0"), "46363");  // 73 believed
  EXPECT_THROW(Fmt(3000000.0, "dd.mm.yyyy"), RuntimeError);
  EXPECT_THROW(Fmt(-700000, "yyyy"), RuntimeError);
}

TEST_F(ValueFormatTest, NamedFormats) {
  EXPECT_EQ(Fmt(1, "True/False"), "True");  // 71
  EXPECT_EQ(Fmt(0, "true/false"), "False");
  EXPECT_EQ(Fmt(3, "Yes/No"), "Yes");
  EXPECT_EQ(Fmt(0, "On/Off"), "Off");
  EXPECT_EQ(Fmt(1, "Standard"), "1.00");  // 72
  EXPECT_EQ(Fmt(1234.5, "standard", "de_DE"), "1.234,50");
  EXPECT_EQ(Fmt(1, "Percent"), "100.00%");
  EXPECT_EQ(Fmt(1, "Scientific"), "1.00E+00");
  EXPECT_EQ(Fmt(-1234.5, "Fixed"), "-1234.50");
  EXPECT_EQ(Fmt(1234.5, "General Number", "de_DE"), "1234,5");
  EXPECT_EQ(Fmt(1234.5, "Currency", "de_DE"), "1.234,50 \u20AC");
  EXPECT_EQ(Fmt(1234.5, "Currency", "en_US"), "$1,234.50");
  EXPECT_EQ(Fmt(1234.5, "Currency", "de_AT"), "\u20AC 1\u00A0234,50");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 30, 5), "General Date", "de_DE"), "07.12.2026 14:30:05");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "Long Date", "de_DE"), "Montag, 7. Dezember 2026");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "Short Date", "en_GB"), "07/12/2026");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "Medium Date", "en_US"), "07-Dec-26");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 5, 9), "Short Time"), "14:05");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 5, 9), "Medium Time"), "02:05 PM");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 5, 9), "Long Time", "de_DE"), "14:05:09");
}

TEST_F(ValueFormatTest, YesNoWordsInTheUserLanguage) {
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(Fmt(1, "Yes/No"), "Ja");
  EXPECT_EQ(Fmt(0, "True/False"), "Falsch");
  EXPECT_EQ(Fmt(true, "On/Off"), "Ein");
  EXPECT_EQ(Fmt("0", "Yes/No"), "Nein");
}

TEST_F(ValueFormatTest, DateAndTimeTokens) {
  EXPECT_EQ(Fmt(At(1899, 12, 30, 17, 4, 23), "h:m:s"), "17:4:23");                // 74
  EXPECT_EQ(Fmt(At(1899, 12, 30, 17, 4, 23), "hh:mm:ss am/pm"), "05:04:23 pm");   // 75
  EXPECT_EQ(Fmt(At(1993, 1, 27), "dddd, mmm d yyyy"), "Wednesday, Jan 27 1993");  // 76
  data::Date evening = At(1958, 12, 7, 20, 50, 35);
  EXPECT_EQ(Fmt(evening, "m/d/yy"), "12/7/58");                             // 77
  EXPECT_EQ(Fmt(evening, "d-mmmm-yy"), "7-December-58");                    // 78
  EXPECT_EQ(Fmt(evening, "hh:mm AM/PM"), "08:50 PM");                       // 79
  EXPECT_EQ(Fmt(evening, "h:mm:ss a/p"), "8:50:35 p");                      // 80
  EXPECT_EQ(Fmt(evening, "m/d/yy h:mm"), "12/7/58 20:50");                  // 81
  EXPECT_EQ(Fmt(evening, "m/d/yy h:mm", "de_DE"), "12.7.58 20:50");         // 82 believed
  EXPECT_EQ(Fmt(At(1900, 1, 1, 17, 24, 0), "hh:nn:ss A/P"), "05:24:00 P");  // 86
  EXPECT_EQ(Fmt(At(1900, 1, 1), "yyy"), "001");                             // 85
  EXPECT_EQ(Fmt(At(2026, 12, 7), "q y yy"), "4 341 26");                    // 104
  EXPECT_EQ(Fmt(At(2026, 12, 7), "YYYY-MM-DD"), "2026-12-07");              // 98
  EXPECT_EQ(Fmt(At(1899, 12, 30, 23, 59, 59), "hh:nn:ss"), "23:59:59");
  EXPECT_EQ(Fmt(data::Date{-49192.24}, "yyyy-mm-dd hh:nn:ss"), "1765-04-24 05:45:36");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 0, 0, 0), "\"Tag\" d\\.m\\."), "Tag 7.12.");
}

TEST_F(ValueFormatTest, MonthOrMinute) {
  data::Date noon = At(1900, 1, 1, 12, 36, 0);
  EXPECT_EQ(Fmt(noon, "mm :ss:mm"), "01 :00:01");  // 83
  EXPECT_EQ(Fmt(noon, "dd :mm:nn"), "01 :01:36");  // 84
  EXPECT_EQ(Fmt(noon, "hh:mm :ss:mm"), "12:36 :00:01");
  EXPECT_EQ(Fmt(noon, "hh :mm"), "12 :36");
  EXPECT_EQ(Fmt(noon, "hh:dd :mm"), "12:01 :01");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 5, 9), "mm:ss"), "12:09");  // 99 believed
  EXPECT_EQ(Fmt(noon, "hh:mmm"), "12:Jan");
}

TEST_F(ValueFormatTest, WeekdayAndWeekOfYear) {
  EXPECT_EQ(Fmt(At(1899, 12, 30), "w", "en_US", 1), "7");  // 87
  EXPECT_EQ(Fmt(At(1899, 12, 30), "w", "en_US", 2), "6");  // 88
  EXPECT_EQ(Fmt(At(1899, 12, 30), "w", "en_US", 7), "1");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "w", "en_US", 1), "2");  // 89 believed
  EXPECT_EQ(Fmt(At(2026, 12, 7), "w", "en_US", 2), "1");
  EXPECT_EQ(Fmt(At(2026, 12, 7), "ww"), "50");   // 90 believed
  EXPECT_EQ(Fmt(At(2000, 12, 31), "ww"), "54");  // 91 believed
  EXPECT_EQ(Fmt(At(2026, 1, 3), "ww"), "1");
  EXPECT_EQ(Fmt(At(2026, 1, 4), "ww"), "2");
  // First four-day week, Monday first: 1 January 2021 (Friday) is in the last week of 2020.
  EXPECT_EQ(Fmt(At(2021, 1, 1), "ww", "en_US", 2, 2), "53");
  EXPECT_EQ(Fmt(At(2021, 1, 4), "ww", "en_US", 2, 2), "1");
  EXPECT_EQ(Fmt(At(2021, 1, 4), "ww", "en_US", 2, 3), "1");
  EXPECT_THROW(Fmt(At(2021, 1, 4), "ww", "en_US", 8, 1), RuntimeError);
  EXPECT_THROW(Fmt(At(2021, 1, 4), "ww", "en_US", 1, 4), RuntimeError);
}

TEST_F(ValueFormatTest, LocalisedNamesAndForms) {
  data::Date monday = At(2026, 12, 7);
  EXPECT_EQ(Fmt(monday, "dddd", "de_DE"), "Montag");           // 92
  EXPECT_EQ(Fmt(monday, "mmmm", "de_DE"), "Dezember");         // 93
  EXPECT_EQ(Fmt(monday, "ddd mmm", "de_DE"), "Mo Dez");        // 94
  EXPECT_EQ(Fmt(At(2026, 1, 15), "mmmm", "de_AT"), "Jänner");  // 95
  EXPECT_EQ(Fmt(At(2026, 3, 15), "mmm mmmm", "de_CH"), "Mär März");
  EXPECT_EQ(Fmt(At(2026, 9, 15), "mmm", "en_GB"), "Sep");
  EXPECT_EQ(Fmt(monday, "dd/mm/yyyy", "de_DE"), "07.12.2026");            // 96
  EXPECT_EQ(Fmt(monday, "dd/mm/yyyy", "en_GB"), "07/12/2026");            // 97
  EXPECT_EQ(Fmt(monday, "ddddd", "en_US"), "12/7/2026");                  // 100
  EXPECT_EQ(Fmt(monday, "dddddd", "de_DE"), "Montag, 7. Dezember 2026");  // 101
  EXPECT_EQ(Fmt(monday, "dddddd", "en_US"), "Monday, December 7, 2026");
  EXPECT_EQ(Fmt(monday, "dddddd", "en_GB"), "07 December 2026");
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 30, 5), "ttttt", "en_US"), "2:30:05 PM");       // 102
  EXPECT_EQ(Fmt(At(2026, 12, 7, 14, 30, 5), "c", "de_DE"), "07.12.2026 14:30:05");  // 103
  EXPECT_EQ(Fmt(monday, "c", "de_DE"), "07.12.2026");
  EXPECT_EQ(Fmt(data::Date{0.25}, "c", "de_DE"), "06:00:00");
}

TEST_F(DefaultConversionTest, Doubles) {
  EXPECT_EQ(Text(1234.5, "de_DE"), "1234,5");                          // 105
  EXPECT_EQ(Text(0.56789, "en_US"), "0.56789");                        // 106
  EXPECT_EQ(Text(5.6789e-12, "en_US"), "5.6789E-12");                  // 107
  EXPECT_EQ(Text(5.6789e-11, "en_US"), "0.000000000056789");           // 108
  EXPECT_EQ(Text(1e15, "en_US"), "1E+15");                             // 109
  EXPECT_EQ(Text(1.234e16, "en_US"), "1.234E+16");                     // 110
  EXPECT_EQ(Text(1234.567890123456789, "en_US"), "1234.56789012346");  // 111
  EXPECT_EQ(Text(1e-5, "de_DE"), "0,00001");                           // 112
  EXPECT_EQ(Text(1.0 / 81, "en_US"), "1.23456790123457E-02");          // 113
  EXPECT_EQ(Text(-0.0, "en_US"), "0");                                 // 114
  EXPECT_EQ(Text(999999999999999.0, "en_US"), "999999999999999");
  EXPECT_EQ(Text(1.2e15, "de_DE"), "1,2E+15");
  EXPECT_EQ(Text(-3.14159265358979, "en_US"), "-3.14159265358979");
}

TEST_F(DefaultConversionTest, ExactNumbersBooleansAndText) {
  EXPECT_EQ(Text(Currency{15000}, "en_US"), "1.5");  // 115
  EXPECT_EQ(Text(Currency{std::numeric_limits<std::int64_t>::max()}, "en_US"),
            "922337203685477.5807");                       // 116
  EXPECT_EQ(Text(Currency{12345000}, "de_DE"), "1234,5");  // 117
  EXPECT_EQ(Text(Decimal{"1.500"}, "en_US"), "1.5");       // 118
  EXPECT_EQ(Text(Currency{9}, "es_ES"), "0,0009");         // 119
  EXPECT_EQ(Text(true, "de_DE"), "True");                  // 126
  EXPECT_EQ(Text(false, "en_US"), "False");
  // Without a pattern the automation's own conversion makes a boolean a number.
  EXPECT_EQ(Fmt(true, ""), "-1");  // 127
  EXPECT_EQ(Fmt(false, "@"), "0");
  EXPECT_EQ(Text(-7, "de_DE"), "-7");
  EXPECT_EQ(Text("Meier", "de_DE"), "Meier");
  EXPECT_EQ(Text(Variant{}, "de_DE"), "");
  EXPECT_EQ(Text(Decimal{"-0012.3400"}, "de_DE"), "-12,34");
  EXPECT_THROW(Text(Null{}, "de_DE"), RuntimeError);
  EXPECT_THROW(Text(Decimal{"1x"}, "de_DE"), RuntimeError);
}

TEST_F(DefaultConversionTest, Dates) {
  EXPECT_EQ(Text(At(1900, 12, 30), "en_US"), "12/30/1900");                      // 120
  EXPECT_EQ(Text(At(1900, 12, 30, 6, 0, 0), "en_US"), "12/30/1900 6:00:00 AM");  // 121
  EXPECT_EQ(Text(data::Date{0.0}, "en_US"), "12:00:00 AM");                      // 122
  EXPECT_EQ(Text(At(2026, 12, 7), "de_DE"), "07.12.2026");                       // 123
  EXPECT_EQ(Text(At(2026, 12, 7, 14, 30, 0), "de_DE"), "07.12.2026 14:30:00");   // 124
  EXPECT_EQ(Text(data::Date{0.5}, "de_DE"), "12:00:00");                         // 125
  EXPECT_EQ(Text(At(2026, 12, 7), "en_GB"), "07/12/2026");
}

}  // namespace
}  // namespace vn
