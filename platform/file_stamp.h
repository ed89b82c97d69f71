// A file's state as the file system tells it without reading the file (identity, size and the
// times of its last change): what tells a cache that the file it was made from is still the
// same one, unchanged.
#pragma once

#include <string>

namespace vn {

struct FileStamp {
  bool known = false;  // false where the file system cannot be trusted to tell (Windows)
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  long long modified = 0;  // nanoseconds since 1970
  long long changed = 0;   // nanoseconds since 1970
  long long lookedAt = 0;  // nanoseconds since 1970

  // The stamp of the regular file at `path`; not known when there is none.
  static FileStamp Of(const std::string& path);
  // Both known, and the same file with the same size and times.
  bool SameFile(const FileStamp& other) const;
};

}  // namespace vn
