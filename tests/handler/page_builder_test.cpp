// The page builder's rubric pages as a request delivers them to a recording sink: a program
// folder with a configuration database, data databases and an ACT! stand-in built by each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/core/prompts.h"
#include "config/core/start_files.h"
#include "platform/codepage.h"
#include "tests/handler/request_fixture.h"

namespace vn::test {
namespace {

std::string Cp1252(const std::string& utf8) {
  return Utf8ToCp1252(utf8, Unmappable::kCharacterReference);
}

class PageBuilderTest : public RequestFixture {
 protected:
  void SetUp() override {
    RequestFixture::SetUp();
    data_ = folder_->Root() + "/kunden.db";
    ExecSql(data_,
            "CREATE TABLE kunden (nr TEXT, name TEXT, ort TEXT);"
            "INSERT INTO kunden VALUES ('K10001', 'Meier', 'Bonn'), ('K10002', 'Schulz', 'Ulm');"
            "CREATE TABLE auftraege (nr INTEGER, kunde TEXT, betrag REAL);"
            "INSERT INTO auftraege VALUES (10, 'K10001', 100.5), (11, 'K10001', 20);");
  }
  std::string Config() const { return program_ + "/databases/config.mdb"; }
  std::string DataConnection() const { return "Provider=SQLite;Data Source=" + data_; }

  // A rubric with its entries assigned in the order given; the rubric's name is its menu text.
  void AddRubric(const std::string& name, const std::string& title, const std::string& remark,
                 const std::vector<ConfigEntry>& entries) {
    if (!std::filesystem::exists(Config())) CreateConfig(Config());
    test::AddRubric(Config(), {++rubrics_, name, name, title, remark}, entries);
  }

  // The ACT! stand-in: running, with `database` open (none when empty), contact field 25.
  void WriteAct(const std::string& database) const {
    WriteStandIn(folder_->Root() + "/act.json", R"({"25": "K10001"})", database);
  }

  std::string Page(const std::string& url) {
    Response r = Fetch(url);
    EXPECT_EQ(r.start, S_OK);
    calls_ = r.calls;
    return PageOf(r.bytes);
  }

  std::string Block(const std::string& klasse, int number, const std::string& text) const {
    return ExpectedErrorBlockOf(program_, klasse, number, text, true);
  }

  // The page of a rubric while ACT! does not run: message 122 alone.
  std::string ActNotRunningPage() const {
    return ExpectedHead(program_) +
           Block("clProtocolHandler", 122,
                 Cp1252("Der Zugriff auf die ACT!-Daten ist nich möglich, weil kein ACT! "
                        "gestartet wurde.")) +
           ExpectedEnd();
  }

  std::string Window() const { return "<DIV  ID=\"divfenster\" CLASS=\"divwindow\">\r\n"; }
  std::string End() const { return "</DIV>\r\n" + ExpectedEnd(); }

