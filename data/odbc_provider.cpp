// The ODBC provider (MSDASQL): every other database through the driver manager (unixODBC's;
// odbc32 on Windows), with texts exchanged as UTF-16 and the PostgreSQL driver's money and
// boolean texts read as what they are.
#ifdef _WIN32
#include <windows.h>  // Windows' ODBC headers rest on its types
#endif
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

#include "data/call_watchdog.h"
#include "data/connection_pool.h"
#include "data/date_serial.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/provider.h"
#include "data/server_socket.h"
#include "data/sql_values.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace vn::data {

namespace {

using WText = std::basic_string<SQLWCHAR>;

WText ToWide(const std::string& utf8) {
  WText out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    long c = DecodeUtf8(utf8, pos);
    if (c < 0) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<SQLWCHAR>(0xD800 + (c >> 10)));
      out.push_back(static_cast<SQLWCHAR>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<SQLWCHAR>(c));
    }
  }
  return out;
}

std::string FromWide(const SQLWCHAR* text, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    unsigned long c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// "[SQLSTATE] message" of every diagnostic record of the handle; where the driver left none,
// which call failed, so that the reader knows where to look.
std::string Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const char* call) {
  std::string out;
  for (SQLSMALLINT record = 1; record <= 10; ++record) {
    SQLWCHAR state[6] = {};
    SQLWCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc =
        SQLGetDiagRecW(handleType, handle, record, state, &native, message,
                       static_cast<SQLSMALLINT>(sizeof message / sizeof message[0]), &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (!out.empty()) out += " ";
    size_t messageLength = std::min<size_t>(static_cast<size_t>(length), 1023);
    out += "[" + FromWide(state, 5) + "] " + FromWide(message, messageLength);
  }
  if (out.empty()) {
    out = std::string("The ODBC driver gave no reason why ") + call + " failed.";
  }
  return out;
}

// The first diagnostic record's SQLSTATE.
std::string State(SQLSMALLINT handleType, SQLHANDLE handle) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, 1, state, &native, nullptr, 0, &length))) {
    return {};
  }
  return FromWide(state, 5);
}

// `text` as a value of the DataTypeEnum `type` where it reads as one, else the text itself.
Variant ValueOfText(const std::string& text, int type) {
  const std::string t = TrimSpaces(text);
  switch (type) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt: {
      char* end = nullptr;
      errno = 0;
      const long long v = std::strtoll(t.c_str(), &end, 10);
      if (!t.empty() && errno == 0 && end == t.c_str() + t.size()) {
        return Variant(static_cast<std::int64_t>(v));
      }
      break;
    }
    case adBoolean: {
      const std::string l = LowerAscii(t);
      if (l == "1" || l == "t" || l == "true" || l == "-1" || l == "yes") return Variant(true);
      if (l == "0" || l == "f" || l == "false" || l == "no") return Variant(false);
      break;
    }
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      if (auto d = ParseIsoDate(t)) return Variant(*d);
      break;
    default:
      break;
  }
  return Variant(text);
}

// The watchdog gives the driver this long beyond the command timeout to report it itself.
constexpr std::chrono::seconds kDriverGrace{1};

struct OdbcSession : PooledSession {
  OdbcSession(std::string connectText, const ConnectOptions& connectOptions)
      : odbcText(std::move(connectText)),
        options(connectOptions),
        commandTimeout(connectOptions.commandTimeout),
        watchdog(connectOptions.commandTimeout > 0
                     ? std::chrono::seconds(connectOptions.commandTimeout) + kDriverGrace
                     : std::chrono::seconds(0)) {}
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;
  ~OdbcSession() override { Disconnect(); }

  void Disconnect() {
    if (connected) {
      CallWatchdog::Call call(watchdog, [this] { ShutDownServerSocket(socket); });
      SQLDisconnect(dbc);
    }
    connected = false;
    socket = -1;
    if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    dbc = SQL_NULL_HDBC;
    env = SQL_NULL_HENV;
  }

  // Ends a call of `stmt` that outlasts the timeout: the server's socket shut down when it is
  // known (a server that no longer runs answers no cancel request), else the driver's cancel.
  std::function<void()> Stopper(SQLHSTMT stmt) {
    return [this, stmt] {
      if (socket >= 0) {
        ShutDownServerSocket(socket);
      } else if (stmt != SQL_NULL_HSTMT) {
        SQLCancel(stmt);
      }
    };
  }

