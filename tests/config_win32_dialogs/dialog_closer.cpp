#include "dialog_closer.h"

namespace {

// One closer at a time: a timer procedure has no place for a pointer of its own.
struct Search {
  WORD command = IDCANCEL;
  std::wstring caption;
};
Search search;

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  wchar_t caption[256] = {};
  ::GetWindowTextW(window, caption, 256);
  search.caption = caption;
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(search.command, BN_CLICKED), 0);
  return FALSE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (search.caption.empty()) ::EnumThreadWindows(::GetCurrentThreadId(), &CloseDialog, 0);
}

}  // namespace

DialogCloser::DialogCloser(WORD command) {
  search = Search{command, {}};
  timer_ = ::SetTimer(nullptr, 0, 50, &LookForDialog);
}

DialogCloser::~DialogCloser() { ::KillTimer(nullptr, timer_); }

std::wstring DialogCloser::Caption() const { return search.caption; }
