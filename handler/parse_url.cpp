#include "handler/parse_url.h"

#include "platform/url_unescape.h"

namespace vn {

bool ParseURL(const std::string& url, ParsedUrl& parsed) {
  auto decoded = UrlUnescape(url);
  if (!decoded) return false;
  std::string text = std::move(*decoded);
  // The scheme is not checked; a text without ':' is taken whole.
  if (auto colon = text.find(':'); colon != std::string::npos) text.erase(0, colon + 1);
  if (!text.empty() && text.back() == '/') text.pop_back();
  text.erase(0, text.find_first_not_of('/') == std::string::npos ? text.size()
                                                                 : text.find_first_not_of('/'));
  if (auto slash = text.find('/'); slash != std::string::npos) {
    parsed.command = text.substr(0, slash);
    parsed.parameter = text.substr(slash + 1);
  } else {
    parsed.command = text;
    parsed.parameter.clear();
  }
  return true;
}

}  // namespace vn
