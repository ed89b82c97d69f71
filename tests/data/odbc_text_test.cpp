// The UTF-16 text every statement goes to the ODBC driver manager in, and back.
#include "data/odbc_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn::data {
namespace {

std::vector<unsigned> Units(const OdbcText& text) { return {text.begin(), text.end()}; }

TEST(OdbcTextTest, Utf8BecomesUtf16UnitForUnitWithSurrogatesAndReplacements) {
  struct Case {
    const char* what;
    std::string utf8;
    std::vector<unsigned> units;
  };
  const std::vector<Case> cases = {
      {"nothing", "", {}},
      {"ASCII", "SELECT 1;", {0x53, 0x45, 0x4C, 0x45, 0x43, 0x54, 0x20, 0x31, 0x3B}},
      {"a NUL inside", std::string("a\0b", 3), {0x61, 0x00, 0x62}},
      {"two bytes", "M\xC3\xBC" "ller", {0x4D, 0xFC, 0x6C, 0x6C, 0x65, 0x72}},
      {"three bytes", "\xE2\x82\xAC" "5", {0x20AC, 0x35}},
      {"four bytes, a surrogate pair", "x\xF0\x9F\x98\x80y", {0x78, 0xD83D, 0xDE00, 0x79}},
      {"a lone continuation byte", "a\x80z", {0x61, 0xFFFD, 0x7A}},
      {"a sequence cut off at the end", "ab\xE2\x82", {0x61, 0x62, 0xFFFD, 0xFFFD}},
      {"an overlong form", "\xC0\xAF!", {0xFFFD, 0xFFFD, 0x21}},
      {"an encoded surrogate", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Units(ToOdbcText(c.utf8)), c.units);
  }
}

TEST(OdbcTextTest, ValidTextComesBackAsItWent) {
  for (const std::string& text :
       {std::string("SELECT 'K\xC3\xA4se' AS \"\xE2\x82\xAC\""), std::string("\xF0\x9F\x98\x80"),
        std::string(300, 'q') + "\xC3\x9F"}) {
    const OdbcText wide = ToOdbcText(text);
    EXPECT_EQ(FromOdbcText(wide.data(), wide.size()), text);
  }
}

}  // namespace
}  // namespace vn::data
