#include "data/odbc_text.h"

#include <algorithm>

#include "platform/codepage.h"

namespace vn::data {

OdbcText ToOdbcText(const std::string& utf8) {
  OdbcText out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    long c = DecodeUtf8(utf8, pos);
    if (c < 0) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<SQLWCHAR>(0xD800 + (c >> 10)));
      out.push_back(static_cast<SQLWCHAR>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<SQLWCHAR>(c));
    }
  }
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
