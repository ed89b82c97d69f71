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

// The seconds of the pair `key`, or `fallback` when it is absent.
int TakeSeconds(ConnectionString& cs, const char* key, int fallback) {
  if (!cs.Has(key)) return fallback;
  const std::string text = TrimSpaces(cs.Get(key));
  cs.Remove(key);
  char* end = nullptr;
  errno = 0;
  const long seconds = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || seconds < 0 || seconds > INT_MAX / 1000) {
    throw RuntimeError(kErrInvalidArgument,
                       std::string("The connection string's ") + key +
                           " is not a number of "
                           "seconds: '" +
                           text + "'.",
                       "Connection.Open");
  }
  return static_cast<int>(seconds);
}

}  // namespace

ConnectOptions TakeConnectOptions(ConnectionString& connectionString, int mode) {
  ConnectOptions options;
  options.readOnly = mode == adModeRead || AsksReadOnly(connectionString.Get("Mode"));
  options.connectTimeout = TakeSeconds(connectionString, "Connect Timeout", options.connectTimeout);
  options.commandTimeout = TakeSeconds(connectionString, "Command Timeout", options.commandTimeout);
  return options;
}

}  // namespace vn::data
