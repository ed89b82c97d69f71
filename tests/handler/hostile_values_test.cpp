// Values that try to become SQL or markup. Contact values that a rubric page's entry puts
// outside a quoted literal, over a data database with a table that must stay untouched; and
// database and ACT! values on a whole page, each with the page's exact bytes (Windows-1252).
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "data/connection.h"
#include "data/recordset.h"
#include "platform/codepage.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

// A program folder of the test's own with the library loaded from it, a configuration database
// with the shipped schema and formats, and a data database `data_` with customers, a canary
// table that must stay untouched and the hostile values; the page of rubric "Kunde".
class HostileValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->CopyProgramFolder();
    library_ = std::make_unique<Library>(program_);
    data_ = folder_->Root() + "/kunden.db";
    CreateConfig(Config());
    ExecSql(data_,
            "CREATE TABLE kunden (nr INTEGER, name TEXT);"
            "INSERT INTO kunden VALUES (6, 'Meier'), (7, 'Schulz');"
            "CREATE TABLE canary (x INTEGER); INSERT INTO canary VALUES (1), (2), (3);"
            "CREATE TABLE werte (nr INTEGER, wert TEXT);"
            "INSERT INTO werte VALUES (1, '<script>'), (2, '\"><img src=x onerror=alert(1)>'), "
            "(3, '&amp;'), (4, 'O''Neil'), (5, '%s'), (6, 'Müller € ß');"
            "CREATE TABLE namen (nr TEXT, name TEXT);"
            "INSERT INTO namen VALUES ('K1', 'Meier'), ('K2', 'O''Neil & Co');");
  }
  void TearDown() override {
    pg_.reset();
    library_.reset();
    folder_.reset();
  }

  std::string Config() const { return program_ + "/databases/config.mdb"; }

  // The CI's PostgreSQL through ODBC (VARNOLIS_TEST_PG_ODBC), opened for RunOnPostgres; "" when
  // there is none.
  std::string PostgresConnection() {
    const char* odbc = std::getenv("VARNOLIS_TEST_PG_ODBC");
    if (odbc == nullptr || *odbc == '\0') return {};
    const std::string connection = std::string("Provider=MSDASQL;") + odbc;
    pg_ = std::make_unique<data::Connection>();
    pg_->Open(connection);
    return connection;
  }
  void RunOnPostgres(const std::string& sql) {
    data::Recordset rs;
    rs.Open(sql, *pg_);
  }

  // "" when the table is gone.
  std::string Count(const std::string& table) const {
    return SqliteScalar(data_, "SELECT count(*) FROM " + table);
  }

  // A rubric "Kunde" with a card by the quoted field, then one by the field outside quotes.
  void AddRubric(const std::string& unquotedQuery) { AddRubric(DataConnection(), unquotedQuery); }
  void AddRubric(const std::string& connection, const std::string& unquotedQuery) {
    test::AddRubric(Config(), {1, "Kunde", "Kunde", "K", ""},
                    {{2, "Zitiert", connection,
                      "SELECT name AS Name FROM kunden WHERE CAST(nr AS TEXT) = '{!kontakt,25}'"},
                     {2, "Offen", connection, unquotedQuery}});
  }

  void WriteContact(const std::string& field25) const {
    WriteStandIn(folder_->Root() + "/act.json", "{\"25\": \"" + field25 + "\"}");
  }

  // The page's end: the handler's 152 block around the card's 160 block around the parser's
  // 174 block for `command`, then the page end. A block inside another ends without its
  // line break.
  std::string RefusedEnd(const std::string& command) const {
    std::string parser = ExpectedErrorBlockOf(
        program_, "clACTDataParser", 174,
        Utf8ToCp1252("Das ACT!-Quellenkommando '" + command +
                         "' steht in der SQL-Abfrage außerhalb von Anführungszeichen; erwartet "
                         "wurde eine Zahl.",
                     Unmappable::kCharacterReference),
        true);
    parser.resize(parser.size() - 2);
    std::string card = ExpectedErrorBlockOf(
        program_, "clHTMLList", 160, "Fehler beim Einbinden von ACT!-Daten.<br>" + parser, true);
    card.resize(card.size() - 2);
    return ExpectedErrorBlockOf(program_, "clProtocolHandler", 152,
                                "Die Tabelle kann nicht erstellt werden.<br>" + card, true) +
           "</DIV>\r\n" + ExpectedEnd();
  }

  // The contact of the value tests: the issue's name with an apostrophe and markup, a value that
  // tries to end an attribute, a placeholder with characters of the code page's upper half, and
  // a customer name with an apostrophe.
  void WriteHostileContact() const {
    WriteStandIn(folder_->Root() + "/act.json",
                 R"({"25": "O'Neil & Co", "57": "O'Neil <b>bold</b> & Co",
                     "58": "\"><img src=x onerror=alert(1)>", "59": "100%s Müller € ß"})");
  }

  std::string DataConnection() const { return "Provider=SQLite;Data Source=" + data_; }

  // Rubric "Kunde" with the administrator's markup around ACT! values in its menu text, title
  // and remark, and the entries (format, title, query) in this order.
  void AddValuesRubric(const std::vector<std::tuple<int, std::string, std::string>>& entries,
                       const std::string& connection = "") {
    std::vector<ConfigEntry> withConnection;
    for (const auto& [format, title, query] : entries) {
      withConnection.push_back(
          {format, title, connection.empty() ? DataConnection() : connection, query});
    }
    test::AddRubric(Config(),
                    {1, "Kunde", "<b>Kunde</b> {!kontakt, 57}", "Titel {!kontakt, 58}",
                     "<i>{!kontakt, 59}</i>"},
                    withConnection);
  }

  // The menu of the one rubric and its heading, as the page holds them.
  std::string MenuAndHeading() const {
    return "\r\n<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><TR>"
           "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n"
           "<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb1\" "
           "onClick=\"location.href='varnolis://rubrik/Kunde'\"><SPAN  CLASS=\"mt1\">"
           "<b>Kunde</b> O&#39;Neil &lt;b&gt;bold&lt;/b&gt; &amp; Co</SPAN></TD>\r\n"
           "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n</TR>\r\n</TABLE>\r\n"
           "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
           "<TD  COLSPAN=\"3\" CLASS=\"mb2\"><IMG  WIDTH=\"1\" HEIGHT=\"8\" ALT=\"\"></TD>\r\n"
           "</TR>\r\n</TABLE>\r\n\r\n"
           "<P  CLASS=\"title1\">Titel &quot;&gt;&lt;img src=x onerror=alert(1)&gt;<BR>"
           "<SPAN  CLASS=\"title2\"><i>100%s M\xFCller \x80 \xDF</i></SPAN></P>\r\n"
           "<DIV  ID=\"divfenster\" CLASS=\"divwindow\">\r\n";
  }

  // A card's title bar with block id `id` and title `title`, and the start of its body.
  std::string CardStart(const std::string& id, const std::string& title) const {
    const std::string r = program_ + "/ResourceHTML/";
    return "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" + r +
           "clhtmllist.vbs\"></SCRIPT>\r\n"
           "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
           "<TR  CLASS=\"htmllisttitle\"><TD><IMG  NAME=\"img_list_" +
           id + "\" SRC=\"" + r + "minus.gif\" onclick=\"DisplayItem 'img_list_" + id +
           "','div_list_" + id + "'\" onmouseover=\"Point 'img_list_" + id +
           "'\" onmouseout=\"DontPoint 'img_list_" + id +
           "'\" WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;" + title +
           "</TD></TR></TABLE>\r\n"
           "\r\n<DIV  ID=\"div_list_" +
           id +
           "\" STYLE=\"\">\r\n"
           "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
           "<TR  VALIGN=\"top\">";
  }

  std::string Page() {
    Response r = Get(*library_, "varnolis://rubrik/Kunde");
    EXPECT_EQ(r.start, S_OK);
    return PageOf(r.bytes);
  }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
  std::string data_;
  std::unique_ptr<data::Connection> pg_;
};

