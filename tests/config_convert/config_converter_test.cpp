// Converting a configuration database read through another provider into Varnolis' own format:
// the tables arrive whole, the original is kept beside it, and a failure or a cancel changes
// no file.
#include "config/convert/config_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/data/access_test_file.h"
#include "tests/data/data_test_support.h"

namespace vn::data::test {
namespace {

namespace fs = std::filesystem;

class ConfigConverterTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    // The source: the demo configuration in a file of its own.
    MakeDatabase("quelle.db", ReadSource("databases/schema.sql") +
                                  ReadSource("databases/formate.sql") +
                                  ReadSource("databases/demo_config.sql"));
    config_ = folder_ + "/databases/config.mdb";
    std::ofstream(config_, std::ios::binary) << std::string("\x00\x01\x00\x00Standard Jet DB", 19);
  }

  std::string Tables(const std::string& connection) {
    Connection db;
    db.Open(connection);
    std::string all;
    for (const char* table : {"Formate", "Rubriken", "Daten", "Zuordnungen"}) {
      Recordset rs;
      rs.Open(std::string("SELECT * FROM ") + table + " ORDER BY 1", db);
      all += std::string(table) + ": " + Dump(rs) + "\n";
    }
    return all;
  }

  std::string Schema() const { return ReadSource("databases/schema.sql"); }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ + "/databases")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string config_;
};

TEST_F(ConfigConverterTest, EveryTableArrivesAndTheOriginalIsKeptBesideIt) {
  config::ConvertConfigDatabase("Provider=SQLite;Data Source=" + folder_ + "/quelle.db", config_,
                                Schema());
  EXPECT_EQ(Tables("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + config_),
            Tables("Provider=SQLite;Data Source=" + folder_ + "/quelle.db"));
  EXPECT_EQ(Files(), (std::vector<std::string>{"config (Access-Original).mdb", "config.mdb"}));
}

TEST_F(ConfigConverterTest, AFailureHalfwayOrACancelChangesNoFile) {
  // A row of the last table that the schema refuses (a source of looser constraints).
  MakeDatabase("quelle.db",
               "DROP TABLE Zuordnungen; CREATE TABLE Zuordnungen (ID_Zuordnung INTEGER, "
               "Rubrik_ID INTEGER, Daten_ID INTEGER, Rang INTEGER); "
               "INSERT INTO Zuordnungen VALUES (1, NULL, 1, 1);");
  const std::vector<std::string> files = Files();
  RuntimeError error = ErrorOf([&] {
    config::ConvertConfigDatabase("Provider=SQLite;Data Source=" + folder_ + "/quelle.db", config_,
                                  Schema());
  });
  EXPECT_NE(error.Description().find("A row of Zuordnungen was refused"), std::string::npos)
      << error.Description();
  EXPECT_EQ(Files(), files);
  EXPECT_EQ(fs::file_size(config_), 19u);

  int asked = 0;
  error = ErrorOf([&] {
    config::ConvertConfigDatabase("Provider=SQLite;Data Source=" + folder_ + "/quelle.db", config_,
                                  Schema(), [&] { return ++asked == 3; });
  });
  EXPECT_EQ(error.Number(), 3712);
  EXPECT_EQ(Files(), files);
}

TEST_F(ConfigConverterTest, AnOriginalKeptBeforeIsNeverOverwritten) {
  std::ofstream(folder_ + "/databases/config (Access-Original).mdb") << "frueher";
  const std::vector<std::string> files = Files();
  RuntimeError error = ErrorOf([&] {
    config::ConvertConfigDatabase("Provider=SQLite;Data Source=" + folder_ + "/quelle.db", config_,
                                  Schema());
  });
  EXPECT_NE(error.Description().find("exists already"), std::string::npos);
  EXPECT_EQ(Files(), files);
  EXPECT_EQ(config::KeptOriginalPath("/a.b/config"), "/a.b/config (Access-Original)");
}

#ifndef _WIN32

TEST_F(ConfigConverterTest, SourceReadThroughOdbcOnLinux) {
  const std::string driver = OdbcDriverLibrary("libsqlite3odbc.so");
  VN_REQUIRE_TEST_PIECE(!driver.empty(), "SQLite's ODBC driver (libsqliteodbc)");
  const std::string source = folder_ + "/quelle.db";
  const std::string expected = Tables("Provider=SQLite;Data Source=" + source);
  config::ConvertConfigDatabase("Driver=" + driver + ";Database=" + source, config_, Schema());
  EXPECT_EQ(Tables("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + config_), expected);
}

#endif

}  // namespace
}  // namespace vn::data::test
