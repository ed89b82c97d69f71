#include "handler/html_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/render/page_fixture.h"

namespace {

using vn::clHTMLMenu;

class HtmlMenuTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    vn::OverrideLibraryFolder(ProgramFolder());
    CreateConfigSchema();
  }

  // Three rubrics, inserted out of their Rang order; "Umsatz" holds two entries, assigned
  // in the opposite order of their insertion, "Leer" none.
  void FillConfig() {
    Exec(ConfigDatabase(),
         "INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES "
         "(2, 'Umsatz', 'Umsätze', 'Umsatzübersicht', 'Alle Umsätze'),"
         "(1, 'Kontakt', 'Kontakt', 'Der Kontakt', NULL),"
         "(3, 'Leer', '<I>Leer</I>', '   ', '');"
         "INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage, Bemerkung) VALUES "
         "('Umsätze je Jahr', 1, 'Provider=SQLite;Data Source=u.db', "
         "'SELECT * FROM u WHERE k={!kontakt,25}', 'jährlich'),"
         "('Stammdaten', 2, ' DSN=x ', 'SELECT 1', NULL);"
         "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (1, 1, 2), (1, 2, 1),"
         "(2, 1, 1);");
  }

  static std::string Tab(const std::string& rubrik, const std::string& text, bool selected) {
    const std::string link = "location.href='varnolis://rubrik/" + rubrik + "'";
    if (selected) {
      return "<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb1\" onClick=\"" + link +
             "\"><SPAN  CLASS=\"mt1\">" + text + "</SPAN></TD>\r\n";
    }
    return "<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb0\" onClick=\"" + link +
           "\"><SPAN  CLASS=\"mt0\" onClick=\"" + link + "\">" + text + "</SPAN></TD>\r\n";
  }

  static constexpr const char* kSpacer = "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n";
  static constexpr const char* kBarStart =
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><TR>";
  static std::string BarEnd(int colspan) {
    return std::string(kSpacer) + "</TR>\r\n</TABLE>\r\n" +
           "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
           "<TD  COLSPAN=\"" +
           std::to_string(colspan) +
           "\" CLASS=\"mb2\">"
           "<IMG  WIDTH=\"1\" HEIGHT=\"8\" ALT=\"\"></TD>\r\n</TR>\r\n</TABLE>\r\n";
  }
};

TEST_F(HtmlMenuTest, MenuMarksTheRequestedRubricAndListsAllInRangOrder) {
  FillConfig();
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, "", "")) << menu.ErrDescription();
  EXPECT_FALSE(menu.Ready());
  EXPECT_EQ(menu.GetNext(), "");
  EXPECT_EQ(menu.GetNext(), std::string(kBarStart) + kSpacer + Tab("Kontakt", "Kontakt", false) +
                                kSpacer + Tab("Umsatz", "Umsätze", true) + kSpacer +
                                Tab("Leer", "<I>Leer</I>", false) + BarEnd(7));
  EXPECT_FALSE(menu.Ready());
  EXPECT_EQ(menu.GetNext(),
            "<P  CLASS=\"title1\">Umsatzübersicht<BR>"
            "<SPAN  CLASS=\"title2\">Alle Umsätze</SPAN></P>");
  EXPECT_TRUE(menu.Ready());
  EXPECT_EQ(menu.GetNext(), "");
  EXPECT_EQ(menu.ErrNumber(), 100);
}

TEST_F(HtmlMenuTest, EntriesAreLoadedInAssignmentOrderWithTheirTextsUnparsed) {
  FillConfig();
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, "", "")) << menu.ErrDescription();
  ASSERT_EQ(menu.AnzahlDaten(), 2);
  const vn::clDaten* first = menu.Daten(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Rubrik, "Umsatz");
  EXPECT_EQ(first->Titel, "Stammdaten");
  EXPECT_EQ(first->DatenQuelle, " DSN=x ");
  EXPECT_EQ(first->Abfrage, "SELECT 1");
  EXPECT_EQ(first->Format, 2);
  EXPECT_EQ(first->Bemerkung, "");
  const vn::clDaten* second = menu.Daten(1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Titel, "Umsätze je Jahr");
  EXPECT_EQ(second->DatenQuelle, "Provider=SQLite;Data Source=u.db");
  EXPECT_EQ(second->Abfrage, "SELECT * FROM u WHERE k={!kontakt,25}");
  EXPECT_EQ(second->Format, 1);
  EXPECT_EQ(second->Bemerkung, "jährlich");
  EXPECT_EQ(menu.ErrNumber(), 100);
}

