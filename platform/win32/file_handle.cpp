#include "platform/file_handle.h"

#include <algorithm>
#include <utility>

#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "platform/win32/wide.h"

namespace vn {
namespace {

std::string Reason(const std::string& path, DWORD error) {
  return path + ": " + win32::SystemErrorText(error);
}

HANDLE AsHandle(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

std::intptr_t Open(const std::string& path, DWORD access, DWORD disposition) {
  // Others may read, write and delete meanwhile, as with a POSIX descriptor; a temporary file
  // that is being read must still be deletable by its owner.
  HANDLE file = ::CreateFileW(win32::Widen(path).c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw RuntimeError(kErrPathFileAccess, Reason(path, ::GetLastError()), "FileHandle");
  }
  return reinterpret_cast<std::intptr_t>(file);
}

}  // namespace

FileHandle FileHandle::OpenForReading(const std::string& path) {
  return FileHandle(Open(path, GENERIC_READ, OPEN_EXISTING), path);
}

FileHandle FileHandle::OpenForWriting(const std::string& path) {
  return FileHandle(Open(path, GENERIC_WRITE, CREATE_ALWAYS), path);
}

std::size_t FileHandle::ReadUpTo(void* buffer, std::size_t size) {
  RequireOpen();
  auto* bytes = static_cast<char*>(buffer);
  std::size_t filled = 0;
  while (filled < size) {
    // ReadFile takes at most a DWORD per call.
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - filled, 0x40000000u));
    DWORD got = 0;
    if (!::ReadFile(AsHandle(native_), bytes + filled, chunk, &got, nullptr)) {
      throw RuntimeError(kErrDeviceIo, Reason(path_, ::GetLastError()), "FileHandle");
    }
    if (got == 0) break;
    filled += got;
  }
  return filled;
}

void FileHandle::WriteAll(const void* data, std::size_t size) {
  RequireOpen();
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 0x40000000u));
    DWORD put = 0;
    if (!::WriteFile(AsHandle(native_), bytes + done, chunk, &put, nullptr) || put == 0) {
      throw RuntimeError(kErrDeviceIo, Reason(path_, ::GetLastError()), "FileHandle");
    }
    done += put;
  }
}

void FileHandle::Close() {
  if (!IsOpen()) return;
  HANDLE file = AsHandle(std::exchange(native_, kClosed));
  if (!::CloseHandle(file)) {
    throw RuntimeError(kErrDeviceIo, Reason(path_, ::GetLastError()), "FileHandle");
  }
}

void FileHandle::CloseQuietly() noexcept {
  if (IsOpen()) ::CloseHandle(AsHandle(std::exchange(native_, kClosed)));
}

}  // namespace vn