  std::string data_;
  int rubrics_ = 0;
  std::vector<std::string> calls_;
};

TEST_F(PageBuilderTest, SmallRubricPageByteForByte) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "Kundendaten", "Stamm",
            {{2, "Stammdaten", DataConnection(),
              "SELECT nr AS Nr, name AS Name FROM kunden WHERE nr = '{!kontakt,25}'"}});
  const std::string r = program_ + "/ResourceHTML/";
  const std::string tab = "location.href='varnolis://rubrik/Kunde'";
  const std::string expected =
      ExpectedHead(program_) + "\r\n" +
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><TR>"
      "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n"
      "<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb1\" onClick=\"" +
      tab +
      "\"><SPAN  CLASS=\"mt1\">Kunde</SPAN></TD>\r\n"
      "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n</TR>\r\n</TABLE>\r\n"
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
      "<TD  COLSPAN=\"3\" CLASS=\"mb2\"><IMG  WIDTH=\"1\" HEIGHT=\"8\" ALT=\"\"></TD>\r\n"
      "</TR>\r\n</TABLE>\r\n\r\n"
      "<P  CLASS=\"title1\">Kundendaten<BR><SPAN  CLASS=\"title2\">Stamm</SPAN></P>\r\n"
      "<DIV  ID=\"divfenster\" CLASS=\"divwindow\">\r\n"
      "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" +
      r +
      "clhtmllist.vbs\"></SCRIPT>\r\n"
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"htmllisttitle\"><TD>"
      "<IMG  NAME=\"img_list_0_\" SRC=\"" +
      r +
      "minus.gif\" "
      "onclick=\"DisplayItem 'img_list_0_','div_list_0_'\" "
      "onmouseover=\"Point 'img_list_0_'\" onmouseout=\"DontPoint 'img_list_0_'\" "
      "WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;Stammdaten"
      "</TD></TR></TABLE>\r\n"
      "\r\n<DIV  ID=\"div_list_0_\" STYLE=\"\">\r\n"
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
      "<TR  VALIGN=\"top\">"
      "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
      "WIDTH=\"100%\"><TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">Nr</TD>"
      "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">K10001</TD></TR></TABLE></TD>"
      "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
      "WIDTH=\"100%\"><TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">Name</TD>"
      "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">Meier</TD></TR></TABLE></TD>"
      "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
      "WIDTH=\"100%\"></TABLE></TD>"
      "</TR></TABLE></DIV>\r\n"
      "\r\n"
      "</DIV>\r\n" +
      ExpectedEnd();
  EXPECT_EQ(Page("varnolis://rubrik/Kunde"), expected);
  // Menu pieces, then the card's pieces, each reported as it is written.
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), "ReportProgress 5 Creating Menu ..."), 3);
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), "ReportProgress 5 Creating Table ..."), 3);
}

