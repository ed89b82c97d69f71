#include <sys/stat.h>

#include "data/errors.h"
#include "data/field.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

class SqliteProviderTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/t.db",
                 "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(40), note TEXT, "
                 "amount CURRENCY, price DOUBLE, qty NUMERIC(10,3), paid BOOLEAN, "
                 "born DATE, seen DATETIME, raw);"
                 "INSERT INTO t VALUES (1, 'Müller', 'first', 1234.56, 0.1, '12.500', 1, "
                 "'2024-02-29', '2024-02-29 13:45:30', 7);"
                 "INSERT INTO t VALUES (2, 'Ärger', NULL, '-0.005', 2, 3, 0, NULL, "
                 "'not a date', 'x');"
                 "INSERT INTO t VALUES (3, 'Zoë', '', NULL, NULL, NULL, NULL, '1899-12-30', "
                 "NULL, NULL);");
  }

  std::shared_ptr<Recordset> Query(const std::string& connection, const std::string& sql) {
    connection_.Open(connection);
    auto rs = std::make_shared<Recordset>();
    rs->Open(sql, connection_, adOpenForwardOnly, adLockReadOnly, -1);
    return rs;
  }

  Connection connection_;
};

TEST_F(SqliteProviderTest, TypesAndValuesReadWithoutLoss) {
  auto rs = Query("Provider=SQLite;Data Source=databases/t.db", "SELECT * FROM t ORDER BY id");
  ASSERT_EQ(rs->FieldCount(), 10);
  const int types[] = {adInteger, adVarWChar, adVarWChar, adCurrency, adDouble,
                       adNumeric, adBoolean,  adDate,     adDate,     adInteger};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rs->Fields(i).Type(), types[i]) << i;
  EXPECT_EQ(rs->Fields("NAME").Name(), "name");

  EXPECT_EQ(rs->Fields("name").Value(), Variant("Müller"));
  EXPECT_EQ(rs->Fields("amount").Value(), Variant(Currency{12345600}));
  EXPECT_EQ(rs->Fields("price").Value(), Variant(0.1));
  EXPECT_EQ(rs->Fields("qty").Value(), Variant(Decimal{"12.5"}));
  EXPECT_EQ(rs->Fields("paid").Value(), Variant(true));
  EXPECT_EQ(rs->Fields("born").Value().DebugText(), "2024-02-29 00:00:00");
  EXPECT_EQ(rs->Fields("seen").Value().DebugText(), "2024-02-29 13:45:30");
  EXPECT_EQ(rs->Fields("raw").Value(), Variant(std::int64_t{7}));
  rs->MoveNext();
  EXPECT_TRUE(rs->Fields("note").Value().IsNull());
  EXPECT_EQ(rs->Fields("amount").Value(), Variant(Currency{-50}));  // -0.005 exactly
  EXPECT_EQ(rs->Fields("price").Value(), Variant(2.0));
  EXPECT_EQ(rs->Fields("qty").Value(), Variant(Decimal{"3"}));
  EXPECT_EQ(rs->Fields("paid").Value(), Variant(false));
  EXPECT_TRUE(rs->Fields("born").Value().IsNull());
  // A value that is no date is delivered as it is, not dropped.
  EXPECT_EQ(rs->Fields("seen").Value(), Variant("not a date"));
  EXPECT_EQ(rs->Fields("raw").Value(), Variant("x"));
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("note").Value(), Variant(""));
  EXPECT_FALSE(rs->Fields("note").Value().IsNull());
  EXPECT_EQ(rs->Fields("born").Value(), Variant(Date{0}));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(ErrorOf([&] { rs->Fields(0).Value(); }).Number(), 3021);
  EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }).Number(), 3021);
  EXPECT_EQ(ErrorOf([&] { rs->Fields(10); }).Number(), 3265);
  EXPECT_EQ(ErrorOf([&] { rs->Fields("nope"); }).Number(), 3265);
}

TEST_F(SqliteProviderTest, EmptyResultIsBofAndEofWithCountZero) {
  auto rs =
      Query("Provider=SQLite;Data Source=databases/t.db", "SELECT id, name FROM t WHERE id > 99");
  EXPECT_TRUE(rs->Bof());
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_EQ(rs->FieldCount(), 2);
  auto clone = rs->Clone();
  EXPECT_TRUE(clone->Bof() && clone->Eof());
  EXPECT_EQ(clone->RecordCount(), 0);
}

