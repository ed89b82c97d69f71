// The ODBC provider against a real PostgreSQL server (started by .ci/postgres.sh, which
// exports VARNOLIS_TEST_PG_ODBC and a private ODBCSYSINI); skipped without one.
#include <dirent.h>

#include <set>

#include "data/errors.h"
#include "data/field.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

std::set<std::string> TmpDriverLogs() {
  std::set<std::string> names;
  if (DIR* dir = opendir("/tmp")) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.rfind("psqlodbc", 0) == 0 || name.rfind("mylog", 0) == 0) names.insert(name);
    }
    closedir(dir);
  }
  return names;
}

class OdbcProviderTest : public DataTest {
 protected:
  void SetUp() override {
    const char* pg = std::getenv("VARNOLIS_TEST_PG_ODBC");
    if (pg == nullptr || *pg == '\0') {
      GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set: start a server with "
                      "'source .ci/postgres.sh' to run the PostgreSQL tests";
    }
    pg_ = pg;
    logsBefore_ = TmpDriverLogs();
    DataTest::SetUp();
  }
  void TearDown() override {
    if (pg_.empty()) return;
    DataTest::TearDown();
    EXPECT_EQ(TmpDriverLogs(), logsBefore_) << "the ODBC driver left log files in /tmp";
  }

  void Execute(Connection& c, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, c);
  }

  std::string pg_;
  std::set<std::string> logsBefore_;
};

TEST_F(OdbcProviderTest, CommonTypesNullsAndUmlauts) {
  Connection c;
  c.Open("Provider=MSDASQL;" + pg_);
  Execute(c, "DROP TABLE IF EXISTS vn_types");
  Execute(c,
          "CREATE TABLE vn_types (id integer, s smallint, b bigint, n numeric(14,4), r real, "
          "d double precision, m money, t text, v varchar(20), c char(4), dt date, "
          "ts timestamp, tm time, bo boolean)");
  Execute(c,
          "INSERT INTO vn_types VALUES (1, -2, 9000000000, 12345678.1234, 1.5, 0.1, 1234.56, "
          "'Grüße aus Köln – €', 'Übersicht', 'ab', '2024-02-29', '2024-02-29 13:45:30.5', "
          "'07:08:09', true), (2, NULL, NULL, NULL, NULL, NULL, -5.25, NULL, NULL, NULL, NULL, "
          "NULL, NULL, false), (3, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
          "NULL, NULL, NULL)");
  Recordset rs;
  rs.Open("SELECT * FROM vn_types ORDER BY id", c, adOpenForwardOnly, adLockReadOnly, -1);
  ASSERT_EQ(rs.FieldCount(), 14);
  const int types[] = {adInteger, adSmallInt,    adBigInt,       adNumeric,  adSingle,
                       adDouble,  adCurrency,    adLongVarWChar, adVarWChar, adWChar,
                       adDBDate,  adDBTimeStamp, adDBTime,       adBoolean};
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(rs.Fields(i).Type(), types[i]) << rs.Fields(i).Name();
  }
  EXPECT_EQ(rs.Fields("s").Value(), Variant(std::int64_t{-2}));
  EXPECT_EQ(rs.Fields("b").Value(), Variant(std::int64_t{9000000000}));
  EXPECT_EQ(rs.Fields("n").Value(), Variant(Decimal{"12345678.1234"}));
  EXPECT_EQ(rs.Fields("r").Value(), Variant(1.5));
  EXPECT_EQ(rs.Fields("d").Value(), Variant(0.1));
  EXPECT_EQ(rs.Fields("m").Value(), Variant(Currency{12345600}));
  EXPECT_EQ(rs.Fields("t").Value(), Variant("Grüße aus Köln – €"));
  EXPECT_EQ(rs.Fields("v").Value(), Variant("Übersicht"));
  EXPECT_EQ(rs.Fields("c").Value(), Variant("ab  "));
  EXPECT_EQ(rs.Fields("dt").Value().DebugText(), "2024-02-29 00:00:00");
  EXPECT_EQ(rs.Fields("ts").Value(),
            Variant(Date{45351.0 + (13 * 3600 + 45 * 60 + 30.5) / 86400.0}));
  EXPECT_EQ(rs.Fields("tm").Value().DebugText(), "1899-12-30 07:08:09");
  EXPECT_EQ(rs.Fields("bo").Value(), Variant(true));
  rs.MoveNext();
  for (const char* name : {"s", "b", "n", "r", "d", "t", "v", "c", "dt", "ts", "tm"}) {
    EXPECT_TRUE(rs.Fields(name).Value().IsNull()) << name;
  }
  EXPECT_EQ(rs.Fields("m").Value(), Variant(Currency{-52500}));
  EXPECT_EQ(rs.Fields("bo").Value(), Variant(false));
  rs.MoveNext();
  EXPECT_TRUE(rs.Fields("m").Value().IsNull());
  EXPECT_TRUE(rs.Fields("bo").Value().IsNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());

  Recordset filtered;
  filtered.Open("SELECT id FROM vn_types WHERE v = 'Übersicht'", c);
  EXPECT_EQ(Dump(filtered), "1");
  Execute(c, "DROP TABLE vn_types");
}

