// Texts exchanged with the ODBC driver manager: UTF-8 to UTF-16 and back (the wide-character
// calls, which every driver manager converts for drivers without them), and the diagnostics
// that a handle holds after a failed call.
#pragma once

#ifdef _WIN32
#include <windows.h>  // Windows' ODBC headers rest on its types
#endif
#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <string>

namespace vn::data {

using OdbcText = std::basic_string<SQLWCHAR>;

// Undecodable UTF-8 becomes U+FFFD.
OdbcText ToOdbcText(const std::string& utf8);
// `length` UTF-16 units; a lone surrogate becomes U+FFFD.
std::string FromOdbcText(const SQLWCHAR* text, std::size_t length);

// "[SQLSTATE] message" of every diagnostic record of the handle; where the driver left none,
// which call failed, so that the reader knows where to look.
std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const char* call);

// The first diagnostic record's SQLSTATE; empty when there is none.
std::string OdbcState(SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace vn::data
