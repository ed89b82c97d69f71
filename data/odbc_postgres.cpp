// PostgreSQL's dialect of the ODBC provider: its sessions prepared in one round trip (read-only
// transactions, the command timeout as the server's statement timeout, the connection's socket
// for the watchdog, the settings a reset must make again) and reset for the next user of a
// pooled session; its columns described from the result alone, without the catalog.
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "data/odbc_dialect.h"
#include "data/odbc_session.h"
#include "data/server_socket.h"

namespace vn::data {

namespace {

// The settings made in a session (by the driver and by us when it was opened), one row each:
// read as rows and made into calls here, which costs a new server process a third of what the
// same list made by the server's own aggregate and format functions does.
constexpr const char* kSettings =
    "SELECT name, setting FROM pg_show_all_settings() WHERE source = 'session'";

// The addresses of the connection's two ends as the server sees them.
constexpr const char* kEnds =
    "SELECT host(inet_client_addr()), inet_client_port(), host(inet_server_addr()), "
    "inet_server_port()";

// What makes a used session a new one again: its transaction rolled back, the server's own list
// for that (DISCARD ALL, which cannot run in a transaction, as the reset ahead of a command does)
// but for the cached plans, which nobody sees. The settings the session was opened with, its
// advisory locks and a commit follow (see Prepare): the commit starts the command's transaction
// with the session's own access mode, not the one its last user set. Each ROLLBACK and COMMIT has
// a transaction block to end: without one the server warns ("there is no transaction in
// progress") and writes that into its log, twice for every entry of every page; a BEGIN inside a
// transaction the last user left open is the only warning left.
constexpr const char* kReset =
    "BEGIN; ROLLBACK; BEGIN; CLOSE ALL; SET SESSION AUTHORIZATION DEFAULT; RESET ALL; "
    "DEALLOCATE ALL; UNLISTEN *; DISCARD TEMP; DISCARD SEQUENCES; ";
// Its statements, each ended by a semicolon: a result each, passed over ahead of the command's.
constexpr int kResetStatements = [] {
  constexpr std::string_view statements = kReset;
  return static_cast<int>(std::count(statements.begin(), statements.end(), ';'));
}();

// `text` as a string literal, as the server's format('%L') writes it: with a backslash in it, an
// escape string, which reads the same whatever standard_conforming_strings says.
std::string Literal(const std::string& text) {
  const bool escaped = text.find('\\') != std::string::npos;
  std::string out = escaped ? "E'" : "'";
  for (char c : text) {
    if (c == '\'' || (escaped && c == '\\')) out += c;
    out += c;
  }
  return out + "'";
}

// The statements that reset a session to the settings it was opened with, `settings` being rows
// of a name and a value.
std::string ResetStatements(std::vector<std::vector<std::string>> settings) {
  std::sort(settings.begin(), settings.end());
  std::string reset = std::string(kReset) + "SELECT pg_advisory_unlock_all()";
  for (const auto& setting : settings) {
    reset += ", set_config(" + Literal(setting[0]) + ", " + Literal(setting[1]) + ", false)";
  }
  return reset + "; COMMIT";
}

// The concise SQL type of column `i` from its descriptor type; for a date or time the local type
// name tells which, and an interval (rare) is described the catalog's way.
SQLSMALLINT SqlTypeOf(SQLHSTMT stmt, SQLUSMALLINT i, const std::string& typeName) {
  SQLLEN type = SQL_UNKNOWN_TYPE;
  SQLColAttributeW(stmt, i, SQL_DESC_TYPE, nullptr, 0, nullptr, &type);
  if (type == SQL_DATETIME) {
    if (typeName == "date") return SQL_TYPE_DATE;
    if (typeName.rfind("time", 0) == 0 && typeName.find("stamp") == std::string::npos)
      return SQL_TYPE_TIME;
    return SQL_TYPE_TIMESTAMP;
  }
  if (type == SQL_INTERVAL) {
    SQLSMALLINT concise = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLDescribeColW(stmt, i, nullptr, 0, nullptr, &concise, &size, &digits, nullptr);
    return concise;
  }
  return static_cast<SQLSMALLINT>(type);
}

class PostgresDialect : public OdbcDialect {
 public:
  // In one round trip where there is anything to do: the session's transactions read-only, the
  // command timeout as the session's statement timeout (the server ends a statement that
  // outlasts it) and the socket of the connection for the watchdog (from the addresses the
  // server sees; none over a local socket); for a pooled session, the settings that make it as
  // opened again after a reset. A session that is never reset (pooling off) is not asked for
  // them.
  void Prepare(OdbcSession& session) const override {
    const bool pooled = !session.poolKey.empty();
    const bool watched = session.commandTimeout > 0;
    std::string sql;
    if (session.options.readOnly) sql += "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY; ";
    if (watched) {
      sql += "SET statement_timeout = " + std::to_string(session.commandTimeout * 1000) + "; ";
      sql += std::string(kEnds) + "; ";
    }
    if (pooled) sql += kSettings;
    if (sql.empty()) return;
    const auto results = RunForRows(session, sql);
    // The addresses: one row of four columns; the settings: rows of a name and a value.
    const auto asAsked = [&] {
      if (!results || results->size() != (watched ? 1u : 0u) + (pooled ? 1u : 0u)) return false;
      if (watched && ((*results)[0].size() != 1 || (*results)[0][0].size() != 4)) return false;
      return !pooled || std::all_of(results->back().begin(), results->back().end(),
                                    [](const auto& row) { return row.size() == 2; });
    };
    if (!asAsked()) {
      throw RuntimeError(kErrProviderFailed, "The PostgreSQL session cannot be prepared.", "ODBC");
    }
    if (pooled) {
      session.reset = ResetStatements(results->back());
      session.resetResults = kResetStatements + 2;
    }
    if (!watched) return;
    const std::vector<std::string>& ends = (*results)[0][0];
    if (ends[0].empty() || ends[2].empty()) return;
    session.socket =
        FindServerSocket(ends[0], std::atoi(ends[1].c_str()), ends[2], std::atoi(ends[3].c_str()));
  }

  bool Resets() const override { return true; }

  bool Reset(OdbcSession& session) const override {
    return RunForRows(session, session.reset).has_value();
  }

  // The driver would set the session's statement timeout before and after every statement (two
  // more round trips); the session has it already.
  bool TimesStatements() const override { return true; }

  // The driver answers a column's SQL type, its nullability and its type name by looking the
  // column's table up in the catalog: one more round trip for every command on a new
  // connection. Its descriptor type and local type name come from the result alone; the SQL type
  // is made of them.
  std::optional<OdbcColumnDescription> Describe(SQLHSTMT stmt, SQLUSMALLINT i) const override {
    auto column = DescribeColumn(stmt, i, false, SQL_DESC_LOCAL_TYPE_NAME);
    if (column) column->sqlType = SqlTypeOf(stmt, i, column->typeName);
    return column;
  }
};

}  // namespace

const OdbcDialect& PostgresOdbcDialect() {
  static const PostgresDialect dialect;
  return dialect;
}

}  // namespace vn::data
