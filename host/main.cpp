// varnolis: the command-line host, the browser stand-in and administrator tool. The
// platform's own entry point hands its arguments over in UTF-8.
#include <cstring>
#include <iostream>
#include <string>

#include "host/commands.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: varnolis <command> [options]\n"
         "  get [--cb N] [--trace] [-o FILE] [--library PATH] URL\n"
         "                      deliver the page for URL as the browser would\n"
         "  query [--connection STRING] SQL\n"
         "                      run SQL (default: the configuration database) and print it\n"
         "  parse TEXT          resolve the ACT! source commands in TEXT\n"
         "  register [--library PATH]    register the protocol handler for this user\n"
         "  unregister [--library PATH]  remove that registration\n";
}

}  // namespace

namespace vn::host {

int Main(int argc, char** argv) {
  if (argc < 2) {
    Usage(std::cerr);
    return 2;
  }
  std::string command = argv[1];
  if (command == "-h" || command == "--help" || command == "help") {
    Usage(std::cout);
    return 0;
  }
  // Each command sees its own arguments, with the command name as argv[0].
  int subArgc = argc - 1;
  char** subArgv = argv + 1;
  if (command == "get") return RunGet(subArgc, subArgv);
  if (command == "query") return RunQuery(subArgc, subArgv);
  if (command == "parse") return RunParse(subArgc, subArgv);
  if (command == "register") return RunRegister(subArgc, subArgv);
  if (command == "unregister") return RunUnregister(subArgc, subArgv);
  std::cerr << "varnolis: unknown command '" << command << "'\n";
  Usage(std::cerr);
  return 2;
}

}  // namespace vn::host
