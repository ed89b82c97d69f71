#include "data/mdb_snapshot.h"

#include <dirent.h>
#include <dlfcn.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#ifdef VARNOLIS_HAVE_MDBTOOLS
#include <mdbtools.h>
#endif

#include "data/errors.h"
#include "data/sqlite_handles.h"
#include "platform/file_io.h"
#include "platform/temp_file.h"
#include "platform/text.h"

namespace vn::data {

namespace {

RuntimeError SnapshotError(const std::string& text) {
  return RuntimeError(kErrProviderFailed, text, "Jet");
}

// Creates `folder` with mode 0700 unless it is there; false when it cannot.
bool MakeFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  return false;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return {};
}

// FNV-1a of the file's path: one snapshot name per Access file.
std::string PathKey(const std::string& path) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : path) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Removes the snapshots of the same Access file other than `keep` (older states of the file).
void RemoveOlderSnapshots(const std::string& folder, const std::string& prefix,
                          const std::string& keep) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.starts_with(prefix) && name != keep) {
      // A snapshot still open elsewhere is read on from its open descriptor; one that cannot
      // be removed is only space, and goes with the next renewal.
      RemoveFile(folder + "/" + name);
    }
  }
}

#ifdef VARNOLIS_HAVE_MDBTOOLS

constexpr const char* kMdbLibrary = "libmdb.so.3";

// mdbtools' library, loaded on first use and kept for the life of the process (it brings GLib,
// which cannot be unloaded).
struct MdbLibrary {
  MdbHandle* (*open)(const char*, MdbFileFlags) = nullptr;
  void (*close)(MdbHandle*) = nullptr;
  GPtrArray* (*readCatalog)(MdbHandle*, int) = nullptr;
  MdbTableDef* (*readTable)(MdbCatalogEntry*) = nullptr;
  GPtrArray* (*readColumns)(MdbTableDef*) = nullptr;
  int (*rewindTable)(MdbTableDef*) = nullptr;
  int (*bindColumn)(MdbTableDef*, int, void*, int*) = nullptr;
  int (*fetchRow)(MdbTableDef*) = nullptr;
  void (*freeTableDef)(MdbTableDef*) = nullptr;
  int (*isSystemTable)(MdbCatalogEntry*) = nullptr;
  void (*setBindSize)(MdbHandle*, size_t) = nullptr;
  void (*setDateFormat)(MdbHandle*, const char*) = nullptr;
  void (*setShortDateFormat)(MdbHandle*, const char*) = nullptr;
  void (*setBooleanNumbers)(MdbHandle*) = nullptr;
  void* (*oleReadFull)(MdbHandle*, MdbColumn*, size_t*) = nullptr;
  std::string missing;  // why it could not be loaded; empty when loaded
};

template <typename F>
void Resolve(void* library, const char* name, F& function, std::string& missing) {
  function = reinterpret_cast<F>(::dlsym(library, name));
  if (function == nullptr && missing.empty()) {
    missing = std::string(kMdbLibrary) + " has no " + name + " (mdbtools 1.0 or later needed)";
  }
}

MdbLibrary LoadMdbLibrary() {
  MdbLibrary mdb;
  void* library = ::dlopen(kMdbLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    mdb.missing = std::string(kMdbLibrary) + " is not installed";
    return mdb;
  }
  Resolve(library, "mdb_open", mdb.open, mdb.missing);
  Resolve(library, "mdb_close", mdb.close, mdb.missing);
  Resolve(library, "mdb_read_catalog", mdb.readCatalog, mdb.missing);
  Resolve(library, "mdb_read_table", mdb.readTable, mdb.missing);
  Resolve(library, "mdb_read_columns", mdb.readColumns, mdb.missing);
  Resolve(library, "mdb_rewind_table", mdb.rewindTable, mdb.missing);
  Resolve(library, "mdb_bind_column", mdb.bindColumn, mdb.missing);
  Resolve(library, "mdb_fetch_row", mdb.fetchRow, mdb.missing);
  Resolve(library, "mdb_free_tabledef", mdb.freeTableDef, mdb.missing);
  Resolve(library, "mdb_is_system_table", mdb.isSystemTable, mdb.missing);
  Resolve(library, "mdb_set_bind_size", mdb.setBindSize, mdb.missing);
  Resolve(library, "mdb_set_date_fmt", mdb.setDateFormat, mdb.missing);
  Resolve(library, "mdb_set_shortdate_fmt", mdb.setShortDateFormat, mdb.missing);
  Resolve(library, "mdb_set_boolean_fmt_numbers", mdb.setBooleanNumbers, mdb.missing);
  Resolve(library, "mdb_ole_read_full", mdb.oleReadFull, mdb.missing);
  return mdb;
}