  const std::string odbcText;  // for SQLDriverConnect, again when a lost connection is replaced
  const ConnectOptions options;
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
  std::string dbms;
  int commandTimeout = 0;
  int socket = -1;  // the connection's socket to the server, where it can be found
  CallWatchdog watchdog;
  // Pooling: the key the session goes back under (empty: it closes with its connection), the
  // statements that reset it and the state it must show after them to go back, whether it came
  // idle from the pool and has not been called since, and whether a call on it failed (it never
  // goes back then).
  std::string poolKey;
  std::string reset;
  int resetResults = 0;  // the results of the reset's statements
  bool takenIdle = false;
  bool failed = false;
  // Given back as its user left it: the reset goes ahead of the next command on it, in the
  // same round trip, or the pool's thread runs it when the session stays idle.
  bool untidy = false;

  bool Untidy() const override { return untidy; }
  bool Tidy() noexcept override;
};

// Connects `session` (again, after Disconnect) and prepares it; throws RuntimeError.
void Connect(const std::shared_ptr<OdbcSession>& session);

enum class FetchAs {
  kWideText,
  kInteger,
  kUnsigned,
  kDouble,
  kDecimalText,
  kCurrencyText,
  kBooleanText,
  kBit,
  kDate,
  kTime,
  kTimestamp,
  kBinary,
  kLooseText  // a typed read the driver refused: text, taken as the described type
};

struct OdbcColumn {
  FetchAs fetch = FetchAs::kWideText;
};

