// The user's language and regional settings: on Linux read from the locale variables only (no
// installed locale is needed), on Windows the user's own (GetUserDefaultUILanguage,
// GetUserDefaultLocaleName).
#pragma once

#include <string>

namespace vn {

enum class Language { kGerman, kEnglish };

// First of LC_ALL, LC_MESSAGES, LANG that is set and not empty: German when it starts with
// "de", English otherwise. Windows: German when the user's interface language is German.
Language UserLanguage();

// The locale name that selects number formatting: first of LC_ALL, LC_NUMERIC, LANG that is
// set and not empty, without encoding and modifier ("de_DE.UTF-8" gives "de_DE"); "" if none.
// Windows: the user's locale, "de_DE" for de-DE.
std::string NumericLocaleName();

// The same for dates and times: LC_ALL, LC_TIME, LANG.
std::string TimeLocaleName();

}  // namespace vn