const MdbLibrary& Mdb() {
  static const MdbLibrary library = LoadMdbLibrary();
  if (!library.missing.empty()) {
    throw RuntimeError(kErrProviderNotFound,
                       "Reading Access files on Linux needs mdbtools' library, but " +
                           library.missing +
                           ": install the package libmdb3 (or mdbtools, which brings it).",
                       "Jet");
  }
  return library;
}

// The largest value of one column that is copied whole (a memo's text in UTF-8).
constexpr size_t kBindSize = 256 * 1024;

// The SQLite column type of an Access column: the declared types that the Jet provider maps to
// the DataTypeEnum codes Access's own provider reports.
std::string SqliteTypeOf(const MdbColumn& column) {
  switch (column.col_type) {
    case MDB_BOOL:
      return "BOOLEAN";
    case MDB_BYTE:
      return "TINYINT";
    case MDB_INT:
      return "SMALLINT";
    case MDB_LONGINT:
      return "INTEGER";
    case MDB_MONEY:
      return "CURRENCY";
    case MDB_FLOAT:
      return "SINGLE";
    case MDB_DOUBLE:
      return "DOUBLE";
    case MDB_DATETIME:
      return "DATETIME";
    case MDB_BINARY:
    case MDB_OLE:
      return "BLOB";
    case MDB_MEMO:
      return "LONGTEXT COLLATE NOCASE";  // Jet compares and sorts texts without case
    case MDB_NUMERIC:
      return "NUMERIC";
    default:
      return "VARCHAR COLLATE NOCASE";
  }
}

bool IsNumberColumn(int type) {
  return type == MDB_FLOAT || type == MDB_DOUBLE || type == MDB_MONEY || type == MDB_NUMERIC;
}

struct MdbCloser {
  void operator()(MdbHandle* handle) const { Mdb().close(handle); }
};
struct TableDefFreer {
  void operator()(MdbTableDef* table) const { Mdb().freeTableDef(table); }
};

class SnapshotWriter {
 public:
  SnapshotWriter(const std::string& accessPath, const std::string& target)
      : accessPath_(accessPath) {
    if (OpenSqlite(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db_) != SQLITE_OK) {
      throw SnapshotError("Cannot write the snapshot '" + target + "'.");
    }
    Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
  }

  void CopyTables() {
    const MdbLibrary& mdb = Mdb();
    std::unique_ptr<MdbHandle, MdbCloser> handle(mdb.open(accessPath_.c_str(), MDB_NOFLAGS));
    if (!handle) {
      throw SnapshotError("mdbtools cannot read '" + accessPath_ + "' as an Access file.");
    }
    mdb.setBindSize(handle.get(), kBindSize);
    mdb.setDateFormat(handle.get(), "%Y-%m-%d %H:%M:%S");
    mdb.setShortDateFormat(handle.get(), "%Y-%m-%d");
    mdb.setBooleanNumbers(handle.get());
    if (mdb.readCatalog(handle.get(), MDB_TABLE) == nullptr) {
      throw SnapshotError("mdbtools cannot read the table list of '" + accessPath_ + "'.");
    }
    for (unsigned i = 0; i < handle->num_catalog; ++i) {
      auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(handle->catalog, i));
      if (entry->object_type != MDB_TABLE || mdb.isSystemTable(entry)) continue;
      CopyTable(handle.get(), entry);
    }
    Exec("COMMIT");
  }

 private:
  void CopyTable(MdbHandle* handle, MdbCatalogEntry* entry) {
    const MdbLibrary& mdb = Mdb();
    std::unique_ptr<MdbTableDef, TableDefFreer> table(mdb.readTable(entry));
    if (!table || mdb.readColumns(table.get()) == nullptr) {
      throw SnapshotError("mdbtools cannot read the table '" + std::string(entry->object_name) +
                          "' of '" + accessPath_ + "'.");
    }
    const unsigned count = table->num_cols;
    std::vector<MdbColumn*> columns(count);
    std::string create = "CREATE TABLE " + QuoteSqliteName(table->name) + " (";
    std::string insert = "INSERT INTO " + QuoteSqliteName(table->name) + " VALUES (";
    for (unsigned c = 0; c < count; ++c) {
      columns[c] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
      if (c > 0) {
        create += ", ";
        insert += ", ";
      }
      create += QuoteSqliteName(columns[c]->name) + " " + SqliteTypeOf(*columns[c]);
      insert += "?";
    }
    Exec(create + ")");
    if (count == 0) return;
    SqliteStatement statement;
    PrepareSqlite(db_.get(), insert + ")", statement);
    if (!statement) throw SnapshotError(sqlite3_errmsg(db_.get()));
    std::vector<std::vector<char>> values(count, std::vector<char>(kBindSize + 1));
    std::vector<int> lengths(count);
    for (unsigned c = 0; c < count; ++c) {
      mdb.bindColumn(table.get(), static_cast<int>(c + 1), values[c].data(), &lengths[c]);
    }
    mdb.rewindTable(table.get());
    while (mdb.fetchRow(table.get())) {
      sqlite3_stmt* st = statement.get();
      for (unsigned c = 0; c < count; ++c) {
        const int at = static_cast<int>(c + 1);
        const int type = columns[c]->col_type;
        if (type == MDB_OLE) {
          BindOle(st, handle, columns[c], at, lengths[c]);
          continue;
        }
        if (lengths[c] <= 0) {
          sqlite3_bind_null(st, at);  // mdbtools gives NULL values no length
          continue;
        }
        const size_t length = std::min<size_t>(static_cast<size_t>(lengths[c]), kBindSize);
        if (type == MDB_BINARY) {
          sqlite3_bind_blob(st, at, values[c].data(), static_cast<int>(length), SQLITE_TRANSIENT);
          continue;
        }
        std::string text(values[c].data(), strnlen(values[c].data(), length));
        // A decimal comma, should the library have formatted under a regional locale.
        if (IsNumberColumn(type) && text.find('.') == std::string::npos) {
          text = ReplaceAll(text, ",", ".");
        }
        sqlite3_bind_text(st, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      }
      if (sqlite3_step(st) != SQLITE_DONE) throw SnapshotError(sqlite3_errmsg(db_.get()));
      sqlite3_reset(st);
    }
  }

  // An OLE object's whole data, read from its pages (the bound value only points to them).
  static void BindOle(sqlite3_stmt* st, MdbHandle* handle, MdbColumn* column, int at, int length) {
    size_t size = 0;
    void* data = length > 0 ? Mdb().oleReadFull(handle, column, &size) : nullptr;
    if (data == nullptr) {
      sqlite3_bind_null(st, at);
      return;
    }
    sqlite3_bind_blob(st, at, data, static_cast<int>(size), SQLITE_TRANSIENT);
    std::free(data);  // GLib's allocator is the system's since GLib 2.46
  }

  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::string text = error ? error : "unknown SQLite error";
      sqlite3_free(error);
      throw SnapshotError("Cannot write the snapshot of '" + accessPath_ + "': " + text + ".");
    }
  }

  std::string accessPath_;
  SqliteDatabase db_;
};

