// Converting a configuration database that is not in Varnolis' own format (a real Access file,
// read through the Jet provider, or any ODBC source) into that format: an SQLite file holding
// the configuration tables. Free of any window toolkit; the configuration program asks the
// user and calls it.
#pragma once

#include <functional>
#include <string>

namespace vn::config {

// Where the original of `configPath` is kept after a conversion: "config.mdb" becomes
// "config (Access-Original).mdb" beside it.
std::string KeptOriginalPath(const std::string& configPath);

// Reads the tables Formate, Rubriken, Daten and Zuordnungen through `sourceConnection` (read
// only) and writes them, in the tables `schemaSql` creates, into a new file beside
// `configPath`. Only when every table converted is the file at `configPath` (if any) moved to
// KeptOriginalPath and the new one put in its place. `cancelled`, asked before each table,
// ends the conversion when it answers true. A cancelled or failed conversion removes the new
// file and leaves every other file as it was; it throws RuntimeError with the reason (3712,
// ADO's adErrOperationCancelled, when cancelled).
void ConvertConfigDatabase(const std::string& sourceConnection, const std::string& configPath,
                           const std::string& schemaSql,
                           const std::function<bool()>& cancelled = {});

}  // namespace vn::config
