#include "config/core/field_rules.h"

#include <charconv>

#include "platform/text.h"

namespace vn::config {

std::optional<FieldCorrection> RubricNameRule(const std::string& text, int caret) {
  if (text.find(' ') == std::string::npos) return std::nullopt;
  FieldCorrection fix{text, caret};
  for (char& c : fix.text)
    if (c == ' ') c = '_';
  return fix;
}

std::optional<FieldCorrection> OneLineRule(const std::string& text, int caret) {
  if (text.find_first_of("\r\n") == std::string::npos) return std::nullopt;
  FieldCorrection fix;
  fix.caret = caret;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      if (static_cast<int>(i) + 1 < caret) --fix.caret;
      ++i;
    }
    fix.text += c == '\n' || c == '\r' ? ' ' : c;
  }
  if (fix.caret > static_cast<int>(fix.text.size())) fix.caret = static_cast<int>(fix.text.size());
  return fix;
}

vn::data::Variant NumberValue(const std::string& text) {
  const std::string trimmed = vn::TrimSpaces(text);
  if (trimmed.empty()) return vn::data::Null{};
  long long number = 0;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (*first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error == std::errc() && end == last && first != last)
    return static_cast<std::int64_t>(number);
  return text;
}

}  // namespace vn::config