#endif

}  // namespace

std::string SnapshotFolder() {
  std::string base;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
    base = cache;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) throw SnapshotError("No home folder for the snapshots of Access files.");
    base = home + "/.cache";
  }
  const std::string folder = base + "/varnolis";
  if (!MakeFolder(base) || !MakeFolder(folder)) {
    throw SnapshotError("Cannot create the folder '" + folder +
                        "' for the snapshots of Access files: " + std::strerror(errno) + ".");
  }
  return folder;
}

std::string MdbSnapshotOf(const std::string& accessPath) {
#ifndef VARNOLIS_HAVE_MDBTOOLS
  throw RuntimeError(kErrProviderNotFound,
                     "This build reads no Access files ('" + accessPath +
                         "'): it was built without mdbtools' header (package mdbtools-dev).",
                     "Jet");
#else
  Mdb();  // a missing library is reported before anything is written
  struct stat info {};
  if (::stat(accessPath.c_str(), &info) != 0) {
    throw SnapshotError("Could not find file '" + accessPath + "'.");
  }
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(accessPath.c_str(), nullptr),
                                                   std::free);
  const std::string prefix = "access-" + PathKey(real ? real.get() : accessPath) + "-";
  const std::string name = prefix + std::to_string(info.st_size) + "-" +
                           std::to_string(info.st_mtim.tv_sec) + "." +
                           std::to_string(info.st_mtim.tv_nsec) + ".sqlite";
  const std::string folder = SnapshotFolder();
  const std::string path = folder + "/" + name;
  if (IsRegularFile(path)) return path;

  // Written under a temporary name and moved into place whole: a reader never sees half a
  // snapshot, and two writers at once each finish their own.
  std::optional<std::string> temporary = CreateTempFile(folder, "acc");
  if (!temporary) {
    throw SnapshotError("Cannot create a snapshot file in '" + folder +
                        "': " + std::strerror(errno) + ".");
  }
  TempFile owner(*temporary);
  {
    SnapshotWriter writer(accessPath, owner.Path());
    writer.CopyTables();
  }
  if (!MoveFileOver(owner.Path(), path)) {
    throw SnapshotError("Cannot move the snapshot into '" + path + "': " + std::strerror(errno) +
                        ".");
  }
  owner.Release();
  RemoveOlderSnapshots(folder, prefix, name);
  return path;
#endif
}

}  // namespace vn::data
