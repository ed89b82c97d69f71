// Fuzzes the connection-string parser and its OLE DB and ODBC writers: no input may crash,
// and whatever parses must read back the same through Text().
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/connection_string.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    vn::data::ConnectionString cs(text);
    (void)cs.OdbcText();
    vn::data::ConnectionString again(cs.Text());
    if (again.Pairs().size() != cs.Pairs().size()) std::abort();
    for (size_t i = 0; i < cs.Pairs().size(); ++i) {
      // Keys and values keep what they hold, except blanks that the syntax trims from keys.
      if (again.Pairs()[i].second != cs.Pairs()[i].second) std::abort();
    }
  } catch (const vn::RuntimeError&) {
  }
  return 0;
}
