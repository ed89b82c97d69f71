// Connections to PostgreSQL are pooled: a closed connection's session serves the next connection
// with the same string, mode and timeouts, unless the connection string switches pooling off;
// nothing one entry leaves in its session reaches the next (it is reset),
// a failed entry's session is closed, and the command timeout holds on a pooled session as on a
// new one.
#include <chrono>
#include <set>
#include <thread>

#include "data/connection_pool.h"
#include "data/errors.h"
#include "pool_test_support.h"

namespace vn::data::test {
namespace {

class PooledConnectionTest : public DataTest {
 protected:
  void SetUp() override {
    VN_SKIP_WITHOUT_POSTGRES();
    DataTest::SetUp();
    ClosePooledConnections();
  }
  void TearDown() override {
    ClosePooledConnections();
    if (!PostgresOdbc().empty()) DataTest::TearDown();
  }

  // The test's connections carry their own application name, so that their sessions can be
  // counted beside those of other tests on the same server.
  static std::string Pooled(const std::string& application, const std::string& extra = {}) {
    return PostgresOdbc() + ";pqopt=application_name=" + application +
           (extra.empty() ? "" : ";" + extra);
  }
  static std::string Pid(const std::string& connection, int mode = adModeRead) {
    return Entry(connection, "SELECT pg_backend_pid()", mode);
  }
};

TEST_F(PooledConnectionTest, TheNextConnectionWithTheSameStringTakesTheClosedOnesSession) {
  const std::string a = Pooled("vn_pool_same");
  const std::string pid = Pid(a);
  EXPECT_EQ(Pid(a), pid);
  EXPECT_EQ(Pid(a), pid);
  EXPECT_EQ(SessionsSettled(a, "vn_pool_same", 1), 1);
  // Another mode or timeout is another connection.
  EXPECT_NE(Pid(a, adModeUnknown), pid);
  EXPECT_NE(Pid(a + ";Command Timeout=7"), pid);
  EXPECT_EQ(SessionsSettled(a, "vn_pool_same", 3), 3);
  // Two connections open at once have two sessions.
  Connection first;
  first.SetMode(adModeRead);
  first.Open(a);
  EXPECT_NE(Pid(a), Scalar(first, "SELECT pg_backend_pid()"));

  ClosePooledConnections();
  first.Close();  // a connection still open when the pool closed goes back to it afterwards
  EXPECT_EQ(SessionsSettled(a, "vn_pool_same", 1), 1);
  ClosePooledConnections();
  EXPECT_EQ(SessionsSettled(a, "vn_pool_same", 0), 0);
}

TEST_F(PooledConnectionTest, OleDbServicesMinusTwoAndPoolingFalseGiveEveryEntryItsOwnSession) {
  for (const char* off : {"OLE DB Services=-2", "Pooling=false"}) {
    SCOPED_TRACE(off);
    const std::string c = Pooled("vn_pool_off", off);
    std::set<std::string> pids;
    for (int entry = 0; entry < 5; ++entry) {
      pids.insert(Pid(c));
      EXPECT_EQ(SessionsSettled(c, "vn_pool_off", 0), 0);
    }
    EXPECT_EQ(pids.size(), 5u);
  }
  const std::string on = Pooled("vn_pool_off", "OLE DB Services=-1");
  EXPECT_EQ(Pid(on), Pid(on));
}

TEST_F(PooledConnectionTest, NothingAnEntryLeavesInItsSessionReachesTheNextEntry) {
  const std::string c = Pooled("vn_pool_clean");
  // A transaction left open is rolled back; the session serves on.
  std::string pid;
  {
    Connection db;
    db.Open(c);
    pid = Scalar(db, "SELECT pg_backend_pid()");
    Execute(db, "BEGIN");
    Execute(db, "CREATE TABLE vn_pool_left_open (x integer)");
  }
  EXPECT_EQ(Entry(c,
                  "SELECT pg_backend_pid(), coalesce(pg_current_xact_id_if_assigned()::text, "
                  "'none'), to_regclass('vn_pool_left_open') IS NULL",
                  adModeUnknown),
            pid + "|none|True");

  // Settings and advisory locks are reset; the session serves on.
  for (const char* change :
       {"SET search_path TO pg_catalog", "SELECT set_config('work_mem', '8MB', false)",
        "SELECT pg_advisory_lock(4711)"}) {
    SCOPED_TRACE(change);
    std::string changed;
    {
      Connection db;
      db.Open(c);
      changed = Scalar(db, "SELECT pg_backend_pid()");
      Execute(db, change);
    }
    EXPECT_EQ(Entry(c,
                    "SELECT pg_backend_pid(), current_setting('search_path'), "
                    "current_setting('work_mem'), (SELECT count(*) FROM pg_locks WHERE pid = "
                    "pg_backend_pid() AND locktype = 'advisory')",
                    adModeUnknown),
              changed + "|\"$user\", public|4MB|0");
  }

  // Temporary tables, prepared statements, listened channels and cursors held over a transaction
  // are gone; the session serves on.
  for (const char* change :
       {"CREATE TEMPORARY TABLE vn_pool_temp (x integer)", "PREPARE vn_pool_plan AS SELECT 1",
        "LISTEN vn_pool_channel", "DECLARE vn_pool_cursor CURSOR WITH HOLD FOR SELECT 1"}) {
    SCOPED_TRACE(change);
    std::string changed;
    {
      Connection db;
      db.Open(c);
      changed = Scalar(db, "SELECT pg_backend_pid()");
      Execute(db, change);
    }
    EXPECT_EQ(Entry(c,
                    "SELECT pg_backend_pid(), to_regclass('pg_temp.vn_pool_temp') IS NULL, "
                    "(SELECT count(*) FROM pg_prepared_statements), (SELECT count(*) FROM "
                    "pg_listening_channels()), (SELECT count(*) FROM pg_cursors)",
                    adModeUnknown),
              changed + "|True|0|0|0");
  }

  // An entry that switches its session's transactions to read-write does not pass that on: the
  // next entry's command runs read-only, as its connection asked.
  const std::string before = Pid(c);
  {
    Connection db;
    db.SetMode(adModeRead);
    db.Open(c);
    ASSERT_EQ(Scalar(db, "SELECT pg_backend_pid()"), before);
    Execute(db, "SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE");
  }
  EXPECT_EQ(Entry(c, "SELECT pg_backend_pid(), current_setting('transaction_read_only')"),
            before + "|on");

  // Settings made when the session was opened are made again as they were, a list as a list.
  const std::string listed = c + ";ConnSettings=SET search_path TO pg_catalog, public";
  const std::string first =
      Entry(listed, "SELECT pg_backend_pid(), current_setting('search_path')");
  EXPECT_EQ(first.substr(first.find('|')), "|pg_catalog, public");
  EXPECT_EQ(Entry(listed, "SELECT pg_backend_pid(), current_setting('search_path')"), first);
  // ... and a value with a quote and a backslash in it comes back as it was.
  const std::string odd = c + ";ConnSettings=SET search_path TO \"it's\\odd\", public";
  const std::string oddFirst = Entry(odd, "SELECT pg_backend_pid(), current_setting('search_path')");
  EXPECT_EQ(oddFirst.substr(oddFirst.find('|')), "|\"it's\\odd\", public");
  EXPECT_EQ(Entry(odd, "SELECT pg_backend_pid(), current_setting('search_path')"), oddFirst);

  // The read-only mode is the session's own and stays.
  const std::string readPid = Pid(c);
  EXPECT_EQ(Entry(c, "SELECT pg_backend_pid(), current_setting('default_transaction_read_only')"),
            readPid + "|on");
}

// What an entry left (here an advisory lock) does not stay in an idle session for long: the
// pool's thread resets it after about a second, and the session serves on.
TEST_F(PooledConnectionTest, AnIdleSessionIsResetOnThePoolsThreadWithinSeconds) {
  const std::string c = Pooled("vn_pool_tidy");
  std::string pid;
  {
    Connection db;
    db.SetMode(adModeRead);
    db.Open(c);
    pid = Scalar(db, "SELECT pg_backend_pid()");
    Execute(db, "SELECT pg_advisory_lock(4712)");
  }
  const std::string locks =
      "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND pid = " + pid;
  const std::string other = PostgresOdbc() + ";Pooling=false";
  EXPECT_EQ(Entry(other, locks), "1");  // given back as it was left
  std::string left = "1";
  for (int i = 0; i < 50 && left != "0"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    left = Entry(other, locks);
  }
  EXPECT_EQ(left, "0");
  EXPECT_EQ(Pid(c), pid);
}

TEST_F(PooledConnectionTest, AFailedEntrysSessionIsClosed) {
  const std::string c = Pooled("vn_pool_failed");
  const std::string pid = Pid(c);
  {
    Connection db;
    db.SetMode(adModeRead);
    db.Open(c);
    EXPECT_EQ(Scalar(db, "SELECT pg_backend_pid()"), pid);
    Recordset rs;
    EXPECT_THROW(rs.Open("SELECT no_such_column FROM pg_class", db), RuntimeError);
  }
  EXPECT_NE(Pid(c), pid);
  EXPECT_EQ(SessionsSettled(c, "vn_pool_failed", 1), 1);
}

TEST_F(PooledConnectionTest, TheCommandTimeoutEndsACommandOnAPooledSession) {
  const std::string c = Pooled("vn_pool_timeout", "Command Timeout=1");
  const std::string pid = Pid(c);
  {
    Connection db;
    db.SetMode(adModeRead);
    db.Open(c);
    EXPECT_EQ(Scalar(db, "SELECT pg_backend_pid()"), pid);
    const auto start = std::chrono::steady_clock::now();
    Recordset rs;
    RuntimeError e = ErrorOf([&] { rs.Open("SELECT pg_sleep(20)", db); });
    EXPECT_EQ(e.Number(), kErrTimeout) << e.Description();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
  // The timed-out session is not given back; the next entry gets a new one, timeout and all.
  EXPECT_NE(Pid(c), pid);
  Connection db;
  db.SetMode(adModeRead);
  db.Open(c);
  Recordset rs;
  EXPECT_EQ(ErrorOf([&] { rs.Open("SELECT pg_sleep(20)", db); }).Number(), kErrTimeout);
}

}  // namespace
}  // namespace vn::data::test
