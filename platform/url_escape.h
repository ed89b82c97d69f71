// Percent-encoding of a name that goes into a URL written into a page or a start file: only the
// characters that would end the URL, the HTML attribute or the script string around it are
// encoded, so a plain name keeps its bytes. UrlUnescape gives the name back.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// What becomes of the bytes of non-ASCII characters: kept for a page, which is read in the code
// page it was written in; escaped where the text would be converted to a code page that may not
// hold the character (a start file), so that the URL itself is ASCII and UrlUnescape reads the
// escapes as UTF-8.
enum class NonAscii { kKeep, kEscape };

// `name` with ' " \ % # ? < > &, blanks and control characters (bytes below 0x20 and 0x7F)
// written as "%XX", and with `nonAscii` == kEscape also every byte from 0x80 up; every other
// byte stays as it is.
std::string UrlEscapeName(std::string_view name, NonAscii nonAscii = NonAscii::kKeep);

}  // namespace vn
