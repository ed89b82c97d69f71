// UTF-16 text of the Windows API to and from the UTF-8 text of the library's core.
#pragma once

#include <string>
#include <string_view>

namespace vn::win32 {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace vn::win32
