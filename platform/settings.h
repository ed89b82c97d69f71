// The per-user settings store: the INI file $XDG_CONFIG_HOME/Varnolis/Varnolis.conf (default
// ~/.config), read with the Windows INI rules. Both deliverables read "Optionen"/"Debug" here.
#pragma once

#include <string>

namespace vn {

// $XDG_CONFIG_HOME/Varnolis (or $HOME/.config/Varnolis), without a trailing '/'.
std::string UserConfigFolder();

// GetSetting(appName, section, key, default): the value from the settings file of `appName`
// ("Varnolis" reads Varnolis.conf), or the default.
std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue);

}  // namespace vn
