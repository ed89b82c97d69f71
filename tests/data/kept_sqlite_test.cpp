#include "data/connection_pool.h"
#include "data/errors.h"
#include "data_test_support.h"
#include "platform/file_io.h"

namespace vn::data::test {
namespace {

constexpr const char* kJet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/t.db";

class KeptSqliteTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    ClosePooledConnections();
    MakeDatabase("databases/t.db",
                 "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT);"
                 "INSERT INTO t VALUES (1, 'eins'), (2, 'zwei');");
  }
  void TearDown() override {
    ClosePooledConnections();
    DataTest::TearDown();
  }

  // The rows of `sql` on a connection opened (read-only unless said) and closed again.
  static std::string Read(const std::string& sql, const std::string& connection = kJet,
                          int mode = adModeRead) {
    Connection db;
    db.SetMode(mode);
    db.Open(connection);
    Recordset rs;
    rs.Open(sql, db, adOpenForwardOnly, adLockReadOnly, -1);
    std::string rows = rs.IsOpen() ? Dump(rs) : "";
    if (rs.IsOpen()) rs.Close();
    db.Close();
    return rows;
  }

  static std::size_t Idle() { return ConnectionPool::Shared().IdleCount(); }
};

TEST_F(KeptSqliteTest, AFileOnlyReadIsKeptOpenForTheNextReaderOnLinux) {
  EXPECT_EQ(Read("SELECT name FROM t ORDER BY id"), "eins;zwei");
  EXPECT_EQ(Idle(), 1u);
  {
    Connection db;
    db.SetMode(adModeRead);
    db.Open(kJet);
    Recordset rs;
    rs.Open("SELECT count(*) FROM t", db, adOpenForwardOnly, adLockReadOnly, -1);
    EXPECT_EQ(Idle(), 0u);  // in this reader's hands
    EXPECT_EQ(Dump(rs), "2");
  }
  EXPECT_EQ(Idle(), 1u);

  // Not kept: a connection that may write, and one with pooling switched off.
  ClosePooledConnections();
  EXPECT_EQ(Read("SELECT count(*) FROM t", kJet, adModeReadWrite), "2");
  EXPECT_EQ(Read("SELECT count(*) FROM t", std::string(kJet) + ";OLE DB Services=-2"), "2");
  EXPECT_EQ(Idle(), 0u);
}

TEST_F(KeptSqliteTest, AChangedOrReplacedFileIsReadAsItIsNow) {
  EXPECT_EQ(Read("SELECT count(*) FROM t"), "2");
  // Written in place, as the configuration program saves.
  MakeDatabase("databases/t.db", "INSERT INTO t VALUES (3, 'drei');");
  EXPECT_EQ(Read("SELECT count(*) FROM t"), "3");
  // Replaced by another file of the same size.
  MakeDatabase("databases/new.db",
               "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT);"
               "INSERT INTO t VALUES (7, 'sieben');");
  ASSERT_TRUE(MoveFileOver(folder_ + "/databases/new.db", folder_ + "/databases/t.db"));
  EXPECT_EQ(Read("SELECT id, name FROM t"), "7|sieben");
  // Gone.
  ASSERT_TRUE(RemoveFile(folder_ + "/databases/t.db"));
  EXPECT_EQ(ErrorOf([] { Read("SELECT count(*) FROM t"); }).Number(), kErrProviderFailed);
}

TEST_F(KeptSqliteTest, NothingButReadsLeavesAKeptConnection) {
  MakeDatabase("databases/other.db", "CREATE TABLE o (x);");
  // What each of these leaves on its connection would reach the next reader: none is kept.
  const std::string attach = "ATTACH '" + folder_ + "/databases/other.db' AS other";
  for (const std::string& sql : {std::string("CREATE TEMP TABLE scratch (x)"), attach,
                                 std::string("PRAGMA case_sensitive_like = 1"),
                                 std::string("BEGIN")}) {
    SCOPED_TRACE(sql);
    try {
      Read(sql);
    } catch (const RuntimeError&) {
      // Refused on a read-only connection: then nothing stays either.
    }
    EXPECT_EQ(Read("SELECT (SELECT count(*) FROM sqlite_temp_master) || '|' || "
                   "(SELECT count(*) FROM pragma_database_list) || '|' || ('a' LIKE 'A')"),
              "0|2|1");
  }
}

}  // namespace
}  // namespace vn::data::test
