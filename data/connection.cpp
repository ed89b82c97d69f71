#include "data/connection.h"

#include "data/connection_string.h"
#include "data/errors.h"
#include "data/provider.h"

namespace vn::data {

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::SetConnectionString(const std::string& connectionString) {
  connectionString_ = connectionString;
}

std::string Connection::ConnectionString() const { return connectionString_; }

void Connection::SetMode(int mode) { mode_ = mode; }
int Connection::Mode() const { return mode_; }

void Connection::Open(const std::string& connectionString, const std::string& userId,
                      const std::string& password, long /*options*/) {
  if (provider_) {
    throw RuntimeError(kErrIllegalOperation, "The connection is already open.", "Connection.Open");
  }
  if (!connectionString.empty()) connectionString_ = connectionString;
  data::ConnectionString parsed(connectionString_);
  provider_ = OpenProvider(parsed, userId, password, mode_);
}

void Connection::Close() { provider_.reset(); }

bool Connection::IsOpen() const { return provider_ != nullptr; }

Provider& Connection::ProviderSession() const {
  if (!provider_) {
    throw RuntimeError(kErrObjectClosed, "Operation is not allowed when the object is closed.",
                       "Connection");
  }
  return *provider_;
}

}  // namespace vn::data
