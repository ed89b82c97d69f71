#include "platform/ini_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/text.h"

namespace vn {

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return CutProfileValue(defaultValue);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return GetProfileStringFromText(section, key, defaultValue, buffer.str());
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
  std::string exact = folder + "/" + name;
  struct stat st {};
  if (stat(exact.c_str(), &st) == 0) return exact;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return exact;
  const std::string wanted = LowerAscii(name);
  while (dirent* entry = readdir(dir.get())) {
    if (LowerAscii(entry->d_name) == wanted) return folder + "/" + entry->d_name;
  }
  return exact;
}

}  // namespace vn
