// Rubric pages on PostgreSQL as a browser tab fetches them, one after the other in one process:
// the entries of a page and of the next page are served by one server session, which the
// library closes when it is let go; with pooling switched off in the entries' connection string
// every entry has a session of its own. Linux only: the library is loaded from a copy of the
// Linux program folder (on Windows the same pool is tested through odbc32 in tests/data).
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/data/pool_test_support.h"
#include "tests/handler/test_folder.h"

#ifndef _WIN32

namespace vn::test {
namespace {

using data::test::PostgresOdbc;
using data::test::SessionsSettled;

class PooledPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (PostgresOdbc().empty()) {
      GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set: start a server with "
                      "'source .ci/postgres.sh' to run the PostgreSQL tests";
    }
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->CopyProgramFolder();
    library_ = std::make_unique<Library>(program_);
    // A rubric page is built only while ACT! runs.
    WriteStandIn(folder_->Root() + "/act.json", "");
    CreateConfig(program_ + "/databases/config.mdb");
  }
  void TearDown() override {
    library_.reset();
    folder_.reset();
  }

  // The rubric `Sitzung`: three entries that each show their server session (its process id and
  // start, which together no other session has), over `connection` (an ADO connection string
  // naming ODBC, as configurations do).
  void AddRubric(const std::string& connection) {
    const std::string session =
        "SELECT 'session=' || pid || '@' || to_char(backend_start, 'YYYYMMDDHH24MISSUS') AS s "
        "FROM pg_stat_activity WHERE pid = pg_backend_pid()";
    std::vector<ConfigEntry> entries;
    for (int entry = 1; entry <= 3; ++entry) {
      entries.push_back(
          {1, "Eintrag " + std::to_string(entry), "Provider=MSDASQL;" + connection, session});
    }
    test::AddRubric(program_ + "/databases/config.mdb", {1, "Sitzung", "Sitzung", "Sitzung", ""},
                    entries);
  }

  // The sessions that the page's entries show, in the order of the entries.
  std::vector<std::string> PageSessions() {
    const Response r = Get(*library_, "varnolis://rubrik/Sitzung");
    EXPECT_EQ(r.start, S_OK);
    EXPECT_EQ(r.bytes.find("errortitle"), std::string::npos) << r.bytes;
    std::vector<std::string> sessions;
    const std::regex session("session=([0-9]+@[0-9]+)");
    for (auto it = std::sregex_iterator(r.bytes.begin(), r.bytes.end(), session);
         it != std::sregex_iterator(); ++it) {
      sessions.push_back((*it)[1].str());
    }
    EXPECT_EQ(sessions.size(), 3u) << r.bytes;
    return sessions;
  }

  static std::string Named(const std::string& application, const std::string& extra = {}) {
    return PostgresOdbc() + ";pqopt=application_name=" + application + extra;
  }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
};

TEST_F(PooledPageTest, TwoPagesOfARubricShareOneServerSessionOnLinux) {
  const std::string connection = Named("vn_pooled_page");
  AddRubric(connection);
  const std::vector<std::string> first = PageSessions();
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first, std::vector<std::string>(3, first[0]));
  EXPECT_EQ(PageSessions(), first);
  EXPECT_EQ(SessionsSettled(connection, "vn_pooled_page", 1), 1);
  // Let go by the browser, the library closes the session it kept.
  EXPECT_EQ(library_->canUnloadNow(), S_OK);
  EXPECT_EQ(SessionsSettled(connection, "vn_pooled_page", 0), 0);
}

TEST_F(PooledPageTest, PoolingFalseGivesEveryEntryOfEveryPageItsOwnSessionOnLinux) {
  const std::string connection = Named("vn_unpooled_page", ";Pooling=false");
  AddRubric(connection);
  const std::vector<std::string> first = PageSessions();
  const std::vector<std::string> second = PageSessions();
  std::set<std::string> all(first.begin(), first.end());
  all.insert(second.begin(), second.end());
  EXPECT_EQ(all.size(), 6u);
  EXPECT_EQ(SessionsSettled(connection, "vn_unpooled_page", 0), 0);
}

}  // namespace
}  // namespace vn::test

#endif
