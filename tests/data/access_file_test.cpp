// Real Access files named by the Jet provider: the file's first bytes decide, and on Linux the
// tables are read from an SQLite snapshot that mdbtools' library makes in the cache folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/database_file.h"
#include "data/field.h"
#include "tests/data/access_test_file.h"
#include "tests/data/data_test_support.h"

namespace vn::data::test {
namespace {

namespace fs = std::filesystem;

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The first page of an Access file of that engine and version byte, padded to 4 KiB.
std::string AccessHead(const char* engine, char version) {
  std::string head("\x00\x01\x00\x00", 4);
  head += engine;
  head += std::string(1, '\0');
  head += std::string(1, version);
  head.resize(4096, '\0');
  return head;
}

TEST(DatabaseFileTest, TheFirstBytesTellTheKind) {
  char pattern[] = "/tmp/vn-kind-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  WriteBytes(folder + "/jet3.mdb", AccessHead("Standard Jet DB", '\0'));
  WriteBytes(folder + "/jet4.mdb", AccessHead("Standard Jet DB", '\x01'));
  WriteBytes(folder + "/ace.accdb", AccessHead("Standard ACE DB", '\x03'));
  WriteBytes(folder + "/sqlite.mdb", std::string("SQLite format 3\0rest", 20));
  WriteBytes(folder + "/text.mdb", "Standard Jet DB, says the text");
  WriteBytes(folder + "/short.mdb", std::string("\x00\x01\x00\x00Standard", 12));
  EXPECT_EQ(KindOfDatabaseFile(folder + "/jet3.mdb"), DatabaseFileKind::kJet3);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/jet4.mdb"), DatabaseFileKind::kJet4);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/ace.accdb"), DatabaseFileKind::kAce);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/sqlite.mdb"), DatabaseFileKind::kSqlite);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/text.mdb"), DatabaseFileKind::kOther);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/short.mdb"), DatabaseFileKind::kOther);
  EXPECT_EQ(KindOfDatabaseFile(folder + "/missing.mdb"), DatabaseFileKind::kNone);
  EXPECT_EQ(KindOfDatabaseFile(folder), DatabaseFileKind::kNone);
  const std::string fruit = FruitMdb();
  if (!fruit.empty()) {
    EXPECT_EQ(KindOfDatabaseFile(fruit), DatabaseFileKind::kJet4);
  }
  fs::remove_all(folder);
}

#ifndef _WIN32

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class AccessFileTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    const std::string source = FruitMdb();
    if (source.empty()) return;
    file_ = folder_ + "/fruit.mdb";
    fs::copy_file(source, file_);
    setenv("XDG_CACHE_HOME", (folder_ + "/cache").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XDG_CACHE_HOME");
    DataTest::TearDown();
  }

  std::string Jet() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_; }

  std::string Query(const std::string& connectionString, const std::string& sql) {
    Connection connection;
    connection.Open(connectionString);
    Recordset rs;
    rs.Open(sql, connection);
    return Dump(rs);
  }

  std::vector<std::string> Snapshots() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ + "/cache/varnolis")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string file_;
};

#define VN_REQUIRE_FRUIT() \
  VN_REQUIRE_TEST_PIECE(!file_.empty(), "fruit.mdb (scripts/fetch-test-access.sh)")

TEST_F(AccessFileTest, JetDialectQueryGivesTheRowsMdbExportListsOnLinux) {
  VN_REQUIRE_FRUIT();
  // The rows whose Sugar is above 10, highest first (ties in the file's order).
  EXPECT_EQ(Query(Jet(),
                  "SELECT Fruit, Fiber, Sugar FROM Fruit WHERE Sugar > 10 "
                  "ORDER BY Sugar DESC"),
            "Date|8|73;Banana|3|20;Fig|2|19;Persimmon|0|19;Lychee|2|18;Guava|5|17;"
            "Pomegranate|3|17;Grapes|2|16;Kumquat|2|16;Mango|1|15;Cherry|1|13;Apple|2|12;"
            "Pear|2|12;Pineapple|1|12;Blueberry|8|11;Orange|2|11");
  // Jet's own dialect: names in brackets, double-quoted texts, texts without case.
  EXPECT_EQ(Query(Jet(), "SELECT Fruit FROM Fruit WHERE [Vit C] > 100 AND Fruit <> \"guava\""),
            "Blackberry");
  EXPECT_EQ(Query(Jet(), "SELECT count(*) AS n FROM [Fruit Salad] WHERE Fruit LIKE 'b%'"), "3");
}

