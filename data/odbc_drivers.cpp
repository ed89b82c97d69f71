#include "data/odbc_drivers.h"

#ifdef _WIN32
#include <windows.h>  // Windows' ODBC headers rest on its types
#endif
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "platform/file_io.h"
#include "platform/codepage.h"

namespace vn::data {

namespace {

// An environment handle of ODBC 3, freed when its owner goes.
class OdbcEnvironment {
 public:
  OdbcEnvironment() {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
      env_ = SQL_NULL_HENV;
      return;
    }
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  }
  ~OdbcEnvironment() {
    if (env_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  OdbcEnvironment(const OdbcEnvironment&) = delete;
  OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;
  SQLHENV Get() const { return env_; }

 private:
  SQLHENV env_ = SQL_NULL_HENV;
};

}  // namespace

std::vector<std::string> InstalledOdbcDrivers() {
  std::vector<std::string> names;
  OdbcEnvironment env;
  if (env.Get() == SQL_NULL_HENV) return names;
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
    std::string text;
    for (SQLSMALLINT i = 0; i < nameLength && i < 255; ++i) AppendUtf8(text, name[i]);
    names.push_back(text);
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
