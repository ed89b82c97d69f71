// The error numbers the data access layer reports in its RuntimeErrors (ADO's ErrorValueEnum
// and the HRESULTs of OLE DB providers, as a caller of ADO would see them).
#pragma once

#include <string>

#include "platform/runtime_error.h"

namespace vn::data {

inline constexpr long kErrInvalidArgument = 3001;        // adErrInvalidArgument
inline constexpr long kErrNoCurrentRecord = 3021;        // adErrNoCurrentRecord
inline constexpr long kErrIllegalOperation = 3219;       // adErrIllegalOperation
inline constexpr long kErrFeatureNotAvailable = 3251;    // adErrFeatureNotAvailable
inline constexpr long kErrItemNotFound = 3265;           // adErrItemNotFound
inline constexpr long kErrObjectClosed = 3704;           // adErrObjectClosed
inline constexpr long kErrProviderNotFound = 3706;       // adErrProviderNotFound
inline constexpr long kErrProviderFailed = -2147467259;  // E_FAIL: open failures of a provider
inline constexpr long kErrCommandFailed = -2147217900;   // DB_E_ERRORSINCOMMAND: bad statement
inline constexpr long kErrTimeout = -2147217871;         // DB_E_ABORTLIMITREACHED: timed out
// Refused writes of UpdateBatch.
inline constexpr long kErrIntegrityViolation = -2147217873;  // DB_E_INTEGRITYVIOLATION
inline constexpr long kErrWriteFailed = -2147467259;         // E_FAIL: locked, read-only, I/O
inline constexpr long kErrConcurrency = -2147217864;         // DB_E_CONCURRENCYVIOLATION
inline constexpr long kErrCantConvert = -2147217913;         // DB_E_CANTCONVERTVALUE

// The sources of the failures whose reason lies outside this program: an ODBC driver (its own
// diagnostics, or a driver that is not installed) and, on Linux, mdbtools' library for Access
// files. Their text is what an administrator needs to act on, so a page shows it.
inline constexpr const char* kSourceOdbc = "ODBC";
inline constexpr const char* kSourceJet = "Jet";

inline bool IsDriverFailure(const RuntimeError& error) {
  return error.Source() == kSourceOdbc || error.Source() == kSourceJet;
}

// The failure of a call that ran longer than the command timeout of `seconds`.
inline RuntimeError CommandTimeoutError(long seconds, const char* source) {
  return RuntimeError(
      kErrTimeout,
      "Query timeout expired (the command ran longer than its " + std::to_string(seconds) + " s).",
      source);
}

}  // namespace vn::data
