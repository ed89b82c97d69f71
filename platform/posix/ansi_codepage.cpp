#include "platform/codepage.h"

namespace vn {

std::string Utf8ToAnsi(std::string_view utf8, Unmappable unmappable) {
  return Utf8ToCp1252(utf8, unmappable);
}

void AppendUtf8AsAnsi(std::string& out, std::string_view utf8, Unmappable unmappable) {
  AppendUtf8AsCp1252(out, utf8, unmappable);
}

bool AppendAnsiByteAsUtf8(std::string& out, unsigned char byte) {
  return AppendCp1252ByteAsUtf8(out, byte);
}

}  // namespace vn
