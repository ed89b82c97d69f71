// The one registration of the Windows front's window classes (the main window, its panels, the
// splash and about windows): each registered once per module, on the first window of its class.
#pragma once

#include <windows.h>

namespace vn::config::win32 {

inline void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                int backgroundColour) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (::GetClassInfoExW(instance, name, &windowClass)) return;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ::GetSysColorBrush(backgroundColour);
  windowClass.lpszClassName = name;
  ::RegisterClassExW(&windowClass);
}

}  // namespace vn::config::win32
