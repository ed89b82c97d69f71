// varnolis parse TEXT: shows an administrator what a connection string or query with ACT!
// source commands becomes for the current ACT! contact, or which error it raises.
#include <iostream>
#include <string>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "host/commands.h"
#include "platform/runtime_error.h"

namespace vn::host {

int RunParse(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: varnolis parse TEXT\n";
    return 2;
  }
  try {
    clACTApplication act;
    clACTDataParser parser;
    parser.Init(&act, "");
    const std::string result = parser.Parse(argv[1], ParsedText::kAsRead);
    if (parser.Failed()) {
      std::cout << parser.ErrNumber() << ": " << parser.ErrText() << "\n";
      return 1;
    }
    std::cout << result << "\n";
    return 0;
  } catch (const RuntimeError& e) {
    // An error raised by ACT!'s automation reaches the caller of the parser.
    std::cout << "ACT! automation error " << e.Number() << ": " << e.Description() << "\n";
    return 1;
  }
}

}  // namespace vn::host
