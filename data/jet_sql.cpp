#include "data/jet_sql.h"

#include "platform/codepage.h"
#include "platform/unicode_case.h"

namespace vn::data {

std::string TranslateJetSql(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 8);
  size_t i = 0;
  const size_t n = sql.size();
  auto copyDelimited = [&](char close) {
    // Copies from the opening delimiter through its closing one; a doubled closing quote
    // stays inside (SQL's escape). An unterminated one runs to the end; SQLite reports it.
    out += sql[i++];
    while (i < n) {
      char c = sql[i++];
      out += c;
      if (c == close) {
        if (close != ']' && i < n && sql[i] == close) {
          out += sql[i++];
          continue;
        }
        return;
      }
    }
  };
  while (i < n) {
    char c = sql[i];
    if (c == '\'') {
      copyDelimited('\'');
    } else if (c == '[') {
      copyDelimited(']');
    } else if (c == '`') {
      copyDelimited('`');
    } else if (c == '"') {
      out += '\'';
      ++i;
      while (i < n) {
        char d = sql[i++];
        if (d == '"') {
          if (i < n && sql[i] == '"') {
            out += '"';
            ++i;
            continue;
          }
          break;
        }
        if (d == '\'') out += '\'';
        out += d;
      }
      out += '\'';
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

int CompareFoldingCase(void*, int lengthA, const void* a, int lengthB, const void* b) {
  std::string_view x(static_cast<const char*>(a), static_cast<size_t>(lengthA));
  std::string_view y(static_cast<const char*>(b), static_cast<size_t>(lengthB));
  size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    size_t si = i, sj = j;
    long ca = DecodeUtf8(x, i);
    long cb = DecodeUtf8(y, j);
    // Invalid bytes compare by their byte value.
    if (ca < 0) ca = static_cast<unsigned char>(x[si]);
    if (cb < 0) cb = static_cast<unsigned char>(y[sj]);
    unsigned long fa = FoldCodePoint(static_cast<unsigned long>(ca));
    unsigned long fb = FoldCodePoint(static_cast<unsigned long>(cb));
    if (fa != fb) return fa < fb ? -1 : 1;
  }
  if (i < x.size()) return 1;
  if (j < y.size()) return -1;
  return 0;
}

}  // namespace vn::data
