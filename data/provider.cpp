#include "data/provider.h"

#include "data/errors.h"
#include "data/odbc_drivers.h"
#include "data/odbc_routes.h"
#include "data/recordset.h"
#include "platform/text.h"

namespace vn::data {

std::unique_ptr<Cursor> Provider::Open(const std::string& command) {
  auto runner = Command(command);
  return MakeStreamingCursor(runner->Run(), runner);
}

std::optional<UpdateTarget> Provider::UpdateTargetOf(const std::string& /*command*/) {
  return std::nullopt;
}

long RecordStatusOfWriteError(long errorNumber) {
  switch (errorNumber) {
    case kErrIntegrityViolation:
      return adRecIntegrityViolation;
    case kErrConcurrency:
      return adRecConcurrencyViolation;
    case kErrCantConvert:
      return adRecSchemaViolation;
    default:
      return adRecCantRelease;  // locked or not writable
  }
}

namespace {

// The row provider named by `provider` (empty: ODBC, as ADO defaults to MSDASQL).
std::unique_ptr<Provider> OpenRowProvider(const std::string& provider, const ConnectionString& cs,
                                          const std::string& userId, const std::string& password,
                                          const ConnectOptions& options) {
  if (IsJetProvider(provider)) return OpenJetProvider(cs, userId, password, options);
  if (EqualsIgnoringCase(provider, "SQLite")) return OpenSqliteProvider(cs, false, options);
  if (IsSqlServerProvider(provider)) {
    return OpenOdbcProvider(
        SqlServerOdbcPairs(cs, provider, kThisOdbcSystem, InstalledOdbcDrivers(), FreeTdsLibrary()),
        userId, password, options);
  }
  if (provider.empty() || LowerAscii(provider).rfind("msdasql", 0) == 0) {
    if (!cs.Has("DSN") && !cs.Has("Driver") && !cs.Has("FILEDSN") && !cs.Has("Data Source") &&
        !cs.Has("Extended Properties")) {
      throw RuntimeError(kErrProviderNotFound,
                         "The connection string names no provider and no ODBC data source "
                         "(Provider=..., DSN=... or Driver=...).",
                         "Connection.Open");
    }
    return OpenOdbcProvider(cs, userId, password, options);
  }
  throw RuntimeError(kErrProviderNotFound, UnknownProviderText(provider), "Connection.Open");
}

}  // namespace

std::unique_ptr<Provider> OpenProvider(const ConnectionString& connectionString,
                                       const std::string& userId, const std::string& password,
                                       int mode) {
  ConnectionString pairs = connectionString;
  const ConnectOptions options = TakeConnectOptions(pairs, mode);
  std::string provider = TrimSpaces(pairs.Get("Provider"));
  if (!EqualsIgnoringCase(provider, "MSDataShape")) {
    return OpenRowProvider(provider, pairs, userId, password, options);
  }
  // The shaping service: `Data X=` keys lose their `Data ` prefix (Data Provider -> Provider,
  // "Data Data Source" stays possible); every other pair goes to the data provider.
  ConnectionString inner;
  std::string dataProvider;
  bool seenProvider = false;
  for (const auto& [key, value] : pairs.Pairs()) {
    if (EqualsIgnoringCase(key, "Provider")) continue;
    if (EqualsIgnoringCase(key, "Data Provider")) {
      if (!seenProvider) dataProvider = TrimSpaces(value);
      seenProvider = true;
      continue;
    }
    inner.Add(key, value);
  }
  if (!seenProvider) {
    throw RuntimeError(kErrProviderFailed,
                       "The data shaping service needs a data provider (Data Provider=...).",
                       "Connection.Open");
  }
  if (EqualsIgnoringCase(dataProvider, "NONE")) {
    throw RuntimeError(kErrFeatureNotAvailable,
                       "Data Provider=NONE (shapes without a data provider) is not supported.",
                       "Connection.Open");
  }
  if (EqualsIgnoringCase(dataProvider, "MSDataShape")) {
    throw RuntimeError(kErrProviderFailed,
                       "The data shaping service cannot be its own data provider.",
                       "Connection.Open");
  }
  if (!dataProvider.empty()) inner.Add("Provider", dataProvider);
  return OpenShapeProvider(OpenRowProvider(dataProvider, inner, userId, password, options));
}

}  // namespace vn::data
