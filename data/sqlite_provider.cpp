// The embedded SQLite provider, under its own name and as the stand-in for Jet 4.0 (the
// configuration database): files relative to the program folder, read-only on request.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>

#include "data/call_cancel.h"
#include "data/connection_pool.h"
#include "data/database_file.h"
#include "data/date_serial.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/jet_sql.h"
#include "data/provider.h"
#include "data/sql_values.h"
#include "data/sqlite_busy_timeout.h"
#include "data/sqlite_handles.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/text.h"

namespace vn::data {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds, as an int: lock-free on every target, the 32-bit one included.
std::atomic<int> busyTimeout{static_cast<int>(kDefaultSqliteBusyTimeout.count())};

struct Database : PooledSession {
  SqliteDatabase db;
  bool jet = false;
  // Opened for writing (SQLite opens a file it may not write read-only instead).
  bool writable = false;
  // The command timeout (0: none), and the end of the call now running (see CommandClock).
  std::chrono::seconds timeout{0};
  Clock::time_point deadline{};
  bool armed = false;
  bool expired = false;
  // Kept open for the next read of the same file (see KeptDatabase): the pool's key (empty: it
  // closes with its last user), the file as it was when it was opened, and whether everything
  // that ran on it only read.
  std::string poolKey;
  FileStamp stamp;
  bool onlyRead = true;
  Database() = default;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
};

// Notes, as each statement is prepared, whether it does anything but read: an attached file, a
// pragma, a temporary table or an open transaction would stay with the connection, so such a
// connection is not kept for the next reader.
int NoteWhatRuns(void* context, int action, const char*, const char*, const char*, const char*) {
  switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
      break;
    default:
      static_cast<Database*>(context)->onlyRead = false;
  }
  return SQLITE_OK;
}

// The deleter of every database: a kept one goes back to the pool when its last user is gone,
// unless something ran on it that did more than read, or a statement or transaction is open.
void GiveBack(Database* released) noexcept {
  std::unique_ptr<Database> database(released);
  if (database->poolKey.empty() || !database->onlyRead ||
      !sqlite3_get_autocommit(database->db.get()) ||
      sqlite3_next_stmt(database->db.get(), nullptr) != nullptr) {
    return;
  }
  try {
    const std::string key = database->poolKey;
    ConnectionPool::Shared().Give(key, std::move(database));
  } catch (const std::exception&) {
    // Out of memory while keeping it: it closes as one that is not kept does.
  }
}

// Holds one call into SQLite (a step, a statement run whole) to the command timeout: SQLite's
// progress handler interrupts the call once the deadline has passed; a cancel of the calling
// thread interrupts it at once.
class CommandClock {
 public:
  explicit CommandClock(Database& database)
      : database_(database), cancel_([db = database.db.get()] { sqlite3_interrupt(db); }) {
    database_.expired = false;
    database_.armed = database_.timeout.count() > 0;
    if (database_.armed) database_.deadline = Clock::now() + database_.timeout;
  }
  ~CommandClock() { database_.armed = false; }
  CommandClock(const CommandClock&) = delete;
  CommandClock& operator=(const CommandClock&) = delete;

 private:
  Database& database_;
  CallCancel::Watch cancel_;
};

int OnProgress(void* context) {
  auto* database = static_cast<Database*>(context);
  if (!database->armed || Clock::now() < database->deadline) return 0;
  database->expired = true;
  return 1;
}

