// Where an ACT! value is written, and the one rule that makes a value fit there: a value is
// text wherever it goes, so it is written as its place reads text.
#pragma once

#include <string>

namespace vn {

enum class ValuePlace {
  kAsRead,           // a connection string, the administrator's tools: as ACT! holds it
  kPageText,         // a page's text (menu texts, rubric titles and remarks): as HTML text
  kSqlCode,          // an entry's SQL outside every literal (names and comments included)
  kSqlSingleQuoted,  // inside '...'
  kSqlDoubleQuoted,  // inside "..." where the dialect takes it as text (Jet)
};

// Writes `value` as `place` reads it: HTML-escaped in page text, apostrophes doubled inside
// '...', double quotes doubled inside "..." (an apostrophe is plain text there). Outside SQL
// literals a value becomes SQL itself, so only a plain number (or nothing) may stand there:
// false, with `value` unchanged, for anything else.
bool FitValue(ValuePlace place, std::string& value);

}  // namespace vn
