#include "resources/res_text.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/runtime_error.h"

namespace {

class ResTextTest : public ::testing::Test {
 protected:
  void SetLanguage(const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
  }
  void SetUp() override { SetLanguage("de_DE.UTF-8"); }
};

TEST_F(ResTextTest, MessagesFollowTheUserLanguage) {
  EXPECT_EQ(vn::ResText(153, "abc"), "Unbekannter Befehl 'abc'");
  SetLanguage("en_US.UTF-8");
  EXPECT_EQ(vn::ResText(153, "abc"), "Unknown command 'abc'");
  // Templates exist in German only and serve every language.
  EXPECT_EQ(vn::ResText(1102), "rubrik");
}

TEST_F(ResTextTest, PlaceholdersAreFilledInOrderAndSurplusOnesRemoved) {
  EXPECT_EQ(
      vn::ResText(166, "X", "Y"),
      "Der Eintrag 'X' fehlt in der 'Y' Datei.<br>Bitte kontrollieren Sie die Konfiguration von .");
  EXPECT_EQ(vn::ResText(305), "<TITLE></TITLE>");
  EXPECT_EQ(vn::ResText(306), "<BODY>");
  EXPECT_EQ(vn::ResText(310, " VALIGN=\"top\""), "<TR  VALIGN=\"top\">");
  EXPECT_EQ(vn::ResText(709, 0, 2, 0), "border=\"0\" cellpadding=\"2\" cellspacing=\"0\"");
  EXPECT_EQ(vn::ResText(651, vn::ResText(652, "Umsatz")), "varnolis://rubrik/Umsatz");
}

TEST_F(ResTextTest, BlankBeforeClosingBracketIsRemovedEverywhere) {
  EXPECT_EQ(vn::ResText(412, "a >b"), " CLASS=\"a>b\"");
}

// Only the template's placeholders are filled: a "%s" inside a value is the value's text, with
// the next value going to the template's next placeholder and none removed from the value.
TEST_F(ResTextTest, AValueIsNeverSearchedForPlaceholders) {
  EXPECT_EQ(vn::ResText("<%s|%s>", "x%s", "y", "z"), "<x%s|y>");
  EXPECT_EQ(vn::ResText("<%s|%s>", "%s%%s"), "<%s%%s|>");
  EXPECT_EQ(vn::ResText(102, "SELECT * FROM k WHERE n LIKE '%suche%'"),
            "Es konnten keine Daten von der Datenbank abgefragt werden.<br>SQL-String: SELECT * "
            "FROM k WHERE n LIKE '%suche%'");
  EXPECT_EQ(vn::ResText(166, "%s", "a%", "s"),
            "Der Eintrag '%s' fehlt in der 'a%' Datei.<br>Bitte kontrollieren Sie die "
            "Konfiguration von s.");
  // The blank before ">" is closed up in values as well, as always.
  EXPECT_EQ(vn::ResText(305, "a >%s"), "<TITLE>a>%s</TITLE>");
}

TEST_F(ResTextTest, UnknownIdIsARuntimeError) {
  EXPECT_THROW(vn::ResText(99999), vn::RuntimeError);
}

}  // namespace
