// ACT! values written where they go: as page text in a page, with their quote doubled inside an
// SQL literal, and as ACT! holds them in connection strings.
#include "act/value_place.h"

#include <gtest/gtest.h>

#include <string>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act_fixture.h"

namespace {

using vn::ParsedText;
using vn::ValuePlace;

TEST(ValuePlaceTest, EachPlaceWritesTheValueAsItReadsText) {
  struct Case {
    ValuePlace place;
    std::string value;
    std::string written;
  };
  const std::string hostile = "O'Neil <b>bold</b> & \"Co\"";
  for (const Case& c : {
           Case{ValuePlace::kAsRead, hostile, hostile},
           Case{ValuePlace::kPageText, hostile,
                "O&#39;Neil &lt;b&gt;bold&lt;/b&gt; &amp; &quot;Co&quot;"},
           Case{ValuePlace::kSqlSingleQuoted, hostile, "O''Neil <b>bold</b> & \"Co\""},
           Case{ValuePlace::kSqlDoubleQuoted, hostile, "O'Neil <b>bold</b> & \"\"Co\"\""},
           Case{ValuePlace::kPageText, "M\xC3\xBCller %s", "M\xC3\xBCller %s"},
           Case{ValuePlace::kSqlCode, "-12,5", "-12,5"},
           Case{ValuePlace::kSqlCode, "", ""},
       }) {
    std::string value = c.value;
    EXPECT_TRUE(vn::FitValue(c.place, value)) << c.value;
    EXPECT_EQ(value, c.written) << static_cast<int>(c.place);
  }
  // Outside a literal only a number may stand; the value is left as it was.
  std::string statement = "1; DROP TABLE x";
  EXPECT_FALSE(vn::FitValue(ValuePlace::kSqlCode, statement));
  EXPECT_EQ(statement, "1; DROP TABLE x");
}

class ParsedValuesTest : public vn::test::ActFixture {
 protected:
  void SetUp() override {
    ActFixture::SetUp();
    WriteRunningAct(1, R"({"57": "O'Neil <b>bold</b> & Co", "58": "Er sagt \"ja\" & O'Neil",
                           "59": "a'b;<c>"})");
  }
  std::string Parse(const std::string& text, ParsedText kind) {
    vn::clACTApplication act;
    vn::clACTDataParser parser;
    parser.Init(&act, "");
    std::string result = parser.Parse(text, kind);
    EXPECT_FALSE(parser.Failed()) << parser.ErrText();
    return result;
  }
};

TEST_F(ParsedValuesTest, TheKindOfTextDecidesHowEveryValueIsWritten) {
  EXPECT_EQ(Parse("Kunde {!kontakt, 57}", ParsedText::kPageText),
            "Kunde O&#39;Neil &lt;b&gt;bold&lt;/b&gt; &amp; Co");
  EXPECT_EQ(Parse("<b>{!k, 59, 2, 59}</b>", ParsedText::kPageText), "<b>&lt;c&gt;</b>");
  EXPECT_EQ(Parse("SELECT * FROM k WHERE n = '{!kontakt, 57}'", ParsedText::kSql),
            "SELECT * FROM k WHERE n = 'O''Neil <b>bold</b> & Co'");
  // Jet: inside "..." the double quote is doubled and the apostrophe stays single; inside
  // '...' the other way round.
  EXPECT_EQ(Parse("SELECT * FROM k WHERE n = \"{!kontakt, 58}\" OR m = '{!kontakt, 58}'",
                  ParsedText::kJetSql),
            "SELECT * FROM k WHERE n = \"Er sagt \"\"ja\"\" & O'Neil\" OR m = 'Er sagt \"ja\" & "
            "O''Neil'");
  EXPECT_EQ(Parse("Data Source={!kontakt, 57};x='{!kontakt, 59}'", ParsedText::kAsRead),
            "Data Source=O'Neil <b>bold</b> & Co;x='a'b;<c>'");
}

TEST_F(ParsedValuesTest, TheDefaultIsTheAdministratorsTextAsTyped) {
  EXPECT_EQ(Parse("{!kontakt, 26, <i>leer</i>}", ParsedText::kPageText), "<i>leer</i>");
  EXPECT_EQ(Parse("n = '{!kontakt, 26, o'neil}'", ParsedText::kSql), "n = 'o'neil'");
}

TEST_F(ParsedValuesTest, LinkProductValuesArePageTextToo) {
  WriteFile(ProgramFolder() + "/Brimlow.ini", "[Brimlow]\r\nID_Nummer=57\r\n");
  EXPECT_EQ(Parse("Nr. {!brimlow, nummer}", ParsedText::kPageText),
            "Nr. O&#39;Neil &lt;b&gt;bold&lt;/b&gt; &amp; Co");
  EXPECT_EQ(Parse("Nr. {!brimlow, nummer}", ParsedText::kAsRead), "Nr. O'Neil <b>bold</b> & Co");
}

// A message of the parser that names a path built from an ACT! value shows it as text in the
// block; the administrator's tools get it as it is.
TEST_F(ParsedValuesTest, AnErrorBlockShowsTheValuesInItsMessageAsText) {
  WriteRunningAct(1, R"({"58": "<b>M'01</b>.dat"})");
  WriteFile(ProgramFolder() + "/Brimlow.ini", "[Brimlow]\r\nID_Mandant=58\r\nPCKpfad=/pck/\r\n");
  vn::clACTApplication act;
  vn::clACTDataParser parser;
  parser.Init(&act, "");
  EXPECT_EQ(parser.Parse("{!brimlow, mandant}", ParsedText::kPageText), "{!brimlow, mandant}");
  EXPECT_EQ(parser.ErrText(),
            "Die Mandantendatei '/pck/<b>M'01</b>.dat' konnte nicht gefunden werden.<br>Bitte "
            "kontrollieren Sie die Konfiguration von Brimlow.");
  EXPECT_NE(parser.ErrDescription().find(
                "<TD  CLASS=\"errortext\">169</TD><TD  CLASS=\"errortext\">Die Mandantendatei "
                "'/pck/&lt;b&gt;M&#39;01&lt;/b&gt;.dat' konnte nicht gefunden werden.<br>Bitte "
                "kontrollieren Sie die Konfiguration von Brimlow.</TD>"),
            std::string::npos)
      << parser.ErrDescription();
}

}  // namespace
