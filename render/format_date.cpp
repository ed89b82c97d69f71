#include "render/format_date.h"

#include <cmath>

#include "platform/runtime_error.h"
#include "render/format_pattern.h"

namespace vn::format {
namespace {

constexpr long kOverflow = 6;

// Civil date from days since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

constexpr long long kSerialToUnixDays = 25569;  // 1970-01-01 is serial 25569

void AppendNumber(std::string& out, int value, int width) {
  char buf[12];
  int length = 0;
  unsigned magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    buf[length++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) out += '-';
  for (int k = length; k < width; ++k) out += '0';
  while (length > 0) out += buf[--length];
}

// Weekday 1..7 counted from firstDay.
int WeekdayFrom(int weekday, int firstDay) { return (weekday - firstDay + 7) % 7 + 1; }

int WeekOfYear(const DateParts& p, int firstDay, int firstWeek) {
  double jan1 = 0;
  SerialFromDate(p.year, 1, 1, jan1);
  int jan1Weekday = static_cast<int>(((static_cast<long long>(jan1) % 7) + 7 + 6) % 7) + 1;
  int offset = (jan1Weekday - firstDay + 7) % 7;
  int week = (p.dayOfYear - 1 + offset) / 7 + 1;
  if (firstWeek == 1) return week;
  int daysInFirst = 7 - offset;
  int needed = firstWeek == 2 ? 4 : 7;
  if (daysInFirst >= needed) return week;
  if (week > 1) return week - 1;
  // Before the first counted week: the last week of the previous year.
  double dec31 = 0;
  SerialFromDate(p.year - 1, 12, 31, dec31);
  return WeekOfYear(DatePartsFromSerial(dec31), firstDay, firstWeek);
}

}  // namespace

DateParts DatePartsFromSerial(double serial) {
  if (!(serial >= kMinDateSerial && serial < kMaxDateSerial)) throw RuntimeError(kOverflow, "Overflow");
  DateParts p;
  double whole = std::trunc(serial);
  double fraction = std::fabs(serial - whole);
  long seconds = std::lround(fraction * 86400.0);
  p.days = static_cast<long>(whole);
  p.hasDate = p.days != 0;
  p.hasTime = fraction != 0;
  if (seconds >= 86400) {
    seconds -= 86400;
    ++p.days;
  }
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  CivilFromDays(p.days - kSerialToUnixDays, p.year, p.month, p.day);
  p.weekday = static_cast<int>(((p.days % 7) + 7 + 6) % 7) + 1;  // serial 0 was a Saturday
  p.dayOfYear = static_cast<int>(DaysFromCivil(p.year, p.month, p.day) - DaysFromCivil(p.year, 1, 1)) + 1;
  return p;
}

bool SerialFromDate(int year, int month, int day, double& serial) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  serial = static_cast<double>(DaysFromCivil(year, month, day) + kSerialToUnixDays);
  return true;
}

