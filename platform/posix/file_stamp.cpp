#include "platform/file_stamp.h"

#include <sys/stat.h>

#include <chrono>

namespace vn {

FileStamp FileStamp::Of(const std::string& path) {
  FileStamp stamp;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
  stamp.known = true;
  stamp.device = static_cast<unsigned long long>(st.st_dev);
  stamp.inode = static_cast<unsigned long long>(st.st_ino);
  stamp.size = static_cast<long long>(st.st_size);
  stamp.modified = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
  stamp.changed = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  stamp.lookedAt = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  return stamp;
}

}  // namespace vn
