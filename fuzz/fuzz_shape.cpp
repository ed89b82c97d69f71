// Fuzzes the SHAPE command parser: any text either parses or fails with a RuntimeError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/shape_parser.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    (void)vn::data::ParseShape(text);
    (void)vn::data::ParseShape("SHAPE " + text);
  } catch (const vn::RuntimeError&) {
    // A refused command is an expected outcome of fuzzed text.
  }
  return 0;
}
