#include "platform/file_stamp.h"

namespace vn {

bool FileStamp::SameFile(const FileStamp& other) const {
  return known && other.known && device == other.device && inode == other.inode &&
         size == other.size && modified == other.modified && changed == other.changed;
}

}  // namespace vn