TEST_F(HtmlMenuTest, IndexOutsideTheEntriesGives183) {
  FillConfig();
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, "", ""));
  EXPECT_EQ(menu.Daten(2), nullptr);
  EXPECT_EQ(menu.ErrNumber(), 183);
  EXPECT_NE(menu.ErrDescription().find(">Falscher Index für Daten (Index=2).</TD>"),
            std::string::npos);
  EXPECT_EQ(menu.Daten(-1), nullptr);
  EXPECT_NE(menu.ErrDescription().find(">Falscher Index für Daten (Index=-1).</TD>"),
            std::string::npos);
}

TEST_F(HtmlMenuTest, RubricWithoutAssignmentsHasNoEntriesButAMenu) {
  FillConfig();
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Leer", &parser_, "", ""));
  EXPECT_EQ(menu.AnzahlDaten(), 0);
  menu.GetNext();
  EXPECT_EQ(menu.GetNext(), std::string(kBarStart) + kSpacer + Tab("Kontakt", "Kontakt", false) +
                                kSpacer + Tab("Umsatz", "Umsätze", false) + kSpacer +
                                Tab("Leer", "<I>Leer</I>", true) + BarEnd(7));
  // A title of blanks and an empty remark leave the paragraph empty.
  EXPECT_EQ(menu.GetNext(), "<P  CLASS=\"title1\"></P>");
  EXPECT_TRUE(menu.Ready());
}

TEST_F(HtmlMenuTest, NameDifferingInCaseMarksNoTabButFindsTheEntries) {
  FillConfig();
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("umsatz", &parser_, "", "")) << menu.ErrDescription();
  EXPECT_EQ(menu.AnzahlDaten(), 2);
  menu.GetNext();
  const std::string bar = menu.GetNext();
  EXPECT_EQ(bar.find("mb1"), std::string::npos);
  EXPECT_EQ(bar.find("mt1"), std::string::npos);
  EXPECT_EQ(menu.GetNext(), "<P  CLASS=\"title1\"></P>");
}

TEST_F(HtmlMenuTest, QuotesInTheNameCannotChangeTheStatement) {
  FillConfig();
  {
    clHTMLMenu menu;
    ASSERT_TRUE(menu.Init("x\" OR \"1\"=\"1", &parser_, "", "")) << menu.ErrDescription();
    EXPECT_EQ(menu.AnzahlDaten(), 0);
  }
  {
    clHTMLMenu menu;
    ASSERT_TRUE(menu.Init("Umsatz\"", &parser_, "", "")) << menu.ErrDescription();
    EXPECT_EQ(menu.AnzahlDaten(), 0);
  }
  // A rubric whose name holds a double quote is found by that name.
  Exec(ConfigDatabase(),
       "INSERT INTO Rubriken (Rang, Rubrik, Menuetext) VALUES (4, 'Sonder\"angebot', 'S');"
       "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (4, 2, 1);");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Sonder\"angebot", &parser_, "", "")) << menu.ErrDescription();
  EXPECT_EQ(menu.AnzahlDaten(), 1);
}

TEST_F(HtmlMenuTest, ApostropheInTheNameFindsTheRubric) {
  FillConfig();
  Exec(ConfigDatabase(),
       "INSERT INTO Rubriken (Rang, Rubrik, Menuetext) VALUES (4, 'O''Neil', 'O');"
       "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (4, 2, 1);");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("O'Neil", &parser_, "", "")) << menu.ErrDescription();
  EXPECT_EQ(menu.AnzahlDaten(), 1);
}

