// The DataTypeEnum codes of ADO that columns carry, and what kinds of value they stand for.
#pragma once

namespace vn::data {

// DataTypeEnum codes the system relies on.
enum DataType : int {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adBoolean = 11,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18,
  adUnsignedInt = 19,
  adBigInt = 20,
  adUnsignedBigInt = 21,
  adGUID = 72,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adChapter = 136,
  adVarNumeric = 139,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
};

// A whole number of any width, signed or not.
constexpr bool IsWholeNumberType(int type) {
  switch (type) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
      return true;
    default:
      return false;
  }
}

// A number: a whole one, a floating one, an amount or an exact decimal.
constexpr bool IsNumberType(int type) {
  switch (type) {
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
    case adVarNumeric:
      return true;
    default:
      return IsWholeNumberType(type);
  }
}

// A date, a time of day or both.
constexpr bool IsDateType(int type) {
  return type == adDate || type == adDBDate || type == adDBTime || type == adDBTimeStamp;
}

}  // namespace vn::data
