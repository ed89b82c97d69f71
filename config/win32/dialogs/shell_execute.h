// clShellExecute: opens documents, folders, mail addresses and web addresses through the system
// shell, and starts programs. Each operation returns -1 on success, otherwise the shell's error
// value (below 33). Every call is a ShellExecuteExW: the plain ones without a mask, whose result
// is what ShellExecute returns; the extended ones with keep-process-handle and
// expand-environment-variables (0x240), which keep the instance result and the process handle.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/wide.h"

namespace vn::config::win32 {

class clShellExecute {
 public:
  // Makes one shell call (by default ShellExecuteExW); tests record it instead.
  using Runner = std::function<BOOL(SHELLEXECUTEINFOW& info)>;

  static constexpr ULONG kExtendedMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_DOENVSUBST;
  static constexpr int kShowNormal = SW_SHOWNORMAL;
  static constexpr DWORD kStillActive = 259;

  explicit clShellExecute(Runner runner = {});
  clShellExecute(const clShellExecute&) = delete;
  clShellExecute& operator=(const clShellExecute&) = delete;

  long Explore(HWND window, const std::string& folder, int show = kShowNormal);
  long LaunchDocument(HWND window, const std::string& document, const std::string& startFolder,
                      int show = kShowNormal);
  long LaunchEmail(HWND window, const std::string& address, int show = kShowNormal);
  long LaunchFolder(HWND window, const std::string& folder, int show = kShowNormal);
  // Without a window the desktop window owns what the shell shows.
  long LaunchProgram(const std::string& program, HWND window = nullptr,
                     const std::string& parameters = {}, const std::string& startFolder = {},
                     int show = kShowNormal);
  long LaunchURL(const std::string& address, HWND window = nullptr, int show = kShowNormal);
  long PrintDocument(HWND window, const std::string& document);

  // True while the process of the last extended launch runs (exit code still 259).
  bool StillExecuting() const;
  // The shell's instance result (above 32 on success) and the process of the last extended
  // launch; 0 and null until then.
  long InstanceResult() const { return instanceResult_; }
  HANDLE ProcessHandle() const { return process_ ? process_->Get() : nullptr; }

 private:
  long Plain(HWND window, const wchar_t* verb, const std::string& file, int show);
  long Extended(HWND window, const std::string& file, const std::string& parameters,
                const std::string& folder, int show);

  Runner runner_;
  long instanceResult_ = 0;
  std::unique_ptr<vn::win32::UniqueHandle> process_;
};

}  // namespace vn::config::win32
