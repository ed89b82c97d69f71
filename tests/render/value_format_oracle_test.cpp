// Cases where Wine's VarFormat (the formatter oracle under bench/varformat_oracle) answers
// differently and Windows' documented behaviour decides for the answer given here.
#include <gtest/gtest.h>

#include <cstdlib>

#include "render/regional_settings.h"
#include "render/value_format.h"

namespace vn {
namespace {

class DocumentedBehaviourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  }
  static std::string Fmt(const data::Variant& v, std::string_view pattern) {
    return VarFormat(v, pattern, 1, 1, RegionalSettingsFor("de_DE"));
  }
};

TEST_F(DocumentedBehaviourTest, TextPlaceholdersKeepCaseAndFillFromTheLeftWithBang) {
  EXPECT_EQ(Fmt("HELLO", "@"), "HELLO");
  EXPECT_EQ(Fmt("HELLO", "&&&&&&&&"), "HELLO");
  EXPECT_EQ(Fmt("testing", "!@@@@@@@@@@"), "testing   ");
  EXPECT_EQ(Fmt("testing", "@@@@@@@@@@"), "   testing");
}

TEST_F(DocumentedBehaviourTest, CommasScaleIntegersToo) {
  EXPECT_EQ(Fmt(1234567, "##0,,"), "1");
  EXPECT_EQ(Fmt(1234, "#,##0,"), "1");
  EXPECT_EQ(Fmt(17, "##0,,"), "0");
}

TEST_F(DocumentedBehaviourTest, HalvesBelowOneRoundAwayFromZero) {
  EXPECT_EQ(Fmt(0.5, "0"), "1");
  EXPECT_EQ(Fmt(-0.5, "0"), "-1");
  EXPECT_EQ(Fmt(0.5, "#,##0"), "1");
  EXPECT_EQ(Fmt(0.005, "0%"), "1%");
}

TEST_F(DocumentedBehaviourTest, AllIntegerDigitsAndTrueExponents) {
  EXPECT_EQ(Fmt(1.234e16, "0"), "12340000000000000");
  EXPECT_EQ(Fmt(1.234e16, "#,#.#"), "12.340.000.000.000.000,");
  EXPECT_EQ(Fmt(5.6789e-12, "0.00E+00"), "5,68E-12");
  EXPECT_EQ(Fmt(1.234e16, "0.00E+00"), "1,23E+16");
}

TEST_F(DocumentedBehaviourTest, SeparatorsInNumericSectionsAreTheLocales) {
  EXPECT_EQ(Fmt(1, "0/0"), "0.1");
  EXPECT_EQ(Fmt(1, "0:00"), "0:01");
}

TEST_F(DocumentedBehaviourTest, TwelveHourClockAndCompleteTimeAtMidnight) {
  EXPECT_EQ(Fmt(data::Date{46363.0}, "hh:mm AM/PM"), "12:00 AM");
  EXPECT_EQ(Fmt(data::Date{46363.0}, "ttttt"), "00:00:00");
  EXPECT_EQ(Fmt(data::Date{0.0}, "hh:mm AM/PM"), "12:00 AM");
}

TEST_F(DocumentedBehaviourTest, NullTakesTheFourthSection) {
  EXPECT_EQ(Fmt(data::Null{}, "0.00;-0.00;0.00;\"n/a\""), "n/a");
  EXPECT_EQ(Fmt(data::Null{}, "@;\"(leer)\""), "(leer)");
}

TEST_F(DocumentedBehaviourTest, TextThatIsNoNumberStaysUnderNumericPatterns) {
  EXPECT_EQ(Fmt("12-11", "0"), "12-11");
  EXPECT_EQ(Fmt("12:30", "0.00"), "12:30");
  EXPECT_EQ(Fmt("2026-12-07", "#,##0.00"), "2026-12-07");
  // Date patterns read dates first; a German date is not taken for a grouped number.
  EXPECT_EQ(Fmt("07.12.2026", "dd-mm"), "07-12");
  EXPECT_EQ(Fmt("39697.11", "dd.mm.yyyy"), "39697.11");
}

}  // namespace
}  // namespace vn