TEST_F(HostileValuesTest, AStatementInTheValueIsRefusedAndNothingIsDeleted) {
  WriteContact("6; DELETE FROM canary");
  AddRubric("SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}");
  const std::string page = Page();
  // The quoted entry before it is built as always: no customer has that number.
  EXPECT_NE(page.find("Zitiert"), std::string::npos);
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">&nbsp;</TD>"), std::string::npos);
  EXPECT_TRUE(page.ends_with("</TR></TABLE></DIV>\r\n\r\n" + RefusedEnd("kontakt,25"))) << page;
  EXPECT_EQ(Count("canary"), "3");
}

TEST_F(HostileValuesTest, AConditionInTheValueShowsNoExtraRow) {
  WriteContact("0 OR 1=1");
  AddRubric("SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}");
  const std::string page = Page();
  EXPECT_EQ(page.find("Meier"), std::string::npos);
  EXPECT_EQ(page.find("Schulz"), std::string::npos);
  EXPECT_TRUE(page.ends_with(RefusedEnd("kontakt,25")));
}

TEST_F(HostileValuesTest, ANumberOutsideQuotesSelectsItsRow) {
  WriteContact("7");
  AddRubric("SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}");
  const std::string page = Page();
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">Schulz</TD>"), std::string::npos);
  EXPECT_EQ(page.find("errortitle"), std::string::npos);
}

