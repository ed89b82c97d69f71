// The host's entry point on Windows: the UTF-16 command line handed on in UTF-8, as the
// commands and the library expect text.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "host/commands.h"

int wmain(int argc, wchar_t** argv) {
  // Pages and query results are written byte for byte; no CR is added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<size_t>(argc));
  for (int i = 0; i < argc; ++i) arguments.push_back(vn::win32::Narrow(argv[i]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return vn::host::Main(argc, pointers.data());
}
