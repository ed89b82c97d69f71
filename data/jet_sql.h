// What the Jet provider needs on top of SQLite to read Jet's SQL as Jet does: double-quoted
// texts are literals, and text compares without regard to case for every letter.
#pragma once

#include <string>
#include <string_view>

namespace vn::data {

// Rewrites every "..." literal (outside '...' literals, [...] and `...` names) as a
// single-quoted SQLite literal with the same content.
std::string TranslateJetSql(std::string_view sql);

// Collation function (sqlite3_create_collation) comparing UTF-8 texts after full Unicode
// case folding, so that "Übersicht" equals "übersicht".
int CompareFoldingCase(void* unused, int lengthA, const void* a, int lengthB, const void* b);

}  // namespace vn::data