TEST_F(PageBuilderTest, RubricNameWithQuotesAndUmlautsIsInTheMenuAndItsLinkGivesItsPage) {
  WriteAct("Test.dbf");
  const std::string name = "Grüße_O'Neil_\"X\"";
  AddRubric("Kunde", "Kundendaten", "", {{2, "Stammdaten", DataConnection(), "SELECT 1 AS a"}});
  AddRubric(name, "Besondere Grüße", "",
            {{2, "Ort", DataConnection(), "SELECT ort AS Ort FROM kunden WHERE nr = 'K10002'"}});
  const std::string link = "varnolis://rubrik/" + Cp1252("Grüße") + "_O%27Neil_%22X%22";
  const std::string tab = "location.href='" + link + "'";
  const std::string page = Page("varnolis://rubrik/Kunde");
  EXPECT_NE(page.find("<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb0\" onClick=\"" + tab +
                      "\"><SPAN  CLASS=\"mt0\" onClick=\"" + tab + "\">" + Cp1252(name) +
                      "</SPAN></TD>\r\n"),
            std::string::npos)
      << page;

  // The browser reads the page in its code page and asks for the link as it reads it.
  const std::string linked = Page(Cp1252ToUtf8(link));
  EXPECT_NE(linked.find("CLASS=\"mb1\" onClick=\"" + tab + "\"><SPAN  CLASS=\"mt1\">"),
            std::string::npos)
      << linked;
  EXPECT_NE(linked.find("<P  CLASS=\"title1\">" + Cp1252("Besondere Grüße") + "<BR></P>"),
            std::string::npos);
  EXPECT_NE(linked.find("<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">Ulm</TD>"), std::string::npos);
  EXPECT_EQ(linked.find("errortitle"), std::string::npos) << linked;
}

// Links of older installations escape the rubric name in the ANSI code page, the menu's own
// links in UTF-8: both reach the rubric, and the page is the same.
TEST_F(PageBuilderTest, AnsiAndUtf8EscapesOfARubricNameReachTheSameRubric) {
  WriteAct("Test.dbf");
  AddRubric("Grüße", "Besondere Grüße", "",
            {{2, "Ort", DataConnection(), "SELECT ort AS Ort FROM kunden WHERE nr = 'K10002'"}});
  const std::string ansi = Page("varnolis://rubrik/Gr%FC%DFe");
  EXPECT_NE(ansi.find("<P  CLASS=\"title1\">" + Cp1252("Besondere Grüße") + "<BR></P>"),
            std::string::npos)
      << ansi;
  EXPECT_NE(ansi.find("<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">Ulm</TD>"), std::string::npos);
  EXPECT_EQ(ansi.find("errortitle"), std::string::npos) << ansi;
  EXPECT_EQ(Page("varnolis://rubrik/Gr%C3%BC%C3%9Fe"), ansi);
}

// The configuration program's start files open the start rubric whatever its name holds: the
// browser reads the start page in its code page and follows the address written there.
TEST_F(PageBuilderTest, TheWrittenStartFileOpensARubricWhoseNameTheCodePageCannotHold) {
  struct YesPrompts : config::Prompts {
    config::MsgResult Message(const std::string&, config::MsgIcon, config::MsgButtons) override {
      return config::MsgResult::kYes;
    }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
      return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
      return std::nullopt;
    }
  } prompts;
  WriteAct("Test.dbf");
  const std::string name = "Grüße → 日本 & Co";
  AddRubric("Bücher?", "Falsche Rubrik", "", {{2, "Ort", DataConnection(), "SELECT 1 AS a"}});
  AddRubric(name, "Besondere Grüße", "",
            {{2, "Ort", DataConnection(), "SELECT ort AS Ort FROM kunden WHERE nr = 'K10002'"}});
  const std::string netLinks = folder_->Root() + "/NetLinks";
  std::filesystem::create_directories(netLinks);
  config::CreateStartFiles(netLinks, name, prompts);

  const std::string start = Cp1252ToUtf8(ReadFile(netLinks + "/Varnolis.htm"));
  const std::string href = "<a href=\"";
  const size_t at = start.find(href);
  ASSERT_NE(at, std::string::npos) << start;
  const std::string link = start.substr(at + href.size(), start.find('"', at + href.size()) -
                                                              at - href.size());
  EXPECT_EQ(link, "varnolis://rubrik/Gr%C3%BC%C3%9Fe%20%E2%86%92%20%E6%97%A5%E6%9C%AC%20%26%20Co");
  const std::string page = Page(link);
  EXPECT_NE(page.find("<P  CLASS=\"title1\">" + Cp1252("Besondere Grüße") + "<BR></P>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">Ulm</TD>"), std::string::npos);
  EXPECT_EQ(page.find("errortitle"), std::string::npos) << page;
}

TEST_F(PageBuilderTest, MissingStandInGives122AtOnceAndInfoStillWorks) {
  AddRubric("Kunde", "K", "", {{2, "S", DataConnection(), "SELECT 1 AS a"}});
  EXPECT_EQ(Page("varnolis://rubrik/Kunde"), ActNotRunningPage());
  EXPECT_NE(Page("varnolis://info").find("infotitle"), std::string::npos);
}

TEST_F(PageBuilderTest, StandInWithoutDatabaseGives123) {
  WriteAct("");
  AddRubric("Kunde", "K", "", {{2, "S", DataConnection(), "SELECT 1 AS a"}});
  EXPECT_EQ(Page("varnolis://rubrik/Kunde"),
            ExpectedHead(program_) +
                Block("clProtocolHandler", 123,
                      Cp1252("Der Zugriff auf die ACT!-Daten ist nich möglich, weil keine "
                             "ACT!-Datenbank geöffnet ist.")) +
                ExpectedEnd());
}

TEST_F(PageBuilderTest, MissingConfigurationGives155WithTheMenusBlock) {
  WriteAct("Test.dbf");
  const std::string page = Page("varnolis://rubrik/Kunde");
  const std::string outer = Cp1252("Das Menü kann nicht erstellt werden.<br>");
  const size_t at = page.find(outer);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(page.substr(0, ExpectedHead(program_).size()), ExpectedHead(program_));
  EXPECT_NE(page.find("<TD  CLASS=\"errortext\">155</TD>"), std::string::npos);
  EXPECT_NE(page.find("div_error_clHTMLMenu", at), std::string::npos);
  EXPECT_EQ(page.find("divfenster"), std::string::npos);
  EXPECT_TRUE(page.ends_with(ExpectedEnd()));
}

TEST_F(PageBuilderTest, RubricWithoutAssignmentsShowsMenuHeadingThen182) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "K", "", {{2, "S", DataConnection(), "SELECT 1 AS a"}});
  AddRubric("Notizen", "Notizen zum Kunden", "", {});
  const std::string page = Page("varnolis://rubrik/Notizen");
  EXPECT_NE(page.find("<SPAN  CLASS=\"mt1\">Notizen</SPAN>"), std::string::npos);
  EXPECT_NE(page.find("<P  CLASS=\"title1\">Notizen zum Kunden"), std::string::npos);
  EXPECT_TRUE(page.ends_with(
      Window() +
      Block("clProtocolHandler", 182,
            Cp1252("Es wurden keine Zuordnungen für die Rubrik 'Notizen' gefunden.")) +
      End()));
}

TEST_F(PageBuilderTest, UnknownFormatEndsThePageWith156AfterTheEntriesBeforeIt) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "K", "",
            {{2, "Karte", DataConnection(), "SELECT name AS Name FROM kunden WHERE nr = 'K10001'"},
             {7, "Sieben", DataConnection(), "SELECT 1 AS a"},
             {2, "Danach", DataConnection(), "SELECT 2 AS b"}});
  const std::string page = Page("varnolis://rubrik/Kunde");
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">Meier</TD>"), std::string::npos);
  EXPECT_EQ(page.find("Danach"), std::string::npos);
  EXPECT_TRUE(page.ends_with("</TR></TABLE></DIV>\r\n\r\n" +
                             Block("clProtocolHandler", 156, "Unbekannter Formattyp '7'.") +
                             End()));
}