class OdbcSource : public RowSource {
 public:
  OdbcSource(std::shared_ptr<OdbcSession> session, const std::string& command)
      : session_(std::move(session)) {
    SQLRETURN rc = session_->untidy ? ExecuteAfterReset(command) : Execute(command);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA && session_->takenIdle && ConnectionLost()) {
      // The server ended the pooled session while it was idle (a restart, an idle timeout):
      // the command runs once more, on a new connection.
      rc = ExecuteOnNewConnection(command);
    }
    session_->takenIdle = false;
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail(kErrCommandFailed, "SQLExecDirect");
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt_, &count)))
      Fail(kErrCommandFailed, "SQLNumResultCols");
    columns_.resize(static_cast<size_t>(count));
    kinds_.resize(static_cast<size_t>(count));
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) Describe(i);
  }

  ~OdbcSource() override { FreeStatement(); }

  const std::vector<Column>& Columns() const override { return columns_; }

  bool Fetch(Row& row) override {
    if (done_ || columns_.empty()) return false;
    SQLRETURN rc = SQL_ERROR;
    {
      CallWatchdog::Call call(session_->watchdog, session_->Stopper(stmt_));
      rc = SQLFetch(stmt_);
      stopped_ = call.Stopped();
    }
    if (rc == SQL_NO_DATA) {
      done_ = true;
      FreeStatement();
      return false;
    }
    if (!SQL_SUCCEEDED(rc)) Fail(kErrCommandFailed, "SQLFetch");
    row.resize(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) row[i] = Read(static_cast<SQLUSMALLINT>(i + 1), i);
    return true;
  }

 private:
  SQLRETURN Execute(const std::string& command) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, session_->dbc, &stmt_))) {
      session_->failed = true;
      throw RuntimeError(kErrProviderFailed,
                         Diagnostics(SQL_HANDLE_DBC, session_->dbc, "SQLAllocHandle"), "ODBC");
    }
    // PostgreSQL's driver would set the session's statement timeout before and after every
    // statement (two more round trips); the session has it already.
    if (session_->dbms != "PostgreSQL") {
      SQLSetStmtAttr(stmt_, SQL_ATTR_QUERY_TIMEOUT,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(session_->commandTimeout)),
                     0);
    }
    WText text = ToWide(command);
    CallWatchdog::Call call(session_->watchdog, session_->Stopper(stmt_));
    const SQLRETURN rc = SQLExecDirectW(stmt_, text.data(), static_cast<SQLINTEGER>(text.size()));
    stopped_ = call.Stopped();
    return rc;
  }

  // Runs `command` on a session given back as its last user left it: the statements that reset
  // it go ahead of the command, in the same round trip, and their results are passed over. Where
  // anything of that goes wrong (the session cannot be reset, a statement fails, the server is
  // gone), the command runs once more, alone, on a new connection: what the caller sees is what
  // the command alone does.
  SQLRETURN ExecuteAfterReset(const std::string& command) {
    session_->untidy = false;
    SQLRETURN rc = Execute(session_->reset + "; " + command);
    if (SQL_SUCCEEDED(rc)) {
      if (const auto next = PassOverReset()) return *next;
    } else if (TimedOut()) {
      return rc;
    }
    return ExecuteOnNewConnection(command);
  }

  // Moves from the reset's results to the command's first; nullopt when a statement of the
  // reset failed or the command has no result.
  std::optional<SQLRETURN> PassOverReset() {
    SQLRETURN rc = SQL_SUCCESS;
    for (int i = 0; i < session_->resetResults; ++i) {
      rc = SQLMoreResults(stmt_);
      if (!SQL_SUCCEEDED(rc)) return std::nullopt;
    }
    return rc;
  }

  // The server or the watchdog ended the last call for taking too long.
  bool TimedOut() {
    if (stopped_) return true;
    const std::string state = State(SQL_HANDLE_STMT, stmt_);
    return state == "HYT00" || state == "HYT01" ||
           (state == "57014" && session_->commandTimeout > 0);
  }

  SQLRETURN ExecuteOnNewConnection(const std::string& command) {
    FreeStatement();
    session_->takenIdle = false;
    session_->socket = -1;  // the driver may have closed it already
    session_->Disconnect();
    try {
      Connect(session_);
    } catch (...) {
      session_->failed = true;
      throw;
    }
    return Execute(command);
  }

  // The last call failed because the connection to the server is gone (not for the watchdog).
  bool ConnectionLost() {
    if (stopped_) return false;
    const std::string state = State(SQL_HANDLE_STMT, stmt_);
    // 08: connection exceptions; 57P01 to 57P05: the server ended the session.
    if (state.rfind("08", 0) == 0 || state.rfind("57P0", 0) == 0) return true;
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(
               SQLGetConnectAttr(session_->dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
  }

  [[noreturn]] void Fail(long number, const char* call) {
    session_->failed = true;
    // PostgreSQL's driver has the server end a statement at the timeout (57014, cancelled).
    if (TimedOut()) throw CommandTimeoutError(session_->commandTimeout, "ODBC");
    std::string text = Diagnostics(SQL_HANDLE_STMT, stmt_, call);
    throw RuntimeError(number, text, "ODBC");
  }

  // Freeing may talk to the server (closing a cursor there): watched as well, by the socket
  // only, as the statement is going.
  void FreeStatement() {
    if (stmt_ == SQL_NULL_HSTMT) return;
    {
      CallWatchdog::Call call(session_->watchdog, session_->Stopper(SQL_NULL_HSTMT));
      SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
    }
    stmt_ = SQL_NULL_HSTMT;
  }

  // The concise SQL type of PostgreSQL's column `i` from its descriptor type; for a date or
  // time the local type name tells which, and an interval (rare) is described the catalog's way.
  SQLSMALLINT PostgresSqlType(SQLUSMALLINT i, const std::string& typeName) {
    SQLLEN type = SQL_UNKNOWN_TYPE;
    SQLColAttributeW(stmt_, i, SQL_DESC_TYPE, nullptr, 0, nullptr, &type);
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
      SQLDescribeColW(stmt_, i, nullptr, 0, nullptr, &concise, &size, &digits, nullptr);
      return concise;
    }
    return static_cast<SQLSMALLINT>(type);
  }

  void Describe(SQLUSMALLINT i) {
    SQLWCHAR name[512] = {};
    SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0;
    SQLULEN size = 0;
    // PostgreSQL's driver answers a column's SQL type, its nullability and its type name by
    // looking the column's table up in the catalog: one more round trip for every command on a
    // new connection. Its descriptor type and local type name come from the result alone; the
    // SQL type is made of them.
    const bool postgres = session_->dbms == "PostgreSQL";
    if (!SQL_SUCCEEDED(SQLDescribeColW(stmt_, i, name, 512, &nameLength,
                                       postgres ? nullptr : &sqlType, &size, &digits, nullptr))) {
      Fail(kErrCommandFailed, "SQLDescribeCol");
    }
    SQLLEN isUnsigned = SQL_FALSE;
    SQLColAttributeW(stmt_, i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
    SQLWCHAR typeName[128] = {};
    SQLSMALLINT typeNameBytes = 0;
    SQLColAttributeW(stmt_, i, postgres ? SQL_DESC_LOCAL_TYPE_NAME : SQL_DESC_TYPE_NAME, typeName,
                     sizeof typeName, &typeNameBytes, nullptr);
    std::string driverType = LowerAscii(FromWide(
        typeName, std::min<size_t>(static_cast<size_t>(typeNameBytes) / sizeof(SQLWCHAR), 127)));
    if (postgres) sqlType = PostgresSqlType(i, driverType);
    Column& c = columns_[i - 1u];
    c.name = FromWide(name, std::min<size_t>(static_cast<size_t>(nameLength), 511));
    FetchAs& f = kinds_[i - 1u].fetch;
    bool u = isUnsigned == SQL_TRUE;
    // Driver type names that mean more than the SQL type tells (PostgreSQL's money arrives
    // as a floating type holding "$1,234.56", its boolean as the text "1" or "0").
    if (driverType == "money" || driverType == "smallmoney" || driverType == "currency") {
      c.type = adCurrency;
      f = FetchAs::kCurrencyText;
      return;
    }
    if (driverType == "bool" || driverType == "boolean") {
      c.type = adBoolean;
      f = sqlType == SQL_BIT ? FetchAs::kBit : FetchAs::kBooleanText;
      return;
    }
    switch (sqlType) {
      case SQL_CHAR:
        c.type = adChar;
        break;
      case SQL_WCHAR:
        c.type = adWChar;
        break;
      case SQL_VARCHAR:
        c.type = (size == 0 || size > 8000) ? adLongVarChar : adVarChar;
        break;
      case SQL_WVARCHAR:
        c.type = (size == 0 || size > 4000) ? adLongVarWChar : adVarWChar;
        break;
      case SQL_LONGVARCHAR:
        c.type = adLongVarChar;
        break;
      case SQL_WLONGVARCHAR:
        c.type = adLongVarWChar;
        break;
      case SQL_DECIMAL:
      case SQL_NUMERIC:
        c.type = adNumeric;
        f = FetchAs::kDecimalText;
        break;
      case SQL_BIT:
        c.type = adBoolean;
        f = FetchAs::kBit;
        break;
      case SQL_TINYINT:
        c.type = u ? adUnsignedTinyInt : adTinyInt;
        f = FetchAs::kInteger;
        break;
      case SQL_SMALLINT:
        c.type = u ? adUnsignedSmallInt : adSmallInt;
        f = FetchAs::kInteger;
        break;
      case SQL_INTEGER:
        c.type = u ? adUnsignedInt : adInteger;
        f = FetchAs::kInteger;
        break;
      case SQL_BIGINT:
        c.type = u ? adUnsignedBigInt : adBigInt;
        f = u ? FetchAs::kUnsigned : FetchAs::kInteger;
        break;
      case SQL_REAL:
        c.type = adSingle;
        f = FetchAs::kDouble;
        break;
      case SQL_FLOAT:
      case SQL_DOUBLE:
        c.type = adDouble;
        f = FetchAs::kDouble;
        break;
      case SQL_TYPE_DATE:
      case SQL_DATE:
        c.type = adDBDate;
        f = FetchAs::kDate;
        break;
      case SQL_TYPE_TIME:
      case SQL_TIME:
        c.type = adDBTime;
        f = FetchAs::kTime;
        break;
      case SQL_TYPE_TIMESTAMP:
      case SQL_TIMESTAMP:
        c.type = adDBTimeStamp;
        f = FetchAs::kTimestamp;
        break;
      case SQL_BINARY:
        c.type = adBinary;
        f = FetchAs::kBinary;
        break;
      case SQL_VARBINARY:
        c.type = adVarBinary;
        f = FetchAs::kBinary;
        break;
      case SQL_LONGVARBINARY:
        c.type = adLongVarBinary;
        f = FetchAs::kBinary;
        break;
      case SQL_GUID:
        c.type = adGUID;
        break;
      default:
        c.type = adVarWChar;
        break;
    }
  }

  // Reads a text column whole, in pieces; nullopt for NULL.
  std::optional<std::string> ReadText(SQLUSMALLINT column) {
    WText text;
    SQLWCHAR buffer[2048];
    for (;;) {
      SQLLEN indicator = 0;
      SQLRETURN rc = SQLGetData(stmt_, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
      if (rc == SQL_NO_DATA) break;
      if (!SQL_SUCCEEDED(rc)) Fail(kErrCommandFailed, "SQLGetData");
      if (indicator == SQL_NULL_DATA) return std::nullopt;
      size_t capacity = sizeof buffer / sizeof buffer[0] - 1;
      size_t got = (indicator == SQL_NO_TOTAL ||
                    static_cast<size_t>(indicator) / sizeof(SQLWCHAR) > capacity)
                       ? capacity
                       : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
      text.append(buffer, got);
      if (rc == SQL_SUCCESS) break;
    }
    return FromWide(text.data(), text.size());
  }

  // A driver may describe a column with a type whose typed read it then refuses (mdbtools'
  // refuses SQL_C_SBIGINT for its integers): the column is read as text from then on, as the
  // driver delivers every value, and taken as the described type where the text is one.
  Variant ReadLoosely(SQLUSMALLINT column, size_t i) {
    kinds_[i].fetch = FetchAs::kLooseText;
    auto text = ReadText(column);
    if (!text) return Variant(Null{});
    return ValueOfText(*text, columns_[i].type);
  }

  Variant Read(SQLUSMALLINT column, size_t i) {
    SQLLEN indicator = 0;
    switch (kinds_[i].fetch) {
      case FetchAs::kInteger:
      case FetchAs::kUnsigned: {
        std::int64_t v = 0;
        SQLSMALLINT cType = kinds_[i].fetch == FetchAs::kUnsigned ? SQL_C_UBIGINT : SQL_C_SBIGINT;
        if (!SQL_SUCCEEDED(SQLGetData(stmt_, column, cType, &v, sizeof v, &indicator))) {
          return ReadLoosely(column, i);
        }
        if (indicator == SQL_NULL_DATA) return Variant(Null{});
        return Variant(v);
      }
      case FetchAs::kDouble: {
        // Read as text first: a driver may deliver a formatted amount in a floating column.
        auto text = ReadText(column);
        if (!text) return Variant(Null{});
        char* end = nullptr;
        double v = std::strtod(text->c_str(), &end);
        if (!text->empty() && end == text->c_str() + text->size()) return Variant(v);
        if (auto amount = ParseCurrency(*text)) return Variant(*amount);
        return Variant(*text);
      }
      case FetchAs::kBit: {
        unsigned char v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt_, column, SQL_C_BIT, &v, sizeof v, &indicator))) {
          return ReadLoosely(column, i);
        }
        if (indicator == SQL_NULL_DATA) return Variant(Null{});
        return Variant(v != 0);
      }
      case FetchAs::kBooleanText: {
        auto text = ReadText(column);
        if (!text) return Variant(Null{});
        return ValueOfText(*text, adBoolean);
      }
      case FetchAs::kDecimalText: {
        auto text = ReadText(column);
        if (!text) return Variant(Null{});
        if (auto d = NormaliseDecimal(TrimSpaces(*text))) return Variant(Decimal{*d});
        return Variant(*text);
      }
      case FetchAs::kCurrencyText: {
        auto text = ReadText(column);
        if (!text) return Variant(Null{});
        if (auto amount = ParseCurrency(*text)) return Variant(*amount);
        return Variant(*text);
      }
      case FetchAs::kDate: {
        SQL_DATE_STRUCT d{};
        if (!SQL_SUCCEEDED(SQLGetData(stmt_, column, SQL_C_TYPE_DATE, &d, sizeof d, &indicator))) {
          return ReadLoosely(column, i);
        }
        if (indicator == SQL_NULL_DATA) return Variant(Null{});
        return Variant(Date{DateSerial(d.year, d.month, d.day)});
      }
      case FetchAs::kTime: {
        SQL_TIME_STRUCT t{};
        if (!SQL_SUCCEEDED(SQLGetData(stmt_, column, SQL_C_TYPE_TIME, &t, sizeof t, &indicator))) {
          return ReadLoosely(column, i);
        }
        if (indicator == SQL_NULL_DATA) return Variant(Null{});
        return Variant(Date{(t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0});
      }
      case FetchAs::kTimestamp: {
        SQL_TIMESTAMP_STRUCT t{};
        if (!SQL_SUCCEEDED(
                SQLGetData(stmt_, column, SQL_C_TYPE_TIMESTAMP, &t, sizeof t, &indicator))) {
          return ReadLoosely(column, i);
        }
        if (indicator == SQL_NULL_DATA) return Variant(Null{});
        return Variant(Date{
            DateSerial(t.year, t.month, t.day, t.hour, t.minute, t.second + t.fraction / 1e9)});
      }
      case FetchAs::kBinary: {
        std::string bytes;
        char buffer[4096];
        for (;;) {
          SQLRETURN rc = SQLGetData(stmt_, column, SQL_C_BINARY, buffer, sizeof buffer, &indicator);
          if (rc == SQL_NO_DATA) break;
          if (!SQL_SUCCEEDED(rc)) Fail(kErrCommandFailed, "SQLGetData");
          if (indicator == SQL_NULL_DATA) return Variant(Null{});
          size_t got = (indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) > sizeof buffer)
                           ? sizeof buffer
                           : static_cast<size_t>(indicator);
          bytes.append(buffer, got);
          if (rc == SQL_SUCCESS) break;
        }
        return Variant(bytes);
      }
      case FetchAs::kLooseText: {
        auto text = ReadText(column);
        if (!text) return Variant(Null{});
        return ValueOfText(*text, columns_[i].type);
      }
      case FetchAs::kWideText:
        break;
    }
    auto text = ReadText(column);
    if (!text) return Variant(Null{});
    return Variant(*text);
  }

  std::shared_ptr<OdbcSession> session_;
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
  std::vector<Column> columns_;
  std::vector<OdbcColumn> kinds_;
  bool done_ = false;
  bool stopped_ = false;  // the watchdog ended the last call
};

