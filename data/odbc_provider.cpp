// The ODBC provider (MSDASQL): every other database through the driver manager (unixODBC's;
// odbc32 on Windows), with texts exchanged as UTF-16 and the PostgreSQL driver's money and
// boolean texts read as what they are. What a kind of server needs beyond plain ODBC is its
// dialect's (odbc_dialect.h); the session and its handles are odbc_session.h's.
#include <cstdlib>
#include <memory>
#include <optional>

#include "data/connection_pool.h"
#include "data/date_serial.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/odbc_dialect.h"
#include "data/odbc_session.h"
#include "data/odbc_text.h"
#include "data/provider.h"
#include "data/sql_values.h"
#include "platform/text.h"

namespace vn::data {

namespace {

// `text` as a value of the DataTypeEnum `type` where it reads as one, else the text itself.
Variant ValueOfText(const std::string& text, int type) {
  const std::string t = TrimSpaces(text);
  if (IsWholeNumberType(type)) {
    if (const auto number = ParseWholeNumber(t)) return Variant(*number);
  } else if (IsDateType(type)) {
    if (auto d = ParseIsoDate(t)) return Variant(*d);
  } else if (type == adBoolean) {
    const std::string l = LowerAscii(t);
    if (l == "1" || l == "t" || l == "true" || l == "-1" || l == "yes") return Variant(true);
    if (l == "0" || l == "f" || l == "false" || l == "no") return Variant(false);
  }
  return Variant(text);
}

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

// A value read as text, taken as what the column's way of fetching says it holds.
Variant ValueOfFetchedText(const std::string& text, FetchAs fetch, int type) {
  switch (fetch) {
    case FetchAs::kDouble: {
      // Read as text: a driver may deliver a formatted amount in a floating column.
      char* end = nullptr;
      const double v = std::strtod(text.c_str(), &end);
      if (!text.empty() && end == text.c_str() + text.size()) return Variant(v);
      if (auto amount = ParseCurrency(text)) return Variant(*amount);
      break;
    }
    case FetchAs::kBooleanText:
      return ValueOfText(text, adBoolean);
    case FetchAs::kDecimalText:
      if (auto d = NormaliseDecimal(TrimSpaces(text))) return Variant(Decimal{*d});
      break;
    case FetchAs::kCurrencyText:
      if (auto amount = ParseCurrency(text)) return Variant(*amount);
      break;
    case FetchAs::kLooseText:
      return ValueOfText(text, type);
    default:
      break;
  }
  return Variant(text);
}

// The DataTypeEnum of a column and how its values are fetched.
struct ColumnKind {
  int type = adVarWChar;
  FetchAs fetch = FetchAs::kWideText;
};

// What the concise SQL types become; a whole-number type that the driver marks unsigned becomes
// its unsigned DataTypeEnum.
struct SqlTypeKind {
  SQLSMALLINT sqlType;
  int type;
  FetchAs fetch;
  int unsignedType = 0;  // 0: unsigned or not, the same
};

constexpr SqlTypeKind kSqlTypeKinds[] = {
    {SQL_CHAR, adChar, FetchAs::kWideText},
    {SQL_WCHAR, adWChar, FetchAs::kWideText},
    {SQL_VARCHAR, adVarChar, FetchAs::kWideText},
    {SQL_WVARCHAR, adVarWChar, FetchAs::kWideText},
    {SQL_LONGVARCHAR, adLongVarChar, FetchAs::kWideText},
    {SQL_WLONGVARCHAR, adLongVarWChar, FetchAs::kWideText},
    {SQL_DECIMAL, adNumeric, FetchAs::kDecimalText},
    {SQL_NUMERIC, adNumeric, FetchAs::kDecimalText},
    {SQL_BIT, adBoolean, FetchAs::kBit},
    {SQL_TINYINT, adTinyInt, FetchAs::kInteger, adUnsignedTinyInt},
    {SQL_SMALLINT, adSmallInt, FetchAs::kInteger, adUnsignedSmallInt},
    {SQL_INTEGER, adInteger, FetchAs::kInteger, adUnsignedInt},
    {SQL_BIGINT, adBigInt, FetchAs::kInteger, adUnsignedBigInt},
    {SQL_REAL, adSingle, FetchAs::kDouble},
    {SQL_FLOAT, adDouble, FetchAs::kDouble},
    {SQL_DOUBLE, adDouble, FetchAs::kDouble},
    {SQL_TYPE_DATE, adDBDate, FetchAs::kDate},
    {SQL_DATE, adDBDate, FetchAs::kDate},
    {SQL_TYPE_TIME, adDBTime, FetchAs::kTime},
    {SQL_TIME, adDBTime, FetchAs::kTime},
    {SQL_TYPE_TIMESTAMP, adDBTimeStamp, FetchAs::kTimestamp},
    {SQL_TIMESTAMP, adDBTimeStamp, FetchAs::kTimestamp},
    {SQL_BINARY, adBinary, FetchAs::kBinary},
    {SQL_VARBINARY, adVarBinary, FetchAs::kBinary},
    {SQL_LONGVARBINARY, adLongVarBinary, FetchAs::kBinary},
    {SQL_GUID, adGUID, FetchAs::kWideText},
};

ColumnKind KindOf(const OdbcColumnDescription& column) {
  // Driver type names that mean more than the SQL type tells (PostgreSQL's money arrives as a
  // floating type holding "$1,234.56", its boolean as the text "1" or "0").
  const std::string& name = column.typeName;
  if (name == "money" || name == "smallmoney" || name == "currency") {
    return {adCurrency, FetchAs::kCurrencyText};
  }
  if (name == "bool" || name == "boolean") {
    return {adBoolean, column.sqlType == SQL_BIT ? FetchAs::kBit : FetchAs::kBooleanText};
  }
  // Texts without a length, or longer than the server's longest plain text, are long texts.
  if (column.sqlType == SQL_VARCHAR && (column.size == 0 || column.size > 8000)) {
    return {adLongVarChar, FetchAs::kWideText};
  }
  if (column.sqlType == SQL_WVARCHAR && (column.size == 0 || column.size > 4000)) {
    return {adLongVarWChar, FetchAs::kWideText};
  }
  for (const SqlTypeKind& known : kSqlTypeKinds) {
    if (known.sqlType != column.sqlType) continue;
    if (!column.isUnsigned || known.unsignedType == 0) return {known.type, known.fetch};
    // An unsigned 64-bit value is read as one; the narrower ones fit the signed read.
    return {known.unsignedType,
            known.unsignedType == adUnsignedBigInt ? FetchAs::kUnsigned : known.fetch};
  }
  return {};
}

class OdbcSource : public RowSource {
 public:
  OdbcSource(std::shared_ptr<OdbcSession> session, const std::string& command)
      : session_(std::move(session)) {
    try {
      Start(command);
    } catch (...) {
      FreeStatement();  // watched, as the destructor would have, which a throw here skips
      throw;
    }
  }

