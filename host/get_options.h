// The options of `varnolis get`, `register` and `unregister`, shared by the hosts of both
// platforms.
#pragma once

#include <optional>
#include <string>

#include "platform/hresult_text.h"  // Hex, for the commands

namespace vn::host {

struct GetOptions {
  unsigned long cb = 4096;
  bool trace = false;
  std::string output;
  std::string library;
  std::string url;
};

// Parses argv[1..argc) of `get`; on a usage error prints it with the usage line and returns
// nothing (exit status 1).
std::optional<GetOptions> ParseGetOptions(int argc, char** argv);

// Parses argv[1..argc) of `register`/`unregister` (`name`): the library given with --library, or
// an empty text for the default; on a usage error prints the usage line and returns nothing.
std::optional<std::string> ParseRegistrationOptions(int argc, char** argv, const char* name);

}  // namespace vn::host
