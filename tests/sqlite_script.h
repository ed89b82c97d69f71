// Test support: SQL run on an SQLite file that a test builds (a configuration or data database),
// through the data layer's handle owners, so that no path leaves a database open.
#pragma once

#include <sqlite3.h>

#include <string>

#include "data/sqlite_handles.h"

namespace vn::test {

// Runs every statement of `sql` on the SQLite file at `path`, which is made when missing; "" on
// success, else what SQLite said.
inline std::string RunSqliteScript(const std::string& path, const std::string& sql) {
  data::SqliteDatabase db;
  if (data::OpenSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db) != SQLITE_OK) {
    return "cannot open " + path + (db ? ": " + std::string(sqlite3_errmsg(db.get())) : "");
  }
  char* message = nullptr;
  const int rc = sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &message);
  const std::string text = message != nullptr ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  return rc == SQLITE_OK ? std::string() : text;
}

// The first column of the first row `sql` gives on the file at `path`, opened read-only; "" when
// there is none or the query fails.
inline std::string SqliteScalar(const std::string& path, const std::string& sql) {
  data::SqliteDatabase db;
  data::SqliteStatement statement;
  if (data::OpenSqlite(path, SQLITE_OPEN_READONLY, db) != SQLITE_OK ||
      data::PrepareSqlite(db.get(), sql, statement) != SQLITE_OK || !statement ||
      sqlite3_step(statement.get()) != SQLITE_ROW) {
    return {};
  }
  const unsigned char* text = sqlite3_column_text(statement.get(), 0);
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace vn::test
