#include "data/connect_options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "data/errors.h"
#include "platform/text.h"

namespace vn::data {

namespace {

bool AsksReadOnly(const std::string& mode) {
  for (const std::string& part : Split(mode, "|")) {
    if (EqualsIgnoringCase(TrimSpaces(part), "Read")) return true;
  }
  return false;
}

[[noreturn]] void NotA(const char* key, const char* what, const std::string& text) {
  throw RuntimeError(
      kErrInvalidArgument,
      std::string("The connection string's ") + key + " is not " + what + ": '" + text + "'.",
      "Connection.Open");
}

// The seconds of the pair `key`, or `fallback` when it is absent.
int TakeSeconds(ConnectionString& cs, const char* key, int fallback) {
  if (!cs.Has(key)) return fallback;
  const std::string text = TrimSpaces(cs.Get(key));
  cs.Remove(key);
  char* end = nullptr;
  errno = 0;
  const long seconds = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || seconds < 0 || seconds > INT_MAX / 1000) {
    NotA(key, "a number of seconds", text);
  }
  return static_cast<int>(seconds);
}

// ADO's `OLE DB Services`: a mask of services; bit 1 (DBPROPVAL_OS_RESOURCEPOOLING) is the
// pool, so -1 keeps it and -2, -4, -6 and 0 turn it off.
bool TakeServicesPooling(ConnectionString& cs, bool fallback) {
  if (!cs.Has("OLE DB Services")) return fallback;
  const std::string text = TrimSpaces(cs.Get("OLE DB Services"));
  cs.Remove("OLE DB Services");
  char* end = nullptr;
  errno = 0;
  const long services = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0) NotA("OLE DB Services", "a number", text);
  return (services & 1) != 0;
}

// ADO.NET's `Pooling=true|false` (yes/no and 1/0 as well).
bool TakePooling(ConnectionString& cs, bool fallback) {
  if (!cs.Has("Pooling")) return fallback;
  const std::string text = LowerAscii(TrimSpaces(cs.Get("Pooling")));
  cs.Remove("Pooling");
  if (text == "true" || text == "yes" || text == "1") return fallback;
  if (text == "false" || text == "no" || text == "0") return false;
  NotA("Pooling", "true or false", text);
}

}  // namespace

ConnectOptions TakeConnectOptions(ConnectionString& connectionString, int mode) {
  ConnectOptions options;
  options.readOnly = mode == adModeRead || AsksReadOnly(connectionString.Get("Mode"));
  options.connectTimeout = TakeSeconds(connectionString, "Connect Timeout", options.connectTimeout);
  options.commandTimeout = TakeSeconds(connectionString, "Command Timeout", options.commandTimeout);
  // Both pairs are read (and removed) whatever the other says: either one turns pooling off.
  const bool services = TakeServicesPooling(connectionString, true);
  options.pooling = TakePooling(connectionString, services);
  return options;
}

}  // namespace vn::data
