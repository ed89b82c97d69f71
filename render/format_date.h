// Date/time sections of a format pattern and the calendar arithmetic of OLE date serials
// (days since 30 December 1899, the fraction being the time of day).
#pragma once

#include <string>
#include <string_view>

#include "render/regional_settings.h"

namespace vn::format {

constexpr double kMinDateSerial = -657434.0;  // 1 January 100
constexpr double kMaxDateSerial = 2958466.0;  // exclusive: 1 January 10000

struct DateParts {
  long days = 0;  // the serial's date part (integer part, towards zero, seconds carried)
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int weekday = 7;  // 1 = Sunday
  int dayOfYear = 364;
  bool hasDate = false;  // integer part not zero
  bool hasTime = false;  // fraction not zero
};

// Throws RuntimeError (overflow) outside 1 January 100 to 31 December 9999.
DateParts DatePartsFromSerial(double serial);

// The serial of a calendar day, or false when the day does not exist.
bool SerialFromDate(int year, int month, int day, double& serial);

// Writes a date through one date/time section. firstDay 1 = Sunday ... 7 = Saturday,
// firstWeek 1..3 as the automation calls number them (0 must be resolved by the caller).
std::string FormatDateSection(std::string_view section, double serial, int firstDay, int firstWeek,
                              const RegionalSettings& settings);

}  // namespace vn::format
