#include "platform/temp_file.h"

#include "platform/win32/wide.h"

namespace vn {

std::string TempPath() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring folder(buffer, length);
  // "C:\" keeps its separator; any other folder loses the trailing one.
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return win32::Narrow(folder);
}

std::optional<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) {
  // GetTempFileNameW with 0 picks a free number and creates the file in one step, so no other
  // process can take the name between choosing and creating it.
  wchar_t name[MAX_PATH];
  if (::GetTempFileNameW(win32::Widen(folder).c_str(), win32::Widen(prefix.substr(0, 3)).c_str(), 0,
                         name) == 0) {
    return std::nullopt;
  }
  return win32::Narrow(name);
}

}  // namespace vn

namespace vn {

FileHandle TempFile::OpenForFinalRead() {
  // The reader shares deletion, so the name can be deleted at once: the file is then pending
  // deletion and goes with the last handle, also when the process ends without closing it.
  FileHandle reader = FileHandle::OpenForReading(path_);
  // When the deletion is refused the owner keeps the file and deletes it when it goes.
  if (::DeleteFileW(win32::Widen(path_).c_str())) owned_ = false;
  return reader;
}

void TempFile::Delete() noexcept {
  // A failure is ignored: the file may be gone already.
  if (owned_ && !path_.empty()) ::DeleteFileW(win32::Widen(path_).c_str());
  path_.clear();
  owned_ = true;
}

}  // namespace vn
