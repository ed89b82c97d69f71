#include "platform/message_box_default.h"

#include <cwctype>

#include "platform/win32/wide.h"

namespace vn {
namespace {

// The contact manager's main window, when this process has one (the library runs in its browser
// tab): a visible top-level window whose class name contains the frame class.
struct OwnerSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindOwner(HWND hwnd, LPARAM param) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process != ::GetCurrentProcessId() || !::IsWindowVisible(hwnd)) return TRUE;
  wchar_t name[256];
  int length = ::GetClassNameW(hwnd, name, 256);
  std::wstring className(name, static_cast<size_t>(length > 0 ? length : 0));
  for (wchar_t& c : className) c = static_cast<wchar_t>(std::towlower(c));
  if (className.find(L"act3.0frameclass") == std::wstring::npos) return TRUE;
  reinterpret_cast<OwnerSearch*>(param)->found = hwnd;
  return FALSE;
}

}  // namespace

void ShowSystemWarning(const std::string& title, const std::string& text) {
  OwnerSearch search;
  ::EnumWindows(&FindOwner, reinterpret_cast<LPARAM>(&search));
  ::MessageBoxW(search.found, win32::Widen(text).c_str(), win32::Widen(title).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace vn
