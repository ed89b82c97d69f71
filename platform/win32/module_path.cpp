#include "platform/module_path.h"

#include "platform/win32/wide.h"

namespace vn {
namespace {

std::string ModuleFileName(HMODULE module) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);  // cut off: try again with more room
  }
}

}  // namespace

std::string LibraryFilePath() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&LibraryFilePath), &module)) {
    module = nullptr;  // the executable's own file then
  }
  return ModuleFileName(module);
}

std::string ExecutableFilePath() { return ModuleFileName(nullptr); }

}  // namespace vn