TEST_F(HostileValuesTest, PostgresqlRunsNoStatementFromTheValue) {
  const std::string connection = PostgresConnection();
  if (connection.empty()) GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set";
  for (const char* sql :
       {"DROP TABLE IF EXISTS kunden", "DROP TABLE IF EXISTS canary",
        "CREATE TABLE kunden (nr integer, name text)",
        "INSERT INTO kunden VALUES (6, 'Meier'), (7, 'Schulz')", "CREATE TABLE canary (x integer)",
        "INSERT INTO canary VALUES (1), (2), (3)"}) {
    RunOnPostgres(sql);
  }
  WriteContact("6; DELETE FROM canary");
  AddRubric(connection, "SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}");
  EXPECT_TRUE(Page().ends_with(RefusedEnd("kontakt,25")));
  WriteContact("0 OR 1=1");
  EXPECT_TRUE(Page().ends_with(RefusedEnd("kontakt,25")));
  data::Recordset count;
  count.Open("SELECT count(*) AS n FROM canary", *pg_);
  EXPECT_EQ(count.Fields("n").Value(), data::Variant(std::int64_t{3}));
  RunOnPostgres("DROP TABLE kunden");
  RunOnPostgres("DROP TABLE canary");
}

// ---- values as page text -------------------------------------------------------------------

// A layout column of a card with its caption/value pairs.
std::string CardColumn(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string s =
      "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
      "WIDTH=\"100%\">";
  for (const auto& [caption, value] : entries) {
    s += "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">" + caption +
         "</TD><TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">" + value + "</TD></TR>";
  }
  return s + "</TABLE></TD>";
}

