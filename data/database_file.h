// The database file a Jet or SQLite connection string names, and what kind of file it is: the
// Jet providers read SQLite files (the shipped configuration) and real Access files alike.
#pragma once

#include <string>

#include "data/connection_string.h"

namespace vn::data {

enum class DatabaseFileKind { kNone, kSqlite, kJet3, kJet4, kAce, kOther };

// The file of the pair `Data Source`, a relative path taken relative to the program folder;
// empty when the pair is absent or empty.
std::string DataSourceFile(const ConnectionString& connectionString);

// The kind of the file at `path` by its first bytes; kNone when it cannot be read.
DatabaseFileKind KindOfDatabaseFile(const std::string& path);

}  // namespace vn::data
