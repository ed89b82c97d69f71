// Failures of the host itself: they show as a readable page (and on standard error), never as
// an empty view.
#include <stdlib.h>

#include <QDir>
#include <QWebEngineView>
#include <filesystem>

#include "kontakt/browser.h"
#include "kontakt/start_url.h"
#include "tests/kontakt/kontakt_fixture.h"

namespace vn::kontakt::test {
namespace {

const QString kBodyText = QStringLiteral("document.body.innerText");

TEST_F(KontaktTest, StartThatFailsShowsItsCode) {
  // No temporary page file can be made: the library's Start fails.
  const std::string tmp = getenv("TMPDIR");
  setenv("TMPDIR", (g_root + "/missing").c_str(), 1);
  const bool loaded = Load("varnolis://test");
  setenv("TMPDIR", tmp.c_str(), 1);
  ASSERT_TRUE(loaded);
  const QString text = Js(kBodyText).toString();
  EXPECT_TRUE(text.contains("The page cannot be displayed")) << text.toStdString();
  EXPECT_TRUE(text.contains("varnolis://test")) << text.toStdString();
  EXPECT_TRUE(text.contains("The request failed to start: 0x800C0008")) << text.toStdString();
}

TEST(KontaktHostErrors, MissingLibraryShowsReadablePageForEveryRequest) {
  const QString folder = QString::fromStdString(g_root + "/empty-program-folder");
  std::filesystem::create_directories(folder.toStdString());
  Browser browser(folder);
  {
    KontaktWindow window(browser.Profile(), StandinFilePath());
    window.show();
    for (const char* url : {"varnolis://rubrik/Start", "varnolis://info"}) {
      ASSERT_TRUE(LoadComplete(window, QUrl(url))) << url;
      const QString text = Js(window, kBodyText).toString();
      EXPECT_TRUE(text.contains("The page cannot be displayed")) << text.toStdString();
      EXPECT_TRUE(text.contains("The Varnolis library cannot be loaded")) << text.toStdString();
      EXPECT_TRUE(text.contains("libvarnolis.so")) << text.toStdString();
    }
  }
}

}  // namespace
}  // namespace vn::kontakt::test
