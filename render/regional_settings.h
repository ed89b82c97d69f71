// The regional settings the value formatter writes under (RegionalSettings, from the platform's
// locale data), looked up once per locale name and cached.
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

}  // namespace vn
