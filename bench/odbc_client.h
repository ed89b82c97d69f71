// An ODBC client with nothing of the library in it, the floor that bench_pool measures pages
// against: one connection through the driver manager, statements run in it with every column
// described and every value read as text, as any client that shows the rows does.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <string>

namespace vn::bench {

class OdbcClient {
 public:
  // Connects or ends the process with a message naming `who`.
  OdbcClient(std::string connectionString, const char* who) : who_(who) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    if (!SQL_SUCCEEDED(SQLDriverConnect(
            dbc_, nullptr, reinterpret_cast<SQLCHAR*>(connectionString.data()),
            static_cast<SQLSMALLINT>(connectionString.size()), nullptr, 0, nullptr,
            SQL_DRIVER_NOPROMPT))) {
      std::cerr << who_ << ": the ODBC client cannot connect\n";
      std::exit(1);
    }
  }
  ~OdbcClient() {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  OdbcClient(const OdbcClient&) = delete;
  OdbcClient& operator=(const OdbcClient&) = delete;

  // Runs `sql` and reads its rows; the bytes of the values read. A failure ends the process.
  std::size_t Run(std::string sql) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt);
    if (!SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()),
                                     static_cast<SQLINTEGER>(sql.size())))) {
      std::cerr << who_ << ": a query failed in the ODBC client: " << sql << '\n';
      std::exit(1);
    }
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
      SQLCHAR name[256];
      SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      SQLDescribeCol(stmt, c, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
    }
    std::size_t bytes = 0;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
      for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
        SQLCHAR value[256];
        SQLLEN indicator = 0;
        SQLGetData(stmt, c, SQL_C_CHAR, value, sizeof value, &indicator);
        if (indicator > 0) bytes += static_cast<std::size_t>(indicator);
      }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return bytes;
  }

 private:
  const char* who_;
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
};

}  // namespace vn::bench
