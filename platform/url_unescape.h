// Percent-decoding of a whole URL as the browser hands it over, the counterpart of UrlUnescapeW:
// "%XX" escapes become characters, anything else stays as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vn {

// The decoded URL as UTF-8. Escapes that together form a UTF-8 character are that character (the
// links the library writes itself); any other escaped byte is one character of the system's ANSI
// code page, as UrlUnescapeW takes it (links and start files of older installations hold "%FC"
// for "ü"). Nothing when the text still cannot be decoded: an escaped byte that the code page
// has no character for (0x81, 0x8D, 0x8F, 0x90, 0x9D in Windows-1252), or unescaped bytes that
// are not UTF-8. A decoded NUL ends the text.
std::optional<std::string> UrlUnescape(std::string_view url);

}  // namespace vn
