#include "platform/hresult_text.h"

#include <cstdio>

namespace vn {

std::string Hex(long hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr) & 0xFFFFFFFFul);
  return text;
}

}  // namespace vn