class OdbcRunner : public CommandRunner {
 public:
  OdbcRunner(std::shared_ptr<OdbcSession> session, std::string command)
      : session_(std::move(session)), command_(std::move(command)) {}
  std::unique_ptr<RowSource> Run() override {
    return std::make_unique<OdbcSource>(session_, command_);
  }

 private:
  std::shared_ptr<OdbcSession> session_;
  std::string command_;
};

class OdbcProvider : public Provider {
 public:
  explicit OdbcProvider(std::shared_ptr<OdbcSession> session) : session_(std::move(session)) {}
  std::shared_ptr<CommandRunner> Command(const std::string& command) override {
    return std::make_shared<OdbcRunner>(session_, command);
  }

 private:
  std::shared_ptr<OdbcSession> session_;
};

}  // namespace

namespace {

std::string DbmsName(SQLHDBC dbc) {
  SQLWCHAR name[128] = {};
  SQLSMALLINT bytes = 0;
  if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, SQL_DBMS_NAME, name, sizeof name, &bytes))) return {};
  return FromWide(name, std::min<size_t>(static_cast<size_t>(bytes) / sizeof(SQLWCHAR), 127));
}

// Runs `sql` on the session; its first row's columns as text (empty for NULL); throws
// RuntimeError when it fails.
std::vector<std::string> RunOnSession(const std::shared_ptr<OdbcSession>& session,
                                      const std::string& sql) {
  OdbcSource source(session, sql);
  Row row;
  std::vector<std::string> out;
  if (source.Fetch(row)) {
    for (const Variant& v : row) out.push_back(v.IsNull() ? "" : v.DebugText());
  }
  return out;
}

