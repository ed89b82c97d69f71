// libFuzzer target: URL unescaping and the URL grammar.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "handler/parse_url.h"
#include "platform/codepage.h"
#include "platform/url_escape.h"
#include "platform/url_unescape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  auto decoded = vn::UrlUnescape(url);
  vn::ParsedUrl parsed;
  const bool ok = vn::ParseURL(url, parsed);
  if (ok != decoded.has_value()) std::abort();
  if (ok) {
    // Command and parameter are pieces of the decoded text, which is valid UTF-8.
    if (!vn::IsValidUtf8(*decoded)) std::abort();
    if (decoded->find(parsed.command) == std::string::npos) std::abort();
    if (parsed.command.find('/') != std::string::npos) std::abort();
    if (!vn::IsValidUtf8(parsed.command) || !vn::IsValidUtf8(parsed.parameter)) std::abort();
    if (decoded->find('\0') != std::string::npos) std::abort();
  }
  // A text as the menu's links write it, and as a browser escaping every byte sends it, comes
  // back whole.
  if (vn::IsValidUtf8(url) && url.find('\0') == std::string::npos) {
    if (vn::UrlUnescape(vn::UrlEscapeName(url)) != url) std::abort();
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : url) {
      escaped += '%';
      escaped += kHex[c >> 4];
      escaped += kHex[c & 15];
    }
    if (vn::UrlUnescape(escaped) != url) std::abort();
  }
  return 0;
}
