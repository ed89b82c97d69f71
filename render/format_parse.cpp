#include "render/format_parse.h"

#include <charconv>
#include <ctime>
#include <string>

#include "platform/local_time.h"
#include "platform/text.h"
#include "render/format_date.h"

namespace vn::format {
namespace {

bool StartsWith(std::string_view s, std::size_t i, std::string_view prefix) {
  return !prefix.empty() && s.substr(i, prefix.size()) == prefix;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int CurrentYear() { return LocalTime(std::time(nullptr)).tm_year + 1900; }

int MonthByName(std::string_view word, const RegionalSettings& settings) {
  std::string lower = LowerAscii(word);
  for (int m = 0; m < 12; ++m) {
    if (lower == LowerAscii(settings.monthNames[m]) ||
        lower == LowerAscii(settings.monthAbbreviations[m]))
      return m + 1;
  }
  static const char* const kEnglish[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
  if (lower.size() >= 3) {
    for (int m = 0; m < 12; ++m) {
      if (lower.compare(0, 3, kEnglish[m]) == 0) return m + 1;
    }
  }
  return 0;
}

int TwoDigitYear(int y) { return y < 30 ? 2000 + y : 1900 + y; }

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A date text split into its parts once: the numbers of the date, a month name, the numbers
// of the time (those joined by ":") and a day half.
struct DateTextTokens {
  struct Number {
    int value;
    int width;
  };
  static constexpr int kMaxDateNumbers = 3;  // day, month, year
  Number date[kMaxDateNumbers] = {};
  int dateCount = 0;
  int month = 0;
  int time[3] = {0, 0, 0};
  int timeCount = 0;
  int half = 0;  // 1 AM, 2 PM
};

// A run of digits at text[i]: into the time once a time has begun or a ":" follows, else into
// the date. False for more than five digits or more numbers than a date or time has.
bool ScanNumber(std::string_view text, std::size_t& i, DateTextTokens& tokens) {
  const std::size_t start = i;
  int value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (i - start < 6) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i - start > 5) return false;
  const bool inTime = tokens.timeCount > 0 || (i < text.size() && text[i] == ':');
  if (inTime) {
    if (tokens.timeCount >= 3) return false;
    tokens.time[tokens.timeCount++] = value;
    if (i < text.size() && text[i] == ':') ++i;
    return true;
  }
  if (tokens.dateCount >= DateTextTokens::kMaxDateNumbers) return false;
  tokens.date[tokens.dateCount++] = {value, static_cast<int>(i - start)};
  return true;
}

// A word at text[i]: a day half or the first month name; anything else is no date.
bool ScanWord(std::string_view text, std::size_t& i, DateTextTokens& tokens,
              const RegionalSettings& settings) {
  const std::size_t start = i;
  while (i < text.size() && IsLetter(text[i])) ++i;
  const std::string word = LowerAscii(text.substr(start, i - start));
  if (word == "am" || word == "a") {
    tokens.half = 1;
  } else if (word == "pm" || word == "p") {
    tokens.half = 2;
  } else if (int m = MonthByName(word, settings); m != 0 && tokens.month == 0) {
    tokens.month = m;
  } else {
    return false;
  }
  return true;
}

// Length of the separator at text[i] ("-", "/", ".", ",", a blank or the locale's date
// separator); 0 if none stands there. Without a date separator of its own the locale takes
// any character as one.
std::size_t SeparatorAt(std::string_view text, std::size_t i, const RegionalSettings& settings) {
  const std::string& own = settings.dateSeparator;
  if (text.substr(i, own.size()) == own) return own.empty() ? 1 : own.size();
  const char c = text[i];
  return c == '-' || c == '/' || c == '.' || c == ',' || IsBlank(c) ? 1 : 0;
}

std::optional<DateTextTokens> ScanDateText(std::string_view text,
                                           const RegionalSettings& settings) {
  DateTextTokens tokens;
  bool anything = false;
  for (std::size_t i = 0; i < text.size();) {
    if (IsDigit(text[i])) {
      if (!ScanNumber(text, i, tokens)) return std::nullopt;
      anything = true;
    } else if (IsLetter(text[i])) {
      if (!ScanWord(text, i, tokens, settings)) return std::nullopt;
      anything = true;
    } else if (std::size_t n = SeparatorAt(text, i, settings); n > 0) {
      i += n;
    } else {
      return std::nullopt;
    }
  }
  if (!anything) return std::nullopt;
  return tokens;
}

// Year, month and day from the date numbers: with a month name, day [year]; three numbers in
// the locale's order unless the first has three or more digits (year-month-day); two numbers
// day and month of this year.
bool DayOfTokens(const DateTextTokens& t, const RegionalSettings& settings, double& serial) {
  int y = 0, m = 0, d = 0;
  const int n = t.dateCount;
  if (t.month != 0) {
    if (n < 1 || n > 2) return false;
    m = t.month;
    d = t.date[0].value;
    y = n == 2 ? t.date[1].value : CurrentYear();
    if (n == 2 && t.date[1].width <= 2) y = TwoDigitYear(y);
  } else if (n == 3 && t.date[0].width >= 3) {
    y = t.date[0].value;
    m = t.date[1].value;
    d = t.date[2].value;
  } else if (n == 3) {
    for (int k = 0; k < 3; ++k) {
      const char key = settings.dateOrder[static_cast<std::size_t>(k)];
      const int v = t.date[k].value;
      if (key == 'y') y = t.date[k].width <= 2 ? TwoDigitYear(v) : v;
      if (key == 'm') m = v;
      if (key == 'd') d = v;
    }
  } else if (n == 2) {
    y = CurrentYear();
    const bool dayFirst = settings.dateOrder.find('d') < settings.dateOrder.find('m');
    d = t.date[dayFirst ? 0 : 1].value;
    m = t.date[dayFirst ? 1 : 0].value;
  } else {
    return false;
  }
  // A day/month pair that only fits the other way round, as the automation reads it.
  return SerialFromDate(y, m, d, serial) || SerialFromDate(y, d, m, serial);
}

// The time of day as a fraction of a day; hours count to 12 when a day half was given.
std::optional<double> TimeOfTokens(const DateTextTokens& t) {
  int h = t.time[0];
  if (t.half != 0) {
    if (h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (t.half == 2 ? 12 : 0);
  }
  if (h > 23 || t.time[1] > 59 || t.time[2] > 59) return std::nullopt;
  return (h * 3600 + t.time[1] * 60 + t.time[2]) / 86400.0;
}

}  // namespace

std::optional<double> ParseNumberText(std::string_view text, const RegionalSettings& settings) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::size_t end = text.size();
  while (end > i && IsBlank(text[end - 1])) --end;
  std::string plain;
  plain.reserve(end - i + 1);
  if (i < end && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  bool digits = false;
  bool point = false;
  while (i < end) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      plain += c;
      digits = true;
      ++i;
    } else if (!point && StartsWith(text, i, settings.decimalSymbol)) {
      plain += '.';
      point = true;
      i += settings.decimalSymbol.size();
    } else if (!point && digits && StartsWith(text, i, settings.groupingSymbol)) {
      i += settings.groupingSymbol.size();
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == '-' || text[i] == '+')) plain += text[i++];
    bool exponentDigits = false;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
      plain += text[i++];
      exponentDigits = true;
    }
    if (!exponentDigits) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || ptr != plain.data() + plain.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseDateText(std::string_view text, const RegionalSettings& settings) {
  std::optional<DateTextTokens> tokens = ScanDateText(text, settings);
  if (!tokens) return std::nullopt;
  double serial = 0;
  if ((tokens->dateCount > 0 || tokens->month != 0) && !DayOfTokens(*tokens, settings, serial))
    return std::nullopt;
  if (tokens->timeCount == 1 && tokens->half == 0) return std::nullopt;
  if (tokens->timeCount > 0 || tokens->half != 0) {
    std::optional<double> time = TimeOfTokens(*tokens);
    if (!time) return std::nullopt;
    serial = serial < 0 ? serial - *time : serial + *time;
  }
  return serial;
}

}  // namespace vn::format