// The settings made in a PostgreSQL session (by the driver and by us when it was opened), one
// row each: read as rows and made into calls here, which costs a new server process a third of
// what the same list made by the server's own aggregate and format functions does.
constexpr const char* kPostgresSettings =
    "SELECT name, setting FROM pg_show_all_settings() WHERE source = 'session'";

// The addresses of the connection's two ends as the server sees them.
constexpr const char* kPostgresEnds =
    "SELECT host(inet_client_addr()), inet_client_port(), host(inet_server_addr()), "
    "inet_server_port()";

// What makes a used PostgreSQL session a new one again: its transaction rolled back, the server's
// own list for that (DISCARD ALL, which cannot run in a transaction, as the reset ahead of a
// command does) but for the cached plans, which nobody sees. The settings the session was opened
// with, its advisory locks and a commit follow (see PreparePostgresSession): the commit starts
// the command's transaction with the session's own access mode, not the one its last user set.
// Each ROLLBACK and COMMIT has a transaction block to end: without one the server warns ("there
// is no transaction in progress") and writes that into its log, twice for every entry of every
// page; a BEGIN inside a transaction the last user left open is the only warning left.
constexpr const char* kPostgresReset =
    "BEGIN; ROLLBACK; BEGIN; CLOSE ALL; SET SESSION AUTHORIZATION DEFAULT; RESET ALL; "
    "DEALLOCATE ALL; UNLISTEN *; DISCARD TEMP; DISCARD SEQUENCES; ";