// Only the formats of the format table have a generator; any other number, negative ones and
// the next free one included, ends the page with message 156 at its entry.
TEST_F(PageBuilderTest, EveryFormatOutsideTheTableGives156WithItsNumber) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "K", "", {{2, "Karte", DataConnection(), "SELECT 1 AS a"}});
  const std::vector<std::pair<int, std::string>> formats = {
      {-1, "Unbekannter Formattyp '-1'."},
      {4, "Unbekannter Formattyp '4'."},
      {2147483647, "Unbekannter Formattyp '2147483647'."},
  };
  for (const auto& [format, text] : formats) {
    SCOPED_TRACE(format);
    const std::string rubric = "Format" + std::to_string(rubrics_ + 1);
    AddRubric(rubric, "F", "", {{format, "Eintrag", DataConnection(), "SELECT 1 AS a"}});
    const std::string page = Page("varnolis://rubrik/" + rubric);
    EXPECT_TRUE(page.ends_with(Window() + Block("clProtocolHandler", 156, text) + End()));
    EXPECT_EQ(page.find("Eintrag"), std::string::npos);
  }
}

TEST_F(PageBuilderTest, FailingConnectionGives152WithTheRenderersBlockAfterEarlierEntries) {
  WriteAct("Test.dbf");
  const std::string broken = "Provider=SQLite;Data Source=" + folder_->Root() + "/fehlt/x.db";
  AddRubric("Kunde", "K", "",
            {{2, "Karte", DataConnection(), "SELECT name AS Name FROM kunden WHERE nr = 'K10001'"},
             {2, "Kaputt", broken, "SELECT 1 AS a"}});
  const std::string page = Page("varnolis://rubrik/Kunde");
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">Meier</TD>"), std::string::npos);
  // A generator's block, as it stands inside the handler's, ends without a line break.
  std::string inner = Block(
      "clHTMLList", 101,
      "Es konnte keine Verbindung zu der Datenbank hergestellt werden.<br>Connection String: " +
          broken);
  inner.resize(inner.size() - 2);
  EXPECT_TRUE(page.ends_with(
      "</TR></TABLE></DIV>\r\n\r\n" +
      Block("clProtocolHandler", 152, "Die Tabelle kann nicht erstellt werden.<br>" + inner) +
      End()));
}

