// OdbcSession: one connection of the ODBC provider to its server, as the commands on it and the
// pool see it: the driver manager's handles, the watchdog of its calls, the server's dialect,
// and what pooling needs to know of it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/call_watchdog.h"
#include "data/connect_options.h"
#include "data/connection_pool.h"
#include "data/odbc_handles.h"

namespace vn::data {

class OdbcDialect;

struct OdbcSession : PooledSession {
  OdbcSession(std::string connectText, const ConnectOptions& connectOptions);
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;
  ~OdbcSession() override { Disconnect(); }

  // Ends the connection and frees its handles; Connect opens it again.
  void Disconnect();

  // Ends a call of `stmt` that outlasts the timeout: the server's socket shut down when it is
  // known (a server that no longer runs answers no cancel request), else the driver's cancel.
  std::function<void()> Stopper(SQLHSTMT stmt);

  bool Untidy() const override { return untidy; }
  bool Tidy() noexcept override;

  const std::string odbcText;  // for SQLDriverConnect, again when a lost connection is replaced
  const ConnectOptions options;
  OdbcEnvironment env;  // before the connection, which it outlives
  OdbcConnection dbc;
  const OdbcDialect* dialect = nullptr;  // of the server, from Connect on
  int commandTimeout = 0;
  int socket = -1;  // the connection's socket to the server, where it can be found
  CallWatchdog watchdog;
  // Pooling: the key the session goes back under (empty: it closes with its connection), the
  // statements that reset it and the number of results they give, whether it came idle from the
  // pool and has not been called since, and whether a call on it failed (it never goes back then).
  std::string poolKey;
  std::string reset;
  int resetResults = 0;
  bool takenIdle = false;
  bool failed = false;
  // Given back as its user left it: the reset goes ahead of the next command on it, in the
  // same round trip, or the pool's thread runs it when the session stays idle.
  bool untidy = false;
};

// Connects `session` (again, after Disconnect) and prepares it as its server's dialect asks;
// throws RuntimeError.
void Connect(OdbcSession& session);

// Runs `sql` on the session, which may be several statements (one round trip, as one simple
// query), and gives the rows of each of its results that has columns, in order, every value as
// text (empty for NULL); nullopt when a statement fails or the watchdog ends the call.
using ResultRows = std::vector<std::vector<std::vector<std::string>>>;
std::optional<ResultRows> RunForRows(OdbcSession& session, const std::string& sql);

}  // namespace vn::data
