// Connections opened to read (as pages open theirs) change nothing, whatever their commands
// say: on SQLite the file is opened read-only, on PostgreSQL the session's transactions are.
#include "data/errors.h"
#include "pg_test_support.h"

namespace vn::data::test {
namespace {

class ReadOnlyConnectionTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/c.db",
                 "CREATE TABLE canary (id INTEGER PRIMARY KEY, note TEXT);"
                 "INSERT INTO canary VALUES (1, 'a'), (2, 'b'), (3, 'c');");
    MakeDatabase("databases/other.db",
                 "CREATE TABLE canary (id INTEGER PRIMARY KEY);"
                 "INSERT INTO canary VALUES (1), (2), (3);");
  }
};

TEST_F(ReadOnlyConnectionTest, SqliteRefusesEveryWriteOfAReadConnection) {
  for (const char* connection : {"Provider=SQLite;Data Source=databases/c.db",
                                 "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/c.db",
                                 "Provider=MSDataShape;Data Provider=SQLite;"
                                 "Data Source=databases/c.db"}) {
    SCOPED_TRACE(connection);
    Connection c;
    c.SetMode(adModeRead);
    c.Open(connection);
    for (const char* hostile :
         {"DELETE FROM canary", "SELECT 6; DELETE FROM canary", "UPDATE canary SET note = 'x'",
          "DROP TABLE canary", "INSERT INTO canary (note) VALUES ('x')"}) {
      Recordset rs;
      EXPECT_THROW(rs.Open(hostile, c), RuntimeError) << hostile;
    }
    // A database attached through the connection is read-only as well.
    Execute(c, "ATTACH DATABASE '" + folder_ + "/databases/other.db' AS other");
    Recordset rs;
    EXPECT_THROW(rs.Open("DELETE FROM other.canary", c), RuntimeError);
    EXPECT_EQ(Scalar(c, "SELECT count(*) FROM canary"), "3");
    EXPECT_EQ(Scalar(c, "SELECT count(*) FROM other.canary"), "3");
  }
  Connection check;
  check.Open("Provider=SQLite;Data Source=databases/c.db");
  EXPECT_EQ(Scalar(check, "SELECT group_concat(note) FROM canary"), "a,b,c");
}

class ReadOnlyPostgresTest : public ReadOnlyConnectionTest {
 protected:
  void SetUp() override {
    VN_SKIP_WITHOUT_POSTGRES();
    ReadOnlyConnectionTest::SetUp();
    writer_.Open(PostgresOdbc());
    Execute(writer_, "DROP TABLE IF EXISTS canary_ro");
    Execute(writer_, "CREATE TABLE canary_ro (id integer, note text)");
    Execute(writer_, "INSERT INTO canary_ro VALUES (1, 'a'), (2, 'b'), (3, 'c')");
  }
  void TearDown() override {
    if (writer_.IsOpen()) Execute(writer_, "DROP TABLE IF EXISTS canary_ro");
    ReadOnlyConnectionTest::TearDown();
  }
  Connection writer_;
};

TEST_F(ReadOnlyPostgresTest, ARowOfTheCanaryOutlivesEveryHostileCommand) {
  for (const std::string& connection :
       {PostgresOdbc(), "Provider=MSDASQL;" + PostgresOdbc(),
        "Provider=MSDataShape;Data Provider=MSDASQL;" + PostgresOdbc()}) {
    Connection c;
    c.SetMode(adModeRead);
    c.Open(connection);
    EXPECT_EQ(Scalar(c, "SHOW transaction_read_only"), "on");
    for (const char* hostile :
         {"DELETE FROM canary_ro", "SELECT * FROM canary_ro WHERE id = 6; DELETE FROM canary_ro",
          "SELECT 6; DELETE FROM canary_ro", "UPDATE canary_ro SET note = 'x'",
          "WITH gone AS (DELETE FROM canary_ro RETURNING id) SELECT count(*) FROM gone"}) {
      Recordset rs;
      try {
        rs.Open(hostile, c);
      } catch (const RuntimeError&) {
        // Refused by the server: what matters is the canary below.
      }
      EXPECT_EQ(Scalar(writer_, "SELECT count(*) FROM canary_ro WHERE note IN ('a', 'b', 'c')"),
                "3")
          << hostile;
    }
    EXPECT_EQ(Scalar(c, "SELECT string_agg(note, ',' ORDER BY id) FROM canary_ro"), "a,b,c");
  }
  // A connection opened without a mode still writes (the configuration program needs it).
  EXPECT_EQ(Scalar(writer_, "SHOW transaction_read_only"), "off");
  Execute(writer_, "DELETE FROM canary_ro WHERE id = 3");
  EXPECT_EQ(Scalar(writer_, "SELECT count(*) FROM canary_ro"), "2");
}

TEST_F(ReadOnlyPostgresTest, SqliteThroughItsOdbcDriverChangesNothingEither) {
  Connection c;
  c.SetMode(adModeRead);
  c.Open("Driver={SQLite3};Database=" + folder_ + "/databases/c.db");
  Recordset rs;
  try {
    rs.Open("DELETE FROM canary", c);
  } catch (const RuntimeError&) {
    // Refused by the driver: the rows below are what the test is about.
  }
  Connection check;
  check.Open("Provider=SQLite;Data Source=databases/c.db");
  EXPECT_EQ(Scalar(check, "SELECT count(*) FROM canary"), "3");
}

}  // namespace
}  // namespace vn::data::test