// Its statements, each ended by a semicolon: a result each, passed over ahead of the command's.
constexpr int kPostgresResetStatements = [] {
  constexpr std::string_view statements = kPostgresReset;
  return static_cast<int>(std::count(statements.begin(), statements.end(), ';'));
}();

// `text` as a PostgreSQL string literal, as the server's format('%L') writes it: with a backslash
// in it, an escape string, which reads the same whatever standard_conforming_strings says.
std::string PostgresLiteral(const std::string& text) {
  const bool escaped = text.find('\\') != std::string::npos;
  std::string out = escaped ? "E'" : "'";
  for (char c : text) {
    if (c == '\'' || (escaped && c == '\\')) out += c;
    out += c;
  }
  return out + "'";
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
      row.push_back(indicator < 0 ? std::string()
                                  : FromWide(buffer, std::min<size_t>(
                                                         static_cast<size_t>(indicator) /
                                                             sizeof(SQLWCHAR),
                                                         sizeof buffer / sizeof buffer[0] - 1)));
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQL_NO_DATA) return std::nullopt;
  return rows;
}

// Runs `sql`, which may be several statements (one round trip, as one simple query), and gives
// the rows of each of its results that has columns, in order; nullopt when a statement fails or
// the watchdog ends the call.
using ResultRows = std::vector<std::vector<std::vector<std::string>>>;
std::optional<ResultRows> RunForRows(OdbcSession& session, const std::string& sql) {
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, session.dbc, &stmt))) return std::nullopt;
  std::optional<ResultRows> results = ResultRows{};
  {
    CallWatchdog::Call call(session.watchdog, session.Stopper(stmt));
    WText text = ToWide(sql);
    SQLRETURN rc = SQLExecDirectW(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
    while (SQL_SUCCEEDED(rc)) {
      SQLSMALLINT columns = 0;
      if (SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns)) && columns > 0) {
        auto rows = RowsText(stmt, columns);
        if (!rows) break;
        results->push_back(std::move(*rows));
      }
      rc = SQLMoreResults(stmt);
    }
    if (rc != SQL_NO_DATA || call.Stopped()) results.reset();
  }
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  return results;
}

