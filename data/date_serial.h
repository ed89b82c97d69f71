// Date serials, the form every date takes in a Variant: days since 30 December 1899, the
// fraction being the time of day; before that day the fraction still counts forward from
// midnight, away from zero (-1.25 is 29 December 1899, 06:00). The calendar arithmetic of the
// providers and of the formatter, in the proleptic Gregorian calendar; nothing here checks a
// range.
#pragma once

#include <cmath>

namespace vn::data {

// The serial day of 1 January 1970, where Unix times count from.
inline constexpr long long kUnixEpochDay = 25569;

struct CalendarDay {
  long long year = 1899;
  int month = 12;
  int day = 30;
};

// The serial day of a calendar day (month 1..12, day 1..31).
constexpr long long SerialDay(long long year, int month, int day) {
  // Counted in eras of 400 years from 1 March of year 0, so that a leap day ends its year.
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + kUnixEpochDay;
}

// The calendar day of a serial day.
constexpr CalendarDay CalendarDayOf(long long serialDay) {
  const long long z = serialDay - kUnixEpochDay + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  CalendarDay out;
  out.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  out.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  out.year = yearOfEra + era * 400 + (out.month <= 2 ? 1 : 0);
  return out;
}

// The serial of a calendar day and a time of day.
inline double DateSerial(int year, int month, int day, int hour = 0, int minute = 0,
                         double second = 0) {
  const long long days = SerialDay(year, month, day);
  const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

// A serial taken apart: its day (the integer part, towards zero) and the time of day in whole
// seconds, rounded to the nearest; a time that rounds to midnight carries into the next day.
struct SerialParts {
  long long day = 0;
  long second = 0;
  bool hasDate = false;  // the serial's integer part is not zero (before any carry)
  bool hasTime = false;  // the serial has a fraction, however small
};

// `serial` must lie within the range of a long long.
inline SerialParts SplitSerial(double serial) {
  SerialParts parts;
  parts.day = static_cast<long long>(serial);  // towards zero
  const double fraction = std::fabs(serial - static_cast<double>(parts.day));
  parts.hasDate = parts.day != 0;
  parts.hasTime = fraction != 0;
  if (parts.hasTime) {
    parts.second = std::lround(fraction * 86400.0);
    if (parts.second >= 86400) {
      parts.second -= 86400;
      ++parts.day;
    }
  }
  return parts;
}

// The serial of a Unix time (seconds since 1 January 1970, 00:00).
inline double SerialOfUnixTime(double seconds) {
  return static_cast<double>(kUnixEpochDay) + seconds / 86400.0;
}

// The serial of a Julian day number (SQLite's julianday()): day 0 began at noon, 4713 BC.
inline double SerialOfJulianDay(double julianDay) { return julianDay - 2415018.5; }

}  // namespace vn::data