// urlmon's stream readers take a successful read of nothing for the end of the page: the step
// that ends the page with its error block asks to be read again instead.
TEST_F(PageBuilderTest, AStepEndingThePageWithAnErrorBlockAsksToBeReadAgain) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "K", "",
            {{2, "Kaputt", "Provider=SQLite;Data Source=" + folder_->Root() + "/fehlt/x.db",
              "SELECT 1 AS a"}});
  Response r = Fetch("varnolis://rubrik/Kunde");
  ASSERT_EQ(r.reads.size(), r.counts.size());
  ASSERT_GE(r.reads.size(), 3u);
  for (size_t i = 0; i < r.reads.size(); ++i) {
    if (r.reads[i] == S_OK) {
      EXPECT_GT(r.counts[i], 0u) << "read " << i;
    }
  }
  EXPECT_NE(r.bytes.find("<TD  CLASS=\"errortext\">152</TD>"), std::string::npos);
  EXPECT_EQ(r.reads.back(), S_FALSE);
}

// A failure that no generator reports (here a date pattern on a number beyond every date) ends
// the page inside Read with message 199, and the page with its block still reaches the browser:
// the Read that wrote it asks to be read again, as a step ending in an error block does.
TEST_F(PageBuilderTest, AFailureInsideReadShowsMessage199AndThePageIsReadToItsEnd) {
  WriteAct("Test.dbf");
  AddRubric(
      "Kunde", "K", "",
      {{0, "Termine", DataConnection(), "SELECT 'x' AS Name, 1e300 AS [formatdd*mm*yyyy_Tag]"}});
  Response r = Fetch("varnolis://rubrik/Kunde");
  ASSERT_EQ(r.start, S_OK);
  ASSERT_EQ(r.reads.size(), r.counts.size());
  for (size_t i = 0; i < r.reads.size(); ++i) {
    if (r.reads[i] == S_OK) {
      EXPECT_GT(r.counts[i], 0u) << "read " << i;
    } else if (i + 1 < r.reads.size()) {
      EXPECT_EQ(r.reads[i], E_PENDING) << "read " << i;
    }
  }
  EXPECT_EQ(r.reads.back(), S_FALSE);
  // The block, with a third row that carries the failure's own number and text (overflow).
  const std::string block = Block("clProtocolHandler", 199,
                                  "Programmfehler in [clProtocolHandler].[IInternetProtocol_Read]");
  const std::string withFailure =
      block.substr(0, block.size() - std::string("</TABLE></DIV>\r\n").size()) +
      "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">6</TD><TD  CLASS=\"errortext\">"
      "Overflow</TD></TR></TABLE></DIV>\r\n";
  ASSERT_NE(r.bytes.find("</HTML>\r\n"), std::string::npos);
  const std::string page = PageOf(r.bytes);
  EXPECT_TRUE(page.ends_with(withFailure + End())) << page;
  EXPECT_EQ(page.find("CLASS=\"errortext\">152<"), std::string::npos);
}

TEST_F(PageBuilderTest, FormatsTwoOneAndThreeFollowEachOtherWithTheirBlockIds) {
  WriteAct("Test.dbf");
  AddRubric("Kunde", "K", "",
            {{2, "Karte", DataConnection(), "SELECT name AS Name FROM kunden WHERE nr = 'K10001'"},
             {1, "Auftraege", DataConnection(),
              "SHAPE {SELECT nr AS hide_Nr, name AS Name FROM kunden} APPEND ({SELECT nr AS Nr, "
              "kunde AS hide_Kunde FROM auftraege} RELATE hide_Nr TO hide_Kunde) AS A"},
             {3, "Info", "", ""}});
  const std::string page = Page("varnolis://rubrik/Kunde");
  const size_t window = page.find(Window());
  const size_t card = page.find("NAME=\"img_list_0_\"");
  const size_t table = page.find("NAME=\"img_hss_1_\"");
  const size_t info = page.find("CLASS=\"infotitle\"");
  ASSERT_NE(window, std::string::npos);
  EXPECT_LT(window, card);
  EXPECT_LT(card, table);
  EXPECT_LT(table, info);
  ASSERT_NE(info, std::string::npos);
  EXPECT_NE(page.find("ID=\"div_1_0-1\""), std::string::npos);
  EXPECT_EQ(page.find("errortitle"), std::string::npos);
  EXPECT_TRUE(page.ends_with(End()));
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), "ReportProgress 5 Creating Info ..."), 3);
}

