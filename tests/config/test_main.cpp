// The tests' main: a private environment (home, config, runtime and temporary folders, locale)
// and one QApplication on the offscreen platform for all tests.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  char pattern[] = "/tmp/vn-config-test-XXXXXX";
  const std::string root = mkdtemp(pattern);
  for (const char* sub : {"home", "config", "runtime", "tmp"})
    std::filesystem::create_directories(root + "/" + sub);
  std::filesystem::permissions(root + "/runtime", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  setenv("VARNOLIS_ACT", (root + "/act.json").c_str(), 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("LANG", "C.UTF-8", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  std::filesystem::remove_all(root);
  return result;
}
