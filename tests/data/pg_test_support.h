// Test support for the tests against the PostgreSQL server that .ci/postgres.sh starts: the
// connection string from the environment (the tests skip without it) and the pieces of SQL the
// tests share.
#pragma once

#include <cstdlib>
#include <string>

#include "data_test_support.h"

namespace vn::data::test {

// The ODBC connection string of the test server; empty when none runs.
inline std::string PostgresOdbc() {
  const char* pg = std::getenv("VARNOLIS_TEST_PG_ODBC");
  return pg == nullptr ? std::string() : std::string(pg);
}

#define VN_SKIP_WITHOUT_POSTGRES()                                           \
  if (PostgresOdbc().empty()) {                                              \
    GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set: start a server with " \
                    "'source .ci/postgres.sh' to run the PostgreSQL tests";  \
  }

// Runs `sql` on `c`, ignoring any rows.
inline void Execute(Connection& c, const std::string& sql) {
  Recordset rs;
  rs.Open(sql, c);
}

// The first column of the first row of `sql` on `c` as text.
inline std::string Scalar(Connection& c, const std::string& sql) {
  Recordset rs;
  rs.Open(sql, c);
  return rs.Eof() ? std::string() : rs.Fields(0).Value().DebugText();
}

}  // namespace vn::data::test
