#include "data/odbc_drivers.h"

#include <algorithm>

#include "data/odbc_handles.h"
#include "data/odbc_text.h"
#include "platform/file_io.h"

namespace vn::data {

std::vector<std::string> InstalledOdbcDrivers() {
  std::vector<std::string> names;
  const OdbcEnvironment env = OdbcEnvironment::Allocate();
  if (!env) return names;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLWCHAR name[256] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    // The attributes are not wanted; a buffer of one keeps drivers that write them anyway safe.
    SQLWCHAR attributes[1] = {};
    const SQLRETURN rc =
        SQLDriversW(env.Get(), direction, name, 256, &nameLength, attributes, 1, &attributesLength);
    if (!SQL_SUCCEEDED(rc)) break;
    names.push_back(
        FromOdbcText(name, static_cast<size_t>(std::clamp<SQLSMALLINT>(nameLength, 0, 255))));
    direction = SQL_FETCH_NEXT;
  }
  return names;
}

std::string FreeTdsLibrary() {
#ifdef _WIN32
  return {};
#else
  for (const char* folder : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
                             "/usr/lib/i386-linux-gnu/odbc", "/usr/lib/odbc", "/usr/local/lib/odbc",
                             "/usr/lib64", "/usr/local/lib"}) {
    const std::string path = std::string(folder) + "/libtdsodbc.so";
    if (IsRegularFile(path)) return path;
  }
  return {};
#endif
}

}  // namespace vn::data
