#include <iostream>

#include "host/commands.h"

namespace vn::host {

int RunQuery(int, char**) {
  std::cerr << "varnolis query: not built yet\n";
  return 2;
}

}  // namespace vn::host
