#include "platform/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/ini_file.h"

namespace vn {

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/Varnolis";
  const char* home = std::getenv("HOME");
  std::string homeDir;
  if (home != nullptr && home[0] != '\0') {
    homeDir = home;
  } else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    homeDir = pw->pw_dir;
  }
  return homeDir + "/.config/Varnolis";
}

std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
  return GetPrivateProfileString(section, key, defaultValue,
                                 UserConfigFolder() + "/" + appName + ".conf");
}

}  // namespace vn