TEST_F(SqliteProviderTest, CloneIsAnIndependentCursorOnTheSameRows) {
  auto rs = Query("Provider=SQLite;Data Source=databases/t.db", "SELECT id FROM t ORDER BY id");
  EXPECT_FALSE(rs->Bof());
  auto clone = rs->Clone(adLockUnspecified);
  EXPECT_EQ(Dump(*clone), "1;2;3");
  EXPECT_EQ(clone->RecordCount(), 3);
  EXPECT_EQ(rs->Fields(0).Value(), Variant(std::int64_t{1}));
  rs->MoveNext();
  auto second = rs->Clone();  // a clone starts on the first row
  EXPECT_EQ(Dump(*second), "1;2;3");
  EXPECT_EQ(Dump(*rs), "2;3");
  rs->Close();
  EXPECT_EQ(ErrorOf([&] { rs->Eof(); }).Number(), 3704);
}

TEST_F(SqliteProviderTest, CloneTakenBeforeTheFirstMoveReadsALongResultWhileTheOriginalWaits) {
  MakeDatabase("databases/long.db",
               "CREATE TABLE n (i INTEGER);"
               "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 5000) "
               "INSERT INTO n SELECT i FROM c;");
  Connection c;
  c.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/long.db");
  Recordset rs;
  rs.Open("SELECT i FROM n ORDER BY i", c);
  auto clone = rs.Clone();
  auto early = rs.Clone();
  long sum = 0, rows = 0;
  while (!clone->Eof()) {
    sum += clone->Fields(0).Value().As<std::int64_t>();
    ++rows;
    clone->MoveNext();
  }
  EXPECT_EQ(rows, 5000);
  EXPECT_EQ(sum, 5000L * 5001 / 2);
  EXPECT_EQ(clone->RecordCount(), 5000);
  // The original and the other clone were left far behind; they still read their own rows.
  EXPECT_EQ(rs.Fields(0).Value(), Variant(std::int64_t{1}));
  rs.MoveNext();
  EXPECT_EQ(rs.Fields(0).Value(), Variant(std::int64_t{2}));
  for (int k = 0; k < 4000; ++k) early->MoveNext();
  EXPECT_EQ(early->Fields(0).Value(), Variant(std::int64_t{4001}));
  auto late = early->Clone();
  EXPECT_EQ(late->Fields(0).Value(), Variant(std::int64_t{1}));
}

// A long result is read into rows that left the window: no value of an earlier row may show
// through in a later one, whatever its type, length or NULL.
TEST_F(SqliteProviderTest, LongResultReadsEveryRowWhole) {
  MakeDatabase("databases/mixed.db",
               "CREATE TABLE m (i INTEGER, t TEXT, d DOUBLE);"
               "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 2000) "
               "INSERT INTO m SELECT i, CASE WHEN i % 3 = 0 THEN NULL "
               "ELSE substr('abcdefghijklmnopqrstuvwxyz', 1, i % 27) END, "
               "CASE WHEN i % 5 = 0 THEN NULL ELSE i / 4.0 END FROM c;");
  Connection c;
  c.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/mixed.db");
  Recordset rs;
  rs.Open("SELECT i, t, d FROM m ORDER BY i", c);
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  std::int64_t i = 0;
  while (!rs.Eof()) {
    ++i;
    ASSERT_EQ(rs.Fields(0).Value(), Variant(i));
    if (i % 3 == 0) {
      EXPECT_TRUE(rs.Fields(1).Value().IsNull()) << i;
    } else {
      EXPECT_EQ(rs.Fields(1).Value(), Variant(letters.substr(0, static_cast<size_t>(i % 27)))) << i;
    }
    if (i % 5 == 0) {
      EXPECT_TRUE(rs.Fields(2).Value().IsNull()) << i;
    } else {
      EXPECT_EQ(rs.Fields(2).Value(), Variant(static_cast<double>(i) / 4.0)) << i;
    }
    rs.MoveNext();
  }
  EXPECT_EQ(i, 2000);
}

