// The regional settings the value formatter writes under (RegionalSettings, from the platform's
// locale data), looked up once per locale name and cached; the user's own settings are read
// afresh for every page where the user can change them while the program runs.
#pragma once

#include <string_view>

#include "platform/regional_settings.h"

namespace vn {

// Settings of one locale name ("de_DE", "en-US"; "" means en_US, on Windows the
// user's own locale) for numbers and dates alike.
const RegionalSettings& RegionalSettingsFor(std::string_view localeName);

// Numbers from the numeric locale, dates and names from the time locale.
const RegionalSettings& RegionalSettingsFor(std::string_view numericLocale,
                                            std::string_view timeLocale);

// The settings the locale variables select now (LC_ALL, LC_NUMERIC/LC_TIME, LANG).
const RegionalSettings& CurrentRegionalSettings();

// Reads the user's own settings afresh where they can change while the program runs (Windows:
// the control panel), so that a change shows in the next page without restarting the browser.
// Called once per page, before its first value is formatted. Settings that a change replaced
// stay alive until the program ends: a renderer begun before it may still point at them.
void RefreshUserRegionalSettings();

}  // namespace vn
