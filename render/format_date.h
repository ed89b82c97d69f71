// Date/time sections of a format pattern, and date serials (data/date_serial.h) taken apart
// into what those sections show, within the calendar's range.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/regional_settings.h"

namespace vn::format {

class StagingBuffer;

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

// One date/time section split into its tokens once, for writing any number of dates through
// it. Whether "m" means a month or a minute and whether the hours count to 12 are settled here.
class DatePattern {
 public:
  explicit DatePattern(std::string_view section);

  // Appends the date through the section. firstDay 1 = Sunday ... 7 = Saturday, firstWeek
  // 1..3 as the automation calls number them (0 must be resolved by the caller). Throws
  // RuntimeError (overflow) for serials outside the calendar.
  void Append(std::string& out, double serial, int firstDay, int firstWeek,
              const RegionalSettings& settings) const;
  // The same for a date already taken apart, into a staging buffer.
  void Write(StagingBuffer& out, const DateParts& parts, int firstDay, int firstWeek,
             const RegionalSettings& settings) const;
  // The section as it was given.
  const std::string& Source() const { return source_; }

 private:
  enum class Item : std::uint8_t;
  struct Token {
    Item item;
    std::uint32_t offset = 0;  // literal text: its place in source_
    std::uint32_t length = 0;
  };

  void Tokenize();
  void AddLiteral(std::size_t offset, std::size_t length);
  void PutToken(StagingBuffer& out, const Token& token, const DateParts& p, int firstDay,
                int firstWeek, const RegionalSettings& settings) const;

  std::string source_;
  std::vector<Token> tokens_;
  bool twelveHour_ = false;  // an AM/PM token anywhere switches the hours to the 12-hour clock
};

// Writes a date through one date/time section (tokenised for this one call).
std::string FormatDateSection(std::string_view section, double serial, int firstDay, int firstWeek,
                              const RegionalSettings& settings);

// The locale's complete form of dates, as the standard conversion writes them, with the
// locale's short date and time forms tokenised once: for columns shown without a pattern.
class DateTimeForm {
 public:
  // `settings` must outlive the object.
  explicit DateTimeForm(const RegionalSettings& settings);
  // Throws RuntimeError (overflow) for serials outside the calendar.
  void Append(std::string& out, double serial) const;

 private:
  const RegionalSettings* settings_;
  DatePattern shortDate_;
  DatePattern time_;
};

// The locale's complete form of a date: the short date when there is a date part, the time
// when there is a time part or no date at all, a blank between them (the "c" token and the
// standard conversion of dates).
void AppendDateAndTime(std::string& out, const DateParts& parts, int firstDay, int firstWeek,
                       const RegionalSettings& settings);

}  // namespace vn::format
