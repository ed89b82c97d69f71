#include "act/standin_cache.h"

namespace vn {

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