std::string BaseType(const char* declared) {
  std::string t = UpperAscii(declared ? declared : "");
  size_t paren = t.find('(');
  if (paren != std::string::npos) t.resize(paren);
  return TrimSpaces(t);
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// DataTypeEnum of a declared column type; 0 when the values decide.
int TypeOfDeclared(const std::string& t) {
  if (t.empty()) return 0;
  if (t == "BOOLEAN" || t == "BOOL" || t == "BIT" || t == "YESNO") return adBoolean;
  if (t == "BIGINT" || t == "INT8" || t == "UNSIGNED BIG INT") return adBigInt;
  if (t == "SMALLINT" || t == "INT2") return adSmallInt;
  if (t == "TINYINT") return adUnsignedTinyInt;
  if (Contains(t, "INT") || t == "COUNTER" || t == "AUTOINCREMENT" || t == "LONG") return adInteger;
  if (t == "DATE" || t == "TIME" || t == "DATETIME" || t == "TIMESTAMP") return adDate;
  if (t == "MONEY" || t == "CURRENCY" || t == "SMALLMONEY") return adCurrency;
  if (t == "DECIMAL" || t == "NUMERIC") return adNumeric;
  if (t == "CLOB" || t == "MEMO" || t == "LONGTEXT" || t == "NTEXT" || t == "LONGCHAR") {
    return adLongVarWChar;
  }
  if (Contains(t, "CHAR") || Contains(t, "TEXT") || t == "STRING") return adVarWChar;
  if (Contains(t, "BLOB") || t == "BINARY" || t == "VARBINARY" || t == "IMAGE") {
    return adLongVarBinary;
  }
  if (Contains(t, "REAL") || Contains(t, "FLOA") || Contains(t, "DOUB")) return adDouble;
  if (t == "SINGLE") return adSingle;
  return 0;
}

int TypeOfStorage(int storage) {
  switch (storage) {
    case SQLITE_INTEGER:
      return adInteger;
    case SQLITE_FLOAT:
      return adDouble;
    case SQLITE_BLOB:
      return adLongVarBinary;
    default:
      return adVarWChar;
  }
}

// The value of column i as its storage class `storage` has it.
Variant Natural(sqlite3_stmt* st, int i, int storage) {
  switch (storage) {
    case SQLITE_INTEGER:
      return Variant(static_cast<std::int64_t>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(st, i));
    case SQLITE_NULL:
      return Variant(Null{});
    default: {
      const void* p = sqlite3_column_blob(st, i);
      int len = sqlite3_column_bytes(st, i);
      return Variant(std::string(static_cast<const char*>(p ? p : ""), static_cast<size_t>(len)));
    }
  }
}

// The value of column i (of storage class `storage`) read as `type`; a value that does not fit
// the type is delivered as what it is, never dropped.
Variant Convert(sqlite3_stmt* st, int i, int type, int storage) {
  if (storage == SQLITE_NULL) return Variant(Null{});
  switch (type) {
    case adBoolean:
      if (storage == SQLITE_INTEGER) return Variant(sqlite3_column_int64(st, i) != 0);
      if (storage == SQLITE_FLOAT) return Variant(sqlite3_column_double(st, i) != 0.0);
      if (storage == SQLITE_TEXT) {
        std::string t = LowerAscii(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        if (t == "true" || t == "1" || t == "-1" || t == "yes") return Variant(true);
        if (t == "false" || t == "0" || t == "no") return Variant(false);
      }
      break;
    case adCurrency:
      if (storage == SQLITE_INTEGER) {
        return Variant(Currency{static_cast<std::int64_t>(sqlite3_column_int64(st, i)) * 10000});
      }
      if (storage == SQLITE_FLOAT) {
        return Variant(Currency{std::llround(sqlite3_column_double(st, i) * 10000.0)});
      }
      if (storage == SQLITE_TEXT) {
        auto c = NormaliseDecimal(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        if (c) return Variant(*ParseCurrency(*c));
      }
      break;
    case adNumeric:
      if (storage == SQLITE_INTEGER) {
        return Variant(Decimal{std::to_string(sqlite3_column_int64(st, i))});
      }
      if (storage == SQLITE_FLOAT) {
        return Variant(Decimal{*NormaliseDecimal(ShortestDouble(sqlite3_column_double(st, i)))});
      }
      if (storage == SQLITE_TEXT) {
        auto d = NormaliseDecimal(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        if (d) return Variant(Decimal{*d});
      }
      break;
    case adDate:
      if (storage == SQLITE_TEXT) {
        auto d = ParseIsoDate(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        if (d) return Variant(*d);
      } else if (storage == SQLITE_FLOAT) {
        return Variant(Date{SerialOfJulianDay(sqlite3_column_double(st, i))});
      } else if (storage == SQLITE_INTEGER) {
        return Variant(Date{SerialOfUnixTime(static_cast<double>(sqlite3_column_int64(st, i)))});
      }
      break;
    case adVarWChar:
    case adLongVarWChar:
      if (storage != SQLITE_BLOB) {
        return Variant(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                   static_cast<size_t>(sqlite3_column_bytes(st, i))));
      }
      break;
    case adDouble:
    case adSingle:
      if (storage == SQLITE_INTEGER)
        return Variant(static_cast<double>(sqlite3_column_int64(st, i)));
      break;
    default:
      break;
  }
  return Natural(st, i, storage);
}

bool IsTextType(int type) { return type == adVarWChar || type == adLongVarWChar; }

RuntimeError SqliteError(sqlite3* db, long number, const std::string& what) {
  return RuntimeError(number, what + sqlite3_errmsg(db), "SQLite");
}

// The error of a failed call: the timeout when the command clock interrupted it.
RuntimeError CallError(const Database& database, int code, long number) {
  if ((code & 0xff) == SQLITE_INTERRUPT && database.expired) {
    return CommandTimeoutError(static_cast<long>(database.timeout.count()), "SQLite");
  }
  return SqliteError(database.db.get(), number, "");
}

class SqliteSource : public RowSource {
 public:
  SqliteSource(std::shared_ptr<Database> db, const std::string& command) : db_(std::move(db)) {
    std::string sql = db_->jet ? TranslateJetSql(command) : command;
    const char* tail = nullptr;
    if (PrepareSqlite(db_->db.get(), sql, stmt_, &tail) != SQLITE_OK) {
      throw SqliteError(db_->db.get(), kErrCommandFailed, "");
    }
    if (stmt_ == nullptr) {
      throw RuntimeError(kErrCommandFailed, "The command text is empty.", "SQLite");
    }
    if (tail != nullptr) {
      std::string rest = TrimSpaces(tail);
      while (!rest.empty() &&
             (rest.front() == ';' || rest.front() == '\n' || rest.front() == '\r' ||
              rest.front() == '\t' || rest.front() == ' ')) {
        rest.erase(0, 1);
      }
      if (!rest.empty()) {
        throw RuntimeError(kErrCommandFailed, "Characters found after end of SQL statement.",
                           "SQLite");
      }
    }
    Step();
    sqlite3_stmt* st = stmt_.get();
    int count = sqlite3_column_count(st);
    columns_.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      Column& c = columns_[static_cast<size_t>(i)];
      c.name = sqlite3_column_name(st, i);
      c.type = TypeOfDeclared(BaseType(sqlite3_column_decltype(st, i)));
      if (c.type == 0) c.type = hasRow_ ? TypeOfStorage(sqlite3_column_type(st, i)) : adVarWChar;
    }
  }

  const std::vector<Column>& Columns() const override { return columns_; }

  bool Fetch(Row& row) override {
    if (!hasRow_) return false;
    row.resize(columns_.size());
    sqlite3_stmt* st = stmt_.get();
    for (size_t i = 0; i < columns_.size(); ++i) {
      const int column = static_cast<int>(i);
      const int storage = sqlite3_column_type(st, column);
      if (storage == SQLITE_TEXT && IsTextType(columns_[i].type)) {
        // Into the text the row held before: a row read into again allocates nothing.
        row[i].AssignText(
            std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             static_cast<size_t>(sqlite3_column_bytes(st, column))));
      } else {
        row[i] = Convert(st, column, columns_[i].type, storage);
      }
    }
    Step();
    return true;
  }

 private:
  void Step() {
    CommandClock clock(*db_);
    int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) {
      hasRow_ = true;
    } else if (rc == SQLITE_DONE) {
      hasRow_ = false;
    } else {
      hasRow_ = false;
      RuntimeError error = CallError(*db_, rc, kErrCommandFailed);
      stmt_.reset();
      throw error;
    }
  }

  std::shared_ptr<Database> db_;
  SqliteStatement stmt_;
  std::vector<Column> columns_;
  bool hasRow_ = false;
};

class SqliteRunner : public CommandRunner {
 public:
  SqliteRunner(std::shared_ptr<Database> db, std::string command)
      : db_(std::move(db)), command_(std::move(command)) {}
  std::unique_ptr<RowSource> Run() override {
    return std::make_unique<SqliteSource>(db_, command_);
  }

 private:
  std::shared_ptr<Database> db_;
  std::string command_;
};

void Bind(sqlite3_stmt* st, int index, const Variant& value) {
  struct Visitor {
    sqlite3_stmt* st;
    int i;
    int operator()(std::monostate) const { return sqlite3_bind_null(st, i); }
    int operator()(Null) const { return sqlite3_bind_null(st, i); }
    int operator()(bool b) const { return sqlite3_bind_int(st, i, b ? 1 : 0); }
    int operator()(std::int64_t v) const { return sqlite3_bind_int64(st, i, v); }
    int operator()(double v) const { return sqlite3_bind_double(st, i, v); }
    int operator()(const Currency& c) const {
      if (c.scaled % 10000 == 0) return sqlite3_bind_int64(st, i, c.scaled / 10000);
      return sqlite3_bind_double(st, i, static_cast<double>(c.scaled) / 10000.0);
    }
    int operator()(const Decimal& d) const {
      return sqlite3_bind_text(st, i, d.text.c_str(), static_cast<int>(d.text.size()),
                               SQLITE_TRANSIENT);
    }
    int operator()(const Date& d) const {
      std::string text = Variant(d).DebugText();
      return sqlite3_bind_text(st, i, text.c_str(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
    }
    int operator()(const std::string& t) const {
      return sqlite3_bind_text(st, i, t.c_str(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    }
    int operator()(const std::shared_ptr<Recordset>&) const { return sqlite3_bind_null(st, i); }
  };
  std::visit(Visitor{st, index}, value.Raw());
}

// The error number of a refused write: constraints are integrity violations, everything else
// (locked, read-only, full disk) a plain failure.
long WriteErrorNumber(int code) {
  return (code & 0xff) == SQLITE_CONSTRAINT ? kErrIntegrityViolation : kErrWriteFailed;
}

void Configure(Database& db);

// SQLite opens a file that may not be written read-only for good. Once the file takes writes
// again, a connection that asked to write opens it afresh, so that a save the user repeats
// goes through.
void ReopenIfWritableAgain(Database& database) {
  if (!database.writable || sqlite3_db_readonly(database.db.get(), "main") != 1) return;
  const char* name = sqlite3_db_filename(database.db.get(), "main");
  if (name == nullptr || name[0] == '\0') return;
  SqliteDatabase fresh;
  if (OpenSqlite(name, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, fresh) != SQLITE_OK ||
      sqlite3_db_readonly(fresh.get(), "main") != 0) {
    return;
  }
  database.db = std::move(fresh);
  Configure(database);
}

class SqliteWriter : public RowWriter {
 public:
  explicit SqliteWriter(std::shared_ptr<Database> db) : db_(std::move(db)) {}

  void Begin() override {
    ReopenIfWritableAgain(*db_);
    Exec("BEGIN IMMEDIATE");
  }

  long Execute(const std::string& sql, const std::vector<Variant>& parameters) override {
    SqliteStatement st;
    if (PrepareSqlite(db_->db.get(), sql, st) != SQLITE_OK)
      throw SqliteError(db_->db.get(), kErrCommandFailed, "");
    for (size_t i = 0; i < parameters.size(); ++i) {
      Bind(st.get(), static_cast<int>(i + 1), parameters[i]);
    }
    CommandClock clock(*db_);
    int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) throw CallError(*db_, rc, WriteErrorNumber(rc));
    return sqlite3_changes(db_->db.get());
  }

  Variant LastInsertId() override {
    return Variant(static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_->db.get())));
  }

  void Commit() override { Exec("COMMIT"); }

  void Rollback() noexcept override {
    if (!sqlite3_get_autocommit(db_->db.get()))
      sqlite3_exec(db_->db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }

  std::string QuoteName(const std::string& name) const override { return QuoteSqliteName(name); }

 private:
  void Exec(const char* sql) {
    CommandClock clock(*db_);
    int rc = sqlite3_exec(db_->db.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw CallError(*db_, rc, WriteErrorNumber(rc));
  }

  std::shared_ptr<Database> db_;
};

class SqliteProvider : public Provider {
 public:
  explicit SqliteProvider(std::shared_ptr<Database> db) : db_(std::move(db)) {}
  std::shared_ptr<CommandRunner> Command(const std::string& command) override {
    return std::make_shared<SqliteRunner>(db_, command);
  }

  // The rows of one table with its whole primary key (or the row id) among the columns.
  std::optional<UpdateTarget> UpdateTargetOf(const std::string& command) override {
    std::string sql = db_->jet ? TranslateJetSql(command) : command;
    SqliteStatement statement;
    if (PrepareSqlite(db_->db.get(), sql, statement) != SQLITE_OK || statement == nullptr)
      return std::nullopt;
    sqlite3_stmt* st = statement.get();
    UpdateTarget target;
    bool oneTable = sqlite3_stmt_readonly(st) != 0;
    const int count = sqlite3_column_count(st);
    for (int i = 0; i < count && oneTable; ++i) {
      const char* table = sqlite3_column_table_name(st, i);
      const char* origin = sqlite3_column_origin_name(st, i);
      const char* database = sqlite3_column_database_name(st, i);
      if (table == nullptr || origin == nullptr) {
        target.baseColumns.emplace_back();
        continue;
      }
      if (database != nullptr && std::string(database) != "main") oneTable = false;
      if (target.table.empty()) target.table = table;
      if (!EqualsIgnoringCase(target.table, table)) oneTable = false;
      target.baseColumns.emplace_back(origin);
    }
    statement.reset();
    if (!oneTable || target.table.empty()) return std::nullopt;

    // The primary key from the table's description.
    std::string pragma = "PRAGMA table_info(" + QuoteSqliteName(target.table) + ")";
    if (PrepareSqlite(db_->db.get(), pragma, statement) != SQLITE_OK) return std::nullopt;
    st = statement.get();
    std::vector<std::pair<int, std::string>> keyColumns;
    std::string keyType;
    while (sqlite3_step(st) == SQLITE_ROW) {
      int pk = sqlite3_column_int(st, 5);
      if (pk > 0) {
        keyColumns.emplace_back(pk, reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        const unsigned char* type = sqlite3_column_text(st, 2);
        keyType = UpperAscii(type ? reinterpret_cast<const char*>(type) : "");
      }
    }
    statement.reset();
    if (keyColumns.empty()) return std::nullopt;
    std::sort(keyColumns.begin(), keyColumns.end());
    for (const auto& [order, name] : keyColumns) {
      size_t found = target.baseColumns.size();
      for (size_t i = 0; i < target.baseColumns.size(); ++i) {
        if (EqualsIgnoringCase(target.baseColumns[i], name)) {
          found = i;
          break;
        }
      }
      if (found == target.baseColumns.size()) return std::nullopt;
      target.key.push_back(found);
    }
    // Only a key column declared exactly INTEGER stands for the row id that SQLite assigns.
    target.keyAssigned = keyColumns.size() == 1 && keyType == "INTEGER";
    target.writer = std::make_shared<SqliteWriter>(db_);
    return target;
  }

 private:
  std::shared_ptr<Database> db_;
};

// A read-only open that meets the journal of a writer that died in the middle of a transaction
// (or a write-ahead log that needs recovery) cannot read until the file is repaired.
bool NeedsRecovery(int code) {
  return code == SQLITE_READONLY_ROLLBACK || code == SQLITE_READONLY_RECOVERY;
}

std::shared_ptr<Database> OpenDatabase(const std::string& path, bool readOnly, bool jet,
                                       const ConnectOptions& options) {
  std::shared_ptr<Database> db(new Database, GiveBack);
  db->jet = jet;
  db->timeout = std::chrono::seconds(options.commandTimeout);
  int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  if (OpenSqlite(path, flags, db->db) != SQLITE_OK) {
    std::string message = db->db ? sqlite3_errmsg(db->db.get()) : "out of memory";
    throw RuntimeError(kErrProviderFailed,
                       "Cannot open the database '" + path + "': " + message + ".", "SQLite");
  }
  db->writable = !readOnly;
  Configure(*db);
  return db;
}

void Configure(Database& db) {
  sqlite3_extended_result_codes(db.db.get(), 1);
  sqlite3_busy_timeout(db.db.get(), static_cast<int>(SqliteBusyTimeout().count()));
  sqlite3_progress_handler(db.db.get(), 1000, OnProgress, &db);
  if (db.jet) {
    // Jet knows no double-quoted names, and its text comparisons fold every letter's case.
    sqlite3_db_config(db.db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db.db.get(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_create_collation(db.db.get(), "NOCASE", SQLITE_UTF8, nullptr, CompareFoldingCase);
  }
}

// Reads the schema, so that a file that is no database fails at the open and not at the first
// query; SQLite's extended result code, with its message in `message`.
int Probe(Database& db, std::string& message) {
  CommandClock clock(db);
  char* error = nullptr;
  int rc =
      sqlite3_exec(db.db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
  message = error ? error : "unknown error";
  sqlite3_free(error);
  return rc;
}

// A file opened to be read is kept open for the next reader while ADO's pooling is on: the
// configuration database is read for every page, and opening it (the file's header, locks, the
// schema) costs more than the page's reads of it. A kept connection serves only while the file
// is provably the one it opened, unchanged (a replaced or rewritten file is opened afresh; the
// open descriptor keeps the file's number from going to another file meanwhile), and only as
// long as nothing but reads ran on it.
std::string KeptDatabaseKey(const std::string& path, bool jet, const ConnectOptions& options) {
  if (!options.readOnly || !options.pooling) return {};
  return std::string("sqlite\n") + (jet ? "jet\n" : "\n") + path;
}

std::shared_ptr<Database> KeptDatabase(const std::string& key, const FileStamp& now,
                                       const ConnectOptions& options) {
  if (key.empty() || !now.known) return nullptr;
  while (std::unique_ptr<PooledSession> idle = ConnectionPool::Shared().Take(key)) {
    std::shared_ptr<Database> db(static_cast<Database*>(idle.release()), GiveBack);
    if (db->stamp.SameFile(now)) {
      db->timeout = std::chrono::seconds(options.commandTimeout);
      return db;
    }
    db->poolKey.clear();  // another file, or changed since: it closes
  }
  return nullptr;
}

}  // namespace

std::chrono::milliseconds SqliteBusyTimeout() {
  return std::chrono::milliseconds(busyTimeout.load());
}

void SetSqliteBusyTimeout(std::chrono::milliseconds timeout) {
  busyTimeout = static_cast<int>(timeout.count());
}

std::unique_ptr<Provider> KeptSqliteProvider(const ConnectionString& cs, bool jet,
                                             const ConnectOptions& options) {
  const std::string path = DataSourceFile(cs);
  const std::string key = KeptDatabaseKey(path, jet, options);
  if (key.empty() || ConnectionPool::Shared().IdleCount() == 0) return nullptr;
  auto db = KeptDatabase(key, FileStamp::Of(path), options);
  return db ? std::make_unique<SqliteProvider>(std::move(db)) : nullptr;
}

std::unique_ptr<Provider> OpenSqliteProvider(const ConnectionString& cs, bool jet,
                                             const ConnectOptions& options) {
  const std::string path = DataSourceFile(cs);
  if (path.empty()) {
    throw RuntimeError(kErrProviderFailed, "The connection string names no file (Data Source=...).",
                       "SQLite");
  }
  const std::string key = KeptDatabaseKey(path, jet, options);
  // Looked at before the file is opened: a change after this is seen at the next open.
  const FileStamp stamp = key.empty() ? FileStamp{} : FileStamp::Of(path);
  if (auto kept = KeptDatabase(key, stamp, options))
    return std::make_unique<SqliteProvider>(std::move(kept));
  if (!IsRegularFile(path)) {
    throw RuntimeError(kErrProviderFailed, "Could not find file '" + path + "'.", "SQLite");
  }
  auto db = OpenDatabase(path, options.readOnly, jet, options);
  std::string message;
  int rc = Probe(*db, message);
  if (options.readOnly && NeedsRecovery(rc)) {
    // Roll the dead writer's transaction back once with a short read-write open (SQLite does
    // that when it first reads), then read on read-only as asked.
    db.reset();
    try {
      std::string ignored;  // the read-only probe below tells whether the rollback took place
      Probe(*OpenDatabase(path, false, jet, options), ignored);
    } catch (const RuntimeError&) {
      // Not writable for this user: the file stays as it is and the probe below reports it.
    }
    db = OpenDatabase(path, true, jet, options);
    rc = Probe(*db, message);
  }
  if (rc != SQLITE_OK) {
    throw RuntimeError(kErrProviderFailed,
                       "Cannot open the database '" + path + "': " + message + ".", "SQLite");
  }
  if (stamp.known) {
    db->poolKey = key;
    db->stamp = stamp;
    sqlite3_set_authorizer(db->db.get(), NoteWhatRuns, db.get());
  }
  return std::make_unique<SqliteProvider>(std::move(db));
}

}  // namespace vn::data
