// RegionalSettings: the symbols, names and date/time forms that the value formatter writes
// under the user's regional settings, taken from ICU's locale data with the Windows defaults
// mended where ICU differs. Looked up once per locale name and cached.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vn {

struct RegionalSettings {
  std::string decimalSymbol;
  std::string groupingSymbol;
  std::string dateSeparator;
  std::string timeSeparator;
  // The short date, long date and time forms, already written in the formatter's own
  // pattern language with every literal escaped ("dd\.mm\.yyyy", "h\:nn\:ss AMPM").
  std::string shortDatePattern;
  std::string longDatePattern;
  std::string timePattern;
  // Order of day, month and year in the short date: "dmy", "mdy" or "ymd"; for reading dates.
  std::string dateOrder;
  std::array<std::string, 12> monthNames;
  std::array<std::string, 12> monthAbbreviations;
  std::array<std::string, 7> dayNames;  // Sunday first
  std::array<std::string, 7> dayAbbreviations;
  std::string amSymbol;
  std::string pmSymbol;
  std::string currencyPattern;  // the "Currency" named format in the pattern language
  int firstDayOfWeek = 1;       // 1 = Sunday ... 7 = Saturday
  int firstWeekOfYear = 1;      // 1 week of 1 January, 2 first four-day week, 3 first full week
};

// Settings of one locale name ("de_DE", "en-US"; "" means en_US) for numbers and dates alike.
const RegionalSettings& RegionalSettingsFor(std::string_view localeName);

// Numbers from the numeric locale, dates and names from the time locale.
const RegionalSettings& RegionalSettingsFor(std::string_view numericLocale, std::string_view timeLocale);

// The settings the locale variables select now (LC_ALL, LC_NUMERIC/LC_TIME, LANG).
const RegionalSettings& CurrentRegionalSettings();

}  // namespace vn
