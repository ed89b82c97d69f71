// The URL grammar of the scheme "varnolis": the decoded URL split into a command and its
// parameter ("varnolis://rubrik/Offene%20Posten/" gives "rubrik" and "Offene Posten").
#pragma once

#include <string>

namespace vn {

struct ParsedUrl {
  std::string command;    // as written in the URL
  std::string parameter;  // everything after the command's "/", one trailing "/" dropped
};

// False only when the URL's escapes do not decode to valid UTF-8.
bool ParseURL(const std::string& url, ParsedUrl& parsed);

}  // namespace vn
