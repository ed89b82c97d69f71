#include "platform/regional_settings.h"

#include "platform/language.h"
#include "platform/win32/wide.h"

namespace vn {
namespace {

// The locale GetLocaleInfoEx is asked for: the user's own settings (changes in the control panel
// included, given as "") for "" and for the user's locale name, else the named locale, en-US
// when unknown.
std::wstring LocaleFor(const std::string& name) {
  if (name.empty() || name == NumericLocaleName()) return {};
  std::string windowsName = name;
  for (char& c : windowsName) {
    if (c == '_') c = '-';
  }
  std::wstring wide = win32::Widen(windowsName);
  return ::IsValidLocaleName(wide.c_str()) ? wide : L"en-US";
}

const wchar_t* LocalePointer(const std::wstring& locale) {
  return locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str();
}

std::string Info(const std::wstring& locale, LCTYPE type) {
  wchar_t buffer[128];
  int length = ::GetLocaleInfoEx(LocalePointer(locale), type, buffer, 128);
  if (length <= 1) return {};
  return win32::Narrow(std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

int InfoNumber(const std::wstring& locale, LCTYPE type, int fallback) {
  DWORD value = 0;
  if (::GetLocaleInfoEx(LocalePointer(locale), type | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&value), sizeof value / sizeof(wchar_t)) == 0) {
    return fallback;
  }
  return static_cast<int>(value);
}

bool IsPatternLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Converts a Windows date or time picture ("dddd, d. MMMM yyyy", "h:mm:ss tt") into the
// formatter's pattern language.
std::string ConvertPicture(const std::string& picture) {
  std::string out;
  std::string literal;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      // Quoted text; '' inside quotes is an apostrophe.
      size_t end = i + 1;
      while (end < picture.size()) {
        if (picture[end] == '\'') {
          if (end + 1 < picture.size() && picture[end + 1] == '\'') {
            literal += '\'';
            end += 2;
            continue;
          }
          break;
        }
        literal += picture[end++];
      }
      i = end + 1;
      continue;
    }
    if (!IsPatternLetter(c)) {
      literal += c;
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    i += run;
    std::string token;
    switch (c) {
      case 'd':
        token = run >= 4 ? "dddd" : run == 3 ? "ddd" : run == 2 ? "dd" : "d";
        break;
      case 'M':
        token = run >= 4 ? "mmmm" : run == 3 ? "mmm" : run == 2 ? "mm" : "m";
        break;
      case 'y':
        token = run >= 3 ? "yyyy" : "yy";
        break;
      case 'h':
      case 'H':
        token = run >= 2 ? "hh" : "h";
        break;
      case 'm':
        token = run >= 2 ? "nn" : "n";
        break;
      case 's':
        token = run >= 2 ? "ss" : "s";
        break;
      case 't':
        token = "AMPM";
        break;
      default:
        break;  // eras ("g") have no counterpart and are left out
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

std::string DateOrderOf(const std::string& picture) {
  std::string order;
  for (char c : picture) {
    char key = c == 'd' ? 'd' : c == 'M' ? 'm' : c == 'y' ? 'y' : 0;
    if (key != 0 && order.find(key) == std::string::npos) order += key;
  }
  return order.size() == 3 ? order : "mdy";
}

// The "Currency" named format from the currency symbol, its position (LOCALE_ICURRENCY: 0 "$1",
// 1 "1$", 2 "$ 1", 3 "1 $") and the number of decimals.
std::string CurrencyPattern(const std::wstring& locale) {
  const std::string symbol = Info(locale, LOCALE_SCURRENCY);
  const int position = InfoNumber(locale, LOCALE_ICURRENCY, 0);
  const int digits = InfoNumber(locale, LOCALE_ICURRDIGITS, 2);
  std::string number = "#,##0";
  if (digits > 0) number += "." + std::string(static_cast<size_t>(digits), '0');
  std::string out;
  switch (position) {
    case 1:
      out = number;
      AppendPatternLiteral(out, symbol);
      break;
    case 2:
      AppendPatternLiteral(out, symbol + " ");
      out += number;
      break;
    case 3:
      out = number;
      AppendPatternLiteral(out, " " + symbol);
      break;
    default:
      AppendPatternLiteral(out, symbol);
      out += number;
      break;
  }
  return out;
}

void LoadNumbers(const std::wstring& locale, RegionalSettings& s) {
  s.decimalSymbol = Info(locale, LOCALE_SDECIMAL);
  s.groupingSymbol = Info(locale, LOCALE_STHOUSAND);
  s.currencyPattern = CurrencyPattern(locale);
}

void LoadDates(const std::wstring& locale, RegionalSettings& s) {
  const std::string shortDate = Info(locale, LOCALE_SSHORTDATE);
  s.shortDatePattern = ConvertPicture(shortDate);
  s.longDatePattern = ConvertPicture(Info(locale, LOCALE_SLONGDATE));
  s.timePattern = ConvertPicture(Info(locale, LOCALE_STIMEFORMAT));
  s.dateSeparator = Info(locale, LOCALE_SDATE);
  s.timeSeparator = Info(locale, LOCALE_STIME);
  s.dateOrder = DateOrderOf(shortDate);
  for (int i = 0; i < 12; ++i) {
    s.monthNames[i] = Info(locale, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i));
    s.monthAbbreviations[i] = Info(locale, static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i));
  }
  // Windows counts the weekdays from Monday (SDAYNAME1), the settings from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int windowsDay = (i + 6) % 7;
    s.dayNames[i] = Info(locale, static_cast<LCTYPE>(LOCALE_SDAYNAME1 + windowsDay));
    s.dayAbbreviations[i] = Info(locale, static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + windowsDay));
  }
  s.amSymbol = Info(locale, LOCALE_S1159);
  s.pmSymbol = Info(locale, LOCALE_S2359);
  // LOCALE_IFIRSTDAYOFWEEK: 0 Monday ... 6 Sunday; here 1 Sunday ... 7 Saturday.
  s.firstDayOfWeek = (InfoNumber(locale, LOCALE_IFIRSTDAYOFWEEK, 6) + 1) % 7 + 1;
  // LOCALE_IFIRSTWEEKOFYEAR: 0 week of 1 January, 1 first full week, 2 first four-day week.
  switch (InfoNumber(locale, LOCALE_IFIRSTWEEKOFYEAR, 0)) {
    case 1:
      s.firstWeekOfYear = 3;
      break;
    case 2:
      s.firstWeekOfYear = 2;
      break;
    default:
      s.firstWeekOfYear = 1;
      break;
  }
}

}  // namespace

std::unique_ptr<RegionalSettings> LoadRegionalSettings(const std::string& numericName,
                                                       const std::string& timeName) {
  auto settings = std::make_unique<RegionalSettings>();
  LoadNumbers(LocaleFor(numericName), *settings);
  LoadDates(LocaleFor(timeName), *settings);
  return settings;
}

std::string LocaleDecimalSymbol(const std::string& localeName) {
  std::string symbol = Info(LocaleFor(localeName), LOCALE_SDECIMAL);
  return symbol.empty() ? "." : symbol;
}

bool UserRegionalSettingsCanChange() { return true; }

}  // namespace vn