// The driver's types for dates and times with a zone, intervals, UUIDs and serial columns, as the
// result describes them (without the driver's catalog look-up).
TEST_F(OdbcProviderTest, TimesWithZonesIntervalsAndSerialsKeepTheirTypes) {
  Connection c;
  c.Open("Provider=MSDASQL;" + pg_);
  Execute(c, "DROP TABLE IF EXISTS vn_more_types");
  Execute(c,
          "CREATE TABLE vn_more_types (id serial, tz timestamptz, ttz timetz, iv interval, "
          "u uuid)");
  Execute(c,
          "INSERT INTO vn_more_types (tz, ttz, iv, u) VALUES ('2024-02-29 13:45:30+00', "
          "'07:08:09+00', '1 day 02:00:00', 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11')");
  Recordset rs;
  rs.Open("SELECT id, tz, ttz, iv, u, current_date AS today FROM vn_more_types", c,
          adOpenForwardOnly, adLockReadOnly, -1);
  ASSERT_EQ(rs.FieldCount(), 6);
  // The driver knows no time of day with a zone: it hands it over as text.
  const int types[] = {adInteger, adDBTimeStamp, adVarWChar, adVarWChar, adGUID, adDBDate};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(rs.Fields(i).Type(), types[i]) << rs.Fields(i).Name();
  }
  EXPECT_EQ(rs.Fields("id").Value(), Variant(std::int64_t{1}));
  EXPECT_EQ(rs.Fields("ttz").Value(), Variant("07:08:09+00"));
  EXPECT_EQ(rs.Fields("iv").Value(), Variant("1 day 02:00:00"));
  Execute(c, "DROP TABLE vn_more_types");
}

TEST_F(OdbcProviderTest, ThreeLevelShapeGivesTheSameTreeAsOnSqlite) {
  const std::string ddl[] = {
      "CREATE TABLE vn_kunde (nr INTEGER, name VARCHAR(40))",
      "INSERT INTO vn_kunde VALUES (1, 'Anna'), (2, 'Bernd'), (3, 'Cäcilie')",
      "CREATE TABLE vn_auftrag (id INTEGER, kunde_nr VARCHAR(10), summe DOUBLE PRECISION)",
      "INSERT INTO vn_auftrag VALUES (10, '1', 5.5), (11, '2', 7), (12, '1', 0.25), (13, '9', 1)",
      "CREATE TABLE vn_posten (auftrag_id INTEGER, pos INTEGER, artikel VARCHAR(40))",
      "INSERT INTO vn_posten VALUES (12, 1, 'Öl'), (10, 1, 'Tür'), (10, 2, 'Schloß'), (11, 1, "
      "'Rad')",
  };
  Connection pg;
  pg.Open("Provider=MSDataShape;Data Provider=MSDASQL;" + pg_);
  for (const char* table : {"vn_kunde", "vn_auftrag", "vn_posten"}) {
    Execute(pg, std::string("DROP TABLE IF EXISTS ") + table);
  }
  std::string sqliteScript;
  for (const std::string& statement : ddl) {
    Execute(pg, statement);
    sqliteScript += statement + ";";
  }
  MakeDatabase("databases/shop.db", sqliteScript);
  Connection lite;
  lite.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/shop.db");

  const std::string shape =
      "SHAPE {SELECT nr, name FROM vn_kunde ORDER BY nr}  AS k APPEND ((SHAPE {SELECT id, "
      "kunde_nr AS hide_nr, summe FROM vn_auftrag ORDER BY id}  AS a APPEND ({SELECT auftrag_id, "
      "artikel FROM vn_posten ORDER BY auftrag_id, pos}  AS p RELATE id TO auftrag_id) AS "
      "Posten) RELATE nr TO hide_nr) AS Auftraege";
  Recordset fromPg, fromLite;
  fromPg.Open(shape, pg);
  fromLite.Open(shape, lite);
  const std::string tree =
      "1|Anna|{10|1|5.5|{10|Tür;10|Schloß};12|1|0.25|{12|Öl}};2|Bernd|{11|2|7|{11|Rad}};"
      "3|Cäcilie|{}";
  EXPECT_EQ(Dump(fromPg), tree);
  EXPECT_EQ(Dump(fromLite), tree);
  for (const char* table : {"vn_kunde", "vn_auftrag", "vn_posten"}) {
    Execute(pg, std::string("DROP TABLE ") + table);
  }
}

TEST_F(OdbcProviderTest, FailuresCarryTheDriversDescription) {
  Connection bad;
  const char* wrong = std::getenv("VARNOLIS_TEST_PG_BAD_ODBC");
  ASSERT_NE(wrong, nullptr);
  RuntimeError e = ErrorOf([&] { bad.Open(wrong); });
  EXPECT_EQ(e.Number(), kErrProviderFailed);
  EXPECT_NE(e.Description().find("password authentication failed"), std::string::npos)
      << e.Description();
  EXPECT_FALSE(bad.IsOpen());

  e = ErrorOf([&] { bad.Open("Driver={No Such Driver};Server=127.0.0.1"); });
  EXPECT_NE(e.Description().find("No Such Driver"), std::string::npos) << e.Description();

  Connection c;
  c.Open(pg_);
  Recordset rs;
  e = ErrorOf([&] { rs.Open("SELECT nope FROM nowhere", c); });
  EXPECT_EQ(e.Number(), kErrCommandFailed);
  EXPECT_NE(e.Description().find("nowhere"), std::string::npos) << e.Description();
}

TEST_F(OdbcProviderTest, SqliteThroughItsOdbcDriver) {
  MakeDatabase(
      "databases/o.db",
      "CREATE TABLE t (id INTEGER, name VARCHAR(20)); INSERT INTO t VALUES (1, 'Jürgen');");
  Connection c;
  c.Open("Driver={SQLite3};Database=" + folder_ + "/databases/o.db");
  Recordset rs;
  rs.Open("SELECT id, name FROM t", c);
  EXPECT_EQ(Dump(rs), "1|Jürgen");
}

}  // namespace
}  // namespace vn::data::test
