#include "act/value_place.h"

#include "act/numeric_text.h"
#include "platform/text.h"
#include "resources/markup.h"

namespace vn {

bool FitValue(ValuePlace place, std::string& value) {
  switch (place) {
    case ValuePlace::kAsRead:
      return true;
    case ValuePlace::kPageText:
      markup::EscapeHtmlFrom(value, 0);
      return true;
    case ValuePlace::kSqlCode:
      return value.empty() || IsPlainNumber(value);
    case ValuePlace::kSqlSingleQuoted:
      value = ReplaceAll(value, "'", "''");
      return true;
    case ValuePlace::kSqlDoubleQuoted:
      value = ReplaceAll(value, "\"", "\"\"");
      return true;
  }
  return false;
}

}  // namespace vn