TEST_F(HtmlMenuTest, NamesThatWouldEndTheLinkArePercentEncodedInItAndFoundByThemselves) {
  Exec(ConfigDatabase(),
       "INSERT INTO Rubriken (Rang, Rubrik, Menuetext) VALUES "
       "(1, 'Grüße_O''Neil_\"X\"', 'G'), (2, 'a b\\c%s#d?e<f>g&h', 'H');");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Grüße_O'Neil_\"X\"", &parser_, "", "")) << menu.ErrDescription();
  menu.GetNext();
  EXPECT_EQ(menu.GetNext(), std::string(kBarStart) + kSpacer +
                                Tab("Grüße_O%27Neil_%22X%22", "G", true) + kSpacer +
                                Tab("a%20b%5Cc%25s%23d%3Fe%3Cf%3Eg%26h", "H", false) + BarEnd(5));
}

TEST_F(HtmlMenuTest, ConfigurationFolderArgumentReplacesTheLibraryFolder) {
  FillConfig();
  vn::OverrideLibraryFolder("/nonexistent/Varnolis");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, ProgramFolder(), "")) << menu.ErrDescription();
  EXPECT_EQ(menu.AnzahlDaten(), 2);
}

TEST_F(HtmlMenuTest, InitFailures) {
  {
    clHTMLMenu menu;
    EXPECT_FALSE(menu.Init("Umsatz", nullptr, "", ""));
    EXPECT_EQ(menu.ErrNumber(), 184);
    EXPECT_NE(menu.ErrDescription().find("Hinweis von Klasse clHTMLMenu."), std::string::npos);
    EXPECT_EQ(menu.GetNext(), "Initialisierung<br>");
    EXPECT_FALSE(menu.Ready());
  }
  {
    // An empty Rubriken table.
    clHTMLMenu menu;
    EXPECT_FALSE(menu.Init("Umsatz", &parser_, "", ""));
    EXPECT_EQ(menu.ErrNumber(), 181);
    EXPECT_NE(menu.ErrDescription().find(
                  ">Es wurden keine Daten in der Tabelle 'Rubriken' gefunden.</TD>"),
              std::string::npos);
  }
  {
    // No configuration database in the folder.
    clHTMLMenu menu;
    const std::string folder = (root_ / "leer").string();
    EXPECT_FALSE(menu.Init("Umsatz", &parser_, folder, ""));
    EXPECT_EQ(menu.ErrNumber(), 101);
    EXPECT_NE(menu.ErrDescription().find(
                  "<br>Connection String: Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder +
                  "/databases/config.mdb;Persist Security Info=False</TD>"),
              std::string::npos)
        << menu.ErrDescription();
  }
  {
    // A database without the tables.
    Exec((root_ / "data/config.mdb").string(), "CREATE TABLE x (y INTEGER);");
    std::filesystem::create_directories(root_ / "kaputt/databases");
    std::filesystem::rename(root_ / "data/config.mdb", root_ / "kaputt/databases/config.mdb");
    clHTMLMenu menu;
    EXPECT_FALSE(menu.Init("Umsatz", &parser_, (root_ / "kaputt").string(), ""));
    EXPECT_EQ(menu.ErrNumber(), 102);
    EXPECT_NE(menu.ErrDescription().find(
                  "<br>SQL-String: SELECT [Rubriken].* FROM [Rubriken] ORDER BY [Rang]</TD>"),
              std::string::npos);
  }
}

// The configuration's path in message 101 is page text: a folder named with & and " (as Linux
// file names may be) leaves the block well formed.
TEST_F(HtmlMenuTest, AConfigurationFolderWithMarkupCharactersIsTextInMessage101Linux) {
  clHTMLMenu menu;
  const std::string folder = (root_ / "R&D \"neu\"").string();
  EXPECT_FALSE(menu.Init("Umsatz", &parser_, folder, ""));
  EXPECT_EQ(menu.ErrNumber(), 101);
  EXPECT_NE(menu.ErrDescription().find(
                "<TD  CLASS=\"errortext\">Es konnte keine Verbindung zu der Datenbank hergestellt "
                "werden.<br>Connection String: Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                root_.string() +
                "/R&amp;D &quot;neu&quot;/databases/config.mdb;Persist Security Info=False</TD>"),
            std::string::npos)
      << menu.ErrDescription();
}

