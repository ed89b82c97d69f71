// The parts of FileHandle that are the same on every system: ownership moves and the check that
// the file is open. The system calls are in posix/ and win32/.
#include "platform/file_handle.h"

#include <utility>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"

namespace vn {

FileHandle::~FileHandle() { CloseQuietly(); }

FileHandle::FileHandle(FileHandle&& other) noexcept
    : native_(std::exchange(other.native_, kClosed)), path_(std::move(other.path_)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    CloseQuietly();
    native_ = std::exchange(other.native_, kClosed);
    path_ = std::move(other.path_);
  }
  return *this;
}

void FileHandle::RequireOpen() const {
  if (!IsOpen()) {
    throw RuntimeError(kErrBadFileNameOrNumber, kTextBadFileNameOrNumber, "FileHandle");
  }
}

}  // namespace vn
