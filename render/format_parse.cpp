#include "render/format_parse.h"

#include <charconv>
#include <ctime>
#include <string>
#include <vector>

#include "platform/local_time.h"
#include "platform/text.h"
#include "render/format_date.h"

namespace vn::format {
namespace {

bool StartsWith(std::string_view s, std::size_t i, std::string_view prefix) {
  return !prefix.empty() && s.substr(i, prefix.size()) == prefix;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int CurrentYear() {
  return LocalTime(std::time(nullptr)).tm_year + 1900;
}

int MonthByName(std::string_view word, const RegionalSettings& settings) {
  std::string lower = LowerAscii(word);
  for (int m = 0; m < 12; ++m) {
    if (lower == LowerAscii(settings.monthNames[m]) || lower == LowerAscii(settings.monthAbbreviations[m])) return m + 1;
  }
  static const char* const kEnglish[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  if (lower.size() >= 3) {
    for (int m = 0; m < 12; ++m) {
      if (lower.compare(0, 3, kEnglish[m]) == 0) return m + 1;
    }
  }
  return 0;
}

int TwoDigitYear(int y) { return y < 30 ? 2000 + y : 1900 + y; }

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
  struct Number {
    int value;
    int width;
  };
  std::vector<Number> dateNumbers;
  int month = 0;
  int timeParts[3] = {0, 0, 0};
  int timeCount = 0;
  int half = 0;  // 1 AM, 2 PM
  bool anything = false;
  for (std::size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      std::size_t start = i;
      int value = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (i - start < 6) value = value * 10 + (text[i] - '0');
        ++i;
      }
      if (i - start > 5) return std::nullopt;
      anything = true;
      bool inTime = timeCount > 0 || (i < text.size() && text[i] == ':');
      if (inTime) {
        if (timeCount >= 3) return std::nullopt;
        timeParts[timeCount++] = value;
        if (i < text.size() && text[i] == ':') ++i;
      } else {
        dateNumbers.push_back({value, static_cast<int>(i - start)});
      }
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80) {
      std::size_t start = i;
      while (i < text.size() && ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
                                 static_cast<unsigned char>(text[i]) >= 0x80)) {
        ++i;
      }
      std::string word = LowerAscii(text.substr(start, i - start));
      if (word == "am" || word == "a") {
        half = 1;
      } else if (word == "pm" || word == "p") {
        half = 2;
      } else if (int m = MonthByName(word, settings); m != 0 && month == 0) {
        month = m;
      } else {
        return std::nullopt;
      }
      anything = true;
    } else if (c == '-' || c == '/' || c == '.' || c == ',' || IsBlank(c) || text.substr(i, settings.dateSeparator.size()) == settings.dateSeparator) {
      i += (text.substr(i, settings.dateSeparator.size()) == settings.dateSeparator && !settings.dateSeparator.empty())
               ? settings.dateSeparator.size()
               : 1;
    } else {
      return std::nullopt;
    }
  }
  if (!anything) return std::nullopt;

  double serial = 0;
  if (!dateNumbers.empty() || month != 0) {
    int y = 0, m = 0, d = 0;
    std::size_t n = dateNumbers.size();
    if (month != 0) {
      if (n < 1 || n > 2) return std::nullopt;
      m = month;
      d = dateNumbers[0].value;
      y = n == 2 ? dateNumbers[1].value : CurrentYear();
      if (n == 2 && dateNumbers[1].width <= 2) y = TwoDigitYear(y);
    } else if (n == 3) {
      if (dateNumbers[0].width >= 3) {
        y = dateNumbers[0].value;
        m = dateNumbers[1].value;
        d = dateNumbers[2].value;
      } else {
        for (int k = 0; k < 3; ++k) {
          char key = settings.dateOrder[k];
          int v = dateNumbers[k].value;
          if (key == 'y') y = dateNumbers[k].width <= 2 ? TwoDigitYear(v) : v;
          if (key == 'm') m = v;
          if (key == 'd') d = v;
        }
      }
    } else if (n == 2) {
      y = CurrentYear();
      bool dayFirst = settings.dateOrder.find('d') < settings.dateOrder.find('m');
      d = dateNumbers[dayFirst ? 0 : 1].value;
      m = dateNumbers[dayFirst ? 1 : 0].value;
    } else {
      return std::nullopt;
    }
    if (!SerialFromDate(y, m, d, serial)) {
      // A day/month pair that only fits the other way round, as the automation reads it.
      if (!SerialFromDate(y, d, m, serial)) return std::nullopt;
    }
  }
  if (timeCount == 1 && half == 0) return std::nullopt;
  if (timeCount > 0 || half != 0) {
    int h = timeParts[0];
    if (half != 0) {
      if (h < 1 || h > 12) return std::nullopt;
      h = h % 12 + (half == 2 ? 12 : 0);
    }
    if (h > 23 || timeParts[1] > 59 || timeParts[2] > 59) return std::nullopt;
    double time = (h * 3600 + timeParts[1] * 60 + timeParts[2]) / 86400.0;
    serial = serial < 0 ? serial - time : serial + time;
  }
  return serial;
}

}  // namespace vn::format
