#include "render/format_date.h"

#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#include "data/date_serial.h"
#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "render/format_buffer.h"
#include "render/format_pattern.h"

namespace vn::format {
namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// The number with at least `width` digits (zeros in front).
void PutNumber(StagingBuffer& out, int value, int width) {
  // Days, months, hours and four-digit years are nearly all there is: digit by digit.
  if (value >= 0 && value < 100 && width <= 2) {
    if (value >= 10 || width == 2) out.Put(static_cast<char>('0' + value / 10));
    out.Put(static_cast<char>('0' + value % 10));
    return;
  }
  if (value >= 1000 && value < 10000 && width <= 4) {
    out.Put(static_cast<char>('0' + value / 1000));
    out.Put(static_cast<char>('0' + value / 100 % 10));
    out.Put(static_cast<char>('0' + value / 10 % 10));
    out.Put(static_cast<char>('0' + value % 10));
    return;
  }
  char buf[24];
  char* const end = buf + sizeof buf;
  char* p = end;
  unsigned magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  while (end - p < width && p > buf + 1) *--p = '0';
  if (value < 0) *--p = '-';
  out.Put(std::string_view(p, static_cast<std::size_t>(end - p)));
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
  if (!(serial >= kMinDateSerial && serial < kMaxDateSerial))
    throw RuntimeError(kErrOverflow, kTextOverflow);
  const data::SerialParts parts = data::SplitSerial(serial);
  DateParts p;
  p.hasDate = parts.hasDate;
  p.hasTime = parts.hasTime;
  p.days = static_cast<long>(parts.day);  // the range check keeps it in range
  p.hour = static_cast<int>(parts.second / 3600);
  p.minute = static_cast<int>(parts.second / 60 % 60);
  p.second = static_cast<int>(parts.second % 60);
  const data::CalendarDay day = data::CalendarDayOf(parts.day);
  p.year = static_cast<int>(day.year);
  p.month = day.month;
  p.day = day.day;
  p.weekday = static_cast<int>(((p.days % 7) + 7 + 6) % 7) + 1;  // serial 0 was a Saturday
  p.dayOfYear = static_cast<int>(parts.day - data::SerialDay(day.year, 1, 1)) + 1;
  return p;
}

bool SerialFromDate(int year, int month, int day, double& serial) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  serial = static_cast<double>(data::SerialDay(year, month, day));
  return true;
}

enum class DatePattern::Item : std::uint8_t {
  kLiteral,
  kDateSeparator,
  kTimeSeparator,
  kDay,
  kDay2,
  kDayAbbreviation,
  kDayName,
  kShortDate,
  kLongDate,
  kWeekday,
  kWeekOfYear,
  kMonth,
  kMonth2,
  kMonthAbbreviation,
  kMonthName,
  kQuarter,
  kDayOfYear,
  kYear2,
  kYear4,
  kHour,
  kHour2,
  kMinute,
  kMinute2,
  kSecond,
  kSecond2,
  kTime,
  kDateAndTime,
  kAmPmUpper,
  kAmPmLower,
  kAPUpper,
  kAPLower,
  kAmPmLocale,
};

namespace {

// Number of consecutive `letter`s (either case) at s[i], at most `max`.
std::size_t RunOf(std::string_view s, std::size_t i, char letter, std::size_t max) {
  const char upper = static_cast<char>(letter - 'a' + 'A');
  std::size_t n = 0;
  while (i + n < s.size() && n < max && (s[i + n] == letter || s[i + n] == upper)) ++n;
  return n;
}

// The locale's own forms (short date, long date, time) come back for every date written
// through "ddddd", "c" or without a pattern; they are tokenised once per process and kept
// until the library is let go. The cache holds whole pattern texts, so settings that go away
// leave nothing dangling; it stops growing at a few locales' worth and then tokenises per call.
class SettingsPatterns {
 public:
  static constexpr std::size_t kMaxCached = 32;

  static SettingsPatterns& Shared() {
    static SettingsPatterns patterns;
    return patterns;
  }

