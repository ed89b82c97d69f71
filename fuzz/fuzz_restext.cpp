// libFuzzer target: ResText's filling of templates. The input is split at NUL bytes into a
// template (or a table id) and its values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/runtime_error.h"
#include "resources/res_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  vn::ResValues values;
  std::string templateText;
  size_t start = 0;
  bool first = true;
  while (start <= input.size()) {
    size_t end = input.find('\0', start);
    if (end == std::string::npos) end = input.size();
    std::string piece = input.substr(start, end - start);
    if (first) {
      templateText = piece;
      first = false;
    } else if (values.size() < 16) {
      values.emplace_back(piece);
    }
    start = end + 1;
  }
  const std::string text = vn::ResText(templateText, values);
  // Every placeholder is filled or removed, also those that values or removals bring in.
  if (text.find("%s") != std::string::npos) std::abort();
  // The same values against table entries chosen by the first bytes.
  if (size >= 2) {
    int id = 100 + (data[0] << 8 | data[1]) % 1100;
    try {
      (void)vn::ResText(id, values);
    } catch (const vn::RuntimeError&) {
      // An id outside the table is an expected outcome of fuzzed input.
    }
  }
  return 0;
}