TEST_F(SqliteProviderTest, ProgramFolderRelativePathsAndFailures) {
  Connection absolute;
  absolute.Open("Provider=SQLite;Data Source=" + folder_ + "/databases/t.db");
  EXPECT_TRUE(absolute.IsOpen());
  absolute.Close();

  Connection missing;
  RuntimeError e = ErrorOf([&] { missing.Open("Provider=SQLite;Data Source=databases/none.db"); });
  EXPECT_EQ(e.Number(), kErrProviderFailed);
  EXPECT_EQ(e.Description(), "Could not find file '" + folder_ + "/databases/none.db'.");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/databases/none.db"));

  std::ofstream(folder_ + "/databases/junk.db") << "this is not a database file, not at all";
  e = ErrorOf(
      [&] { missing.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/junk.db"); });
  EXPECT_NE(e.Description().find("junk.db"), std::string::npos) << e.Description();

  e = ErrorOf([&] { missing.Open("Provider=Oracle.Thing;Data Source=x"); });
  EXPECT_EQ(e.Number(), kErrProviderNotFound);
  EXPECT_NE(e.Description().find("'Oracle.Thing'"), std::string::npos);

  Connection ok;
  ok.Open("Provider=SQLite;Data Source=databases/t.db");
  Recordset rs;
  e = ErrorOf([&] { rs.Open("SELEC * FROM t", ok); });
  EXPECT_EQ(e.Number(), kErrCommandFailed);
  EXPECT_NE(e.Description().find("syntax error"), std::string::npos) << e.Description();
  EXPECT_EQ(ErrorOf([&] { rs.Open("SELECT 1; SELECT 2", ok); }).Number(), kErrCommandFailed);
  EXPECT_FALSE(rs.IsOpen());
}

TEST_F(SqliteProviderTest, ReadOnlyWhereTheCallerAsksForIt) {
  Connection readOnly;
  readOnly.SetMode(adModeRead);
  readOnly.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/t.db");
  Recordset rs;
  EXPECT_EQ(ErrorOf([&] { rs.Open("DELETE FROM t", readOnly); }).Number(), kErrCommandFailed);

  Connection byString;
  byString.Open("Provider=SQLite;Data Source=databases/t.db;Mode=Read");
  Recordset rs2;
  EXPECT_THROW(rs2.Open("UPDATE t SET name = 'x'", byString), RuntimeError);

  Connection writable;
  writable.Open("Provider=SQLite;Data Source=databases/t.db");
  Recordset rs3;
  rs3.Open("UPDATE t SET note = 'changed' WHERE id = 3", writable);
  EXPECT_TRUE(rs3.Bof() && rs3.Eof());
}

TEST_F(SqliteProviderTest, JetTakesDoubleQuotesAsTextAndFoldsUmlauts) {
  MakeDatabase("databases/cfg.db",
               "CREATE TABLE Rubriken (ID_Rubrik INTEGER PRIMARY KEY, Rang INTEGER, "
               "Rubrik VARCHAR(255) COLLATE NOCASE, Titel VARCHAR(255) COLLATE NOCASE);"
               "INSERT INTO Rubriken VALUES (1, 1, 'Übersicht', 'Rang');"
               "INSERT INTO Rubriken VALUES (2, 2, 'Titel', 'Titel');"
               "INSERT INTO Rubriken VALUES (3, 3, 'Rang', 'a\"b''c');");
  Connection jet;
  jet.Open(
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/cfg.db;Persist Security Info=False");
  auto ids = [&](const std::string& sql) {
    Recordset rs;
    rs.Open(sql, jet);
    return Dump(rs);
  };
  // On plain SQLite "Titel" and "Rang" would name the columns and match every row.
  EXPECT_EQ(ids("SELECT ID_Rubrik FROM Rubriken WHERE (((Rubriken.Rubrik)=\"Titel\"))"), "2");
  EXPECT_EQ(ids("SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = \"Rang\""), "3");
  EXPECT_EQ(ids("SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = \"übersicht\""), "1");
  EXPECT_EQ(ids("SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = \"ÜBERSICHT\""), "1");
  EXPECT_EQ(ids("SELECT ID_Rubrik FROM Rubriken WHERE Titel = \"a\"\"b'c\""), "3");
  EXPECT_EQ(ids("SELECT [ID_Rubrik] FROM [Rubriken] WHERE Titel = 'a\"b''c'"), "3");
  EXPECT_EQ(ids("SELECT \"x\" AS [a\"b] FROM Rubriken WHERE ID_Rubrik = 1"), "x");

  Connection plain;
  plain.Open("Provider=SQLite;Data Source=databases/cfg.db");
  Recordset rs;
  rs.Open("SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = 'übersicht'", plain);
  EXPECT_TRUE(rs.Eof());  // SQLite's own NOCASE folds ASCII only
}

}  // namespace
}  // namespace vn::data::test
