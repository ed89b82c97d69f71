// What the configuration tests do to a configuration database file of their own from outside
// the program: run SQL through a connection of their own, hold another program's write lock on
// it, and (Linux) set the immutable flag that keeps even root from writing a file.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data/sqlite_handles.h"
#include "tests/data/short_busy_timeout.h"
#include "tests/sqlite_script.h"

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace vn::config::testing {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs `sql` on the database at `path` through a connection of its own; a failure fails the
// test.
inline void ExecuteSql(const std::string& path, const std::string& sql) {
  ASSERT_EQ(vn::test::RunSqliteScript(path, sql), "");
}

// Another program's write transaction on a database (a changed, uncommitted row of Daten), from
// Take until Release or the end of the lock. While the object lives, connections opened wait a
// tenth of a second for such a lock instead of five.
class WriteLock {
 public:
  WriteLock() = default;
  ~WriteLock() { Release(); }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

  void Take(const std::string& path) {
    Release();
    ASSERT_EQ(data::OpenSqlite(path, SQLITE_OPEN_READWRITE, db_), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db_.get(), "BEGIN IMMEDIATE; UPDATE Daten SET Titel = 'x' WHERE ID_Daten = 2;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  void Release() {
    if (!db_) return;
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    db_.reset();
  }
  bool Held() const { return db_ != nullptr; }

 private:
  const data::test::ShortBusyTimeout busy_;
  data::SqliteDatabase db_;
};

#ifdef __linux__
// Sets or clears the immutable flag of a file or folder where the file system has one; false
// when it could not.
inline bool SetImmutable(const std::string& target, bool on) {
  const int fd = ::open(target.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}
#endif

}  // namespace vn::config::testing
