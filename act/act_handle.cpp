#include "act/act_handle.h"

#include "platform/codepage.h"
#include "platform/text.h"

namespace vn::modACTHandle {
namespace {

constexpr size_t kClassNameBuffer = 256;
constexpr size_t kTitleCharacters = 50;

// The state of the running search, read and written by the enumeration callback. One per
// search, so that requests on different threads do not search over each other (and no
// thread_local with a destructor: with MinGW's runtime it would hold the library until the
// thread ends and let it go from inside the thread's end, where that deadlocks).
struct SearchState {
  std::string classPart;
  std::string titlePart;
  WindowHandle found = 0;
};

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count) {
  size_t pos = 0;
  for (size_t n = 0; n < count && pos < text.size(); ++n) DecodeUtf8(text, pos);
  return text.substr(0, pos);
}

// Called for every top-level window; always asks for the next one.
bool EnumWindowsProc(clWindowList& windows, WindowHandle hwnd, SearchState& search) {
  if (!windows.IsWindowVisible(hwnd)) return true;
  // The class name as a buffer of 256 characters holds it: at most 255 and its NUL.
  std::string className = FirstCharacters(windows.GetClassName(hwnd), kClassNameBuffer - 1);
  className = LowerAscii(className.substr(0, className.find('\0')));
  if (className.find(search.classPart) == std::string::npos) return true;
  const std::string title = FensterText(windows, hwnd);
  if (search.titlePart == "*" || title.find(search.titlePart) != std::string::npos) {
    search.found = hwnd;
  }
  return true;
}

}  // namespace

std::string FensterText(clWindowList& windows, WindowHandle hwnd) {
  if (!windows.IsWindow(hwnd)) return {};
  if (windows.GetWindowTextLength(hwnd) <= 0) return "NoText";
  std::string title = windows.GetWindowText(hwnd);
  title.erase(0, title.find_first_not_of(' ') == std::string::npos ? title.size()
                                                                   : title.find_first_not_of(' '));
  title = FirstCharacters(title, kTitleCharacters);
  return title.substr(0, title.find('\0'));
}

WindowHandle FindeFenster(clWindowList& windows, const std::string& classPart,
                          const std::string& titlePart) {
  SearchState search{classPart, titlePart};
  for (WindowHandle hwnd : windows.EnumWindows()) {
    if (!EnumWindowsProc(windows, hwnd, search)) break;
  }
  return search.found;
}

}  // namespace vn::modACTHandle
