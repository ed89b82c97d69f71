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

#include <filesystem>
#include <random>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && ::getenv(name) != nullptr) return 0;
  if (::strcmp(name, "TMPDIR") == 0 && value[0] != '\0') {
    ::_putenv_s("TMP", value);
    ::_putenv_s("TEMP", value);
  }
  return ::_putenv_s(name, value) == 0 ? 0 : -1;
}

// std::filesystem::path::c_str() is wide on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
  return setenv(name, std::filesystem::path(value).string().c_str(), overwrite);
}

inline int unsetenv(const char* name) {
  // An empty value removes the variable (the C runtime's own rule).
  return ::_putenv_s(name, "") == 0 ? 0 : -1;
}

// Replaces the trailing XXXXXX of `pattern` by random letters and digits and makes the folder;
// nullptr when it cannot.
inline char* mkdtemp(char* pattern) {
  static const char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 random(std::random_device{}());
  const size_t length = ::strlen(pattern);
  if (length < 6 || ::strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = length - 6; i < length; ++i) pattern[i] = kCharacters[random() % 36];
    if (::_mkdir(pattern) == 0) return pattern;
  }
  return nullptr;
}

#endif  // _WIN32