TEST_F(PageBuilderTest, PlainSelectHasSpacerRowsAndNoFoldColumnAndEmptyResultIsOnePiece) {
  WriteAct("Test.dbf");
  AddRubric(
      "Kunde", "K", "",
      {{1, "Alle", DataConnection(), "SELECT nr AS Nr, name AS Name, 1234.5 AS Betrag FROM kunden"},
       {0, "Keine", DataConnection(), "SELECT nr AS Nr FROM auftraege WHERE nr < 0"}});
  const std::string page = Page("varnolis://rubrik/Kunde");
  EXPECT_EQ(Count(page, "</TR>\r\n<TR><TD></TD></TR>\r\n"), 2u);
  EXPECT_EQ(Count(page, "plus.gif\" onclick"), 0u) << "no fold cell in a plain table";
  // Every row under the user's regional settings.
  EXPECT_EQ(Count(page, "<TD  CLASS=\"t0\" ALIGN=\"left\">1.234,50</TD>"), 2u);
  EXPECT_NE(page.find("NAME=\"img_hss_1_\""), std::string::npos);
  EXPECT_NE(
      page.find("<P  CLASS=\"title1\">Es sind keine Daten vorhanden.</P></DIV>\r\n\r\n</DIV>"),
      std::string::npos);
  // The first table: header, two rows, an empty piece and the closing; the second one piece.
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), "ReportProgress 5 Creating Table ..."), 6);
}

TEST_F(PageBuilderTest, EntryQueriesPostgresqlThroughOdbc) {
  const char* odbc = std::getenv("VARNOLIS_TEST_PG_ODBC");
  if (odbc == nullptr || *odbc == '\0') GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set";
  WriteAct("Test.dbf");
  // As an administrator writes it: the provider named, so that the table can shape over it.
  const std::string connection = std::string("Provider=MSDASQL;") + odbc;
  AddRubric(
      "Kunde", "K", "",
      {{2, "Aus PostgreSQL", connection, "SELECT '{!kontakt,25}'::text AS Kunde, 6 * 7 AS Antwort"},
       {1, "Reihe", connection, "SELECT g AS Nr FROM generate_series(1, 3) AS g"}});
  const std::string page = Page("varnolis://rubrik/Kunde");
  EXPECT_EQ(page.find("errortitle"), std::string::npos)
      << page.substr(page.find("errortext\">1"), 1500);
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">K10001</TD>"), std::string::npos);
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">42</TD>"), std::string::npos);
  EXPECT_EQ(Count(page, "<TR><TD></TD></TR>"), 3u);
}

// The debug log's lines without their time prefix.
std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 10 && line[8] == ':') lines.push_back(line.substr(10));
  }
  return lines;
}

