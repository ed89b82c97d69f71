// The owners of the Windows front's drawing and window objects (fonts, bitmaps, brushes and
// pens, icons, image lists, menus, device contexts, hooks), each the one owner template with the
// call that frees its kind.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/unique_object.h"

namespace vn::config::win32 {

inline void FreeGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void FreeIcon(HICON icon) { ::DestroyIcon(icon); }
inline void FreeImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }
inline void FreeMenu(HMENU menu) { ::DestroyMenu(menu); }
inline void FreeMemoryDc(HDC dc) { ::DeleteDC(dc); }
inline void ReleaseScreenDc(HDC dc) { ::ReleaseDC(nullptr, dc); }
inline void FreeHook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }

using UniqueFont = vn::win32::UniqueObject<HFONT, FreeGdiObject>;
using UniqueBitmap = vn::win32::UniqueObject<HBITMAP, FreeGdiObject>;
// A brush or a pen.
using UniqueGdiObject = vn::win32::UniqueObject<HGDIOBJ, FreeGdiObject>;
using UniqueIcon = vn::win32::UniqueObject<HICON, FreeIcon>;
using UniqueImageList = vn::win32::UniqueObject<HIMAGELIST, FreeImageList>;
using UniqueMenu = vn::win32::UniqueObject<HMENU, FreeMenu>;
// A device context of CreateCompatibleDC, and the screen's of GetDC(nullptr).
using UniqueMemoryDc = vn::win32::UniqueObject<HDC, FreeMemoryDc>;
using ScreenDc = vn::win32::UniqueObject<HDC, ReleaseScreenDc>;
// A hook of SetWindowsHookEx.
using UniqueHook = vn::win32::UniqueObject<HHOOK, FreeHook>;

}  // namespace vn::config::win32
