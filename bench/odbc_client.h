// An ODBC client with nothing of the library in it, the floor that bench_pool measures pages
// against: one connection through the driver manager, statements run in it with every column
// described and every value read as text, as any client that shows the rows does.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <string>

#include "data/odbc_handles.h"

namespace vn::bench {

class OdbcClient {
 public:
  // Connects or ends the process with a message naming `who`.
  OdbcClient(std::string connectionString, const char* who)
      : who_(who),
        env_(data::OdbcEnvironment::Allocate()),
        dbc_(data::OdbcConnection::Allocate(env_)) {
    // Connection strings are ASCII: widened unit by unit.
    if (!dbc_ || !SQL_SUCCEEDED(dbc_.DriverConnect(std::basic_string<SQLWCHAR>(
                     connectionString.begin(), connectionString.end())))) {
      std::cerr << who_ << ": the ODBC client cannot connect\n";
      std::exit(1);
    }
  }

  // Runs `sql` and reads its rows; the bytes of the values read. A failure ends the process.
  std::size_t Run(std::string sql) {
    const data::OdbcStatement statement = data::OdbcStatement::Allocate(dbc_.Get());
    const SQLHSTMT stmt = statement.Get();
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
    return bytes;
  }

 private:
  const char* who_;
  data::OdbcEnvironment env_;  // before the connection, which it outlives
  data::OdbcConnection dbc_;
};

}  // namespace vn::bench
