// RegionalSettings: the symbols, names and date/time forms that the value formatter writes
// under the user's regional settings, from the system's locale data: ICU's (CLDR) on Linux, with
// the Windows defaults mended where ICU differs; GetLocaleInfoEx on Windows, the user's own
// settings included.
#pragma once

#include <array>
#include <memory>
#include <string>

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

  bool operator==(const RegionalSettings&) const = default;
};

// Whether the settings LoadRegionalSettings gives for the user's own locale can change while
// the program runs: on Windows the user changes them in the control panel; on Linux they follow
// from the locale variables alone, which are read at every look-up.
bool UserRegionalSettingsCanChange();

// The settings of the locale names given ("de_DE", "en_US"; on Windows "" is the user's own
// locale): numbers from `numericName`, dates and names from `timeName`. Unknown names give the
// settings of en_US.
std::unique_ptr<RegionalSettings> LoadRegionalSettings(const std::string& numericName,
                                                       const std::string& timeName);

// The decimal symbol of the locale name (as LoadRegionalSettings reads it); "." when the name is
// unknown.
std::string LocaleDecimalSymbol(const std::string& localeName);

// Appends `text` to a pattern of the formatter as a quoted literal ("" stays nothing; a quote
// inside is escaped). For the loaders, which translate the system's patterns.
void AppendPatternLiteral(std::string& pattern, const std::string& text);

}  // namespace vn
