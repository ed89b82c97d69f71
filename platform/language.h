// The user's language and regional settings, read from the locale variables only (no
// installed locale is needed).
#pragma once

#include <string>

namespace vn {

enum class Language { kGerman, kEnglish };

// First of LC_ALL, LC_MESSAGES, LANG that is set and not empty: German when it starts with
// "de", English otherwise.
Language UserLanguage();

// The locale name that selects number formatting: first of LC_ALL, LC_NUMERIC, LANG that is
// set and not empty, without encoding and modifier ("de_DE.UTF-8" gives "de_DE"); "" if none.
std::string NumericLocaleName();

// The same for dates and times: LC_ALL, LC_TIME, LANG.
std::string TimeLocaleName();

}  // namespace vn