TEST_F(HtmlMenuTest, RubricNameInAFailingEntriesQueryIsShownAsText) {
  FillConfig();
  Exec(ConfigDatabase(), "DROP TABLE Zuordnungen;");
  clHTMLMenu menu;
  EXPECT_FALSE(menu.Init("<script>x(\"&\")</script>", &parser_, "", ""));
  EXPECT_EQ(menu.ErrNumber(), 102);
  EXPECT_NE(menu.ErrDescription().find(
                "<TD  CLASS=\"errortext\">Es konnten keine Daten von der Datenbank abgefragt "
                "werden.<br>SQL-String: SELECT Rubriken.Rubrik, Daten.Titel, Daten.Datenquelle, "
                "Daten.Abfrage, Daten.Bemerkung, Daten.Format_ID AS Format, Zuordnungen.Rang FROM "
                "Daten INNER JOIN (Zuordnungen INNER JOIN Rubriken ON Zuordnungen.Rubrik_ID = "
                "Rubriken.ID_Rubrik) ON Daten.ID_Daten = Zuordnungen.Daten_ID WHERE "
                "(((Rubriken.Rubrik)=&quot;&lt;script&gt;x(&quot;&quot;&amp;&quot;&quot;)"
                "&lt;/script&gt;&quot;)) ORDER BY Zuordnungen.Rang</TD>"),
            std::string::npos)
      << menu.ErrDescription();
  EXPECT_EQ(menu.ErrDescription().find("<script"), std::string::npos);
}

TEST_F(HtmlMenuTest, SourceCommandsInMenuTextTitleAndRemarkShowTheContactsValues) {
  FillConfig();
  Exec(ConfigDatabase(),
       "UPDATE Rubriken SET Menuetext = 'Umsatz {!kontakt,25}', "
       "Titel = '{!k,57}', Bemerkung = ' {!c,99,ohne} ' "
       "WHERE Rubrik = 'Umsatz';");
  vn::clACTDataParser& parser = ParserWithContact("\"25\": \"K10001\", \"57\": \"Müller\"");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser, "", ""));
  menu.GetNext();
  EXPECT_EQ(menu.GetNext(), std::string(kBarStart) + kSpacer + Tab("Kontakt", "Kontakt", false) +
                                kSpacer + Tab("Umsatz", "Umsatz K10001", true) + kSpacer +
                                Tab("Leer", "<I>Leer</I>", false) + BarEnd(7));
  EXPECT_EQ(menu.GetNext(),
            "<P  CLASS=\"title1\">Müller<BR><SPAN  CLASS=\"title2\">ohne</SPAN></P>");
  EXPECT_EQ(menu.ErrNumber(), 100);
}

TEST_F(HtmlMenuTest, MalformedSourceCommandInAMenuTextEndsTheBarWith160) {
  FillConfig();
  Exec(ConfigDatabase(),
       "UPDATE Rubriken SET Menuetext = 'Umsatz {!kontakt,25' "
       "WHERE Rubrik = 'Umsatz';");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, "", ""));
  menu.GetNext();
  EXPECT_EQ(menu.GetNext(),
            std::string(kBarStart) + kSpacer + Tab("Kontakt", "Kontakt", false) + kSpacer);
  EXPECT_EQ(menu.ErrNumber(), 160);
  EXPECT_NE(menu.ErrDescription().find("Fehler beim Einbinden von ACT!-Daten.<br>"),
            std::string::npos);
  EXPECT_NE(menu.ErrDescription().find("Hinweis von Klasse clACTDataParser."), std::string::npos);
  EXPECT_NE(menu.ErrDescription().find("<TD  CLASS=\"errortext\">161</TD>"), std::string::npos)
      << menu.ErrDescription();
  EXPECT_FALSE(menu.Ready());
}

TEST_F(HtmlMenuTest, FailingSourceCommandInTheTitleStopsTheHeading) {
  FillConfig();
  Exec(ConfigDatabase(), "UPDATE Rubriken SET Titel = '{!gruppe,3}' WHERE Rubrik = 'Umsatz';");
  clHTMLMenu menu;
  ASSERT_TRUE(menu.Init("Umsatz", &parser_, "", ""));
  menu.GetNext();
  menu.GetNext();
  EXPECT_EQ(menu.ErrNumber(), 100);
  EXPECT_EQ(menu.GetNext(), "<P  CLASS=\"title1\">");
  EXPECT_EQ(menu.ErrNumber(), 160);
  EXPECT_FALSE(menu.Ready());
}

}  // namespace
