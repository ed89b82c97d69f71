// Test support: the real Jet 4 test database (test/fruit.mdb of the npm package mdb 0.1.0),
// fetched by scripts/fetch-test-access.sh into .deps/access/ (or where
// VARNOLIS_TEST_ACCESS_DIR points), and mdbtools' ODBC driver library.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vn::data::test {

// The test file's path; empty when it has not been fetched.
inline std::string FruitMdb() {
  const char* dir = std::getenv("VARNOLIS_TEST_ACCESS_DIR");
  const std::string path = (dir != nullptr && *dir != '\0')
                               ? std::string(dir) + "/fruit.mdb"
                               : std::string(VARNOLIS_SOURCE_DIR) + "/.deps/access/fruit.mdb";
  return std::filesystem::exists(path) ? path : std::string();
}

// The first library of `name` in the usual ODBC driver folders; empty when none is there.
inline std::string OdbcDriverLibrary(const std::string& name) {
  for (const char* folder : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
                             "/usr/lib/odbc", "/usr/local/lib/odbc"}) {
    const std::string path = std::string(folder) + "/" + name;
    if (std::filesystem::exists(path)) return path;
  }
  return {};
}

// Skips the test where a piece it needs is missing, except in CI (CI set), where it fails.
#define VN_REQUIRE_TEST_PIECE(present, what)                                     \
  do {                                                                           \
    if (!(present)) {                                                            \
      if (std::getenv("CI") != nullptr) FAIL() << (what) << " is missing in CI"; \
      GTEST_SKIP() << (what) << " is missing";                                   \
    }                                                                            \
  } while (false)

}  // namespace vn::data::test
