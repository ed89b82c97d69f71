// Hides the passwords of connection strings before they are shown in a page or written to
// the debug log.
#pragma once

#include <string>
#include <string_view>

namespace vn {

// `text` with the value of every PWD, Password or Pwd key (any case, also as the end of a
// longer key such as "Jet OLEDB:Database Password") replaced by "***": plain values up to the
// next ";", quoted ones ('...' or "...", doubled quotes inside) and ODBC's {...} as a whole.
// A value whose closing quote or brace is missing is hidden to the end of the text.
std::string MaskPasswords(std::string_view text);

// `text` (a driver's message about `connection`) with the passwords of `connection` hidden:
// its own key=value pairs masked as above, and every password value of `connection` (unquoted)
// that stands there as a word of its own replaced by "***". A value inside a longer word stays,
// so that a one-letter password does not take its letter out of every word.
std::string MaskPasswordsIn(std::string_view text, std::string_view connection);

}  // namespace vn
