// The core's pictures as Windows icons with transparency, drawn with GDI at the size asked for.
#pragma once

#include <windows.h>

#include "config/core/pictures.h"

namespace vn::config::win32 {

// A new icon (the caller destroys it) `size` pixels square.
HICON MakePictureIcon(Picture picture, int size);

}  // namespace vn::config::win32
