#include "data/odbc_text.h"

#include <algorithm>

#include "platform/codepage.h"

namespace vn::data {

OdbcText ToOdbcText(const std::string& utf8) {
  // Every code point takes at least as many bytes in UTF-8 as units in UTF-16 (four bytes for a
  // surrogate pair), and a byte that decodes to nothing takes one unit: the text never grows.
  // Statements are mostly ASCII (a pooled session's reset goes ahead of every command), which
  // is copied a byte a unit without decoding.
  OdbcText out(utf8.size(), SQLWCHAR{0});
  size_t units = 0;
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      out[units++] = static_cast<SQLWCHAR>(byte);
      ++pos;
      continue;
    }
    long c = DecodeUtf8(utf8, pos);
    if (c < 0) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      out[units++] = static_cast<SQLWCHAR>(0xD800 + (c >> 10));
      out[units++] = static_cast<SQLWCHAR>(0xDC00 + (c & 0x3FF));
    } else {
      out[units++] = static_cast<SQLWCHAR>(c);
    }
  }
  out.resize(units);
  return out;
}

std::string FromOdbcText(const SQLWCHAR* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    unsigned long c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const char* call) {
  std::string out;
  for (SQLSMALLINT record = 1; record <= 10; ++record) {
    SQLWCHAR state[6] = {};
    SQLWCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc =
        SQLGetDiagRecW(handleType, handle, record, state, &native, message,
                       static_cast<SQLSMALLINT>(sizeof message / sizeof message[0]), &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (!out.empty()) out += " ";
    size_t messageLength = std::min<size_t>(static_cast<size_t>(length), 1023);
    out += "[" + FromOdbcText(state, 5) + "] " + FromOdbcText(message, messageLength);
  }
  if (out.empty()) {
    out = std::string("The ODBC driver gave no reason why ") + call + " failed.";
  }
  return out;
}

std::string OdbcState(SQLSMALLINT handleType, SQLHANDLE handle) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, 1, state, &native, nullptr, 0, &length))) {
    return {};
  }
  return FromOdbcText(state, 5);
}

}  // namespace vn::data
