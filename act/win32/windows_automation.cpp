// The automation layer on Windows: the desktop's top-level windows through the window functions,
// and ACT!'s automation object created by its ProgID over COM and called through IDispatch.
#include <windows.h>
#include <objbase.h>

#include "act/act_standin.h"
#include "act/win32/automation_error.h"
#include "act/win32/dispatch_object.h"
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

// Whether CoCreateInstance failed because the component cannot be started at all (not
// registered, its program missing or not answering), which VB's CreateObject reports as 429.
bool IsMissingComponent(HRESULT hr) {
  switch (hr) {
    case REGDB_E_CLASSNOTREG:
    case REGDB_E_READREGDB:
    case CO_E_CLASSSTRING:
    case CO_E_APPNOTFOUND:
    case CO_E_SERVER_EXEC_FAILURE:
    case CO_E_SERVER_STOPPING:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL:
    case E_NOINTERFACE:
      return true;
    default:
      return false;
  }
}

class ComHost : public clAutomationHost {
 public:
  // The calling thread's apartment is the caller's: the browser's thread inside ACT!, or the
  // host's main thread, which initialises COM before it parses.
  AutoObject CreateObject(const std::string& progId) override {
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(win32::Widen(progId).c_str(), &clsid))) CannotCreate(progId);
    ComPtr<IDispatch> dispatch;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(dispatch.Receive()));
    if (FAILED(hr)) {
      if (IsMissingComponent(hr)) CannotCreate(progId);
      win32::ThrowAutomationError(hr, nullptr, "CreateObject");
    }
    return std::make_shared<win32::clDispatchObject>(std::move(dispatch));
  }
  // Lets the calling thread's pending window messages run, as VB's DoEvents does.
  void DoEvents() override {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

 private:
  [[noreturn]] static void CannotCreate(const std::string& progId) {
    throw RuntimeError(kCannotCreateObject, "ActiveX component can't create object: " + progId,
                       "CreateObject");
  }
};

}  // namespace

ACTAutomation DefaultACTAutomation() {
  return ACTAutomation{std::make_shared<DesktopWindows>(), std::make_shared<ComHost>()};
}

ACTAutomation PageACTAutomation() { return DefaultACTAutomation(); }

}  // namespace vn
