// A text joined at compile time from string literals and character-array constants, kept as a
// NUL-terminated array of static storage: for statements made of named parts (the configuration
// database's names) that must stay constants, such as the entries of a constant table.
#pragma once

#include <array>
#include <cstddef>

namespace vn {

// JoinLiterals("SELECT ", kRubrik, " FROM ", kRubriken).data() is "SELECT Rubrik FROM Rubriken".
template <std::size_t... N>
consteval auto JoinLiterals(const char (&... parts)[N]) {
  std::array<char, (N + ... + 1) - sizeof...(N)> joined{};
  std::size_t at = 0;
  const auto append = [&](const char* part, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) joined[at++] = part[i];
  };
  (append(parts, N - 1), ...);
  return joined;
}

}  // namespace vn
