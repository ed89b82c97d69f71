#include "platform/url_escape.h"

#include <cstring>

namespace vn {
namespace {

// A NUL is a control character: strchr, which would find the terminator, never sees it.
bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == ' ' || std::strchr("'\"\\%#?<>&", c) != nullptr;
}

}  // namespace

std::string UrlEscapeName(std::string_view name, NonAscii nonAscii) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (!NeedsEscape(c) && (c < 0x80 || nonAscii == NonAscii::kKeep)) {
      out += ch;
      continue;
    }
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  return out;
}

}  // namespace vn
