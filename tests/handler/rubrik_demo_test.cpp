// The shipped demo as a user meets it first: every rubric of the demo configuration rendered
// for the demo contact of the shipped ACT! stand-in, from a copy of the built program folder.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "data/sqlite_handles.h"
#include "platform/codepage.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

struct Rubric {
  std::string name;
  int entries = 0;
};

std::vector<Rubric> DemoRubrics(const std::string& config) {
  std::vector<Rubric> rubrics;
  data::SqliteDatabase db;
  data::SqliteStatement statement;
  EXPECT_EQ(data::OpenSqlite(config, SQLITE_OPEN_READONLY, db), SQLITE_OK);
  EXPECT_EQ(data::PrepareSqlite(db.get(),
                                "SELECT Rubrik, (SELECT COUNT(*) FROM Zuordnungen "
                                "WHERE Rubrik_ID = ID_Rubrik) FROM Rubriken ORDER BY Rang",
                                statement),
            SQLITE_OK);
  while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
    rubrics.push_back({reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0)),
                       sqlite3_column_int(statement.get(), 1)});
  }
  return rubrics;
}

// A copy of the program folder with the shipped databases and stand-in, which it uses.
std::string DemoProgram(const TestFolder& folder) {
  const std::string program = folder.CopyProgramFolder();
  const fs::path built = fs::path(VARNOLIS_PROGRAM_DIR) / "databases";
  fs::create_directories(program + "/databases");
  for (const char* file : {"config.mdb", "demo.db", "demo-act.json"}) {
    fs::copy_file(built / file, fs::path(program) / "databases" / file);
  }
  setenv("VARNOLIS_ACT", (program + "/databases/demo-act.json").c_str(), 1);
  return program;
}

TEST(RubrikDemoTest, EveryDemoRubricRendersWithoutAnErrorBlock) {
  TestFolder folder;
  const std::string program = DemoProgram(folder);
  Library library(program);

  const std::vector<Rubric> rubrics = DemoRubrics(program + "/databases/config.mdb");
  ASSERT_GE(rubrics.size(), 2u);
  EXPECT_EQ(rubrics.front().name, "Start");
  for (const Rubric& rubric : rubrics) {
    SCOPED_TRACE(rubric.name);
    Response r = Get(library, "varnolis://rubrik/" + rubric.name);
    ASSERT_EQ(r.start, S_OK);
    const std::string page = PageOf(r.bytes);
    EXPECT_TRUE(page.starts_with(ExpectedHead(program)));
    EXPECT_TRUE(page.ends_with("</DIV>\r\n" + ExpectedEnd()));
    EXPECT_NE(page.find("<DIV  ID=\"divfenster\" CLASS=\"divwindow\">"), std::string::npos);
    // Every rubric of the demo has entries and renders without an error block.
    EXPECT_GT(rubric.entries, 0);
    EXPECT_EQ(page.find("errortitle"), std::string::npos);
  }
}

TEST(RubrikDemoTest, StartRubricShowsTheDemoContactsCard) {
  TestFolder folder;
  const std::string program = DemoProgram(folder);
  Library library(program);
  Response r = Get(library, "varnolis://rubrik/Start");
  EXPECT_NE(r.bytes.find("CLASS=\"htmllistvalue\">K10001</TD>"), std::string::npos);
  EXPECT_NE(r.bytes.find("<SPAN  CLASS=\"mt1\">"), std::string::npos);
  EXPECT_EQ(r.bytes.find("errortitle"), std::string::npos);
}

}  // namespace
}  // namespace vn::test