TEST_F(AccessFileTest, AllElevenColumnsWithTheirTypesAndEmptyValuesOnLinux) {
  VN_REQUIRE_FRUIT();
  Connection connection;
  connection.Open(Jet());
  Recordset rs;
  rs.Open("SELECT * FROM Fruit", connection);
  ASSERT_EQ(rs.FieldCount(), 11);
  std::string names;
  for (int i = 0; i < rs.FieldCount(); ++i) names += rs.Fields(i).Name() + ",";
  EXPECT_EQ(names, "Fruit,Fiber,Fat,Protien,Sugar,Vit A,Vit C,Vit B1,Vit B2,Vit B6,Vit E,");
  EXPECT_EQ(rs.Fields(0).Type(), adVarWChar);
  EXPECT_EQ(rs.Fields(4).Type(), adInteger);
  int rows = 0;
  for (; !rs.Eof(); rs.MoveNext(), ++rows) {
    if (rs.Fields(0).Value().As<std::string>() != "Kumquat") continue;
    EXPECT_EQ(rs.Fields(6).Value().As<std::int64_t>(), 55);
    EXPECT_TRUE(rs.Fields(8).Value().Is<std::int64_t>());
    EXPECT_TRUE(rs.Fields(9).Value().IsNull());
    EXPECT_TRUE(rs.Fields(10).Value().IsNull());
  }
  EXPECT_EQ(rows, 37);
}

TEST_F(AccessFileTest, ShapeOverTheAccessFileOnLinux) {
  VN_REQUIRE_FRUIT();
  EXPECT_EQ(Query("Provider=MSDataShape;Data Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_,
                  "SHAPE {SELECT Fruit FROM [Fruit Salad] WHERE Fruit LIKE 'B%' ORDER BY Fruit} "
                  "APPEND ({SELECT Fruit, Sugar FROM Fruit} RELATE Fruit TO Fruit) AS Naehrwerte"),
            "Banana|{Banana|20};Blackberry|{Blackberry|8};Blueberry|{Blueberry|11}");
}

TEST_F(AccessFileTest, SnapshotIsPrivateRenewedWhenTheFileChangesAndTheFileOnlyReadOnLinux) {
  VN_REQUIRE_FRUIT();
  const std::string original = Bytes(file_);
  EXPECT_EQ(Query(Jet(), "SELECT Sugar FROM Fruit WHERE Fruit = 'Banana'"), "20");
  EXPECT_EQ(Bytes(file_), original);
  std::vector<std::string> first = Snapshots();
  ASSERT_EQ(first.size(), 1u);
  struct stat info {};
  ASSERT_EQ(stat((folder_ + "/cache/varnolis").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(stat((folder_ + "/cache/varnolis/" + first[0]).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // A second request on the unchanged file reads the same snapshot.
  EXPECT_EQ(Query(Jet(), "SELECT count(*) AS n FROM Fruit"), "37");
  EXPECT_EQ(Snapshots(), first);

  // The same size, another text and another time: a new snapshot, the old one gone.
  std::string changed = original;
  for (size_t at = changed.find("Banana"); at != std::string::npos;
       at = changed.find("Banana", at)) {
    changed.replace(at, 6, "Bonono");
  }
  WriteBytes(file_, changed);
  fs::last_write_time(file_, fs::last_write_time(file_) + std::chrono::seconds(2));
  EXPECT_EQ(Query(Jet(), "SELECT Sugar FROM Fruit WHERE Fruit = 'Bonono'"), "20");
  EXPECT_EQ(Query(Jet(), "SELECT count(*) AS n FROM Fruit WHERE Fruit = 'Banana'"), "0");
  std::vector<std::string> second = Snapshots();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NE(second, first);
}

TEST_F(AccessFileTest, TheSnapshotIsNotWrittenThroughOnLinux) {
  VN_REQUIRE_FRUIT();
  Connection connection;
  connection.Open(Jet());
  Recordset rs;
  RuntimeError error =
      ErrorOf([&] { rs.Open("DELETE FROM Fruit WHERE Fruit = 'Apple'", connection); });
  EXPECT_NE(error.Description().find("readonly"), std::string::npos) << error.Description();
  EXPECT_EQ(Query(Jet(), "SELECT count(*) AS n FROM Fruit"), "37");
}

TEST_F(AccessFileTest, SqliteFilesNamedByTheJetProviderStaySqliteOnLinux) {
  MakeDatabase("databases/config.mdb", "CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('x');");
  EXPECT_EQ(Query("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=databases/config.mdb",
                  "SELECT a FROM t WHERE a = \"x\""),
            "x");
  EXPECT_FALSE(fs::exists(folder_ + "/cache/varnolis"));
}

#endif

}  // namespace
}  // namespace vn::data::test