// PostgreSQL, in one round trip where there is anything to do: the session's transactions
// read-only, the command timeout as the session's statement timeout (the server ends a statement
// that outlasts it) and the socket of the connection for the watchdog (from the addresses the
// server sees; none over a local socket); for a pooled session, the settings that make it as
// opened again after a reset. A session that is never reset (pooling off) is not asked for them.
void PreparePostgresSession(OdbcSession& session) {
  const bool pooled = !session.poolKey.empty();
  const bool watched = session.commandTimeout > 0;
  std::string sql;
  if (session.options.readOnly) sql += "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY; ";
  if (watched) {
    sql += "SET statement_timeout = " + std::to_string(session.commandTimeout * 1000) + "; ";
    sql += std::string(kPostgresEnds) + "; ";
  }
  if (pooled) sql += kPostgresSettings;
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
    std::vector<std::vector<std::string>> settings = results->back();
    std::sort(settings.begin(), settings.end());
    session.reset = std::string(kPostgresReset) + "SELECT pg_advisory_unlock_all()";
    for (const auto& setting : settings) {
      session.reset += ", set_config(" + PostgresLiteral(setting[0]) + ", " +
                       PostgresLiteral(setting[1]) + ", false)";
    }
    session.reset += "; COMMIT";
    session.resetResults = kPostgresResetStatements + 2;
  }
  if (!watched) return;
  const std::vector<std::string>& ends = (*results)[0][0];
  if (ends[0].empty() || ends[2].empty()) return;
  session.socket =
      FindServerSocket(ends[0], std::atoi(ends[1].c_str()), ends[2], std::atoi(ends[3].c_str()));
}

// Resets a pooled PostgreSQL session on its own; false when a statement of the reset failed.
bool ResetPostgresSession(OdbcSession& session) {
  return RunForRows(session, session.reset).has_value();
}

bool OdbcSession::Tidy() noexcept {
  try {
    if (!untidy) return true;
    if (!ResetPostgresSession(*this)) return false;
    untidy = false;
    return true;
  } catch (const std::exception&) {
    return false;  // out of memory: the session closes
  }
}

