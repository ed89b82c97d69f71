// FormatFieldValue: the pattern from the column name, the two type groups and NULL, under the
// regional settings the locale variables select.
#include "render/format_field_value.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/runtime_error.h"

namespace vn {
namespace {

using data::Null;
using data::SimpleField;

class FormatFieldValueTest : public ::testing::Test {
 protected:
  void SetUp() override { UseLocale("de_DE.UTF-8"); }

  static void UseLocale(const char* name) {
    ::unsetenv("LC_NUMERIC");
    ::unsetenv("LC_TIME");
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", name, 1);
  }

  static std::string Show(const char* name, int type, data::Variant value) {
    return FormatFieldValue(SimpleField(name, type, std::move(value)));
  }
};

TEST_F(FormatFieldValueTest, DoublesAndCurrenciesGetTheDefaultPatternAndZeroForNull) {
  EXPECT_EQ(Show("Betrag", data::adDouble, 1234.5), "1.234,50");
  EXPECT_EQ(Show("Betrag", data::adDouble, Null{}), "0");
  EXPECT_EQ(Show("Betrag", data::adCurrency, data::Currency{12345000}), "1.234,50");
  EXPECT_EQ(Show("Betrag", data::adCurrency, Null{}), "0");
  EXPECT_EQ(Show("format0*00_Betrag", data::adCurrency, Null{}), "0");
  EXPECT_EQ(Show("format0*0_Menge", data::adDouble, 3.0), "3,0");
  EXPECT_EQ(Show("Betrag", data::adDouble, -0.004), "-0,00");
  UseLocale("en_US.UTF-8");
  EXPECT_EQ(Show("Betrag", data::adDouble, 1234.5), "1,234.50");
}

TEST_F(FormatFieldValueTest, OtherTypesAreConvertedUnlessAPatternIsGiven) {
  EXPECT_EQ(Show("format0_Anzahl", data::adInteger, 1234), "1234");
  EXPECT_EQ(Show("Anzahl", data::adInteger, 1234), "1234");
  EXPECT_EQ(Show("Anzahl", data::adInteger, Null{}), "");
  EXPECT_EQ(Show("format#,##0_Anzahl", data::adInteger, 1234), "1.234");
  EXPECT_EQ(Show("format0_Anzahl", data::adInteger, Null{}), "");
  EXPECT_EQ(Show("Preis", data::adDecimal, data::Decimal{"1234.50"}), "1234,5");
  EXPECT_EQ(Show("Preis", data::adNumeric, data::Decimal{"1234.50"}), "1234,5");
  EXPECT_EQ(Show("Name", data::adVarWChar, Null{}), "");
  EXPECT_EQ(Show("Name", data::adVarWChar, "Meier"), "Meier");
  EXPECT_EQ(Show("Name", data::adVarChar, "  Meier & <Söhne> "), "  Meier & <Söhne> ");
  EXPECT_EQ(Show("Aktiv", data::adBoolean, true), "True");
  EXPECT_EQ(Show("Datum", data::adDate, data::Date{46363.0}), "07.12.2026");
}

TEST_F(FormatFieldValueTest, PatternFromTheColumnName) {
  EXPECT_EQ(Show("right_formatdd*mm*yyyy_Datum", data::adDate, data::Date{46363.0}), "07.12.2026");
  EXPECT_EQ(Show("formatA_formatB_Wert", data::adVarWChar, "x"), "x");
  // "B" is literal text: a number shows it, with the minus of a one-section pattern.
  EXPECT_EQ(Show("formatA_formatB_Wert", data::adInteger, -5), "-B");
  EXPECT_EQ(Show("FORMAT0*000_Wert", data::adDouble, 2.0), "2,000");
  // Only the last part is never a pattern: a name that is all pattern gets the defaults.
  EXPECT_EQ(Show("format0*00", data::adDouble, 2.0), "2,00");
  EXPECT_EQ(Show("format0", data::adInteger, 2), "2");
  // Empty parts count; a trailing "_" makes the pattern part count.
  EXPECT_EQ(Show("format0*0_", data::adDouble, 2.0), "2,0");
  EXPECT_EQ(Show("format_Betrag", data::adDouble, 2.0), "2,00");
  // "Formatierung" begins with "format": its pattern "ierung" has a minute token "n".
  EXPECT_EQ(Show("Formatierung_Name", data::adVarWChar, "Meier"), "Meier");
  EXPECT_EQ(Show("Formatierung_Name", data::adInteger, 0), "ieru0g");
  EXPECT_EQ(Show("left_formatmmmm_Monat", data::adDate, data::Date{46363.0}), "Dezember");
}

// A leading "html" part never begins with "format": the markup opt-in leaves the pattern as it
// is without the prefix, also where the rest of the name is a pattern only.
TEST_F(FormatFieldValueTest, TheMarkupPrefixChangesNoPattern) {
  EXPECT_EQ(Show("html_right_format0*00_Betrag", data::adDouble, 2.0), "2,00");
  EXPECT_EQ(Show("HTML_format0*0_Menge", data::adInteger, 3), "3,0");
  EXPECT_EQ(Show("html_format0*000", data::adDouble, 2.0), "2,00");
  EXPECT_EQ(Show("html_Link", data::adVarWChar, "<a href=\"x\">x</a>"), "<a href=\"x\">x</a>");
}

TEST_F(FormatFieldValueTest, LocaleVariablesChooseNumbersAndDatesSeparately) {
  ::unsetenv("LC_ALL");
  ::setenv("LANG", "en_GB.UTF-8", 1);
  ::setenv("LC_NUMERIC", "de_CH.UTF-8", 1);
  ::setenv("LC_TIME", "de_AT.UTF-8", 1);
  EXPECT_EQ(Show("Betrag", data::adDouble, 1234.5), "1\u2019234.50");
  EXPECT_EQ(Show("formatmmmm_Monat", data::adDate, data::Date{46037.0}), "Jänner");
  ::unsetenv("LC_NUMERIC");
  ::unsetenv("LC_TIME");
  EXPECT_EQ(Show("Datum", data::adDate, data::Date{46363.0}), "07/12/2026");
  EXPECT_EQ(Show("Betrag", data::adDouble, 1234.5), "1,234.50");
  ::unsetenv("LANG");
  EXPECT_EQ(Show("Datum", data::adDate, data::Date{46363.5}), "12/7/2026 12:00:00 PM");
}

TEST_F(FormatFieldValueTest, ValuesThePatternCannotFormatRaise) {
  EXPECT_THROW(Show("formatdd*mm*yyyy_Datum", data::adDouble, 1e9), RuntimeError);
  EXPECT_THROW(Show("Datum", data::adDate, data::Date{-1e7}), RuntimeError);
  EXPECT_THROW(Show("Kinder", data::adChapter, data::Variant(std::shared_ptr<data::Recordset>())),
               RuntimeError);
}

}  // namespace
}  // namespace vn
