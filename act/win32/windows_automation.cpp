// The automation layer on Windows: the desktop's top-level windows through the window functions.
// ACT!'s automation object over COM is not reached yet: creating it fails as a missing
// component does (error 429), so the bridge reports what it reports when ACT! cannot be asked.
#include <windows.h>

#include "act/act_standin.h"
#include "platform/runtime_error.h"
#include "platform/win32/wide.h"

namespace vn {
namespace {

class DesktopWindows : public clWindowList {
 public:
  std::vector<WindowHandle> EnumWindows() override {
    std::vector<WindowHandle> handles;
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&handles));
    return handles;
  }
  bool IsWindowVisible(WindowHandle hwnd) override {
    return ::IsWindowVisible(Hwnd(hwnd)) != FALSE;
  }
  bool IsWindow(WindowHandle hwnd) override { return ::IsWindow(Hwnd(hwnd)) != FALSE; }
  std::string GetClassName(WindowHandle hwnd) override {
    wchar_t name[256];
    int length = ::GetClassNameW(Hwnd(hwnd), name, 256);
    return length > 0 ? win32::Narrow(std::wstring_view(name, static_cast<size_t>(length))) : "";
  }
  int GetWindowTextLength(WindowHandle hwnd) override { return ::GetWindowTextLengthW(Hwnd(hwnd)); }
  std::string GetWindowText(WindowHandle hwnd) override {
    std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(Hwnd(hwnd))) + 1, L'\0');
    int length = ::GetWindowTextW(Hwnd(hwnd), title.data(), static_cast<int>(title.size()));
    return length > 0 ? win32::Narrow(std::wstring_view(title.data(), static_cast<size_t>(length)))
                      : "";
  }

 private:
  static HWND Hwnd(WindowHandle hwnd) { return reinterpret_cast<HWND>(hwnd); }

  // A plain function: on i686 a lambda does not convert to a CALLBACK (stdcall) pointer.
  static BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(
        reinterpret_cast<WindowHandle>(hwnd));
    return TRUE;
  }
};

class UnavailableHost : public clAutomationHost {
 public:
  AutoObject CreateObject(const std::string& progId) override {
    throw RuntimeError(kCannotCreateObject, "ActiveX component can't create object: " + progId,
                       "CreateObject");
  }
  // Lets the calling thread's pending window messages run, as VB's DoEvents does.
  void DoEvents() override {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
};

}  // namespace

ACTAutomation DefaultACTAutomation() {
  return ACTAutomation{std::make_shared<DesktopWindows>(), std::make_shared<UnavailableHost>()};
}

}  // namespace vn