TEST_F(PageBuilderTest, DebugLogFollowsTheAssemblyStepByStep) {
  folder_->SetDebug("1");
  WriteAct("Test.dbf");
  const std::string query = "SELECT name AS Name FROM kunden WHERE nr = '{!kontakt,25}'";
  AddRubric("Kunde", "K", "", {{2, "Karte", DataConnection(), query}, {3, "Info", "", ""}});
  Page("varnolis://rubrik/Kunde");
  std::vector<std::string> assembly;
  for (const std::string& line : LogLines(program_ + "/debug.log")) {
    if (line.rfind("Read(", 0) != 0 && line.rfind("Read:", 0) != 0 &&
        line.rfind("IInternetProtocol", 0) != 0 && line.rfind("Class_", 0) != 0 &&
        line.rfind("ParseURL", 0) != 0) {
      assembly.push_back(line);
    }
  }
  const std::vector<std::string> expected = {"Kommando:rubrik",
                                             "Parameter:Kunde",
                                             "Verarbeite Kommando:rubrik",
                                             "ACT! Application - Database: Test.dbf",
                                             "Init ACTDataparser",
                                             "Init clHTMLMenu",
                                             "Anzahl daten:2",
                                             "Init clHTMLList (0)",
                                             "SQL:" + query,
                                             "Connection:" + DataConnection(),
                                             "Titel:Karte",
                                             "Ready clHTMLList (0)",
                                             "Init clHTMLInfo (1)"};
  EXPECT_EQ(assembly, expected);

  // A menu that cannot start says so, with its block.
  std::filesystem::remove(program_ + "/debug.log");
  std::filesystem::remove(Config());
  Page("varnolis://rubrik/Kunde");
  const std::vector<std::string> lines = LogLines(program_ + "/debug.log");
  const auto failed =
      std::find(lines.begin(), lines.end(), "HTMLMenu Initialisierung fehlgeschlagen!");
  ASSERT_NE(failed, lines.end());
  ASSERT_NE(failed + 1, lines.end());
  EXPECT_EQ((failed + 1)->rfind("HTMLMenu.ErrDescription<TABLE", 0), 0u);
  EXPECT_EQ((failed + 2)->rfind("WriteError(155,", 0), 0u);
}

// The user moves on to the next contact while the first entry is being built: every entry of
// the page still shows the first contact, the second entry's field included, which no text before
// it names. The next page shows the new contact.
TEST_F(PageBuilderTest, AContactChangedWhileThePageIsBuiltShowsOnTheNextPageOnly) {
  const std::string act = folder_->Root() + "/act.json";
  WriteStandIn(act, R"({"25": "K10001", "3": "Anna Meier"})");
  AddRubric(
      "Kunde", "K", "",
      {{2, "Firma", DataConnection(), "SELECT name AS Name FROM kunden WHERE nr = '{!kontakt,25}'"},
       {2, "Person", DataConnection(), "SELECT '{!kontakt,3}' AS Person"}});
  bool changed = false;
  Response r = Fetch("varnolis://rubrik/Kunde", 4096, [&](const std::vector<std::string>& calls) {
    if (!changed && std::count(calls.begin(), calls.end(), "ReportProgress 5 Creating Table ...")) {
      WriteStandIn(act, R"({"25": "K10002", "3": "Bernd Schulz"})");
      changed = true;
    }
  });
  ASSERT_TRUE(changed);
  const std::string first = PageOf(r.bytes);
  const std::string cell = "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">";
  EXPECT_NE(first.find(cell + "Meier</TD>"), std::string::npos) << first;
  EXPECT_NE(first.find(cell + "Anna Meier</TD>"), std::string::npos) << first;
  EXPECT_EQ(first.find("Schulz"), std::string::npos) << first;
  const std::string next = Page("varnolis://rubrik/Kunde");
  EXPECT_NE(next.find(cell + "Schulz</TD>"), std::string::npos) << next;
  EXPECT_NE(next.find(cell + "Bernd Schulz</TD>"), std::string::npos) << next;
  EXPECT_EQ(next.find("Meier"), std::string::npos) << next;
}

// Nothing of ACT! is kept from one page to the next: ACT! stopped after a page gives 122 on the
// next, byte for byte as when it never ran.
TEST_F(PageBuilderTest, ActStoppedBetweenTwoPagesGives122OnTheSecond) {
  WriteAct("Test.dbf");
  AddRubric(
      "Kunde", "K", "",
      {{2, "S", DataConnection(), "SELECT name AS Name FROM kunden WHERE nr = '{!kontakt,25}'"}});
  EXPECT_NE(Page("varnolis://rubrik/Kunde").find(">Meier</TD>"), std::string::npos);
  std::filesystem::remove(folder_->Root() + "/act.json");
  EXPECT_EQ(Page("varnolis://rubrik/Kunde"), ActNotRunningPage());
}

}  // namespace
}  // namespace vn::test
