// libFuzzer target: the INI reader with the Windows rules. The first line of the input names
// the section and the key ("section=key"); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/codepage.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t lineEnd = input.find('\n');
  const std::string head = input.substr(0, lineEnd);
  const std::string content = lineEnd == std::string::npos ? "" : input.substr(lineEnd + 1);
  const size_t eq = head.find('=');
  const std::string section = head.substr(0, eq);
  const std::string key = eq == std::string::npos ? "" : head.substr(eq + 1);
  const std::string value = vn::GetProfileStringFromText(section, key, "default", content);
  if (!vn::IsValidUtf8(value)) std::abort();
  // At most 255 characters of four bytes each.
  if (value.size() > 255 * 4) std::abort();
  return 0;
}
