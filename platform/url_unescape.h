// Percent-decoding of a whole URL, the counterpart of UrlUnescapeW: "%XX" escapes become bytes,
// anything else stays as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vn {

// The decoded URL, or nothing when the decoded bytes are not valid UTF-8 (the text could not be
// turned back into characters). A decoded NUL ends the text.
std::optional<std::string> UrlUnescape(std::string_view url);

}  // namespace vn
