// A component call's result as the trace lines and messages of the programs show it.
#pragma once

#include <string>

namespace vn {

// "0x%08X": 0x800C0008 for INET_E_DOWNLOAD_FAILURE.
std::string Hex(long hr);

}  // namespace vn