  // The tokenised `pattern`, or null when the cache is full.
  const DatePattern* Find(const std::string& pattern) {
    std::lock_guard lock(mutex_);
    auto it = patterns_.find(pattern);
    if (it == patterns_.end()) {
      if (patterns_.size() >= kMaxCached) return nullptr;
      it = patterns_.emplace(pattern, std::make_unique<DatePattern>(pattern)).first;
    }
    return it->second.get();
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::unique_ptr<DatePattern>, std::less<>> patterns_;
};

// The patterns this thread used last, in front of the shared cache so that a page's cells take
// no lock. Plain pointers: a thread_local with a destructor makes MinGW's runtime hold the
// library until the thread ends and let it go from inside the thread's end, where the last
// release of the library deadlocks (a browser thread that ends after the browser let the
// library go would hang).
struct RecentPatterns {
  static constexpr std::size_t kCount = 4;
  const DatePattern* patterns[kCount];
  std::size_t next;
};
static_assert(std::is_trivially_destructible_v<RecentPatterns>);

const DatePattern* CachedPattern(const std::string& pattern) {
  thread_local RecentPatterns recent{};
  for (const DatePattern* known : recent.patterns) {
    if (known != nullptr && known->Source() == pattern) return known;
  }
  const DatePattern* found = SettingsPatterns::Shared().Find(pattern);
  if (found != nullptr) {
    recent.patterns[recent.next] = found;
    recent.next = (recent.next + 1) % RecentPatterns::kCount;
  }
  return found;
}

void PutSettingsPattern(StagingBuffer& out, const std::string& pattern, double serial, int firstDay,
                        int firstWeek, const RegionalSettings& settings) {
  if (const DatePattern* cached = CachedPattern(pattern)) {
    cached->Write(out, DatePartsFromSerial(serial), firstDay, firstWeek, settings);
    return;
  }
  DatePattern(pattern).Write(out, DatePartsFromSerial(serial), firstDay, firstWeek, settings);
}

double TimeOfDay(const DateParts& p) {
  return static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
}

void PutDateAndTime(StagingBuffer& out, const DateParts& p, int firstDay, int firstWeek,
                    const RegionalSettings& settings) {
  if (p.hasDate) {
    PutSettingsPattern(out, settings.shortDatePattern, static_cast<double>(p.days), firstDay,
                       firstWeek, settings);
  }
  if (p.hasTime || !p.hasDate) {
    if (p.hasDate) out.Put(' ');
    PutSettingsPattern(out, settings.timePattern, TimeOfDay(p), firstDay, firstWeek, settings);
  }
}

}  // namespace

DatePattern::DatePattern(std::string_view section) : source_(section) {
  tokens_.reserve(section.size());  // at most one token per character
  Tokenize();
}

void DatePattern::AddLiteral(std::size_t offset, std::size_t length) {
  // Adjacent plain characters form one literal.
  if (!tokens_.empty() && tokens_.back().item == Item::kLiteral &&
      tokens_.back().offset + tokens_.back().length == offset) {
    tokens_.back().length += static_cast<std::uint32_t>(length);
    return;
  }
  tokens_.push_back(
      {Item::kLiteral, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)});
}

