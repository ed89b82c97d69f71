#include "data/odbc_session.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "data/errors.h"
#include "data/odbc_dialect.h"
#include "data/odbc_text.h"
#include "data/server_socket.h"

namespace vn::data {

namespace {

// The watchdog gives the driver this long beyond the command timeout to report it itself.
constexpr std::chrono::seconds kDriverGrace{1};

std::string DbmsName(SQLHDBC dbc) {
  SQLWCHAR name[128] = {};
  SQLSMALLINT bytes = 0;
  if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, SQL_DBMS_NAME, name, sizeof name, &bytes))) return {};
  return FromOdbcText(name, std::min<size_t>(static_cast<size_t>(bytes) / sizeof(SQLWCHAR), 127));
}

// The turn of a connect through unixODBC, one at a time in the process. The PostgreSQL driver and
// libpq call setlocale(LC_CTYPE, ...) while they connect and read the name it hands back; another
// thread's setlocale frees that name meanwhile, so two connects at once read freed memory. On
// Windows the drivers ask the system for the code page instead, and a connect that waits for a
// server does not hold up the other tabs' connects.
std::unique_lock<std::mutex> ConnectTurn() {
#ifdef _WIN32
  return {};
#else
  static std::mutex turn;
  return std::unique_lock(turn);
#endif
}

// The rows of `stmt`'s current result, every column as text; nullopt when a column cannot be
// read.
std::optional<std::vector<std::vector<std::string>>> RowsText(SQLHSTMT stmt, SQLSMALLINT columns) {
  std::vector<std::vector<std::string>> rows;
  SQLRETURN rc;
  while (SQL_SUCCEEDED(rc = SQLFetch(stmt))) {
    std::vector<std::string> row;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
      SQLWCHAR buffer[4096];
      SQLLEN indicator = 0;
      if (!SQL_SUCCEEDED(SQLGetData(stmt, c, SQL_C_WCHAR, buffer, sizeof buffer, &indicator)))
        return std::nullopt;
      row.push_back(
          indicator < 0
              ? std::string()
              : FromOdbcText(buffer,
                             std::min<size_t>(static_cast<size_t>(indicator) / sizeof(SQLWCHAR),
                                              sizeof buffer / sizeof buffer[0] - 1)));
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQL_NO_DATA) return std::nullopt;
  return rows;
}

}  // namespace

OdbcSession::OdbcSession(std::string connectText, const ConnectOptions& connectOptions)
    : odbcText(std::move(connectText)),
      options(connectOptions),
      commandTimeout(connectOptions.commandTimeout),
      watchdog(connectOptions.commandTimeout > 0
                   ? std::chrono::seconds(connectOptions.commandTimeout) + kDriverGrace
                   : std::chrono::seconds(0)) {}

void OdbcSession::Disconnect() {
  if (dbc.Connected()) {
    CallWatchdog::Call call(watchdog, [this] { ShutDownServerSocket(socket); });
    dbc.Disconnect();
  }
  socket = -1;
  dbc.Free();
  env.Free();
}

std::function<void()> OdbcSession::Stopper(SQLHSTMT stmt) {
  return [this, stmt] {
    if (socket >= 0) {
      ShutDownServerSocket(socket);
    } else if (stmt != SQL_NULL_HSTMT) {
      SQLCancel(stmt);
    }
  };
}

bool OdbcSession::Tidy() noexcept {
  try {
    if (!untidy) return true;
    if (!dialect->Reset(*this)) return false;
    untidy = false;
    return true;
  } catch (const std::exception&) {
    return false;  // out of memory: the session closes
  }
}

void Connect(OdbcSession& session) {
  const ConnectOptions& options = session.options;
  session.env = OdbcEnvironment::Allocate();
  if (!session.env) {
    throw RuntimeError(kErrProviderFailed, "The ODBC driver manager cannot be initialised.",
                       "ODBC");
  }
  session.dbc = OdbcConnection::Allocate(session.env);
  if (!session.dbc) {
    throw RuntimeError(kErrProviderFailed,
                       OdbcDiagnostics(SQL_HANDLE_ENV, session.env.Get(), "SQLAllocHandle"),
                       "ODBC");
  }
  SQLSetConnectAttr(session.dbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(options.connectTimeout)), 0);
  if (options.readOnly) {
    // A hint: drivers that honour it refuse writes themselves.
    SQLSetConnectAttr(session.dbc.Get(), SQL_ATTR_ACCESS_MODE,
                      reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
  }
  SQLRETURN rc;
  {
    const auto turn = ConnectTurn();
    rc = session.dbc.DriverConnect(ToOdbcText(session.odbcText));
  }
  if (!SQL_SUCCEEDED(rc)) {
    throw RuntimeError(kErrProviderFailed,
                       OdbcDiagnostics(SQL_HANDLE_DBC, session.dbc.Get(), "SQLDriverConnect"),
                       "ODBC");
  }
  session.dialect = &OdbcDialect::Of(DbmsName(session.dbc.Get()));
  session.dialect->Prepare(session);
  // Only a session that can be checked for what its users leave behind is pooled. Other servers,
  // and SQLite files (which may be replaced while a session is idle), get a new connection for
  // every entry.
  if (!session.dialect->Resets()) session.poolKey.clear();
}

std::optional<ResultRows> RunForRows(OdbcSession& session, const std::string& sql) {
  OdbcStatement stmt = OdbcStatement::Allocate(session.dbc.Get());
  if (!stmt) return std::nullopt;
  std::optional<ResultRows> results = ResultRows{};
  CallWatchdog::Call call(session.watchdog, session.Stopper(stmt.Get()));
  OdbcText text = ToOdbcText(sql);
  SQLRETURN rc = SQLExecDirectW(stmt.Get(), text.data(), static_cast<SQLINTEGER>(text.size()));
  while (SQL_SUCCEEDED(rc)) {
    SQLSMALLINT columns = 0;
    if (SQL_SUCCEEDED(SQLNumResultCols(stmt.Get(), &columns)) && columns > 0) {
      auto rows = RowsText(stmt.Get(), columns);
      if (!rows) break;
      results->push_back(std::move(*rows));
    }
    rc = SQLMoreResults(stmt.Get());
  }
  if (rc != SQL_NO_DATA || call.Stopped()) results.reset();
  return results;
}

}  // namespace vn::data
