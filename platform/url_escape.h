// Percent-encoding of a name that goes into a URL written into a page or a start file: only the
// characters that would end the URL, the HTML attribute or the script string around it are
// encoded, so a plain name keeps its bytes. UrlUnescape gives the name back.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// `name` with ' " \ % # ? < > &, blanks and control characters (bytes below 0x20 and 0x7F)
// written as "%XX"; every other byte, non-ASCII ones included, stays as it is.
std::string UrlEscapeName(std::string_view name);

}  // namespace vn
