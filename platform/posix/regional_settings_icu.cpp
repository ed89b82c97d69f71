#include "platform/regional_settings.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>

#include <memory>

namespace vn {
namespace {

// Where ICU's locale data (CLDR) differs from the defaults of Windows' regional settings, the
// Windows value wins: pages must read as they did on the users' Windows machines. All such
// corrections live here. Patterns are in ICU notation and pass through the same conversion.
//  - Short dates: CLDR writes two-digit or minimal years ("dd.MM.yy", "M/d/yy"); Windows has
//    written four-digit years by default since 2000, so the short date's year is widened
//    (applied to every locale in ShortDatePattern below).
//  - Times: CLDR 42 puts a narrow no-break space before AM/PM ("h:mm:ss\u202Fa"); Windows a
//    plain space (applied to every locale in TimePattern below).
//  - Abbreviated names: CLDR's format forms carry dots ("Jan.", "Mo."); Windows abbreviates
//    without them, as CLDR's stand-alone forms do, which are therefore the ones taken.
//  - Currency: CLDR separates amount and symbol by a no-break space ("1.234,50\u00A0\u20AC");
//    Windows by a plain space (applied to every locale in ConvertCurrencyPattern below).
//  - The corrections of single locales follow in this table.
struct WindowsDefault {
  const char* locale;  // language_TERRITORY
  const char* longDate = nullptr;
  int monthIndex = -1;  // with monthAbbreviation
  const char* monthAbbreviation = nullptr;
  const char* am = nullptr;
  const char* pm = nullptr;
};

const WindowsDefault kWindowsDefaults[] = {
    // en-GB: Windows' long date is "dd MMMM yyyy" without the weekday, September is "Sep"
    // (CLDR 38 and later: "Sept"), and the day halves are upper case (CLDR: "am"/"pm").
    {"en_GB", "dd MMMM y", 8, "Sep", "AM", "PM"},
};

std::string Utf8(const icu::UnicodeString& s) {
  std::string out;
  s.toUTF8String(out);
  return out;
}

bool IsPatternLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Converts an ICU date/time pattern into the formatter's pattern language. `fourDigitYear`
// widens every year field to four digits.
std::string ConvertDatePattern(const icu::UnicodeString& pattern, bool fourDigitYear) {
  std::string out;
  std::string literal;
  int32_t length = pattern.length();
  for (int32_t i = 0; i < length;) {
    char16_t c = pattern.charAt(i);
    if (c == u'\'') {
      // Quoted text; '' is an apostrophe.
      if (i + 1 < length && pattern.charAt(i + 1) == u'\'') {
        literal += '\'';
        i += 2;
        continue;
      }
      int32_t end = i + 1;
      icu::UnicodeString quoted;
      while (end < length) {
        if (pattern.charAt(end) == u'\'') {
          if (end + 1 < length && pattern.charAt(end + 1) == u'\'') {
            quoted += u'\'';
            end += 2;
            continue;
          }
          break;
        }
        quoted += pattern.charAt(end);
        ++end;
      }
      literal += Utf8(quoted);
      i = end + 1;
      continue;
    }
    if (!IsPatternLetter(c)) {
      literal += Utf8(icu::UnicodeString(c));
      ++i;
      continue;
    }
    int32_t run = 1;
    while (i + run < length && pattern.charAt(i + run) == c) ++run;
    i += run;
    std::string token;
    switch (c) {
      case u'd':
        token = run >= 2 ? "dd" : "d";
        break;
      case u'E':
      case u'c':
      case u'e':
        token = run >= 4 ? "dddd" : "ddd";
        break;
      case u'M':
      case u'L':
        token = run >= 4 ? "mmmm" : run == 3 ? "mmm" : run == 2 ? "mm" : "m";
        break;
      case u'y':
      case u'Y':
      case u'u':
        token = fourDigitYear || run != 2 ? "yyyy" : "yy";
        break;
      case u'H':
      case u'h':
      case u'k':
      case u'K':
        token = run >= 2 ? "hh" : "h";
        break;
      case u'm':
        token = run >= 2 ? "nn" : "n";
        break;
      case u's':
        token = run >= 2 ? "ss" : "s";
        break;
      case u'a':
      case u'b':
      case u'B':
        token = "AMPM";
        break;
      default:
        break;  // eras, zones and the like have no counterpart and are left out
    }
    if (!token.empty()) {
      AppendPatternLiteral(out, literal);
      literal.clear();
      out += token;
    }
  }
  AppendPatternLiteral(out, literal);
  return out;
}

icu::UnicodeString IcuPattern(icu::DateFormat* format) {
  icu::UnicodeString pattern;
  if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format)) simple->toPattern(pattern);
  delete format;
  return pattern;
}

// The first literal character after the first field: the separator the pattern uses.
std::string SeparatorOf(const icu::UnicodeString& pattern, const char* fallback) {
  bool seenField = false;
  for (int32_t i = 0; i < pattern.length(); ++i) {
    char16_t c = pattern.charAt(i);
    if (IsPatternLetter(c)) {
      seenField = true;
    } else if (seenField && c != u'\'' && c != u' ') {
      return Utf8(icu::UnicodeString(c));
    }
  }
  return fallback;
}

std::string DateOrderOf(const icu::UnicodeString& pattern) {
  std::string order;
  for (int32_t i = 0; i < pattern.length(); ++i) {
    char16_t c = pattern.charAt(i);
    char key = c == u'd' ? 'd' : (c == u'M' || c == u'L') ? 'm' : c == u'y' ? 'y' : 0;
    if (key != 0 && order.find(key) == std::string::npos) order += key;
  }
  return order.size() == 3 ? order : "mdy";
}

