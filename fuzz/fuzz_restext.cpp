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
  // The template's placeholders take the values in order, each value whole: nothing inside a
  // value is filled or removed, so one without a blank or ">" (which the " >" rule may close
  // up) stands in the text as given.
  size_t placeholders = 0;
  for (size_t at = templateText.find("%s"); at != std::string::npos;
       at = templateText.find("%s", at + 2)) {
    ++placeholders;
  }
  for (size_t i = 0; i < values.size() && i < placeholders; ++i) {
    const std::string& value = values[i].Text();
    if (value.find_first_of(" >") == std::string::npos && text.find(value) == std::string::npos) {
      std::abort();
    }
  }
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