TEST_F(HostileValuesTest, HostileValuesAreTextInTheMenuTheHeadingTheCardAndTheTable) {
  WriteHostileContact();
  AddValuesRubric(
      {{2, "Kunde <i>K</i>",
        "SELECT name AS Name, '<a href=\"k.htm?nr=' || nr || '\">' || nr || '</a>' AS "
        "html_Link FROM namen WHERE name = '{!kontakt, 25}'"},
       {2, "Werte",
        "SELECT (SELECT wert FROM werte WHERE nr = 1) AS A, (SELECT wert FROM werte WHERE "
        "nr = 2) AS B, (SELECT wert FROM werte WHERE nr = 3) AS C, (SELECT wert FROM werte "
        "WHERE nr = 4) AS D, (SELECT wert FROM werte WHERE nr = 5) AS E, (SELECT wert FROM "
        "werte WHERE nr = 6) AS F"},
       {1, "Tabelle",
        "SHAPE {SELECT 1 AS hide_K, wert AS Wert FROM werte WHERE nr = 1} APPEND ({SELECT 1 "
        "AS hide_K, wert AS [html_hide_X], wert AS Wert FROM werte ORDER BY nr} RELATE "
        "hide_K TO hide_K) AS Kinder"}});
  const std::string r = program_ + "/ResourceHTML/";
  const auto childRow = [](const std::string& text) {
    return "<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">" + text +
           "</TD></TR>\r\n<TR><TD></TD></TR>\r\n\r\n";
  };
  const std::string expected =
      ExpectedHead(program_) + MenuAndHeading() +
      // The customer whose name holds an apostrophe is found; its link is markup by name.
      CardStart("0_", "Kunde <i>K</i>") + CardColumn({{"Name", "O&#39;Neil &amp; Co"}}) +
      CardColumn({{"Link", "<a href=\"k.htm?nr=K2\">K2</a>"}}) + CardColumn({}) +
      "</TR></TABLE></DIV>\r\n\r\n" +
      // Every hostile value as text.
      CardStart("1_", "Werte") +
      CardColumn({{"A", "&lt;script&gt;"}, {"B", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"}}) +
      CardColumn({{"C", "&amp;amp;"}, {"D", "O&#39;Neil"}}) +
      CardColumn({{"E", "%s"}, {"F", "M\xFCller \x80 \xDF"}}) + "</TR></TABLE></DIV>\r\n\r\n" +
      // The same in a table: the parent row and the rows of its chapter.
      "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" + r +
      "clhierachicalspreadsheet.vbs\"></SCRIPT>\r\n"
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"title0\"><TD><IMG  NAME=\"img_hss_2_\" SRC=\"" +
      r +
      "minus.gif\" onclick=\"DisplayItem 'img_hss_2_','div_hss_2_'\" "
      "onmouseover=\"Point 'img_hss_2_'\" onmouseout=\"DontPoint 'img_hss_2_'\" WIDTH=\"11\" "
      "HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;Tabelle</TD></TR></TABLE>\r\n"
      "<DIV  ID=\"div_hss_2_\" STYLE=\"\">\r\n\r\n"
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"u0\"><TD  WIDTH=\"14\">&nbsp;</TD>"
      "<TD  CLASS=\"u0\" ALIGN=\"left\">Wert</TD></TR>\r\n"
      "<TR  CLASS=\"t0\"><TD  WIDTH=\"14\"><IMG  NAME=\"img_2_0-1\" SRC=\"" +
      r +
      "plus.gif\" onclick=\"DisplayItem 'img_2_0-1','div_2_0-1'\" "
      "onmouseover=\"Point 'img_2_0-1'\" onmouseout=\"DontPoint 'img_2_0-1'\" WIDTH=\"11\" "
      "HEIGHT=\"11\"></TD><TD  CLASS=\"t0\" ALIGN=\"left\">&lt;script&gt;</TD></TR>\r\n\r\n"
      "<TR><TD  COLSPAN=\"2\" ALIGN=\"center\" VALIGN=\"top\">\r\n"
      "<DIV  ID=\"div_2_0-1\" STYLE=\"display:none\">\r\n"
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
      "<TD  WIDTH=\"16\">&nbsp;</TD><TD>\r\n"
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"u1\"><TD  CLASS=\"u1\" ALIGN=\"left\">Wert</TD></TR>\r\n" +
      childRow("&lt;script&gt;") + childRow("&quot;&gt;&lt;img src=x onerror=alert(1)&gt;") +
      childRow("&amp;amp;") + childRow("O&#39;Neil") + childRow("%s") +
      childRow("M\xFCller \x80 \xDF") +
      "\r\n"
      "\r\n</TABLE>\r\n</TD></TABLE></DIV>\r\n</TD></TR>\r\n"
      "\r\n"
      "\r\n</TABLE>\r\n</DIV>\r\n\r\n"
      "</DIV>\r\n" +
      ExpectedEnd();
  EXPECT_EQ(Page(), expected);
}

// A query that fails shows itself as written, its "%s" untouched, in the entry's error block.
TEST_F(HostileValuesTest, TheErrorBlockShowsAFailingQueryAsWritten) {
  WriteHostileContact();
  AddValuesRubric(
      {{2, "Suche", "SELECT name FROM nirgends WHERE name LIKE '%suche%' OR name = '%s'"}});
  std::string card = ExpectedErrorBlockOf(
      program_, "clHTMLList", 102,
      "Es konnten keine Daten von der Datenbank abgefragt werden.<br>SQL-String: SELECT name "
      "FROM nirgends WHERE name LIKE &#39;%suche%&#39; OR name = &#39;%s&#39;",
      true);
  card.resize(card.size() - 2);
  const std::string page = Page();
  EXPECT_TRUE(page.ends_with(
      MenuAndHeading() +
      ExpectedErrorBlockOf(program_, "clProtocolHandler", 152,
                           "Die Tabelle kann nicht erstellt werden.<br>" + card, true) +
      "</DIV>\r\n" + ExpectedEnd()))
      << page;
}

// A contact name with an apostrophe finds its customer inside '...' and, on Jet, inside "...",
// where its apostrophe stays single and a double quote would be doubled.
TEST_F(HostileValuesTest, AnApostropheInTheContactsNameFindsTheCustomer) {
  WriteHostileContact();
  AddValuesRubric({{2, "Zitiert", "SELECT nr AS Nr FROM namen WHERE name = '{!kontakt, 25}'"},
                   {2, "Jet", "SELECT nr AS Nr FROM namen WHERE name = \"{!kontakt, 25}\""}},
                  "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + data_);
  const std::string page = Page();
  EXPECT_EQ(test::Count(page, "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">K2</TD>"), 2u) << page;
  EXPECT_EQ(page.find("errortitle"), std::string::npos) << page;
}

TEST_F(HostileValuesTest, AnApostropheInTheContactsNameFindsTheCustomerOnPostgresql) {
  const std::string connection = PostgresConnection();
  if (connection.empty()) GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set";
  RunOnPostgres("DROP TABLE IF EXISTS namen");
  RunOnPostgres("CREATE TABLE namen (nr text, name text)");
  RunOnPostgres("INSERT INTO namen VALUES ('K1', 'Meier'), ('K2', 'O''Neil & Co')");
  WriteHostileContact();
  AddValuesRubric({{2, "Zitiert", "SELECT nr AS Nr FROM namen WHERE name = '{!kontakt, 25}'"}},
                  connection);
  const std::string page = Page();
  EXPECT_NE(page.find("<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">K2</TD>"), std::string::npos)
      << page;
  EXPECT_EQ(page.find("errortitle"), std::string::npos) << page;
  RunOnPostgres("DROP TABLE namen");
}

}  // namespace
}  // namespace vn::test
