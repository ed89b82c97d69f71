// The data-link dialog's fields: which kind of connection a connection string describes (an
// SQLite file, an ODBC data source, an ODBC driver with its keys, or a string as typed) and its
// parts, read and written with the data layer's connection-string syntax.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vn::config {

struct DataLinkFields {
  enum Kind { kSqliteFile = 0, kOdbcDataSource = 1, kOdbcDriver = 2, kTyped = 3 };
  Kind kind = kSqliteFile;
  std::string file;
  std::string provider;  // the file's provider as read (SQLite, Jet or ACE); empty for a new one
  std::string dsn;
  std::string user;
  std::string password;
  std::string driver;
  std::string keys;  // "Name=Wert" per line
  std::string typed;

  // Fills every field that `connectionString` names and picks its kind.
  static DataLinkFields Read(const std::string& connectionString);
  // The connection string the fields of the current kind describe ("" when the main field is
  // empty). A file keeps the provider it was read with where that reads it; otherwise its first
  // bytes choose: an Access file the Jet provider (ACE for the ACE format), any other SQLite.
  std::string ConnectionString() const;
};

// The kinds' names in the order of DataLinkFields::Kind.
std::vector<std::string> DataLinkKindNames();

}  // namespace vn::config
