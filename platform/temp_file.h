// Temporary files, the counterpart of GetTempPathA and GetTempFileNameA: the user's temporary
// folder and fresh, uniquely named files in it that only the user can read; and TempFile, the
// owner that deletes such a file when it goes.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/file_handle.h"

namespace vn {

// $TMPDIR when it is set and not empty, else /tmp; without a trailing '/'.
std::string TempPath();

// Creates a new empty file `folder`/<first three characters of prefix><four hex digits>.tmp,
// exclusively and with mode 0600, trying the next number while a name is taken. Returns its
// full path, or nothing when no file can be created there.
std::optional<std::string> CreateTempFile(const std::string& folder, const std::string& prefix);

// A temporary file owned by its path: deleted when the owner goes, unless ownership was given
// up or handed to a reader with OpenForFinalRead.
class TempFile {
 public:
  TempFile() = default;
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  ~TempFile() { Delete(); }
  TempFile(TempFile&& other) noexcept
      : path_(std::exchange(other.path_, {})), owned_(std::exchange(other.owned_, true)) {}
  TempFile& operator=(TempFile&& other) noexcept {
    if (this != &other) {
      Delete();
      path_ = std::exchange(other.path_, {});
      owned_ = std::exchange(other.owned_, true);
    }
    return *this;
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // The file's path, also after it was handed to a reader; empty for an empty owner.
  const std::string& Path() const { return path_; }

  // Opens the file for reading and hands its lifetime to the returned handle: from then on the
  // file is gone once the handle is closed, also when the process ends without closing it, and
  // this owner has nothing left to delete. On POSIX systems the name is removed at once (the
  // open handle keeps the content). Throws RuntimeError 75 when the file cannot be opened; the
  // owner then still owns it.
  FileHandle OpenForFinalRead();

  // Deletes the file now, if this owner still owns it; a failure is ignored (the file may be
  // gone already). The owner is empty afterwards.
  void Delete() noexcept;

  // Gives the file up without deleting it and returns its path; the owner is empty afterwards.
  std::string Release() {
    owned_ = true;
    return std::exchange(path_, {});
  }

 private:
  std::string path_;
  bool owned_ = true;  // false once the file was handed to a reader
};

}  // namespace vn
