#include "data/database_file.h"

#include <cstring>

#include "platform/file_handle.h"
#include "platform/file_io.h"
#include "platform/runtime_error.h"
#include "platform/module_path.h"
#include "platform/path_separator.h"
#include "platform/text.h"

namespace vn::data {

std::string DataSourceFile(const ConnectionString& connectionString) {
  std::string path = TrimSpaces(connectionString.Get("Data Source"));
  if (!path.empty() && !IsAbsolutePath(path)) path = LibraryFolder() + VN_PATH_SEP + path;
  return path;
}

DatabaseFileKind KindOfDatabaseFile(const std::string& path) {
  if (!IsRegularFile(path)) return DatabaseFileKind::kNone;
  // An Access file's first page: 00 01 00 00, the engine's name, then its version at 0x14
  // (0 Jet 3, 1 Jet 4, 2 and up the ACE versions of Access 2007 on).
  unsigned char head[0x15] = {};
  size_t got = 0;
  try {
    FileHandle file = FileHandle::OpenForReading(path);
    got = file.ReadUpTo(head, sizeof head);
  } catch (const RuntimeError&) {
    return DatabaseFileKind::kNone;  // unreadable: the provider's own open says why
  }
  if (got >= 16 && std::memcmp(head, "SQLite format 3", 16) == 0) return DatabaseFileKind::kSqlite;
  if (got < sizeof head || head[0] != 0 || head[1] != 1 || head[2] != 0 || head[3] != 0) {
    return DatabaseFileKind::kOther;
  }
  if (std::memcmp(head + 4, "Standard Jet DB", 16) == 0) {
    return head[0x14] == 0 ? DatabaseFileKind::kJet3 : DatabaseFileKind::kJet4;
  }
  if (std::memcmp(head + 4, "Standard ACE DB", 16) == 0) return DatabaseFileKind::kAce;
  return DatabaseFileKind::kOther;
}

}  // namespace vn::data
