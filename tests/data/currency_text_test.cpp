// Currency values read from drivers' texts: scaled to four places with 64-bit arithmetic only
// (32-bit Windows has no wider integer), rounded half away from zero on the fifth place.
#include <gtest/gtest.h>

#include <cstdint>

#include "data/sql_values.h"

namespace vn::data {
namespace {

std::optional<std::int64_t> Scaled(std::string_view text) {
  auto value = ParseCurrency(text);
  if (!value) return std::nullopt;
  return value->scaled;
}

TEST(CurrencyTextTest, ScaledToFourPlacesAndRoundedOnTheFifth) {
  EXPECT_EQ(Scaled("1234.56"), 12345600);
  EXPECT_EQ(Scaled("$1,234.5"), 12345000);
  EXPECT_EQ(Scaled("(12.34)"), -123400);
  EXPECT_EQ(Scaled("-0.00005"), -1);
  EXPECT_EQ(Scaled("1.00004999"), 10000);
  EXPECT_EQ(Scaled("0.123456789012345678901234567890123456789"), 1235);
  EXPECT_EQ(Scaled("7"), 70000);
}

TEST(CurrencyTextTest, TheLargestValueFitsAndOneMoreDoesNot) {
  EXPECT_EQ(Scaled("922337203685477.5807"), INT64_MAX);
  EXPECT_EQ(Scaled("922337203685477.58069"), INT64_MAX);
  EXPECT_EQ(Scaled("922337203685477.5808"), std::nullopt);
  EXPECT_EQ(Scaled("922337203685477.58075"), std::nullopt);  // rounds beyond
  EXPECT_EQ(Scaled("99999999999999999999"), std::nullopt);
  EXPECT_EQ(Scaled("abc"), std::nullopt);
}

}  // namespace
}  // namespace vn::data