// The deleter of a pooled session: back to the pool when its last user is gone, unless a call
// failed. It goes back as its user left it; the next command on it resets it first (in the same
// round trip), or the pool's thread does once it has been idle a while.
void GiveBack(OdbcSession* released) noexcept {
  std::unique_ptr<OdbcSession> session(released);
  if (session->poolKey.empty() || session->failed || !session->connected) return;
  try {
    session->untidy = true;
    const std::string key = session->poolKey;
    ConnectionPool::Shared().Give(key, std::move(session));
  } catch (const std::exception&) {
    // Out of memory while keeping it: the session closes as an unpooled one does.
  }
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

void Connect(const std::shared_ptr<OdbcSession>& session) {
  const ConnectOptions& options = session->options;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &session->env))) {
    throw RuntimeError(kErrProviderFailed, "The ODBC driver manager cannot be initialised.",
                       "ODBC");
  }
  SQLSetEnvAttr(session->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, session->env, &session->dbc))) {
    throw RuntimeError(kErrProviderFailed,
                       Diagnostics(SQL_HANDLE_ENV, session->env, "SQLAllocHandle"), "ODBC");
  }
  SQLSetConnectAttr(session->dbc, SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(options.connectTimeout)), 0);
  if (options.readOnly) {
    // A hint: drivers that honour it refuse writes themselves.
    SQLSetConnectAttr(session->dbc, SQL_ATTR_ACCESS_MODE,
                      reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
  }
  WText text = ToWide(session->odbcText);
  // No buffer for the completed connection string: nothing reads it, and for a driver without
  // wide-character calls (mdbtools') unixODBC converts that buffer back with strlen although the
  // driver left it without its terminating NUL.
  SQLRETURN rc;
  {
    const auto turn = ConnectTurn();
    rc = SQLDriverConnectW(session->dbc, nullptr, text.data(),
                           static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr,
                           SQL_DRIVER_NOPROMPT);
  }
  if (!SQL_SUCCEEDED(rc)) {
    throw RuntimeError(kErrProviderFailed,
                       Diagnostics(SQL_HANDLE_DBC, session->dbc, "SQLDriverConnect"), "ODBC");
  }
  session->connected = true;
  session->dbms = DbmsName(session->dbc);
  if (session->dbms == "PostgreSQL") PreparePostgresSession(*session);
  // SQLite's driver takes no access mode: the connection itself is made to refuse changes.
  if (session->dbms == "SQLite" && options.readOnly)
    RunOnSession(session, "PRAGMA query_only = ON");
  // Only a session that can be checked for what its users leave behind is pooled: PostgreSQL's.
  // Other servers, and SQLite files (which may be replaced while a session is idle), get a new
  // connection for every entry.
  if (session->dbms != "PostgreSQL") session->poolKey.clear();
}

}  // namespace

std::unique_ptr<Provider> OpenOdbcProvider(const ConnectionString& connectionString,
                                           const std::string& userId, const std::string& password,
                                           const ConnectOptions& options) {
  ConnectionString cs = connectionString;
  if (!userId.empty() && !cs.Has("UID") && !cs.Has("User ID")) cs.Add("UID", userId);
  if (!password.empty() && !cs.Has("PWD") && !cs.Has("Password")) cs.Add("PWD", password);
  std::string odbcText = cs.OdbcText();
  std::shared_ptr<OdbcSession> session;
  if (options.pooling) {
    // Everything that makes two connections differ: the string with its credentials, the mode
    // and the timeouts.
    std::string key = odbcText + '\n' + (options.readOnly ? "read" : "write") + '\n' +
                      std::to_string(options.connectTimeout) + '\n' +
                      std::to_string(options.commandTimeout);
    if (std::unique_ptr<PooledSession> idle = ConnectionPool::Shared().Take(key)) {
      session.reset(static_cast<OdbcSession*>(idle.release()), GiveBack);
      session->takenIdle = true;
      return std::make_unique<OdbcProvider>(std::move(session));
    }
    session.reset(new OdbcSession(std::move(odbcText), options), GiveBack);
    session->poolKey = std::move(key);
  } else {
    session = std::make_shared<OdbcSession>(std::move(odbcText), options);
  }
  try {
    Connect(session);
  } catch (...) {
    session->failed = true;
    throw;
  }
  return std::make_unique<OdbcProvider>(std::move(session));
}

}  // namespace vn::data
