// The tests' main: a private environment (home, config, runtime and temporary folders, locale,
// an ACT! stand-in copied from the demo), the varnolis scheme registered and one QApplication
// on the offscreen platform for all tests.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "kontakt/scheme_handler.h"
#include "tests/kontakt/kontakt_fixture.h"

namespace vn::kontakt::test {
std::string g_root;
}

int main(int argc, char** argv) {
  char pattern[] = "/tmp/vn-kontakt-test-XXXXXX";
  const std::string root = mkdtemp(pattern);
  vn::kontakt::test::g_root = root;
  for (const char* sub : {"home", "config", "runtime", "tmp"})
    std::filesystem::create_directories(root + "/" + sub);
  std::filesystem::permissions(root + "/runtime", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  std::filesystem::copy_file(std::string(VARNOLIS_PROGRAM_DIR) + "/databases/demo-act.json",
                             root + "/act.json");
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  setenv("VARNOLIS_ACT", (root + "/act.json").c_str(), 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("LANG", "C.UTF-8", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 1);
  // The engine's sandbox refuses to run as root.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  ::testing::InitGoogleTest(&argc, argv);
  vn::kontakt::SchemeHandler::RegisterScheme();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  vn::kontakt::test::ReleaseBrowser();
  std::filesystem::remove_all(root);
  return result;
}
