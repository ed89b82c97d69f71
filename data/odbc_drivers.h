// What the system's ODBC driver manager has installed, for the providers that pick a driver
// themselves (the SQL Server providers, Access files on Windows).
#pragma once

#include <string>
#include <vector>

namespace vn::data {

// The names of the installed ODBC drivers; empty when the driver manager knows none.
std::vector<std::string> InstalledOdbcDrivers();

// FreeTDS' ODBC driver library in the usual folders, for a system where it is installed but not
// registered with the driver manager; empty when absent (and always on Windows).
std::string FreeTdsLibrary();

}  // namespace vn::data
