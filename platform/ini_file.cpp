#include "platform/ini_file.h"

#include <sstream>

#include "platform/codepage.h"
#include "platform/text.h"

namespace vn {
namespace {

std::string TrimBlanks(const std::string& s) {
  const char* blanks = " \t";
  auto first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  auto last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

std::string CutCharacters(const std::string& utf8, size_t count) {
  size_t pos = 0;
  size_t n = 0;
  while (pos < utf8.size() && n < count) {
    DecodeUtf8(utf8, pos);
    ++n;
  }
  return utf8.substr(0, pos);
}

}  // namespace

std::string CutProfileValue(const std::string& utf8) {
  return CutCharacters(utf8, kMaxProfileValueCharacters);
}

std::string GetProfileStringFromText(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, std::string content) {
  if (content.size() >= 3 && content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
  if (!IsValidUtf8(content)) content = Cp1252ToUtf8(content);

  const std::string wantedSection = LowerAscii(TrimBlanks(section));
  const std::string wantedKey = LowerAscii(TrimBlanks(key));
  bool inSection = false;
  bool sectionSeen = false;
  std::istringstream lines(content);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed[0] == '[') {
      if (sectionSeen && inSection) break;  // only the first section of that name counts
      auto close = trimmed.find(']');
      std::string name =
          TrimBlanks(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      inSection = LowerAscii(name) == wantedSection;
      if (inSection) sectionSeen = true;
      continue;
    }
    if (!inSection) continue;
    auto eq = trimmed.find('=');
    if (eq == std::string::npos) continue;
    if (LowerAscii(TrimBlanks(trimmed.substr(0, eq))) != wantedKey) continue;
    std::string value = TrimBlanks(trimmed.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return CutProfileValue(value);
  }
  return CutProfileValue(defaultValue);
}

}  // namespace vn
