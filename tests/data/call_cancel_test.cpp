// A cancel from another thread stops a running command of the thread that opened its scope, on
// SQLite (a query that never ends, plain and shaped) and on PostgreSQL (a sleep); the connection
// and the thread's later commands outside the scope are not affected, and a cancel given before
// the scope's call stops that call as soon as it begins.
#include <chrono>
#include <future>
#include <thread>

#include "data/call_cancel.h"
#include "data/errors.h"
#include "pg_test_support.h"

namespace vn::data::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kEndless =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c";

class CallCancelTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/t.db", "CREATE TABLE t (id INTEGER); INSERT INTO t VALUES (1);");
  }

  // Runs `sql` on `c` under a scope of `cancel` on a thread of its own, cancels it after half a
  // second and gives the seconds until the command came back and whether it failed.
  static std::pair<double, bool> RunAndCancel(Connection& c, const std::string& sql) {
    CallCancel cancel;
    auto run = std::async(std::launch::async, [&] {
      CallCancel::Scope scope(cancel);
      try {
        Recordset rs;
        rs.Open(sql, c);
        return false;
      } catch (const RuntimeError&) {
        return true;
      }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto start = Clock::now();
    cancel.Cancel();
    const bool failed = run.get();
    return {std::chrono::duration<double>(Clock::now() - start).count(), failed};
  }
};

TEST_F(CallCancelTest, SqliteQueryStopsAtTheCancel) {
  for (const char* connection :
       {"Provider=SQLite;Data Source=databases/t.db;Command Timeout=0",
        "Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/t.db;Command Timeout=0"}) {
    SCOPED_TRACE(connection);
    Connection c;
    c.SetMode(adModeRead);
    c.Open(connection);
    const auto [seconds, failed] = RunAndCancel(c, kEndless);
    EXPECT_TRUE(failed);
    // Without the cancel it would never end; no timing beyond "it came back".
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(Scalar(c, "SELECT count(*) FROM t"), "1");
  }
}

TEST_F(CallCancelTest, PostgresSleepStopsAtTheCancel) {
  VN_SKIP_WITHOUT_POSTGRES();
  Connection c;
  c.SetMode(adModeRead);
  c.Open(PostgresOdbc());
  const auto [seconds, failed] = RunAndCancel(c, "SELECT pg_sleep(30)");
  EXPECT_TRUE(failed);
  EXPECT_LT(seconds, 10.0);
  Connection again;
  again.Open(PostgresOdbc());
  EXPECT_EQ(Scalar(again, "SELECT 1"), "1");
}

TEST_F(CallCancelTest, CancelBeforeTheCallAndCallsOutsideTheScope) {
  Connection c;
  c.Open("Provider=SQLite;Data Source=databases/t.db");
  CallCancel cancel;
  cancel.Cancel();
  EXPECT_TRUE(cancel.Cancelled());
  // Outside any scope the cancel reaches nothing.
  EXPECT_EQ(Scalar(c, "SELECT count(*) FROM t"), "1");
  {
    CallCancel::Scope scope(cancel);
    bool stopped = false;
    CallCancel::Watch watch([&] { stopped = true; });
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(watch.Stopped());
  }
  CallCancel::Watch outside([] {});
  EXPECT_FALSE(outside.Stopped());
}

}  // namespace
}  // namespace vn::data::test
