// The data-link dialog's fields: which kind of connection a connection string describes (an
// SQLite file, an ODBC data source, an ODBC driver with its keys, or a string as typed) and its
// parts, read and written with the data layer's connection-string syntax. A string that was read
// is given back changed only where its fields were edited.
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
  // empty). A string that was read comes back byte for byte while no field changed; an edit
  // changes only the keys of edited fields, and every key the kind does not show, the order and
  // the quoting stay. A kind changed from the one read replaces the old kind's keys with the
  // new one's. A file keeps the provider it was read with where that reads it; otherwise its
  // first bytes choose: an Access file the Jet provider (ACE for the ACE format), any other
  // SQLite.
  std::string ConnectionString() const;

 private:
  // The string of a new connection of the current kind.
  std::string Built() const;
  // The keys the current kind shows, with their values as the dialog shows them (a driver's
  // keys one by one); a file's provider as read, or as it will be written.
  std::vector<std::pair<std::string, std::string>> Shown(bool asRead) const;
  // The value of a shown key as it is written.
  std::string Written(const std::string& key, const std::string& value) const;
  bool SameFields(const DataLinkFields& other) const;

  std::string original_;
  std::vector<DataLinkFields> read_;  // the fields as read: none for a new connection
};

// The kinds' names in the order of DataLinkFields::Kind.
std::vector<std::string> DataLinkKindNames();

}  // namespace vn::config
