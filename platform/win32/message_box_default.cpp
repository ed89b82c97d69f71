#include "platform/message_box_default.h"

#include "platform/win32/wide.h"

namespace vn {

void ShowSystemWarning(const std::string& title, const std::string& text) {
  ::MessageBoxW(nullptr, win32::Widen(text).c_str(), win32::Widen(title).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace vn
