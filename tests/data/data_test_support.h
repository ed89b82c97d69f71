// Test support for the data access layer: a private program folder with its own SQLite files
// and environment, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data/connection.h"
#include "data/recordset.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "tests/data/short_busy_timeout.h"
#include "tests/sqlite_script.h"

namespace vn::data::test {

class DataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-data-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    setenv("HOME", folder_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    setenv("TMPDIR", folder_.c_str(), 1);
    setenv("VARNOLIS_ACT", (folder_ + "/act.json").c_str(), 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    std::filesystem::create_directories(folder_ + "/databases");
    OverrideLibraryFolder(folder_);
  }
  void TearDown() override { OverrideLibraryFolder(""); }
  // The folder goes with the fixture, after the derived fixtures' connections and recordsets:
  // Windows keeps an open database file (and so its folder) from being removed.
  ~DataTest() override {
    std::error_code ignored;  // a folder left in /tmp fails no test
    std::filesystem::remove_all(folder_, ignored);
  }

  // Creates (or extends) the SQLite file `relative` in the program folder with `sql`.
  void MakeDatabase(const std::string& relative, const std::string& sql) {
    ASSERT_EQ(vn::test::RunSqliteScript(folder_ + "/" + relative, sql), "");
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static std::string ReadSource(const std::string& relative) {
    return ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/" + relative);
  }

  // The RuntimeError that `action` throws; fails the test when it throws none.
  template <typename F>
  static RuntimeError ErrorOf(F&& action) {
    try {
      action();
    } catch (const RuntimeError& error) {
      return error;
    }
    ADD_FAILURE() << "no RuntimeError thrown";
    return RuntimeError(0, "");
  }

  std::string folder_;
};

// All rows of `rs` from its current position as text, "a|b|c" per row, chapters as
// "{...}" with their rows joined by ";".
inline std::string Dump(Recordset& rs) {
  std::string out;
  while (!rs.Eof()) {
    if (!out.empty()) out += ";";
    for (int i = 0; i < rs.FieldCount(); ++i) {
      if (i > 0) out += "|";
      Variant v = rs.Fields(i).Value();
      if (v.Is<std::shared_ptr<Recordset>>()) {
        out += "{" + Dump(*v.As<std::shared_ptr<Recordset>>()) + "}";
      } else {
        out += v.DebugText();
      }
    }
    rs.MoveNext();
  }
  return out;
}

}  // namespace vn::data::test
