// The floor of a first page that reaches its database through ODBC: a whole process that does
// nothing but connect through the driver manager, run the statements of a file (one a line) in
// that one session and read every value as text. bench_pool runs it beside `psql` and the
// library's own first page, so that what the driver manager and the driver cost a new process
// is seen apart from what the library adds.
//
//   bench_odbc_session FILE     (the connection string in VARNOLIS_TEST_PG_ODBC)
#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

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
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  std::string text = connection;
  if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                      static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr,
                                      SQL_DRIVER_NOPROMPT))) {
    std::cerr << "bench_odbc_session: cannot connect\n";
    return 1;
  }
  std::size_t bytes = 0;
  for (std::string sql; std::getline(statements, sql);) {
    if (sql.empty()) continue;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    if (!SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()),
                                     static_cast<SQLINTEGER>(sql.size())))) {
      std::cerr << "bench_odbc_session: failed: " << sql << '\n';
      return 1;
    }
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
      for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
        SQLCHAR value[256];
        SQLLEN indicator = 0;
        SQLGetData(stmt, c, SQL_C_CHAR, value, sizeof value, &indicator);
        if (indicator > 0) bytes += static_cast<std::size_t>(indicator);
      }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  }
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return bytes > 0 ? 0 : 1;
}
