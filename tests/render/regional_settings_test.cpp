// Regional settings from ICU's data with the Windows defaults of the five reference locales.
#include "render/regional_settings.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(RegionalSettingsTest, GermanReference) {
  const RegionalSettings& de = RegionalSettingsFor("de_DE");
  EXPECT_EQ(de.decimalSymbol, ",");
  EXPECT_EQ(de.groupingSymbol, ".");
  EXPECT_EQ(de.dateSeparator, ".");
  EXPECT_EQ(de.timeSeparator, ":");
  EXPECT_EQ(de.shortDatePattern, "dd\".\"mm\".\"yyyy");
  EXPECT_EQ(de.longDatePattern, "dddd\", \"d\". \"mmmm\" \"yyyy");
  EXPECT_EQ(de.timePattern, "hh\":\"nn\":\"ss");
  EXPECT_EQ(de.dateOrder, "dmy");
  EXPECT_EQ(de.monthNames[2], "März");
  EXPECT_EQ(de.monthAbbreviations[2], "Mär");
  EXPECT_EQ(de.monthAbbreviations[11], "Dez");
  EXPECT_EQ(de.dayNames[0], "Sonntag");
  EXPECT_EQ(de.dayAbbreviations[1], "Mo");
  EXPECT_EQ(de.firstDayOfWeek, 2);
  EXPECT_EQ(de.firstWeekOfYear, 2);
}

TEST(RegionalSettingsTest, OtherReferenceLocales) {
  const RegionalSettings& at = RegionalSettingsFor("de_AT");
  EXPECT_EQ(at.decimalSymbol, ",");
  EXPECT_EQ(at.groupingSymbol, "\u00A0");
  EXPECT_EQ(at.monthNames[0], "Jänner");
  EXPECT_EQ(at.monthAbbreviations[0], "Jän");
  const RegionalSettings& ch = RegionalSettingsFor("de-CH");
  EXPECT_EQ(ch.decimalSymbol, ".");
  EXPECT_EQ(ch.groupingSymbol, "\u2019");
  EXPECT_EQ(ch.shortDatePattern, "dd\".\"mm\".\"yyyy");
  const RegionalSettings& us = RegionalSettingsFor("en_US");
  EXPECT_EQ(us.decimalSymbol, ".");
  EXPECT_EQ(us.groupingSymbol, ",");
  EXPECT_EQ(us.shortDatePattern, "m\"/\"d\"/\"yyyy");
  EXPECT_EQ(us.timePattern, "h\":\"nn\":\"ss\" \"AMPM");
  EXPECT_EQ(us.dateSeparator, "/");
  EXPECT_EQ(us.dateOrder, "mdy");
  EXPECT_EQ(us.firstDayOfWeek, 1);
  EXPECT_EQ(us.firstWeekOfYear, 1);
  const RegionalSettings& gb = RegionalSettingsFor("en_GB");
  EXPECT_EQ(gb.shortDatePattern, "dd\"/\"mm\"/\"yyyy");
  EXPECT_EQ(gb.longDatePattern, "dd\" \"mmmm\" \"yyyy");
  EXPECT_EQ(gb.timePattern, "hh\":\"nn\":\"ss");
  EXPECT_EQ(gb.monthAbbreviations[8], "Sep");
  EXPECT_EQ(gb.amSymbol, "AM");
  EXPECT_EQ(gb.dateOrder, "dmy");
}

TEST(RegionalSettingsTest, CachedPerNameAndEmptyMeansUnitedStates) {
  EXPECT_EQ(&RegionalSettingsFor("de_DE"), &RegionalSettingsFor("de_DE"));
  EXPECT_EQ(&RegionalSettingsFor("de_DE", "en_US"), &RegionalSettingsFor("de_DE", "en_US"));
  EXPECT_NE(&RegionalSettingsFor("de_DE", "en_US"), &RegionalSettingsFor("de_DE"));
  const RegionalSettings& mixed = RegionalSettingsFor("de_DE", "en_US");
  EXPECT_EQ(mixed.decimalSymbol, ",");
  EXPECT_EQ(mixed.shortDatePattern, "m\"/\"d\"/\"yyyy");
  EXPECT_EQ(RegionalSettingsFor("").shortDatePattern,
            RegionalSettingsFor("en_US").shortDatePattern);
  // A locale ICU does not know falls back to its root data rather than failing.
  EXPECT_FALSE(RegionalSettingsFor("xx_YY").decimalSymbol.empty());
}

}  // namespace
}  // namespace vn
