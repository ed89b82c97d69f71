// Provider: the session of one data provider behind an open Connection (SQLite, ODBC, or the
// data shaping service over one of them), and the factory that picks it by connection string.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "data/connect_mode.h"
#include "data/connect_options.h"
#include "data/connection_string.h"
#include "data/cursor.h"
#include "data/row_writer.h"

namespace vn::data {

class Provider {
 public:
  virtual ~Provider() = default;

  // A runner for `command` on this session; each Run executes it afresh. Running it throws
  // RuntimeError when the provider rejects the command.
  virtual std::shared_ptr<CommandRunner> Command(const std::string& command) = 0;

  // Executes `command` and returns a cursor on its result: streamed for the row providers,
  // materialised for shaped results.
  virtual std::unique_ptr<Cursor> Open(const std::string& command);

  // The table behind `command`'s rows, for a client cursor that edits them; nullopt when the
  // rows are not those of one table with its key, or the provider does not write.
  virtual std::optional<UpdateTarget> UpdateTargetOf(const std::string& command);
};

// Opens the provider that `connectionString` names. `mode` is a ConnectMode.
std::unique_ptr<Provider> OpenProvider(const ConnectionString& connectionString,
                                       const std::string& userId, const std::string& password,
                                       int mode);

// The providers, for OpenProvider; `connectionString` holds no more option pairs.
std::unique_ptr<Provider> OpenSqliteProvider(const ConnectionString& connectionString, bool jet,
                                             const ConnectOptions& options);
// The SQLite provider on a file kept open from an earlier read of it, while it is unchanged; null
// when there is none (see OpenSqliteProvider).
std::unique_ptr<Provider> KeptSqliteProvider(const ConnectionString& connectionString, bool jet,
                                             const ConnectOptions& options);
// Microsoft.Jet.OLEDB and Microsoft.ACE.OLEDB: SQLite files and real Access files alike.
std::unique_ptr<Provider> OpenJetProvider(const ConnectionString& connectionString,
                                          const std::string& userId, const std::string& password,
                                          const ConnectOptions& options);
std::unique_ptr<Provider> OpenOdbcProvider(const ConnectionString& connectionString,
                                           const std::string& userId, const std::string& password,
                                           const ConnectOptions& options);
std::unique_ptr<Provider> OpenShapeProvider(std::unique_ptr<Provider> dataProvider);

}  // namespace vn::data
