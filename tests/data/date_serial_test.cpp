// Date serials: calendar days and their serials both ways (the ends of the calendar, leap days,
// the century rule), times of day taken apart with their rounding, and the serials of Unix times
// and Julian days.
#include "data/date_serial.h"

#include <gtest/gtest.h>

namespace vn::data {
namespace {

TEST(DateSerialTest, CalendarDaysAndTheirSerialsMeetBothWays) {
  struct Case {
    long long year;
    int month, day;
    long long serial;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},    {1899, 12, 31, 1},       {1899, 12, 29, -1},
      {1900, 1, 1, 2},      {1900, 2, 28, 60},       {1900, 3, 1, 61},  // 1900: no leap day
      {1970, 1, 1, 25569},  {2000, 2, 29, 36585},    {2000, 3, 1, 36586},
      {100, 1, 1, -657434}, {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SerialDay(c.year, c.month, c.day), c.serial) << c.year << "-" << c.month;
    const CalendarDay day = CalendarDayOf(c.serial);
    EXPECT_EQ(day.year, c.year) << c.serial;
    EXPECT_EQ(day.month, c.month) << c.serial;
    EXPECT_EQ(day.day, c.day) << c.serial;
  }
}

TEST(DateSerialTest, EverySerialDayIsTheDayAfterTheOneBefore) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  CalendarDay expected{100, 1, 1};
  for (long long serial = -657434; serial <= 2958465; ++serial) {
    const CalendarDay day = CalendarDayOf(serial);
    ASSERT_TRUE(day.year == expected.year && day.month == expected.month && day.day == expected.day)
        << serial << ": " << day.year << "-" << day.month << "-" << day.day;
    ASSERT_EQ(SerialDay(day.year, day.month, day.day), serial);
    const bool leap = (day.year % 4 == 0 && day.year % 100 != 0) || day.year % 400 == 0;
    const int length = day.month == 2 && leap ? 29 : kDays[day.month - 1];
    if (++expected.day > length) {
      expected.day = 1;
      if (++expected.month > 12) {
        expected.month = 1;
        ++expected.year;
      }
    }
  }
}

TEST(DateSerialTest, TimesOfDayCountForwardFromMidnightOnBothSidesOfDayZero) {
  EXPECT_DOUBLE_EQ(DateSerial(2000, 2, 29, 12), 36585.5);
  EXPECT_DOUBLE_EQ(DateSerial(1899, 12, 30, 18), 0.75);
  EXPECT_DOUBLE_EQ(DateSerial(1899, 12, 29, 6), -1.25);
  EXPECT_DOUBLE_EQ(DateSerial(1899, 12, 28, 12, 30, 36), -2.52125);
}

TEST(DateSerialTest, SplittingASerialRoundsToTheSecondAndCarriesMidnight) {
  struct Case {
    double serial;
    long long day;
    long second;
    bool hasDate, hasTime;
  };
  const Case cases[] = {
      {0.0, 0, 0, false, false},
      {2.0, 2, 0, true, false},
      {0.5, 0, 43200, false, true},
      {-1.25, -1, 21600, true, true},
      {-0.5, 0, 43200, false, true},
      {36585.75, 36585, 64800, true, true},
      {1.0 + 1.4 / 86400, 1, 1, true, true},     // 1.4 s
      {1.0 + 1.6 / 86400, 1, 2, true, true},     // 1.6 s
      {1.9999999, 2, 0, true, true},             // 86399.99 s: the next midnight
      {0.9999999, 1, 0, false, true},            // a time alone, carried into day 1
      {1.0 + 0.0001 / 86400, 1, 0, true, true},  // a fraction that rounds to nothing is still one
  };
  for (const Case& c : cases) {
    const SerialParts parts = SplitSerial(c.serial);
    EXPECT_EQ(parts.day, c.day) << c.serial;
    EXPECT_EQ(parts.second, c.second) << c.serial;
    EXPECT_EQ(parts.hasDate, c.hasDate) << c.serial;
    EXPECT_EQ(parts.hasTime, c.hasTime) << c.serial;
  }
}

TEST(DateSerialTest, UnixTimesAndJulianDaysBecomeSerials) {
  EXPECT_DOUBLE_EQ(SerialOfUnixTime(0), 25569.0);
  EXPECT_DOUBLE_EQ(SerialOfUnixTime(86400 * 1.5), 25570.5);
  EXPECT_DOUBLE_EQ(SerialOfUnixTime(-86400), 25568.0);
  EXPECT_DOUBLE_EQ(SerialOfJulianDay(2415018.5), 0.0);
  EXPECT_DOUBLE_EQ(SerialOfJulianDay(2440587.5), 25569.0);  // 1 January 1970, 00:00
  EXPECT_DOUBLE_EQ(SerialOfJulianDay(2451604.0), 36585.5);  // 29 February 2000, noon
}

}  // namespace
}  // namespace vn::data
