// The Jet and ACE providers: the file's first bytes decide. An SQLite file (the shipped
// configuration database) is read by the SQLite provider in Jet's dialect; a real Access file
// through Windows' Access ODBC driver, or on Linux from an SQLite snapshot that mdbtools'
// library makes of it.
#include "data/database_file.h"
#include "data/odbc_drivers.h"
#include "data/odbc_routes.h"
#include "data/provider.h"
#ifndef _WIN32
#include "data/mdb_snapshot.h"
#endif

namespace vn::data {

std::unique_ptr<Provider> OpenJetProvider(const ConnectionString& connectionString,
                                          const std::string& userId, const std::string& password,
                                          const ConnectOptions& options) {
  // A file kept open from the last read is an SQLite file still as it was then.
  if (auto kept = KeptSqliteProvider(connectionString, true, options)) return kept;
  const std::string path = DataSourceFile(connectionString);
  const DatabaseFileKind kind = KindOfDatabaseFile(path);
  if (kind != DatabaseFileKind::kJet3 && kind != DatabaseFileKind::kJet4 &&
      kind != DatabaseFileKind::kAce) {
    // SQLite, and whatever else: the SQLite provider says what is wrong with the file.
    return OpenSqliteProvider(connectionString, true, options);
  }
#ifdef _WIN32
  return OpenOdbcProvider(AccessOdbcPairs(connectionString, path, kind == DatabaseFileKind::kAce,
                                          options.readOnly, InstalledOdbcDrivers()),
                          userId, password, options);
#else
  // mdbtools reads without workgroup or database passwords; the snapshot is only read.
  (void)userId;
  (void)password;
  ConnectionString snapshot;
  snapshot.Add("Data Source", MdbSnapshotOf(path));
  ConnectOptions readOnly = options;
  readOnly.readOnly = true;
  return OpenSqliteProvider(snapshot, true, readOnly);
#endif
}

}  // namespace vn::data
