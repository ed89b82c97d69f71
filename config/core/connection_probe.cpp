#include "config/core/connection_probe.h"

#include "platform/runtime_error.h"

#ifdef VARNOLIS_HAVE_DATA_CONNECTION
#include "data/connect_mode.h"
#include "data/connection.h"
#endif

namespace vn::config {

namespace {

class DataConnectionProbe : public ConnectionProbe {
 public:
  void Probe(const std::string& connectionString) override {
#ifdef VARNOLIS_HAVE_DATA_CONNECTION
    // Opened as a page opens a data entry (read only, through the same providers and their
    // mapping to ODBC drivers), so that what the test accepts is what a page can read.
    vn::data::Connection connection;
    connection.SetMode(vn::data::adModeRead);
    connection.Open(connectionString);
    connection.Close();
#else
    // Built without the data access layer's connections: nothing can be opened.
    throw vn::RuntimeError(3706, "Der Provider für '" + connectionString +
                                     "' ist in diesem Programm nicht verfügbar.");
#endif
  }
};

}  // namespace

std::unique_ptr<ConnectionProbe> MakeDataConnectionProbe() {
  return std::make_unique<DataConnectionProbe>();
}

}  // namespace vn::config
