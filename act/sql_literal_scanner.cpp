#include "act/sql_literal_scanner.h"

namespace vn {

void SqlLiteralScanner::Feed(char c) {
  const char previous = previous_;
  previous_ = c;
  switch (state_) {
    case State::kCode:
      if (c == '\'') {
        state_ = State::kSingle;
      } else if (c == '"') {
        state_ = doubleQuotedText_ ? State::kDouble : State::kName;
        close_ = '"';
      } else if (c == '[' || c == '`') {
        state_ = State::kName;
        close_ = c == '[' ? ']' : '`';
      } else if (c == '-' && previous == '-') {
        state_ = State::kLineComment;
      } else if (c == '*' && previous == '/') {
        state_ = State::kBlockComment;
        previous_ = '\0';  // "/*/" does not end the comment
      }
      return;
    // A doubled quote inside a literal leaves it and enters it again at once, which is what
    // the escape means.
    case State::kSingle:
      if (c == '\'') state_ = State::kCode;
      return;
    case State::kDouble:
    case State::kName:
      if (c == close_) state_ = State::kCode;
      return;
    case State::kLineComment:
      if (c == '\n' || c == '\r') state_ = State::kCode;
      return;
    case State::kBlockComment:
      if (c == '/' && previous == '*') {
        state_ = State::kCode;
        previous_ = '\0';  // "*/*" does not open another one
      }
      return;
  }
}

ValuePlace SqlLiteralScanner::Place() const {
  switch (state_) {
    case State::kSingle:
      return ValuePlace::kSqlSingleQuoted;
    case State::kDouble:
      return ValuePlace::kSqlDoubleQuoted;
    default:
      return ValuePlace::kSqlCode;
  }
}

}  // namespace vn