  ~OdbcSource() override { FreeStatement(); }

  const std::vector<Column>& Columns() const override { return columns_; }

  bool Fetch(Row& row) override {
    if (done_ || columns_.empty()) return false;
    SQLRETURN rc = SQL_ERROR;
    {
      CallWatchdog::Call call(session_->watchdog, session_->Stopper(stmt_.Get()));
      rc = SQLFetch(stmt_.Get());
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
  void Start(const std::string& command) {
    SQLRETURN rc = session_->untidy ? ExecuteAfterReset(command) : Execute(command);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA && session_->takenIdle && ConnectionLost()) {
      // The server ended the pooled session while it was idle (a restart, an idle timeout):
      // the command runs once more, on a new connection.
      rc = ExecuteOnNewConnection(command);
    }
    session_->takenIdle = false;
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail(kErrCommandFailed, "SQLExecDirect");
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt_.Get(), &count)))
      Fail(kErrCommandFailed, "SQLNumResultCols");
    columns_.resize(static_cast<size_t>(count));
    fetch_.resize(static_cast<size_t>(count));
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) Describe(i);
  }

  SQLRETURN Execute(const std::string& command) {
    stmt_ = OdbcStatement::Allocate(session_->dbc.Get());
    if (!stmt_) {
      session_->failed = true;
      throw RuntimeError(kErrProviderFailed,
                         OdbcDiagnostics(SQL_HANDLE_DBC, session_->dbc.Get(), "SQLAllocHandle"),
                         "ODBC");
    }
    if (!session_->dialect->TimesStatements()) {
      SQLSetStmtAttr(stmt_.Get(), SQL_ATTR_QUERY_TIMEOUT,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(session_->commandTimeout)),
                     0);
    }
    OdbcText text = ToOdbcText(command);
    CallWatchdog::Call call(session_->watchdog, session_->Stopper(stmt_.Get()));
    const SQLRETURN rc =
        SQLExecDirectW(stmt_.Get(), text.data(), static_cast<SQLINTEGER>(text.size()));
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
      rc = SQLMoreResults(stmt_.Get());
      if (!SQL_SUCCEEDED(rc)) return std::nullopt;
    }
    return rc;
  }

  // The server or the watchdog ended the last call for taking too long.
  bool TimedOut() {
    if (stopped_) return true;
    const std::string state = OdbcState(SQL_HANDLE_STMT, stmt_.Get());
    return state == "HYT00" || state == "HYT01" ||
           (state == "57014" && session_->commandTimeout > 0);
  }

  SQLRETURN ExecuteOnNewConnection(const std::string& command) {
    FreeStatement();
    session_->takenIdle = false;
    session_->socket = -1;  // the driver may have closed it already
    session_->Disconnect();
    try {
      Connect(*session_);
    } catch (...) {
      session_->failed = true;
      throw;
    }
    return Execute(command);
  }

  // The last call failed because the connection to the server is gone (not for the watchdog).
  bool ConnectionLost() {
    if (stopped_) return false;
    const std::string state = OdbcState(SQL_HANDLE_STMT, stmt_.Get());
    // 08: connection exceptions; 57P01 to 57P05: the server ended the session.
    if (state.rfind("08", 0) == 0 || state.rfind("57P0", 0) == 0) return true;
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(session_->dbc.Get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0,
                                           nullptr)) &&
           dead == SQL_CD_TRUE;
  }

  [[noreturn]] void Fail(long number, const char* call) {
    session_->failed = true;
    // PostgreSQL's driver has the server end a statement at the timeout (57014, cancelled).
    if (TimedOut()) throw CommandTimeoutError(session_->commandTimeout, "ODBC");
    throw RuntimeError(number, OdbcDiagnostics(SQL_HANDLE_STMT, stmt_.Get(), call), "ODBC");
  }

  // Freeing may talk to the server (closing a cursor there): watched as well, by the socket
  // only, as the statement is going.
  void FreeStatement() {
    if (!stmt_) return;
    CallWatchdog::Call call(session_->watchdog, session_->Stopper(SQL_NULL_HSTMT));
    stmt_.Free();
  }

  void Describe(SQLUSMALLINT i) {
    const auto description = session_->dialect->Describe(stmt_.Get(), i);
    if (!description) Fail(kErrCommandFailed, "SQLDescribeCol");
    const ColumnKind kind = KindOf(*description);
    Column& column = columns_[i - 1u];
    column.name = description->name;
    column.type = kind.type;
    fetch_[i - 1u] = kind.fetch;
  }

  // Reads a column whole, in pieces, as `cType` in units of `Unit`, of which a text keeps one
  // for its terminating NUL; nullopt for NULL.
  template <typename Unit>
  std::optional<std::basic_string<Unit>> ReadWhole(SQLUSMALLINT column, SQLSMALLINT cType) {
    std::basic_string<Unit> whole;
    Unit buffer[4096 / sizeof(Unit)];
    const size_t capacity = sizeof buffer / sizeof(Unit) - (cType == SQL_C_BINARY ? 0 : 1);
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc =
          SQLGetData(stmt_.Get(), column, cType, buffer, sizeof buffer, &indicator);
      if (rc == SQL_NO_DATA) break;
      if (!SQL_SUCCEEDED(rc)) Fail(kErrCommandFailed, "SQLGetData");
      if (indicator == SQL_NULL_DATA) return std::nullopt;
      const size_t got =
          (indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) / sizeof(Unit) > capacity)
              ? capacity
              : static_cast<size_t>(indicator) / sizeof(Unit);
      whole.append(buffer, got);
      if (rc == SQL_SUCCESS) break;
    }
    return whole;
  }

  std::optional<std::string> ReadText(SQLUSMALLINT column) {
    const auto text = ReadWhole<SQLWCHAR>(column, SQL_C_WCHAR);
    if (!text) return std::nullopt;
    return FromOdbcText(text->data(), text->size());
  }

  // A value the driver delivers into a `T` as `cType`, made a Variant by `make`.
  template <typename T, typename Make>
  Variant ReadFixed(SQLUSMALLINT column, size_t i, SQLSMALLINT cType, Make make) {
    T value{};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(stmt_.Get(), column, cType, &value, sizeof value, &indicator))) {
      return ReadLoosely(column, i);
    }
    if (indicator == SQL_NULL_DATA) return Variant(Null{});
    return make(value);
  }

  // A driver may describe a column with a type whose typed read it then refuses (mdbtools'
  // refuses SQL_C_SBIGINT for its integers): the column is read as text from then on, as the
  // driver delivers every value, and taken as the described type where the text is one.
  Variant ReadLoosely(SQLUSMALLINT column, size_t i) {
    fetch_[i] = FetchAs::kLooseText;
    return Read(column, i);
  }

  Variant Read(SQLUSMALLINT column, size_t i) {
    const auto whole = [](std::int64_t v) { return Variant(v); };
    switch (fetch_[i]) {
      case FetchAs::kInteger:
        return ReadFixed<std::int64_t>(column, i, SQL_C_SBIGINT, whole);
      case FetchAs::kUnsigned:
        return ReadFixed<std::int64_t>(column, i, SQL_C_UBIGINT, whole);
      case FetchAs::kBit:
        return ReadFixed<unsigned char>(column, i, SQL_C_BIT,
                                        [](unsigned char v) { return Variant(v != 0); });
      case FetchAs::kDate:
        return ReadFixed<SQL_DATE_STRUCT>(column, i, SQL_C_TYPE_DATE, [](const auto& d) {
          return Variant(Date{DateSerial(d.year, d.month, d.day)});
        });
      case FetchAs::kTime:
        return ReadFixed<SQL_TIME_STRUCT>(column, i, SQL_C_TYPE_TIME, [](const auto& t) {
          return Variant(Date{(t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0});
        });
      case FetchAs::kTimestamp:
        return ReadFixed<SQL_TIMESTAMP_STRUCT>(column, i, SQL_C_TYPE_TIMESTAMP, [](const auto& t) {
          return Variant(Date{
              DateSerial(t.year, t.month, t.day, t.hour, t.minute, t.second + t.fraction / 1e9)});
        });
      case FetchAs::kBinary: {
        auto bytes = ReadWhole<char>(column, SQL_C_BINARY);
        return bytes ? Variant(std::move(*bytes)) : Variant(Null{});
      }
      default: {
        const auto text = ReadText(column);
        return text ? ValueOfFetchedText(*text, fetch_[i], columns_[i].type) : Variant(Null{});
      }
    }
  }

  std::shared_ptr<OdbcSession> session_;
  OdbcStatement stmt_;
  std::vector<Column> columns_;
  std::vector<FetchAs> fetch_;
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

// The deleter of a pooled session: back to the pool when its last user is gone, unless a call
// failed. It goes back as its user left it; the next command on it resets it first (in the same
// round trip), or the pool's thread does once it has been idle a while.
void GiveBack(OdbcSession* released) noexcept {
  std::unique_ptr<OdbcSession> session(released);
  if (session->poolKey.empty() || session->failed || !session->dbc.Connected()) return;
  try {
    session->untidy = true;
    const std::string key = session->poolKey;
    ConnectionPool::Shared().Give(key, std::move(session));
  } catch (const std::exception&) {
    // Out of memory while keeping it: the session closes as an unpooled one does.
  }
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
    Connect(*session);
  } catch (...) {
    session->failed = true;
    throw;
  }
  return std::make_unique<OdbcProvider>(std::move(session));
}

}  // namespace vn::data
