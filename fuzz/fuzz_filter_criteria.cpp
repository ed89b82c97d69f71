// Feeds arbitrary text to the Find and Filter criteria parser and tests the parsed criteria
// against rows with numbers, texts, dates and NULL.
#include <cstdint>
#include <string>

#include "data/edit_criteria.h"
#include "data/field.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace vn::data;
  static const std::vector<Column> columns = {{"ID", adInteger},
                                              {"Name", adVarWChar},
                                              {"Betrag", adDouble},
                                              {"Datum", adDate},
                                              {"Feld mit Blank", adVarWChar}};
  static const std::vector<Row> rows = {
      {Variant(std::int64_t{1}), Variant("O'Hara"), Variant(2.5), Variant(Date{35633.0}),
       Variant(Null{})},
      {Variant(std::int64_t{-7}), Variant("müller"), Variant(Null{}), Variant(Null{}),
       Variant("x y")},
      {Variant(), Variant(""), Variant(0.0), Variant(Date{0.0}), Variant("12")},
  };
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool single : {true, false}) {
    try {
      Criteria criteria(text, columns, single);
      for (const Row& row : rows) criteria.Matches(row);
    } catch (const vn::RuntimeError&) {
      // A refused criterion is an expected outcome of fuzzed text.
    }
  }
  return 0;
}
