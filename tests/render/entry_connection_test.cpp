// The connection a page opens for a data entry only reads: a command that would change the
// data source (the administrator's own, or one a contact's field smuggled in) changes nothing.
#include <cstdlib>

#include "data/recordset.h"
#include "page_fixture.h"
#include "render/entry_source.h"

namespace vn::testing {
namespace {

class EntryConnectionTest : public PageFixture {
 protected:
  // Runs each hostile command on the entry's connection to `connection`; refusals are expected.
  static void RunHostile(const std::string& connection) {
    clHTMLError error;
    error.Init("clHTMLList", "");
    auto db = OpenEntryConnection(error, connection);
    ASSERT_NE(db, nullptr) << error.Description();
    for (const char* hostile :
         {"DELETE FROM canary_page", "SELECT 6; DELETE FROM canary_page",
          "SELECT * FROM canary_page WHERE id = 6; DELETE FROM canary_page"}) {
      try {
        data::Recordset rs;
        rs.Open(hostile, *db);
      } catch (const RuntimeError&) {
        // Refused: the rows of the canary_page below are what the test is about.
      }
    }
  }
};

TEST_F(EntryConnectionTest, SqliteEntryCannotDeleteRows) {
  Exec(DataDatabase(),
       "CREATE TABLE canary_page (id INTEGER, note TEXT);"
       "INSERT INTO canary_page VALUES (1, 'a'), (2, 'b'), (3, 'c');");
  RunHostile(DataConnection());
  RunHostile("Provider=MSDataShape;Data Provider=SQLite;Data Source=" + DataDatabase());
  data::Connection check;
  check.Open(DataConnection());
  data::Recordset rs;
  rs.Open("SELECT count(*) FROM canary_page", check);
  EXPECT_EQ(rs.Fields(0).Value().DebugText(), "3");
}

TEST_F(EntryConnectionTest, PostgresEntryCannotDeleteRows) {
  const char* pg = std::getenv("VARNOLIS_TEST_PG_ODBC");
  if (pg == nullptr || *pg == '\0') GTEST_SKIP() << "no PostgreSQL (source .ci/postgres.sh)";
  data::Connection writer;
  writer.Open(pg);
  auto run = [&](const char* sql) {
    data::Recordset rs;
    rs.Open(sql, writer);
  };
  run("DROP TABLE IF EXISTS canary_page");
  run("CREATE TABLE canary_page (id integer, note text)");
  run("INSERT INTO canary_page VALUES (1, 'a'), (2, 'b'), (3, 'c')");
  RunHostile(pg);
  data::Recordset rs;
  rs.Open("SELECT count(*) FROM canary_page", writer);
  EXPECT_EQ(rs.Fields(0).Value().DebugText(), "3");
  rs.Close();
  run("DROP TABLE canary_page");
}

}  // namespace
}  // namespace vn::testing
