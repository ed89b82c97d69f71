#include "platform/url_unescape.h"

#include "platform/codepage.h"

namespace vn {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> UrlUnescape(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  for (size_t i = 0; i < url.size(); ++i) {
    char c = url[i];
    if (c == '%' && i + 2 < url.size()) {
      int high = HexValue(url[i + 1]);
      int low = HexValue(url[i + 2]);
      if (high >= 0 && low >= 0) {
        c = static_cast<char>(high * 16 + low);
        i += 2;
      }
    }
    if (c == '\0') break;
    out += c;
  }
  if (!IsValidUtf8(out)) return std::nullopt;
  return out;
}

}  // namespace vn
