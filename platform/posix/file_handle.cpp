#include "platform/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"

namespace vn {
namespace {

std::string Reason(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

std::intptr_t Open(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) throw RuntimeError(kErrPathFileAccess, Reason(path, errno), "FileHandle");
  return fd;
}

}  // namespace

FileHandle FileHandle::OpenForReading(const std::string& path) {
  return FileHandle(Open(path, O_RDONLY), path);
}

FileHandle FileHandle::OpenForWriting(const std::string& path) {
  // Emptied only when there is something in it, not by O_TRUNC: ext4 takes any truncation, even
  // of an empty file, for a file rewritten in place and writes it out to disk at its close. A
  // page's temporary file, created empty a moment before and deleted once read, would cost a
  // disk write per page.
  FileHandle file(Open(path, O_WRONLY | O_CREAT), path);
  const int fd = static_cast<int>(file.native_);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || (st.st_size > 0 && ::ftruncate(fd, 0) != 0)) {
    throw RuntimeError(kErrPathFileAccess, Reason(path, errno), "FileHandle");
  }
  return file;
}

std::size_t FileHandle::ReadUpTo(void* buffer, std::size_t size) {
  RequireOpen();
  auto* bytes = static_cast<char*>(buffer);
  std::size_t filled = 0;
  while (filled < size) {
    ssize_t got = ::read(static_cast<int>(native_), bytes + filled, size - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw RuntimeError(kErrDeviceIo, Reason(path_, errno), "FileHandle");
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  return filled;
}

void FileHandle::WriteAll(const void* data, std::size_t size) {
  RequireOpen();
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    ssize_t put = ::write(static_cast<int>(native_), bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) throw RuntimeError(kErrDeviceIo, Reason(path_, errno), "FileHandle");
    done += static_cast<std::size_t>(put);
  }
}

void FileHandle::Close() {
  if (!IsOpen()) return;
  const int fd = static_cast<int>(std::exchange(native_, kClosed));
  // The descriptor is gone whatever close reports (also after EINTR on Linux): never retried.
  if (::close(fd) != 0 && errno != EINTR) {
    throw RuntimeError(kErrDeviceIo, Reason(path_, errno), "FileHandle");
  }
}

void FileHandle::CloseQuietly() noexcept {
  if (IsOpen()) ::close(static_cast<int>(std::exchange(native_, kClosed)));
}

}  // namespace vn
