// Owners of the window's GDI and USER objects (fonts, bitmaps, icons, image lists, menus): each
// is freed by the call that belongs to its kind when its owner goes.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace vn::config::win32 {

template <typename Handle, auto Free>
class UniqueObject {
 public:
  explicit UniqueObject(Handle handle = nullptr) : handle_(handle) {}
  ~UniqueObject() { Reset(); }
  UniqueObject(const UniqueObject&) = delete;
  UniqueObject& operator=(const UniqueObject&) = delete;
  UniqueObject(UniqueObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  UniqueObject& operator=(UniqueObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }

  Handle Get() const { return handle_; }
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_;
};

inline void FreeGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void FreeIcon(HICON icon) { ::DestroyIcon(icon); }
inline void FreeImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }
inline void FreeMenu(HMENU menu) { ::DestroyMenu(menu); }

using UniqueFont = UniqueObject<HFONT, FreeGdiObject>;
using UniqueBitmap = UniqueObject<HBITMAP, FreeGdiObject>;
using UniqueIcon = UniqueObject<HICON, FreeIcon>;
using UniqueImageList = UniqueObject<HIMAGELIST, FreeImageList>;
using UniqueMenu = UniqueObject<HMENU, FreeMenu>;

}  // namespace vn::config::win32
