#include "platform/regional_settings.h"

namespace vn {

void AppendPatternLiteral(std::string& out, const std::string& text) {
  if (text.empty()) return;
  out += '"';
  for (char c : text) {
    if (c == '"') {
      out += "\"\\\"\"";  // close, escaped quote, reopen
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace vn
