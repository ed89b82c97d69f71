#include "act/standin_cache.h"

#include <sys/stat.h>

#include <chrono>

namespace vn {
FileStamp FileStamp::Of(const std::string& path) {
  FileStamp stamp;
#ifndef _WIN32
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return stamp;
  stamp.known = true;
  stamp.device = static_cast<unsigned long long>(st.st_dev);
  stamp.inode = static_cast<unsigned long long>(st.st_ino);
  stamp.size = static_cast<long long>(st.st_size);
  stamp.modified = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
  stamp.changed = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  stamp.lookedAt = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
#else
  static_cast<void>(path);  // Windows' stat has whole seconds and no change time
#endif
  return stamp;
}

bool FileStamp::SameFile(const FileStamp& other) const {
  return known && other.known && device == other.device && inode == other.inode &&
         size == other.size && modified == other.modified && changed == other.changed;
}

StandInModel clStandInCache::Unchanged(const std::string& path, const FileStamp& now) {
  std::lock_guard lock(mutex_);
  if (path != path_ || !stamp_.SameFile(now)) return nullptr;
  const long long settled = stamp_.lookedAt - settled_;
  if (stamp_.modified >= settled || stamp_.changed >= settled) return nullptr;
  return model_;
}

StandInModel clStandInCache::SameText(const std::string& path, const std::string& content,
                                      const FileStamp& stamp) {
  std::lock_guard lock(mutex_);
  if (model_ == nullptr || path != path_ || content != content_) return nullptr;
  stamp_ = stamp;
  return model_;
}

void clStandInCache::Keep(const std::string& path, const std::string& content, StandInModel model,
                          const FileStamp& stamp) {
  std::lock_guard lock(mutex_);
  path_ = path;
  content_ = content;
  model_ = std::move(model);
  stamp_ = stamp;
}

clStandInCache& clStandInCache::Shared() {
  static clStandInCache cache;
  return cache;
}

}  // namespace vn
