#include "act/ini_value.h"

#include "platform/ini_file.h"
#include "platform/module_path.h"

namespace vn::modIniDatei {

std::string IniPfad(const std::string& file) { return FindFileIgnoringCase(LibraryFolder(), file); }

std::string LeseIniWert(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue) {
  std::string value = GetPrivateProfileString(section, key, defaultValue, IniPfad(file));
  return value.substr(0, value.find('\0'));
}

}  // namespace vn::modIniDatei
