// The ODBC connection strings that the OLE DB providers of existing configurations become: the
// SQL Server providers over each system's SQL Server driver, and Jet/ACE files over Windows'
// Access driver. Pure mappings: the installed drivers are passed in, so that both systems'
// mappings can be checked anywhere.
#pragma once

#include <string>
#include <vector>

#include "data/connection_string.h"

namespace vn::data {

enum class OdbcSystem { kLinux, kWindows };

#ifdef _WIN32
inline constexpr OdbcSystem kThisOdbcSystem = OdbcSystem::kWindows;
#else
inline constexpr OdbcSystem kThisOdbcSystem = OdbcSystem::kLinux;
#endif

// Microsoft.Jet.OLEDB.x and Microsoft.ACE.OLEDB.x, any case.
bool IsJetProvider(const std::string& provider);

// SQLOLEDB, SQLOLEDB.1, SQLNCLI, SQLNCLI10, SQLNCLI11, MSOLEDBSQL, MSOLEDBSQL19, any case.
bool IsSqlServerProvider(const std::string& provider);

// The text of Connection.Open's failure for a provider not among those understood.
std::string UnknownProviderText(const std::string& provider);

// The ODBC pairs for the SQL Server provider `provider` with the OLE DB pairs `pairs` (the
// connect options already taken out). `installedDrivers`: the driver names the driver manager
// knows; `freeTdsLibrary`: FreeTDS' driver library where it is installed without being
// registered (Linux only; empty when absent). Throws RuntimeError naming what to install when
// the system has no SQL Server driver.
ConnectionString SqlServerOdbcPairs(const ConnectionString& pairs, const std::string& provider,
                                    OdbcSystem system,
                                    const std::vector<std::string>& installedDrivers,
                                    const std::string& freeTdsLibrary);

// The ODBC pairs for the Access file `path` (an ACE file when `ace`) named by a Jet or ACE
// provider with the OLE DB pairs `pairs`; `readOnly` from the connect options. Throws
// RuntimeError naming what to install when no Access driver that reads the file is installed.
ConnectionString AccessOdbcPairs(const ConnectionString& pairs, const std::string& path, bool ace,
                                 bool readOnly, const std::vector<std::string>& installedDrivers);

}  // namespace vn::data
