// The command timeout ends a command that runs too long with a RuntimeError, on SQLite (a
// query that never ends) and on PostgreSQL (a slow query; a server frozen mid-fetch), and
// `Connect Timeout=` / `Command Timeout=` in the connection string set it for one connection.
#ifndef _WIN32
#include <signal.h>
#include <sys/types.h>
#endif

#include <chrono>
#include <thread>

#include "data/errors.h"
#include "pg_test_support.h"

namespace vn::data::test {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr const char* kEndless =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c";

class CommandTimeoutTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/t.db", "CREATE TABLE t (id INTEGER); INSERT INTO t VALUES (1);");
  }
};

TEST_F(CommandTimeoutTest, SqliteQueryEndsAfterTheCommandTimeout) {
  for (const char* connection :
       {"Provider=SQLite;Data Source=databases/t.db;Command Timeout=1",
        "Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/t.db;Command Timeout=1"}) {
    SCOPED_TRACE(connection);
    Connection c;
    c.SetMode(adModeRead);
    c.Open(connection);
    const auto start = Clock::now();
    Recordset rs;
    RuntimeError e = ErrorOf([&] { rs.Open(kEndless, c); });
    EXPECT_EQ(e.Number(), kErrTimeout) << e.Description();
    EXPECT_EQ(e.Description(), "Query timeout expired (the command ran longer than its 1 s).");
    EXPECT_LT(SecondsSince(start), 5.0);
    // The connection goes on: the next command has its own second.
    EXPECT_EQ(Scalar(c, "SELECT count(*) FROM t"), "1");
  }
}

TEST_F(CommandTimeoutTest, TimeSpentBetweenRowsIsNotTheCommands) {
  // A page may take its time writing rows; only the waits for the database count.
  Connection c;
  c.Open("Provider=SQLite;Data Source=databases/t.db;Command Timeout=1");
  Recordset rs;
  rs.Open(
      "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 3) "
      "SELECT x FROM c",
      c);
  std::string rows;
  while (!rs.Eof()) {
    rows += rs.Fields(0).Value().DebugText();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    rs.MoveNext();
  }
  EXPECT_EQ(rows, "123");
}

TEST_F(CommandTimeoutTest, TimeoutsThatAreNoSecondsAreRefused) {
  for (const char* bad : {"Command Timeout=soon", "Connect Timeout=-1", "Command Timeout=",
                          "Command Timeout=1.5", "Connect Timeout=99999999999"}) {
    Connection c;
    RuntimeError e =
        ErrorOf([&] { c.Open(std::string("Provider=SQLite;Data Source=databases/t.db;") + bad); });
    EXPECT_EQ(e.Number(), kErrInvalidArgument) << bad;
    EXPECT_FALSE(c.IsOpen());
  }
}

class PostgresTimeoutTest : public DataTest {
 protected:
  void SetUp() override {
    VN_SKIP_WITHOUT_POSTGRES();
    DataTest::SetUp();
  }
  void TearDown() override {
#ifndef _WIN32
    // Whatever happened, the server's process runs again.
    if (stopped_ > 0) kill(stopped_, SIGCONT);
#endif
    if (!PostgresOdbc().empty()) DataTest::TearDown();
  }
#ifndef _WIN32
  static pid_t ServerProcess(Connection& c) {
    return static_cast<pid_t>(std::stol(Scalar(c, "SELECT pg_backend_pid()")));
  }
  // Freezes the server process `pid` as a machine that hangs would.
  void Freeze(pid_t pid) {
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    stopped_ = pid;
  }
  pid_t stopped_ = 0;
#endif
};

TEST_F(PostgresTimeoutTest, SlowQueryEndsWithTheTimeout) {
  Connection c;
  c.Open(PostgresOdbc() + ";Command Timeout=1;Connect Timeout=5");
  const auto start = Clock::now();
  Recordset rs;
  RuntimeError e = ErrorOf([&] { rs.Open("SELECT pg_sleep(20)", c); });
  EXPECT_EQ(e.Number(), kErrTimeout) << e.Description();
  EXPECT_LT(SecondsSince(start), 5.0);
}

// A frozen server is stopped with a signal to its process, which a Windows program cannot send
// to the Linux server; and on Windows the watchdog has only the driver's cancel, which a frozen
// server never answers. These two cases are POSIX-only.
#ifndef _WIN32
TEST_F(PostgresTimeoutTest, ServerFrozenBeforeTheAnswerEndsTheCommand) {
  Connection c;
  c.SetMode(adModeRead);
  c.Open(PostgresOdbc() + ";Command Timeout=1");
  Freeze(ServerProcess(c));
  const auto start = Clock::now();
  Recordset rs;
  RuntimeError e = ErrorOf([&] { rs.Open("SELECT g FROM generate_series(1, 50000) g", c); });
  EXPECT_EQ(e.Number(), kErrTimeout) << e.Description();
  EXPECT_LT(SecondsSince(start), 6.0);
  c.Close();  // a connection to a frozen server closes too
  EXPECT_LT(SecondsSince(start), 10.0);
}

TEST_F(PostgresTimeoutTest, ServerFrozenMidFetchEndsTheFetch) {
  Connection c;
  c.SetMode(adModeRead);
  // Rows fetched from the server a hundred at a time, as a cursor.
  c.Open(PostgresOdbc() + ";UseDeclareFetch=1;Fetch=100;Command Timeout=1");
  const pid_t server = ServerProcess(c);
  Recordset rs;
  rs.Open("SELECT g, repeat('x', 100) FROM generate_series(1, 50000) g", c);
  for (int i = 0; i < 10; ++i) rs.MoveNext();
  EXPECT_EQ(rs.Fields(0).Value(), Variant(std::int64_t{11}));
  Freeze(server);
  const auto start = Clock::now();
  RuntimeError e = ErrorOf([&] {
    while (!rs.Eof()) rs.MoveNext();
  });
  EXPECT_EQ(e.Number(), kErrTimeout) << e.Description();
  EXPECT_LT(SecondsSince(start), 6.0);
  rs.Close();
  c.Close();
  EXPECT_LT(SecondsSince(start), 10.0);
}
#endif

}  // namespace
}  // namespace vn::data::test
