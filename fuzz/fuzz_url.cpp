// libFuzzer target: URL unescaping and the URL grammar.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "handler/parse_url.h"
#include "platform/codepage.h"
#include "platform/url_unescape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  auto decoded = vn::UrlUnescape(url);
  vn::ParsedUrl parsed;
  const bool ok = vn::ParseURL(url, parsed);
  if (ok != decoded.has_value()) std::abort();
  if (ok) {
    // Command and parameter are pieces of the decoded text and valid UTF-8.
    if (decoded->find(parsed.command) == std::string::npos) std::abort();
    if (parsed.command.find('/') != std::string::npos) std::abort();
    if (!vn::IsValidUtf8(parsed.command) || !vn::IsValidUtf8(parsed.parameter)) std::abort();
    if (decoded->find('\0') != std::string::npos) std::abort();
  }
  return 0;
}
