// ResText: a string-table entry (or a given template text) with its "%s" placeholders filled
// in order, surplus placeholders removed and every " >" closed up to ">". Only the template's
// own placeholders are filled: a value is never searched for more.
#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vn {

// One substitution value in its text form (numbers in decimal).
class ResValue {
 public:
  ResValue(std::string text) : text_(std::move(text)) {}
  ResValue(std::string_view text) : text_(text) {}
  ResValue(const char* text) : text_(text) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) ResValue(T number)
      : text_(std::to_string(number)) {}

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

using ResValues = std::vector<ResValue>;

// The entry's text in the user's language (German entries only exist for ids 301 and up).
// Throws RuntimeError for an id that is not in the table.
std::string ResTemplate(int id);

// Fills `templateText` with `values`, following the table's rules.
std::string FillTemplate(std::string_view templateText, const ResValues& values);

// ResText(id, values) and ResText(id, v1, v2, ...): entry `id` filled with the values.
std::string ResText(int id, const ResValues& values);
// ResText(text, values): the text itself serves as the template.
std::string ResText(std::string_view templateText, const ResValues& values);

inline std::string ResText(int id) { return ResText(id, ResValues{}); }

template <typename... Values>
requires(sizeof...(Values) > 0 && (std::constructible_from<ResValue, Values> && ...)) std::string
    ResText(int id, Values&&... values) {
  return ResText(id, ResValues{ResValue(std::forward<Values>(values))...});
}

template <typename... Values>
requires(std::constructible_from<ResValue, Values>&&...) std::string
    ResText(std::string_view templateText, Values&&... values) {
  return ResText(templateText, ResValues{ResValue(std::forward<Values>(values))...});
}

}  // namespace vn