// ICU's currency pattern ("#,##0.00\u00A0\u00A4") as a pattern of the formatter.
std::string ConvertCurrencyPattern(const icu::UnicodeString& pattern, const std::string& symbol) {
  std::string out;
  std::string literal;
  for (int32_t i = 0; i < pattern.length(); ++i) {
    char16_t c = pattern.charAt(i);
    if (c == u';') break;  // the negative form: the formatter puts "-" in front itself
    if (c == u'#' || c == u'0' || c == u',' || c == u'.') {
      AppendPatternLiteral(out, literal);
      literal.clear();
      out += static_cast<char>(c);
    } else if (c == u'\u00A4') {
      literal += symbol;
    } else if (c == u'\u00A0' || c == u'\u202F') {
      literal += ' ';
    } else if (c != u'\'') {
      literal += Utf8(icu::UnicodeString(c));
    }
  }
  AppendPatternLiteral(out, literal);
  return out;
}

void LoadNumbers(const icu::Locale& locale, RegionalSettings& s) {
  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    symbols = icu::DecimalFormatSymbols(icu::Locale::getUS(), status);
  }
  s.decimalSymbol = Utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
  s.groupingSymbol = Utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
  std::string currency = Utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
  status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(
      icu::NumberFormat::createCurrencyInstance(locale, status));
  icu::UnicodeString pattern("\u00A4#,##0.00");
  if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get())) decimal->toPattern(pattern);
  s.currencyPattern = ConvertCurrencyPattern(pattern, currency);
}

void LoadDates(const icu::Locale& locale, const std::string& name, RegionalSettings& s) {
  const WindowsDefault* fix = nullptr;
  for (const auto& d : kWindowsDefaults) {
    if (name == d.locale) fix = &d;
  }

  icu::UnicodeString shortDate =
      IcuPattern(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
  icu::UnicodeString longDate =
      fix && fix->longDate
          ? icu::UnicodeString::fromUTF8(fix->longDate)
          : IcuPattern(icu::DateFormat::createDateInstance(icu::DateFormat::kFull, locale));
  icu::UnicodeString time =
      IcuPattern(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
  time.findAndReplace(icu::UnicodeString(u'\u202F'), icu::UnicodeString(u' '));
  if (shortDate.isEmpty()) shortDate = "M/d/yyyy";
  if (longDate.isEmpty()) longDate = "EEEE, MMMM d, yyyy";
  if (time.isEmpty()) time = "HH:mm:ss";

  s.shortDatePattern = ConvertDatePattern(shortDate, true);
  s.longDatePattern = ConvertDatePattern(longDate, false);
  s.timePattern = ConvertDatePattern(time, false);
  s.dateSeparator = SeparatorOf(shortDate, "/");
  s.timeSeparator = SeparatorOf(time, ":");
  s.dateOrder = DateOrderOf(shortDate);

  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(locale, status);
  int32_t count = 0;
  const icu::UnicodeString* names =
      symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 0; i < count && i < 12; ++i) s.monthNames[i] = Utf8(names[i]);
  names = symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE,
                            icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 0; i < count && i < 12; ++i) s.monthAbbreviations[i] = Utf8(names[i]);
  // ICU's weekday arrays start at index 1 (Sunday).
  names = symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 1; i < count && i <= 7; ++i) s.dayNames[i - 1] = Utf8(names[i]);
  names = symbols.getWeekdays(count, icu::DateFormatSymbols::STANDALONE,
                              icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 1; i < count && i <= 7; ++i) s.dayAbbreviations[i - 1] = Utf8(names[i]);
  names = symbols.getAmPmStrings(count);
  if (count >= 2) {
    s.amSymbol = Utf8(names[0]);
    s.pmSymbol = Utf8(names[1]);
  }

  status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
  if (U_SUCCESS(status) && calendar) {
    s.firstDayOfWeek = static_cast<int>(calendar->getFirstDayOfWeek(status));  // UCAL_SUNDAY = 1
    uint8_t minimal = calendar->getMinimalDaysInFirstWeek();
    s.firstWeekOfYear = minimal >= 7 ? 3 : minimal >= 4 ? 2 : 1;
  }

  if (fix) {
    if (fix->monthIndex >= 0) s.monthAbbreviations[fix->monthIndex] = fix->monthAbbreviation;
    if (fix->am) s.amSymbol = fix->am;
    if (fix->pm) s.pmSymbol = fix->pm;
  }
}

std::unique_ptr<RegionalSettings> Load(const std::string& numericName,
                                       const std::string& timeName) {
  auto settings = std::make_unique<RegionalSettings>();
  LoadNumbers(icu::Locale::createCanonical(numericName.c_str()), *settings);
  LoadDates(icu::Locale::createCanonical(timeName.c_str()), timeName, *settings);
  return settings;
}

}  // namespace

std::unique_ptr<RegionalSettings> LoadRegionalSettings(const std::string& numericName,
                                                       const std::string& timeName) {
  return Load(numericName.empty() ? "en_US" : numericName, timeName.empty() ? "en_US" : timeName);
}

std::string LocaleDecimalSymbol(const std::string& localeName) {
  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(icu::Locale(localeName.c_str()), status);
  if (U_FAILURE(status)) return ".";
  return Utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
}

bool UserRegionalSettingsCanChange() { return false; }

}  // namespace vn
