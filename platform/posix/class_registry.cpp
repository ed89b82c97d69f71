#include "platform/class_registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/settings.h"
#include "platform/text.h"

namespace vn {
namespace {

struct Section {
  std::string name;
  std::vector<std::string> lines;
};

// Lines before the first section header are kept under an empty name.
std::vector<Section> ReadSections(const std::string& path) {
  std::vector<Section> sections(1);
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string trimmed = TrimSpaces(line);
    if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') {
      sections.push_back({TrimSpaces(trimmed.substr(1, trimmed.size() - 2)), {}});
    } else if (!trimmed.empty()) {
      sections.back().lines.push_back(line);
    }
  }
  return sections;
}

bool MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos == folder.size() || folder[pos] == '/') {
      std::string part = folder.substr(0, pos);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

bool WriteSections(const std::string& path, const std::vector<Section>& sections) {
  std::string text;
  for (const Section& s : sections) {
    if (s.name.empty() && s.lines.empty()) continue;
    if (!s.name.empty()) text += "[" + s.name + "]\n";
    for (const std::string& l : s.lines) text += l + "\n";
    text += "\n";
  }
  if (TrimSpaces(ReplaceAll(text, "\n", "")).empty()) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  }
  const std::string folder = path.substr(0, path.find_last_of('/'));
  if (!MakeFolders(folder)) return false;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      ::unlink(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool Listed(const std::string& name, const std::vector<std::string>& paths) {
  for (const std::string& p : paths) {
    if (EqualsIgnoringCase(p, name)) return true;
  }
  return false;
}

std::vector<Section> Without(std::vector<Section> sections, const std::vector<std::string>& paths) {
  std::vector<Section> kept;
  for (Section& s : sections) {
    if (s.name.empty() || !Listed(s.name, paths)) kept.push_back(std::move(s));
  }
  return kept;
}

}  // namespace

std::string ClassRegistryPath() { return UserConfigFolder() + "/classes.ini"; }

bool WriteRegistryKeys(const std::vector<RegistryKey>& keys) {
  const std::string path = ClassRegistryPath();
  std::vector<std::string> paths;
  for (const RegistryKey& k : keys) paths.push_back(k.path);
  std::vector<Section> sections = Without(ReadSections(path), paths);
  for (const RegistryKey& k : keys) {
    Section s{k.path, {}};
    for (const auto& [name, value] : k.values) s.lines.push_back(name + "=" + value);
    sections.push_back(std::move(s));
  }
  return WriteSections(path, sections);
}

bool RemoveRegistryKeys(const std::vector<std::string>& paths) {
  const std::string path = ClassRegistryPath();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return true;
  return WriteSections(path, Without(ReadSections(path), paths));
}

}  // namespace vn
