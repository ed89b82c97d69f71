#include "platform/registry.h"

#include <cctype>

#include "platform/ini_file.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace vn {

namespace {

// A default no INI entry can produce: it tells a missing value from an empty one.
constexpr const char* kMissing = "\x1f\x1e<missing>\x1e\x1f";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

RegistryValue ParseDword(std::string_view digits) {
  std::string trimmed = TrimSpaces(digits);
  if (trimmed.empty() || trimmed.size() > 8) return {};
  std::uint32_t value = 0;
  for (char c : trimmed) {
    int d = HexDigit(c);
    if (d < 0) return {};
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return value;
}

RegistryValue ParseBytes(std::string_view list) {
  std::vector<unsigned char> bytes;
  std::string trimmed = TrimSpaces(list);
  if (trimmed.empty()) return bytes;
  for (const std::string& part : Split(trimmed, ",")) {
    std::string byte = TrimSpaces(part);
    if (byte.empty() || byte.size() > 2) return {};
    int value = 0;
    for (char c : byte) {
      int d = HexDigit(c);
      if (d < 0) return {};
      value = value * 16 + d;
    }
    bytes.push_back(static_cast<unsigned char>(value));
  }
  return bytes;
}

}  // namespace

std::string RegistryFilePath() { return UserConfigFolder() + "/registry.ini"; }

RegistryValue RegistryGetKeyValue(RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName) {
  const std::string section = RegistryRootName(root) + "\\" + keyPath;
  const std::string raw = GetPrivateProfileString(section, valueName, kMissing, RegistryFilePath());
  if (raw == kMissing) return {};
  const std::string lower = LowerAscii(raw);
  if (lower.rfind("dword:", 0) == 0) return ParseDword(std::string_view(raw).substr(6));
  if (lower.rfind("hex:", 0) == 0) return ParseBytes(std::string_view(raw).substr(4));
  const size_t nul = raw.find('\0');
  return nul == std::string::npos ? raw : raw.substr(0, nul);
}

}  // namespace vn
