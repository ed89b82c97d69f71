// modACTHandle: finds a visible top-level window by a part of its class name and a part of its
// title; the bridge uses it to tell whether ACT! runs.
#pragma once

#include <string>

#include "act/automation.h"

namespace vn::modACTHandle {

// The last visible window in enumeration order whose lower-cased class name contains
// `classPart` and whose title contains `titlePart` ("*" matches every title); 0 if none.
// One search at a time per thread.
WindowHandle FindeFenster(clWindowList& windows, const std::string& classPart,
                          const std::string& titlePart);

// The window's title as the search sees it: "NoText" when it has none, leading blanks
// stripped, at most 50 characters, cut at the first NUL; empty when the window is gone.
std::string FensterText(clWindowList& windows, WindowHandle hwnd);

}  // namespace vn::modACTHandle
