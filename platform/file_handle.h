// FileHandle: an open file of the operating system, owned by one object and closed when that
// object goes. Reads and writes whole buffers; a failure is a RuntimeError with a file error
// number of vb_errors.h (access, device I/O, bad file) and the file's path and the system's
// reason as its text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vn {

class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // An existing file, for reading from its start. Throws RuntimeError 75 when it cannot be
  // opened.
  static FileHandle OpenForReading(const std::string& path);

  // The file emptied (created when missing), for writing from its start. Throws RuntimeError 75
  // when it cannot be opened.
  static FileHandle OpenForWriting(const std::string& path);

  bool IsOpen() const { return native_ != kClosed; }
  const std::string& Path() const { return path_; }

  // Reads until `size` bytes are in `buffer` or the file ends, and returns how many were read.
  // Throws RuntimeError 57 when reading fails, 52 when the file is not open.
  std::size_t ReadUpTo(void* buffer, std::size_t size);

  // Writes all `size` bytes. Throws RuntimeError 57 when writing fails, 52 when the file is not
  // open.
  void WriteAll(const void* data, std::size_t size);

  // Closes the file; a failure the system reports only at closing throws RuntimeError 57 (the
  // handle is closed all the same). Closing a closed handle does nothing.
  void Close();

 private:
  static constexpr std::intptr_t kClosed = -1;

  FileHandle(std::intptr_t native, std::string path) : native_(native), path_(std::move(path)) {}
  void CloseQuietly() noexcept;
  // Throws RuntimeError 52 when the file is not open.
  void RequireOpen() const;

  std::intptr_t native_ = kClosed;  // the system's descriptor or handle
  std::string path_;                // for the messages
};

}  // namespace vn
