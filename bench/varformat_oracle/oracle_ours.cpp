// Linux side of the formatter oracle: the same "kind<TAB>value<TAB>pattern" lines through
// our VarFormat under the regional settings of the locale variables, written as
// "OK<TAB>text" or "ERR<TAB>number".
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/runtime_error.h"
#include "render/regional_settings.h"
#include "render/value_format.h"

int main() {
  const vn::RegionalSettings& settings = vn::CurrentRegionalSettings();
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t t1 = line.find('\t');
    std::size_t t2 = t1 == std::string::npos ? std::string::npos : line.find('\t', t1 + 1);
    if (t2 == std::string::npos) {
      std::cout << "ERR\tbad line\n";
      continue;
    }
    std::string kind = line.substr(0, t1);
    std::string value = line.substr(t1 + 1, t2 - t1 - 1);
    std::string pattern = line.substr(t2 + 1);
    vn::data::Variant v;
    if (kind == "R8") {
      v = vn::data::Variant(std::strtod(value.c_str(), nullptr));
    } else if (kind == "I4") {
      v = vn::data::Variant(static_cast<std::int64_t>(std::strtol(value.c_str(), nullptr, 10)));
    } else if (kind == "CY") {
      v = vn::data::Variant(vn::data::Currency{std::strtoll(value.c_str(), nullptr, 10)});
    } else if (kind == "DATE") {
      v = vn::data::Variant(vn::data::Date{std::strtod(value.c_str(), nullptr)});
    } else if (kind == "BOOL") {
      v = vn::data::Variant(value == "1");
    } else if (kind == "NULL") {
      v = vn::data::Variant(vn::data::Null{});
    } else {
      v = vn::data::Variant(value);
    }
    try {
      std::string result = vn::VarFormat(v, pattern, 1, 1, settings);
      for (char& c : result) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      }
      std::cout << "OK\t" << result << '\n';
    } catch (const vn::RuntimeError& e) {
      std::cout << "ERR\t" << e.Number() << '\n';
    }
  }
  return 0;
}
