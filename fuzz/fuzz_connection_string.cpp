// Fuzzes the connection-string parser, its OLE DB and ODBC writers, the reading of the
// connection's options (mode, timeouts) and the mapping of the SQL Server and Access providers
// to ODBC: no input may crash, whatever parses must read back the same through Text(), the
// mapped ODBC strings name their driver first, and the masked form shows no password value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/connect_options.h"
#include "data/connection_string.h"
#include "data/odbc_routes.h"
#include "platform/password_mask.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace {

bool IsPasswordKey(const std::string& key) {
  const std::string k = vn::LowerAscii(key);
  return k == "pwd" || k == "password";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    vn::data::ConnectionString cs(text);
    (void)cs.OdbcText();
    vn::data::ConnectionString again(cs.Text());
    if (again.Pairs().size() != cs.Pairs().size()) std::abort();
    for (size_t i = 0; i < cs.Pairs().size(); ++i) {
      // Keys and values keep what they hold, except blanks that the syntax trims from keys.
      if (again.Pairs()[i].second != cs.Pairs()[i].second) std::abort();
    }
  } catch (const vn::RuntimeError&) {
    return 0;  // not a connection string: the parser says where
  }
  try {
    // Both systems' mappings name the driver first, whatever the pairs hold.
    vn::data::ConnectionString pairs(text);
    const std::vector<std::string> drivers = {"FreeTDS", "ODBC Driver 18 for SQL Server",
                                              "Microsoft Access Driver (*.mdb)"};
    for (auto system : {vn::data::OdbcSystem::kLinux, vn::data::OdbcSystem::kWindows}) {
      const std::string odbc =
          vn::data::SqlServerOdbcPairs(pairs, pairs.Get("Provider"), system, drivers, "")
              .OdbcText();
      if (odbc.rfind("Driver=", 0) != 0) std::abort();
    }
    const std::string access =
        vn::data::AccessOdbcPairs(pairs, pairs.Get("Data Source"), false, true, drivers).OdbcText();
    if (access.find(";ReadOnly=1;") == std::string::npos) std::abort();
  } catch (const vn::RuntimeError&) {
    // Unparsable input was seen above; the mappings themselves refuse nothing with drivers.
  }
  try {
    // The options are taken out of the pairs (or refused with a RuntimeError).
    vn::data::ConnectionString options(text);
    (void)vn::data::TakeConnectOptions(options, 0);
    if (options.Has("Connect Timeout") || options.Has("Command Timeout")) std::abort();
  } catch (const vn::RuntimeError&) {
    // A timeout that is no number of seconds is refused; that is the expected outcome.
  }
  try {
    // Whatever the masked text still holds as pairs, no password value shows in it.
    const vn::data::ConnectionString masked(vn::MaskPasswords(text));
    for (const auto& [key, value] : masked.Pairs()) {
      if (IsPasswordKey(key) && !value.empty() && value != "***") std::abort();
    }
  } catch (const vn::RuntimeError&) {
    // A password in braces is masked whole, which may leave text the syntax refuses; nothing of
    // the password is in it.
  }
  return 0;
}