std::string FormatDateSection(std::string_view s, double serial, int firstDay, int firstWeek,
                              const RegionalSettings& settings) {
  DateParts p = DatePartsFromSerial(serial);

  // An AM/PM token anywhere in the section switches the hours to the 12-hour clock.
  bool twelveHour = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '"') {
      auto end = s.find('"', i + 1);
      if (end == std::string_view::npos) break;
      i = end;
    } else if (s[i] == '\\') {
      ++i;
    } else if (MatchesAt(s, i, "am/pm") || MatchesAt(s, i, "a/p") || MatchesAt(s, i, "ampm")) {
      twelveHour = true;
      break;
    }
  }
  bool pm = p.hour >= 12;
  int hour = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;

  std::string out;
  out.reserve(s.size() + 16);
  bool afterHour = false;  // the previous date/time token was h or hh: m means minutes
  for (std::size_t i = 0; i < s.size();) {
    char c = s[i];
    char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    auto run = [&](char letter, std::size_t max) {
      std::size_t n = 0;
      while (i + n < s.size() && n < max && (s[i + n] == letter || s[i + n] == letter - 'a' + 'A')) ++n;
      return n;
    };
    switch (lower) {
      case '"': {
        auto end = s.find('"', i + 1);
        if (end == std::string_view::npos) end = s.size();
        out += s.substr(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      case '\\':
        if (i + 1 < s.size()) {
          std::size_t n = Utf8Length(s, i + 1);
          out += s.substr(i + 1, n);
          i += 1 + n;
        } else {
          ++i;
        }
        continue;
      case '/':
        out += settings.dateSeparator;
        ++i;
        continue;
      case ':':
        out += settings.timeSeparator;
        ++i;
        continue;
      case 'd': {
        std::size_t n = run('d', 6);
        if (n == 1) AppendNumber(out, p.day, 1);
        if (n == 2) AppendNumber(out, p.day, 2);
        if (n == 3) out += settings.dayAbbreviations[p.weekday - 1];
        if (n == 4) out += settings.dayNames[p.weekday - 1];
        if (n == 5) out += FormatDateSection(settings.shortDatePattern, static_cast<double>(p.days), firstDay, firstWeek, settings);
        if (n == 6) out += FormatDateSection(settings.longDatePattern, static_cast<double>(p.days), firstDay, firstWeek, settings);
        i += n;
        afterHour = false;
        continue;
      }
      case 'w': {
        std::size_t n = run('w', 2);
        AppendNumber(out, n == 1 ? WeekdayFrom(p.weekday, firstDay) : WeekOfYear(p, firstDay, firstWeek), 1);
        i += n;
        afterHour = false;
        continue;
      }
      case 'm': {
        std::size_t n = run('m', 4);
        if (n <= 2 && afterHour) {
          AppendNumber(out, p.minute, static_cast<int>(n));
        } else if (n <= 2) {
          AppendNumber(out, p.month, static_cast<int>(n));
        } else {
          out += n == 3 ? settings.monthAbbreviations[p.month - 1] : settings.monthNames[p.month - 1];
        }
        i += n;
        afterHour = false;
        continue;
      }
      case 'q':
        AppendNumber(out, (p.month - 1) / 3 + 1, 1);
        ++i;
        afterHour = false;
        continue;
      case 'y': {
        std::size_t n = run('y', 4);
        if (n == 3) n = 2;  // "yyy" is "yy" followed by "y"
        if (n == 1) AppendNumber(out, p.dayOfYear, 1);
        if (n == 2) AppendNumber(out, p.year % 100, 2);
        if (n == 4) AppendNumber(out, p.year, 1);
        i += n;
        afterHour = false;
        continue;
      }
      case 'h': {
        std::size_t n = run('h', 2);
        AppendNumber(out, hour, static_cast<int>(n));
        i += n;
        afterHour = true;
        continue;
      }
      case 'n': {
        std::size_t n = run('n', 2);
        AppendNumber(out, p.minute, static_cast<int>(n));
        i += n;
        afterHour = false;
        continue;
      }
      case 's': {
        std::size_t n = run('s', 2);
        AppendNumber(out, p.second, static_cast<int>(n));
        i += n;
        afterHour = false;
        continue;
      }
      case 't':
        if (MatchesAt(s, i, "ttttt")) {
          double time = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
          out += FormatDateSection(settings.timePattern, time, firstDay, firstWeek, settings);
          i += 5;
          afterHour = false;
          continue;
        }
        break;
      case 'c': {
        double time = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
        // The date only when there is one, the time when there is one or no date at all.
        if (p.hasDate) {
          out += FormatDateSection(settings.shortDatePattern, static_cast<double>(p.days), firstDay, firstWeek, settings);
        }
        if (p.hasTime || !p.hasDate) {
          if (p.hasDate) out += ' ';
          out += FormatDateSection(settings.timePattern, time, firstDay, firstWeek, settings);
        }
        ++i;
        afterHour = false;
        continue;
      }
      case 'a':
        if (MatchesAt(s, i, "am/pm")) {
          bool upper = c == 'A';
          out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
          i += 5;
          continue;
        }
        if (MatchesAt(s, i, "a/p")) {
          bool upper = c == 'A';
          out += pm ? (upper ? 'P' : 'p') : (upper ? 'A' : 'a');
          i += 3;
          continue;
        }
        if (MatchesAt(s, i, "ampm")) {
          out += pm ? settings.pmSymbol : settings.amSymbol;
          i += 4;
          continue;
        }
        break;
      default:
        break;
    }
    std::size_t n = Utf8Length(s, i);
    out += s.substr(i, n);
    i += n;
  }
  return out;
}

}  // namespace vn::format
