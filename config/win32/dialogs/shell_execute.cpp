#include "config/win32/dialogs/shell_execute.h"

#include "platform/win32/com_apartment.h"

namespace vn::config::win32 {

namespace {

// The shell's result in the numbering of ShellExecute: above 32 on success.
long ResultOf(BOOL ok, const SHELLEXECUTEINFOW& info) {
  const long result = static_cast<long>(reinterpret_cast<INT_PTR>(info.hInstApp));
  if (!ok && result > 32) return SE_ERR_NOASSOC;  // a failure the shell gave no number for
  return result;
}

}  // namespace

clShellExecute::clShellExecute(Runner runner) : runner_(std::move(runner)) {
  if (!runner_) {
    runner_ = [](SHELLEXECUTEINFOW& info) {
      // The shell may hand the call to extensions that need COM on this thread.
      vn::win32::ComApartment apartment;
      return ::ShellExecuteExW(&info);
    };
  }
}

long clShellExecute::Plain(HWND window, const wchar_t* verb, const std::string& file, int show) {
  const std::wstring wideFile = vn::win32::Widen(file);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = 0;
  info.hwnd = window;
  info.lpVerb = verb;
  info.lpFile = wideFile.c_str();
  info.nShow = show;
  const long result = ResultOf(runner_(info), info);
  return result > 32 ? -1 : result;
}

long clShellExecute::Extended(HWND window, const std::string& file, const std::string& parameters,
                              const std::string& folder, int show) {
  const std::wstring wideFile = vn::win32::Widen(file);
  const std::wstring wideParameters = vn::win32::Widen(parameters);
  const std::wstring wideFolder = vn::win32::Widen(folder);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = kExtendedMask;
  info.hwnd = window;
  info.lpVerb = L"Open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = parameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : wideFolder.c_str();
  info.nShow = show;
  const BOOL ok = runner_(info);
  instanceResult_ = ResultOf(ok, info);
  process_ = ok && info.hProcess != nullptr
                 ? std::make_unique<vn::win32::UniqueHandle>(info.hProcess)
                 : nullptr;
  return instanceResult_ > 32 ? -1 : instanceResult_;
}

long clShellExecute::Explore(HWND window, const std::string& folder, int show) {
  return Plain(window, L"explore", folder, show);
}

long clShellExecute::LaunchDocument(HWND window, const std::string& document,
                                    const std::string& startFolder, int show) {
  return Extended(window, document, {}, startFolder, show);
}

long clShellExecute::LaunchEmail(HWND window, const std::string& address, int show) {
  return Plain(window, nullptr, "mailto:" + address, show);
}

long clShellExecute::LaunchFolder(HWND window, const std::string& folder, int show) {
  return Plain(window, L"open", folder, show);
}

long clShellExecute::LaunchProgram(const std::string& program, HWND window,
                                   const std::string& parameters, const std::string& startFolder,
                                   int show) {
  return Extended(window != nullptr ? window : ::GetDesktopWindow(), program, parameters,
                  startFolder, show);
}

long clShellExecute::LaunchURL(const std::string& address, HWND window, int show) {
  return Plain(window != nullptr ? window : ::GetDesktopWindow(), nullptr, address, show);
}

long clShellExecute::PrintDocument(HWND window, const std::string& document) {
  return Plain(window, L"print", document, SW_HIDE);
}

bool clShellExecute::StillExecuting() const {
  DWORD code = 0;
  return process_ && ::GetExitCodeProcess(process_->Get(), &code) && code == kStillActive;
}

}  // namespace vn::config::win32
