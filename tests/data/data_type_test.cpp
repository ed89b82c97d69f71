// The kinds of value the column types stand for (every code the layer knows, each kind once),
// and whole numbers read from text as the providers and the client cursor read them.
#include <gtest/gtest.h>

#include <cstdint>

#include "data/data_type.h"
#include "data/sql_values.h"

namespace vn::data {
namespace {

TEST(DataTypeTest, EachCodeIsOfTheKindsItStandsFor) {
  struct Case {
    DataType type;
    bool whole, number, date;
  };
  const Case cases[] = {
      {adEmpty, false, false, false},
      {adSmallInt, true, true, false},
      {adInteger, true, true, false},
      {adSingle, false, true, false},
      {adDouble, false, true, false},
      {adCurrency, false, true, false},
      {adDate, false, false, true},
      {adBSTR, false, false, false},
      {adBoolean, false, false, false},
      {adDecimal, false, true, false},
      {adTinyInt, true, true, false},
      {adUnsignedTinyInt, true, true, false},
      {adUnsignedSmallInt, true, true, false},
      {adUnsignedInt, true, true, false},
      {adBigInt, true, true, false},
      {adUnsignedBigInt, true, true, false},
      {adGUID, false, false, false},
      {adBinary, false, false, false},
      {adChar, false, false, false},
      {adWChar, false, false, false},
      {adNumeric, false, true, false},
      {adDBDate, false, false, true},
      {adDBTime, false, false, true},
      {adDBTimeStamp, false, false, true},
      {adChapter, false, false, false},
      {adVarNumeric, false, true, false},
      {adVarChar, false, false, false},
      {adLongVarChar, false, false, false},
      {adVarWChar, false, false, false},
      {adLongVarWChar, false, false, false},
      {adVarBinary, false, false, false},
      {adLongVarBinary, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsWholeNumberType(c.type), c.whole) << c.type;
    EXPECT_EQ(IsNumberType(c.type), c.number) << c.type;
    EXPECT_EQ(IsDateType(c.type), c.date) << c.type;
  }
}

TEST(DataTypeTest, WholeNumbersAreReadFromTextWithBlanksAroundAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> value;
  };
  const Case cases[] = {
      {"42", 42},
      {" -7 ", -7},
      {"+3", 3},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775808", std::nullopt},  // one beyond
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
      {"1 2", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWholeNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace vn::data
