#include "config/convert/config_converter.h"

#include <memory>
#include <optional>
#include <vector>

#include "data/connection.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/recordset.h"
#include "data/sqlite_handles.h"
#include "platform/config_names.h"
#include "platform/file_io.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
#include "platform/text.h"

namespace vn::config {

namespace {

constexpr long kErrOperationCancelled = 3712;  // adErrOperationCancelled

// The configuration tables, each before the tables that refer to it.
constexpr const char* kTables[] = {configdb::kFormate, configdb::kRubriken, configdb::kDaten,
                                   configdb::kZuordnungen};

RuntimeError ConversionError(const std::string& text) {
  return RuntimeError(data::kErrProviderFailed, text, "Konvertierung");
}

using data::SqliteStatement;

// The new configuration database, written in one transaction.
class TargetDatabase {
 public:
  TargetDatabase(const std::string& path, const std::string& schemaSql) {
    if (data::OpenSqlite(path, SQLITE_OPEN_READWRITE, db_) != SQLITE_OK) {
      Fail("Cannot open the new configuration database");
    }
    Exec(schemaSql);
    Exec("BEGIN");
  }

  // The columns of `table` as the schema made them.
  std::vector<std::string> ColumnsOf(const std::string& table) {
    SqliteStatement st = Prepare("PRAGMA table_info(" + data::QuoteSqliteName(table) + ")");
    std::vector<std::string> columns;
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
      columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)));
    }
    if (columns.empty()) throw ConversionError("The schema has no table " + table + ".");
    return columns;
  }

  SqliteStatement Prepare(const std::string& sql) {
    SqliteStatement statement;
    if (data::PrepareSqlite(db_.get(), sql, statement) != SQLITE_OK) {
      Fail("Cannot prepare '" + sql + "'");
    }
    return statement;
  }

  void Insert(sqlite3_stmt* st, const std::string& table) {
    if (sqlite3_step(st) != SQLITE_DONE) Fail("A row of " + table + " was refused");
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
  }

  void Commit() { Exec("COMMIT"); }

 private:
  void Exec(const std::string& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error);
    const std::string text = error ? error : "";
    sqlite3_free(error);
    if (rc != SQLITE_OK) throw ConversionError("The new configuration database: " + text + ".");
  }

  [[noreturn]] void Fail(const std::string& what) {
    throw ConversionError(what + ": " + sqlite3_errmsg(db_.get()) + ".");
  }

  data::SqliteDatabase db_;
};

// A value of the source as SQLite keeps it: numbers as numbers, dates and amounts as their
// plain text, everything else as text.
void Bind(sqlite3_stmt* st, int index, const data::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) {
    sqlite3_bind_null(st, index);
  } else if (value.Is<std::int64_t>()) {
    sqlite3_bind_int64(st, index, value.As<std::int64_t>());
  } else if (value.Is<bool>()) {
    sqlite3_bind_int(st, index, value.As<bool>() ? 1 : 0);
  } else if (value.Is<double>()) {
    sqlite3_bind_double(st, index, value.As<double>());
  } else {
    const std::string text = value.Is<std::string>() ? value.As<std::string>() : value.DebugText();
    sqlite3_bind_text(st, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
}

void CopyTable(data::Connection& source, TargetDatabase& target, const std::string& table) {
  data::Recordset rows;
  rows.Open("SELECT * FROM [" + table + "]", source);
  // The target's columns that the source has, by name without regard to case.
  std::vector<std::pair<std::string, int>> columns;
  for (const std::string& column : target.ColumnsOf(table)) {
    for (int i = 0; i < rows.FieldCount(); ++i) {
      if (EqualsIgnoringCase(rows.Fields(i).Name(), column)) {
        columns.emplace_back(column, i);
        break;
      }
    }
  }
  if (columns.empty()) throw ConversionError("The table " + table + " has none of its columns.");
  std::string names, marks;
  for (const auto& [column, position] : columns) {
    names += (names.empty() ? "" : ", ") + data::QuoteSqliteName(column);
    marks += marks.empty() ? "?" : ", ?";
  }
  SqliteStatement insert = target.Prepare("INSERT INTO " + data::QuoteSqliteName(table) + " (" +
                                          names + ") VALUES (" + marks + ")");
  for (; !rows.Eof(); rows.MoveNext()) {
    for (size_t c = 0; c < columns.size(); ++c) {
      Bind(insert.get(), static_cast<int>(c + 1), rows.Fields(columns[c].second).Value());
    }
    target.Insert(insert.get(), table);
  }
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

std::string KeptOriginalPath(const std::string& configPath) {
  const size_t slash = configPath.find_last_of("/\\");
  const size_t dot = configPath.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return configPath + " (Access-Original)";
  }
  return configPath.substr(0, dot) + " (Access-Original)" + configPath.substr(dot);
}

void ConvertConfigDatabase(const std::string& sourceConnection, const std::string& configPath,
                           const std::string& schemaSql, const std::function<bool()>& cancelled) {
  const std::string kept = KeptOriginalPath(configPath);
  const bool replaces = IsRegularFile(configPath);
  if (replaces && IsRegularFile(kept)) {
    // An original kept from before is never overwritten.
    throw ConversionError("'" + kept + "' exists already; move it away and convert again.");
  }
  std::optional<std::string> created = CreateTempFile(FolderOf(configPath), "cnv");
  if (!created) {
    throw ConversionError("Cannot create a file in '" + FolderOf(configPath) + "'.");
  }
  TempFile converted(*created);
  {
    data::Connection source;
    source.SetMode(data::adModeRead);
    source.Open(sourceConnection);
    TargetDatabase target(converted.Path(), schemaSql);
    for (const char* table : kTables) {
      if (cancelled && cancelled()) {
        throw RuntimeError(kErrOperationCancelled, "The conversion was cancelled.",
                           "Konvertierung");
      }
      CopyTable(source, target, table);
    }
    target.Commit();
  }
  if (replaces && !MoveFileOver(configPath, kept)) {
    throw ConversionError("Cannot keep the original as '" + kept + "'.");
  }
  if (!MoveFileOver(converted.Path(), configPath)) {
    if (replaces) MoveFileOver(kept, configPath);  // the original back in its place
    throw ConversionError("Cannot put the converted database in place of '" + configPath + "'.");
  }
  converted.Release();
}

}  // namespace vn::config
