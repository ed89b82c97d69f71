// The floor of a first page that reaches its database through ODBC: a whole process that does
// nothing but connect through the driver manager, run the statements of a file (one a line) in
// that one session and read their rows. bench_pool runs it beside `psql` and the library's own
// first page, so that what the driver manager and the driver cost a new process is seen apart
// from what the library adds.
//
//   bench_odbc_session FILE     (the connection string in VARNOLIS_TEST_PG_ODBC)
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/odbc_client.h"

int main(int argc, char** argv) {
  const char* connection = std::getenv("VARNOLIS_TEST_PG_ODBC");
  if (argc != 2 || connection == nullptr) {
    std::cerr << "usage: bench_odbc_session FILE (with VARNOLIS_TEST_PG_ODBC set)\n";
    return 2;
  }
  std::ifstream statements(argv[1]);
  if (!statements) {
    std::cerr << "bench_odbc_session: cannot read " << argv[1] << '\n';
    return 2;
  }
  std::size_t bytes = 0;
  vn::bench::OdbcClient client(connection, "bench_odbc_session");
  for (std::string sql; std::getline(statements, sql);) {
    if (!sql.empty()) bytes += client.Run(sql);
  }
  return bytes > 0 ? 0 : 1;
}
