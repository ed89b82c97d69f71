#include <iostream>

#include "host/commands.h"

namespace vn::host {

int RunGet(int, char**) {
  std::cerr << "varnolis get: not built yet\n";
  return 2;
}

int RunRegister(int, char**) {
  std::cerr << "varnolis register: not built yet\n";
  return 2;
}

int RunUnregister(int, char**) {
  std::cerr << "varnolis unregister: not built yet\n";
  return 2;
}

}  // namespace vn::host
