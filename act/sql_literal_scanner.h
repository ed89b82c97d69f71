// SqlLiteralScanner: follows an SQL text written by the administrator, character by character,
// and says whether the current position lies inside a quoted text literal. The ACT! source
// parser asks it where a command stands, so that a value placed outside a literal can be held
// to a number and one placed inside cannot end its literal.
#pragma once

#include "act/value_place.h"

namespace vn {

class SqlLiteralScanner {
 public:
  // `doubleQuotedText`: "..." is a text literal (Jet's dialect); otherwise it quotes a name.
  explicit SqlLiteralScanner(bool doubleQuotedText) : doubleQuotedText_(doubleQuotedText) {}

  // Takes the next character of the SQL text (not of a command's value).
  void Feed(char c);

  // Where a command at the current position stands: kSqlCode, kSqlSingleQuoted or
  // kSqlDoubleQuoted.
  ValuePlace Place() const;

 private:
  enum class State { kCode, kSingle, kDouble, kName, kLineComment, kBlockComment };

  bool doubleQuotedText_;
  State state_ = State::kCode;
  char close_ = '\0';  // the delimiter that ends the current name
  char previous_ = '\0';
};

}  // namespace vn
