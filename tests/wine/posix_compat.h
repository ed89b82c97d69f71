// The few POSIX calls the test suites use to set up their world (environment variables,
// temporary folders), for the Windows build of the tests. Included in every test source of the
// Windows build by the compiler (-include), so the suites stay one source for both platforms.
// TMPDIR is the tests' name for the temporary folder; Windows takes it from TMP and TEMP, so
// setting or clearing it sets those as well.
#pragma once

#ifdef _WIN32

#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && ::getenv(name) != nullptr) return 0;
  if (::strcmp(name, "TMPDIR") == 0 && value[0] != '\0') {
    ::_putenv_s("TMP", value);
    ::_putenv_s("TEMP", value);
  }
  return ::_putenv_s(name, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) {
  // An empty value removes the variable (the C runtime's own rule).
  return ::_putenv_s(name, "") == 0 ? 0 : -1;
}

// Replaces the trailing XXXXXX of `pattern` and makes the folder; nullptr when it cannot.
inline char* mkdtemp(char* pattern) {
  const std::string original = pattern;
  for (int attempt = 0; attempt < 100; ++attempt) {
    ::strcpy(pattern, original.c_str());
    if (::_mktemp_s(pattern, original.size() + 1) != 0) return nullptr;
    if (::_mkdir(pattern) == 0) return pattern;
  }
  return nullptr;
}

#endif  // _WIN32
