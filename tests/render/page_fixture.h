// Test support for the page generators: a private temporary root with its own home, config,
// runtime and temp folders, German locale variables, a program folder for LibraryFolder, and
// SQLite databases built by the test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "render/page_generator.h"
#include "tests/sqlite_script.h"

namespace vn::testing {

class PageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn_page_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    for (const char* sub : {"home", "config", "run", "tmp", "prog/databases", "data"}) {
      std::filesystem::create_directories(root_ / sub);
    }
    setenv("HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    setenv("VARNOLIS_ACT", (root_ / "act.json").c_str(), 1);  // no file: no ACT!
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    vn::OverrideLibraryFolder("/opt/Varnolis");
    // Without a bridge the parser leaves texts without commands as they are and fails every
    // command.
    parser_.Init(nullptr, "");
  }

  void TearDown() override {
    vn::OverrideLibraryFolder("");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string ProgramFolder() const { return (root_ / "prog").string(); }
  std::string ConfigDatabase() const { return (root_ / "prog/databases/config.mdb").string(); }
  std::string DataDatabase() const { return (root_ / "data/kunden.db").string(); }
  std::string DataConnection() const { return "Provider=SQLite;Data Source=" + DataDatabase(); }

  // Every piece up to and including the one after which `generator` is ready or failed; at most
  // 1000, so that a generator that never ends fails its test instead of hanging it.
  static std::vector<std::string> AllPieces(PageGenerator& generator) {
    std::vector<std::string> pieces;
    while (!generator.Ready() && !generator.Failed() && pieces.size() < 1000) {
      pieces.push_back(generator.GetNext());
    }
    return pieces;
  }

  static void Exec(const std::string& database, const std::string& sql) {
    const std::string error = vn::test::RunSqliteScript(database, sql);
    if (!error.empty()) throw std::runtime_error(error + " in: " + sql);
  }

  // The configuration database with the shipped schema and display formats, and no rubrics.
  void CreateConfigSchema() {
    for (const char* script : {"/databases/schema.sql", "/databases/formate.sql"}) {
      std::ifstream in(std::string(VARNOLIS_SOURCE_DIR) + script, std::ios::binary);
      if (!in) throw std::runtime_error(std::string("missing ") + script);
      std::ostringstream text;
      text << in.rdbuf();
      Exec(ConfigDatabase(), text.str());
    }
  }

  // Writes the ACT! stand-in file with a running ACT!, an open database and the contact
  // fields given as JSON members ("25": "10002"), and returns a parser bound to it.
  vn::clACTDataParser& ParserWithContact(const std::string& contactFields) {
    std::ofstream out(root_ / "act.json", std::ios::binary);
    out << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
           "\"visible\": true}], \"database\": \"Test.dbf\", \"activeView\": 1, "
           "\"contact\": {"
        << contactFields << "}}";
    out.close();
    actParser_.Init(&act_, "");
    return actParser_;
  }

  std::filesystem::path root_;
  vn::clACTApplication act_;
  vn::clACTDataParser actParser_;
  vn::clACTDataParser parser_;
};

}  // namespace vn::testing
