// The driver manager's handles come back on every way out: the owners alone (moved, assigned,
// freed early), and the provider against PostgreSQL where each step fails (a refused login, a
// statement the server cannot parse, the server process ended while rows are fetched). The
// handles are counted as unixODBC hands them out and takes them back, by functions of this test
// that stand in front of its own (Linux: found with dlsym), and the process's descriptors are
// counted too.
#ifndef _WIN32
#include <dlfcn.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "data/connection_pool.h"
#include "data/errors.h"
#include "data/odbc_handles.h"
#include "pg_test_support.h"

namespace {

// The handles of each type (SQL_HANDLE_ENV 1 to SQL_HANDLE_DESC 4) that the driver manager has
// handed out and not yet taken back.
std::array<std::atomic<int>, 5> liveHandles{};

template <typename Function>
Function RealOdbc(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  static const auto real = RealOdbc<decltype(&SQLAllocHandle)>("SQLAllocHandle");
  const SQLRETURN rc = real(type, input, output);
  if (SQL_SUCCEEDED(rc) && type > 0 && type < 5) ++liveHandles[static_cast<size_t>(type)];
  return rc;
}

extern "C" SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  static const auto real = RealOdbc<decltype(&SQLFreeHandle)>("SQLFreeHandle");
  const SQLRETURN rc = real(type, handle);
  if (SQL_SUCCEEDED(rc) && type > 0 && type < 5) --liveHandles[static_cast<size_t>(type)];
  return rc;
}

namespace vn::data::test {
namespace {

// Live handles as "environments/connections/statements", counted from `base`.
std::string Live(const std::string& base = "0/0/0") {
  int env = 0, dbc = 0, stmt = 0;
  std::sscanf(base.c_str(), "%d/%d/%d", &env, &dbc, &stmt);
  const auto count = [](SQLSMALLINT type, int from) {
    return std::to_string(liveHandles[static_cast<size_t>(type)] - from);
  };
  return count(SQL_HANDLE_ENV, env) + "/" + count(SQL_HANDLE_DBC, dbc) + "/" +
         count(SQL_HANDLE_STMT, stmt);
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

TEST(OdbcHandlesLinuxTest, OwnersFreeEachHandleOnceWhereverItWasMoved) {
  const std::string before = Live();
  {
    OdbcEnvironment env = OdbcEnvironment::Allocate();
    ASSERT_TRUE(env);
    OdbcConnection first = OdbcConnection::Allocate(env);
    OdbcConnection second = OdbcConnection::Allocate(env);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(Live(before), "1/2/0");

    OdbcConnection moved = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_TRUE(moved);
    moved = std::move(second);  // the handle it held goes
    EXPECT_EQ(Live(before), "1/1/0");
    moved.Free();
    moved.Free();  // freeing twice frees once
    EXPECT_FALSE(moved);
    EXPECT_EQ(Live(before), "1/0/0");

    // A connection that never connected has nothing to end; its handle still goes.
    OdbcConnection unconnected = OdbcConnection::Allocate(env);
    EXPECT_FALSE(unconnected.Connected());
    unconnected.Disconnect();
    EXPECT_TRUE(unconnected);
  }
  EXPECT_EQ(Live(), before);
}

class OdbcHandlesPostgresLinuxTest : public DataTest {
 protected:
  void SetUp() override {
    VN_SKIP_WITHOUT_POSTGRES();
    DataTest::SetUp();
    ClosePooledConnections();  // nothing idle from an earlier test in the counts
    handles_ = Live();
    descriptors_ = OpenDescriptors();
  }
  void TearDown() override {
    if (PostgresOdbc().empty()) return;
    ClosePooledConnections();
    EXPECT_EQ(Live(), handles_) << "environments/connections/statements left";
    EXPECT_EQ(OpenDescriptors(), descriptors_);
    DataTest::TearDown();
  }

  std::string handles_;
  int descriptors_ = 0;
};

TEST_F(OdbcHandlesPostgresLinuxTest, ARefusedLoginLeavesNoHandle) {
  const char* bad = std::getenv("VARNOLIS_TEST_PG_BAD_ODBC");
  if (bad == nullptr) GTEST_SKIP() << "VARNOLIS_TEST_PG_BAD_ODBC is not set";
  for (const char* pooling : {"", ";Pooling=false"}) {
    SCOPED_TRACE(pooling);
    Connection c;
    RuntimeError e = ErrorOf([&] { c.Open(std::string(bad) + pooling); });
    EXPECT_NE(e.Description().find("password authentication failed"), std::string::npos)
        << e.Description();
    EXPECT_EQ(Live(), handles_);
  }
}

TEST_F(OdbcHandlesPostgresLinuxTest, AStatementTheServerCannotParseLeavesNoStatement) {
  for (const char* pooling : {"", ";Pooling=false"}) {
    SCOPED_TRACE(pooling);
    Connection c;
    c.Open(PostgresOdbc() + pooling);
    const std::string connected = Live();
    Recordset rs;
    RuntimeError e = ErrorOf([&] { rs.Open("SELEKT 1", c); });
    EXPECT_EQ(e.Number(), kErrCommandFailed);
    EXPECT_NE(e.Description().find("[42601]"), std::string::npos) << e.Description();
    EXPECT_EQ(Live(), connected);  // the statement went at once; the connection stays open
    c.Close();
    EXPECT_EQ(Live(), handles_);  // a session with a failed call is not pooled
  }
}

TEST_F(OdbcHandlesPostgresLinuxTest, AServerProcessEndedWhileRowsAreFetchedLeavesNoHandle) {
  Connection admin;
  admin.Open(PostgresOdbc() + ";Pooling=false");
  const std::string adminOnly = Live();
  const int adminDescriptors = OpenDescriptors();
  {
    Connection c;
    c.SetMode(adModeRead);
    // Rows fetched from the server a hundred at a time, as a cursor.
    c.Open(PostgresOdbc() + ";UseDeclareFetch=1;Fetch=100");
    const std::string server = Scalar(c, "SELECT pg_backend_pid()");
    Recordset rs;
    rs.Open("SELECT g, repeat('x', 100) FROM generate_series(1, 50000) g", c);
    for (int i = 0; i < 10; ++i) rs.MoveNext();
    EXPECT_EQ(Scalar(admin, "SELECT pg_terminate_backend(" + server + ")"), "True");
    RuntimeError e = ErrorOf([&] {
      while (!rs.Eof()) rs.MoveNext();
    });
    EXPECT_EQ(e.Number(), kErrCommandFailed) << e.Description();
    rs.Close();
    c.Close();
  }
  EXPECT_EQ(Live(), adminOnly);
  EXPECT_EQ(OpenDescriptors(), adminDescriptors);  // the ended session's socket is closed
}

}  // namespace
}  // namespace vn::data::test
#endif
