// ConnectionProbe: opens a connection string and closes it again, to tell whether it works
// (the connection button and the data-link dialog's test). The real one goes through the data
// access layer's Connection, read only, as a page opens it.
#pragma once

#include <memory>
#include <string>

namespace vn::config {

class ConnectionProbe {
 public:
  virtual ~ConnectionProbe() = default;
  // Opens and closes; throws vn::RuntimeError with the provider's number and description.
  virtual void Probe(const std::string& connectionString) = 0;
};

// The probe through vn::data::Connection.
std::unique_ptr<ConnectionProbe> MakeDataConnectionProbe();

}  // namespace vn::config
