// Failed dispatch calls as the automation errors the ACT! bridge handles: an exception raised by
// the server with its own number and description, any other failure with its HRESULT (a signed
// number) and the system's text for it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace vn::win32 {

// Throws the RuntimeError for a failed call of `member`; `exception` (which may be null) is
// read when `hr` is DISP_E_EXCEPTION. Its strings stay with the caller's ExceptionInfo.
[[noreturn]] void ThrowAutomationError(HRESULT hr, EXCEPINFO* exception, const std::string& member);

// An owner for the strings an EXCEPINFO may hold.
class ExceptionInfo {
 public:
  ExceptionInfo() { ::ZeroMemory(&info_, sizeof info_); }
  ~ExceptionInfo() { Clear(); }
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;

  EXCEPINFO* Get() { return &info_; }
  void Clear() {
    ::SysFreeString(info_.bstrSource);
    ::SysFreeString(info_.bstrDescription);
    ::SysFreeString(info_.bstrHelpFile);
    ::ZeroMemory(&info_, sizeof info_);
  }

 private:
  EXCEPINFO info_;
};

}  // namespace vn::win32
