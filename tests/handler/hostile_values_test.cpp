// Contact values that try to become SQL: a rubric page whose entry puts an ACT! value outside
// a quoted literal, over a data database with a table that must stay untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "data/connection.h"
#include "data/recordset.h"
#include "platform/codepage.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

class HostileValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->CopyProgramFolder();
    library_ = std::make_unique<Library>(program_);
    data_ = folder_->Root() + "/kunden.db";
    Exec(data_,
         "CREATE TABLE kunden (nr INTEGER, name TEXT);"
         "INSERT INTO kunden VALUES (6, 'Meier'), (7, 'Schulz');"
         "CREATE TABLE canary (x INTEGER); INSERT INTO canary VALUES (1), (2), (3);");
    std::filesystem::create_directories(program_ + "/databases");
    for (const char* script : {"/databases/schema.sql", "/databases/formate.sql"}) {
      std::ifstream in(std::string(VARNOLIS_SOURCE_DIR) + script, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      Exec(Config(), text.str());
    }
  }
  void TearDown() override {
    library_.reset();
    folder_.reset();
  }

  static void Exec(const std::string& database, const std::string& sql) { ExecSql(database, sql); }
  std::string Count(const std::string& table) const {
    sqlite3* db = nullptr;
    sqlite3_open(data_.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + table).c_str(), -1, &statement, nullptr);
    std::string count = sqlite3_step(statement) == SQLITE_ROW
                            ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                            : "none";
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
  }

  std::string Config() const { return program_ + "/databases/config.mdb"; }

  // A rubric "Kunde" with a card by the quoted field, then one by the field outside quotes.
  void AddRubric(const std::string& unquotedQuery) {
    AddRubric("Provider=SQLite;Data Source=" + data_, unquotedQuery);
  }
  void AddRubric(const std::string& connection, const std::string& unquotedQuery) {
    auto entry = [&](const char* title, const std::string& query) {
      return std::string("INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES ('") +
             title + "', 2, '" + connection + "', '" + query +
             "'); INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) "
             "VALUES (1, last_insert_rowid(), (SELECT count(*) FROM Zuordnungen) + 1);";
    };
    Exec(Config(),
         "INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) "
         "VALUES (1, 'Kunde', 'Kunde', 'K', '');" +
             entry("Zitiert",
                   "SELECT name AS Name FROM kunden WHERE CAST(nr AS TEXT) = ''{!kontakt,25}''") +
             entry("Offen", unquotedQuery));
  }

  void WriteContact(const std::string& field25) const {
    WriteFile(folder_->Root() + "/act.json",
              "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
              "\"visible\": true}], \"database\": \"Test.dbf\", \"activeView\": 1, "
              "\"contact\": {\"25\": \"" +
                  field25 + "\"}}");
  }

  std::string Page() {
    Response r = Get(*library_, "varnolis://rubrik/Kunde");
    EXPECT_EQ(r.start, S_OK);
    const size_t end = r.bytes.find("</HTML>\r\n");
    return end == std::string::npos ? r.bytes : r.bytes.substr(0, end + 9);
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

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
  std::string data_;
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
  const char* odbc = std::getenv("VARNOLIS_TEST_PG_ODBC");
  if (odbc == nullptr || *odbc == '\0') GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set";
  const std::string connection = std::string("Provider=MSDASQL;") + odbc;
  data::Connection pg;
  pg.Open(connection);
  auto run = [&](const std::string& sql) {
    data::Recordset rs;
    rs.Open(sql, pg);
  };
  for (const char* sql :
       {"DROP TABLE IF EXISTS kunden", "DROP TABLE IF EXISTS canary",
        "CREATE TABLE kunden (nr integer, name text)",
        "INSERT INTO kunden VALUES (6, 'Meier'), (7, 'Schulz')", "CREATE TABLE canary (x integer)",
        "INSERT INTO canary VALUES (1), (2), (3)"}) {
    run(sql);
  }
  WriteContact("6; DELETE FROM canary");
  AddRubric(connection, "SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}");
  EXPECT_TRUE(Page().ends_with(RefusedEnd("kontakt,25")));
  WriteContact("0 OR 1=1");
  EXPECT_TRUE(Page().ends_with(RefusedEnd("kontakt,25")));
  data::Recordset count;
  count.Open("SELECT count(*) AS n FROM canary", pg);
  EXPECT_EQ(count.Fields("n").Value(), data::Variant(std::int64_t{3}));
  run("DROP TABLE kunden");
  run("DROP TABLE canary");
}

}  // namespace
}  // namespace vn::test
