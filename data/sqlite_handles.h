// Owners of SQLite's handles, for every part that talks to SQLite itself (the provider, the
// Access snapshot, the converter of configuration databases): an open database, closed when its
// owner goes, and a prepared statement, finalised when its owner goes; with the open and the
// prepare that hand them out, and SQLite's quoting of a name.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace vn::data {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinaliser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteDatabase = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinaliser>;

// Opens `path` with SQLite's `flags` into `db`; SQLite's result code. A failed open still gives a
// handle, which holds the reason (sqlite3_errmsg), unless SQLite had no memory for one.
inline int OpenSqlite(const std::string& path, int flags, SqliteDatabase& db) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  db.reset(raw);
  return rc;
}

// Prepares the first statement of `sql` into `statement`, which is null for a text without one;
// `tail` receives the rest of the text when asked for. SQLite's result code.
inline int PrepareSqlite(sqlite3* db, std::string_view sql, SqliteStatement& statement,
                         const char** tail = nullptr) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, tail);
  statement.reset(raw);
  return rc;
}

// `name` as an SQLite identifier in double quotes.
inline std::string QuoteSqliteName(const std::string& name) {
  return "\"" + ReplaceAll(name, "\"", "\"\"") + "\"";
}

}  // namespace vn::data
