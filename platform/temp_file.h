// Temporary files, the counterpart of GetTempPathA and GetTempFileNameA: the user's temporary
// folder and fresh, uniquely named files in it that only the user can read; and TempFile, the
// owner that deletes such a file when it goes.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vn {

// $TMPDIR when it is set and not empty, else /tmp; without a trailing '/'.
std::string TempPath();

// Creates a new empty file `folder`/<first three characters of prefix><four hex digits>.tmp,
// exclusively and with mode 0600, trying the next number while a name is taken. Returns its
// full path, or nothing when no file can be created there.
std::optional<std::string> CreateTempFile(const std::string& folder, const std::string& prefix);

// A temporary file owned by its path: deleted when the owner goes, unless ownership was given
// up.
class TempFile {
 public:
  TempFile() = default;
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  ~TempFile() { Delete(); }
  TempFile(TempFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}
  TempFile& operator=(TempFile&& other) noexcept {
    if (this != &other) {
      Delete();
      path_ = std::exchange(other.path_, {});
    }
    return *this;
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // The file's path; empty for an empty owner.
  const std::string& Path() const { return path_; }

  // Deletes the file now, if this owner still owns it; a failure is ignored (the file may be
  // gone already). The owner is empty afterwards.
  void Delete() noexcept;

  // Gives the file up without deleting it and returns its path; the owner is empty afterwards.
  std::string Release() { return std::exchange(path_, {}); }

 private:
  std::string path_;
};

}  // namespace vn
