// The model last read from the ACT! stand-in file, kept for the calls that follow while the file
// stays as it was: a page asks the stand-in some hundred times, for a file that changes only
// when a test or the stand-in itself writes it.
#pragma once

#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/file_stamp.h"

namespace vn {

// A model as read from the file. It is never changed: the calls that change the model change a
// copy and write that, so a model handed out stays as the file was when it was read.
using StandInModel = std::shared_ptr<const nlohmann::json>;

class clStandInCache {
 public:
  // Coarser than any local file system's clock for file times (FAT's is two seconds).
  static constexpr long long kSettledNanoseconds = 2'000'000'000LL;

  explicit clStandInCache(long long settledNanoseconds = kSettledNanoseconds)
      : settled_(settledNanoseconds) {}

  // The model kept for `path` when the file is provably as it was read: the same file, size and
  // times, and last changed well before it was read, so that a later write in the same tick of
  // the file system's clock cannot go unseen. Null otherwise.
  StandInModel Unchanged(const std::string& path, const FileStamp& now);
  // The model kept for `path` when it was made of the same text, else null; the file's state is
  // noted with it.
  StandInModel SameText(const std::string& path, const std::string& content,
                        const FileStamp& stamp);
  void Keep(const std::string& path, const std::string& content, StandInModel model,
            const FileStamp& stamp);

  // The cache that all stand-in files of the process share.
  static clStandInCache& Shared();

 private:
  const long long settled_;
  std::mutex mutex_;
  std::string path_;
  std::string content_;
  StandInModel model_;
  FileStamp stamp_;
};

}  // namespace vn