void DatePattern::Tokenize() {
  const std::string_view s = source_;
  bool afterHour = false;  // the previous date/time token was h or hh: m means minutes
  auto add = [&](Item item, std::size_t length, std::size_t& i) {
    tokens_.push_back({item});
    i += length;
    afterHour = item == Item::kHour || item == Item::kHour2;
  };
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    switch (lower) {
      case '"': {
        auto end = s.find('"', i + 1);
        if (end == std::string_view::npos) end = s.size();
        if (end > i + 1) AddLiteral(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      case '\\':
        if (i + 1 < s.size()) {
          std::size_t n = Utf8Length(s, i + 1);
          AddLiteral(i + 1, n);
          i += 1 + n;
        } else {
          ++i;
        }
        continue;
      case '/':
        tokens_.push_back({Item::kDateSeparator});
        ++i;
        continue;
      case ':':
        tokens_.push_back({Item::kTimeSeparator});
        ++i;
        continue;
      case 'd': {
        static const Item kDays[] = {Item::kDay,     Item::kDay2,      Item::kDayAbbreviation,
                                     Item::kDayName, Item::kShortDate, Item::kLongDate};
        std::size_t n = RunOf(s, i, 'd', 6);
        add(kDays[n - 1], n, i);
        continue;
      }
      case 'w': {
        std::size_t n = RunOf(s, i, 'w', 2);
        add(n == 1 ? Item::kWeekday : Item::kWeekOfYear, n, i);
        continue;
      }
      case 'm': {
        static const Item kMonths[] = {Item::kMonth, Item::kMonth2, Item::kMonthAbbreviation,
                                       Item::kMonthName};
        std::size_t n = RunOf(s, i, 'm', 4);
        if (n <= 2 && afterHour) {
          add(n == 1 ? Item::kMinute : Item::kMinute2, n, i);
        } else {
          add(kMonths[n - 1], n, i);
        }
        continue;
      }
      case 'q':
        add(Item::kQuarter, 1, i);
        continue;
      case 'y': {
        // "yyy" is "yy" followed by "y".
        std::size_t n = RunOf(s, i, 'y', 4);
        if (n == 3) n = 2;
        add(n == 1 ? Item::kDayOfYear : n == 2 ? Item::kYear2 : Item::kYear4, n, i);
        continue;
      }
      case 'h': {
        std::size_t n = RunOf(s, i, 'h', 2);
        add(n == 1 ? Item::kHour : Item::kHour2, n, i);
        continue;
      }
      case 'n': {
        std::size_t n = RunOf(s, i, 'n', 2);
        add(n == 1 ? Item::kMinute : Item::kMinute2, n, i);
        continue;
      }
      case 's': {
        std::size_t n = RunOf(s, i, 's', 2);
        add(n == 1 ? Item::kSecond : Item::kSecond2, n, i);
        continue;
      }
      case 't':
        if (MatchesAt(s, i, "ttttt")) {
          add(Item::kTime, 5, i);
          continue;
        }
        break;
      case 'c':
        add(Item::kDateAndTime, 1, i);
        continue;
      case 'a': {
        // The day halves do not end an "h": "hh AM/PM mm" still writes minutes.
        const bool upper = c == 'A';
        Item item = Item::kLiteral;
        std::size_t n = 0;
        if (MatchesAt(s, i, "am/pm")) {
          item = upper ? Item::kAmPmUpper : Item::kAmPmLower, n = 5;
        } else if (MatchesAt(s, i, "a/p")) {
          item = upper ? Item::kAPUpper : Item::kAPLower, n = 3;
        } else if (MatchesAt(s, i, "ampm")) {
          item = Item::kAmPmLocale, n = 4;
        }
        if (n == 0) break;
        tokens_.push_back({item});
        twelveHour_ = true;
        i += n;
        continue;
      }
      default:
        break;
    }
    std::size_t n = Utf8Length(s, i);
    AddLiteral(i, n);
    i += n;
  }
}

void DatePattern::Append(std::string& out, double serial, int firstDay, int firstWeek,
                         const RegionalSettings& settings) const {
  const DateParts p = DatePartsFromSerial(serial);
  StagingBuffer staged(out);
  Write(staged, p, firstDay, firstWeek, settings);
  staged.Flush();
}

void DatePattern::Write(StagingBuffer& out, const DateParts& p, int firstDay, int firstWeek,
                        const RegionalSettings& settings) const {
  for (const Token& token : tokens_) PutToken(out, token, p, firstDay, firstWeek, settings);
}

void DatePattern::PutToken(StagingBuffer& out, const Token& t, const DateParts& p, int firstDay,
                           int firstWeek, const RegionalSettings& settings) const {
  const bool pm = p.hour >= 12;
  switch (t.item) {
    case Item::kLiteral:
      out.Put(std::string_view(source_).substr(t.offset, t.length));
      return;
    case Item::kDateSeparator:
      out.Put(settings.dateSeparator);
      return;
    case Item::kTimeSeparator:
      out.Put(settings.timeSeparator);
      return;
    case Item::kDay:
      PutNumber(out, p.day, 1);
      return;
    case Item::kDay2:
      PutNumber(out, p.day, 2);
      return;
    case Item::kDayAbbreviation:
      out.Put(settings.dayAbbreviations[p.weekday - 1]);
      return;
    case Item::kDayName:
      out.Put(settings.dayNames[p.weekday - 1]);
      return;
    case Item::kShortDate:
      PutSettingsPattern(out, settings.shortDatePattern, static_cast<double>(p.days), firstDay,
                         firstWeek, settings);
      return;
    case Item::kLongDate:
      PutSettingsPattern(out, settings.longDatePattern, static_cast<double>(p.days), firstDay,
                         firstWeek, settings);
      return;
    case Item::kWeekday:
      PutNumber(out, WeekdayFrom(p.weekday, firstDay), 1);
      return;
    case Item::kWeekOfYear:
      PutNumber(out, WeekOfYear(p, firstDay, firstWeek), 1);
      return;
    case Item::kMonth:
      PutNumber(out, p.month, 1);
      return;
    case Item::kMonth2:
      PutNumber(out, p.month, 2);
      return;
    case Item::kMonthAbbreviation:
      out.Put(settings.monthAbbreviations[p.month - 1]);
      return;
    case Item::kMonthName:
      out.Put(settings.monthNames[p.month - 1]);
      return;
    case Item::kQuarter:
      PutNumber(out, (p.month - 1) / 3 + 1, 1);
      return;
    case Item::kDayOfYear:
      PutNumber(out, p.dayOfYear, 1);
      return;
    case Item::kYear2:
      PutNumber(out, p.year % 100, 2);
      return;
    case Item::kYear4:
      PutNumber(out, p.year, 1);
      return;
    case Item::kHour:
    case Item::kHour2: {
      const int hour = twelveHour_ ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
      PutNumber(out, hour, t.item == Item::kHour ? 1 : 2);
      return;
    }
    case Item::kMinute:
      PutNumber(out, p.minute, 1);
      return;
    case Item::kMinute2:
      PutNumber(out, p.minute, 2);
      return;
    case Item::kSecond:
      PutNumber(out, p.second, 1);
      return;
    case Item::kSecond2:
      PutNumber(out, p.second, 2);
      return;
    case Item::kTime:
      PutSettingsPattern(out, settings.timePattern, TimeOfDay(p), firstDay, firstWeek, settings);
      return;
    case Item::kDateAndTime:
      PutDateAndTime(out, p, firstDay, firstWeek, settings);
      return;
    case Item::kAmPmUpper:
      out.Put(pm ? "PM" : "AM");
      return;
    case Item::kAmPmLower:
      out.Put(pm ? "pm" : "am");
      return;
    case Item::kAPUpper:
      out.Put(pm ? 'P' : 'A');
      return;
    case Item::kAPLower:
      out.Put(pm ? 'p' : 'a');
      return;
    case Item::kAmPmLocale:
      out.Put(pm ? settings.pmSymbol : settings.amSymbol);
      return;
  }
}

std::string FormatDateSection(std::string_view section, double serial, int firstDay, int firstWeek,
                              const RegionalSettings& settings) {
  std::string out;
  out.reserve(section.size() + 16);
  DatePattern(section).Append(out, serial, firstDay, firstWeek, settings);
  return out;
}

DateTimeForm::DateTimeForm(const RegionalSettings& settings)
    : settings_(&settings), shortDate_(settings.shortDatePattern), time_(settings.timePattern) {}

void DateTimeForm::Append(std::string& out, double serial) const {
  // As PutDateAndTime with the week rules of the standard conversion.
  const DateParts p = DatePartsFromSerial(serial);
  StagingBuffer staged(out);
  if (p.hasDate)
    shortDate_.Write(staged, DatePartsFromSerial(static_cast<double>(p.days)), 1, 1, *settings_);
  if (p.hasTime || !p.hasDate) {
    if (p.hasDate) staged.Put(' ');
    time_.Write(staged, DatePartsFromSerial(TimeOfDay(p)), 1, 1, *settings_);
  }
  staged.Flush();
}

void AppendDateAndTime(std::string& out, const DateParts& p, int firstDay, int firstWeek,
                       const RegionalSettings& settings) {
  StagingBuffer staged(out);
  PutDateAndTime(staged, p, firstDay, firstWeek, settings);
  staged.Flush();
}

}  // namespace vn::format
