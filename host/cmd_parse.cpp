#include <iostream>

#include "host/commands.h"

namespace vn::host {

int RunParse(int, char**) {
  std::cerr << "varnolis parse: not built yet\n";
  return 2;
}

}  // namespace vn::host
