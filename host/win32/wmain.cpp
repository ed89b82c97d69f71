// The host's entry point on Windows: the UTF-16 command line handed on in UTF-8, as the
// commands and the library expect text; COM for the main thread, as in the browser's tab; the
// library's warnings on standard error, as on Linux, so that no command waits on a message box.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/commands.h"
#include "platform/win32/com_apartment.h"
#include "platform/debug_log.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace {

class StandardErrorMessageBox : public vn::clMessageBox {
 public:
  void ShowWarning(const std::string& title, const std::string& text) override {
    std::cerr << title << ": " << vn::ReplaceAll(text, "\r\n", "\n") << std::endl;
    // A log that cannot be written must not turn a warning into a failure of the operation.
    try {
      vn::DPrint(title + ": " + vn::ReplaceAll(text, "\r\n", " / "));
    } catch (...) {
      // Ignored: the warning is on standard error already (see above).
    }
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Pages, query results and messages are written byte for byte; no CR is added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  vn::win32::ComApartment apartment;
  StandardErrorMessageBox messages;
  vn::SetMessageBox(&messages);
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<size_t>(argc));
  for (int i = 0; i < argc; ++i) arguments.push_back(vn::win32::Narrow(argv[i]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  const int status = vn::host::Main(argc, pointers.data());
  vn::SetMessageBox(nullptr);
  return status;
}
