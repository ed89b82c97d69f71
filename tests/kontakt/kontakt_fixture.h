// The fixture of the contact tab tests: one browser (engine profile and library) for the whole
// run, a fresh window per test, and waiting helpers that read the page through JavaScript.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <string>

#include "kontakt/kontakt_window.h"

namespace vn::kontakt {
class Browser;
}

namespace vn::kontakt::test {

// The test run's private folder (act.json, config, tmp).
extern std::string g_root;

// The browser on the built program folder, made at first use.
Browser& SharedBrowser();
void ReleaseBrowser();

// Runs `script` in `window`'s page and returns its value.
QVariant Js(KontaktWindow& window, const QString& script);
// Loads `url` and waits until the page and its images are complete; false on a timeout or a
// failed load.
bool LoadComplete(KontaktWindow& window, const QUrl& url);
// Waits until `script` is true in the page; false after `seconds`.
bool WaitUntil(KontaktWindow& window, const QString& script, int seconds = 20);

class KontaktTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QVariant Js(const QString& script) { return test::Js(*window_, script); }
  bool Load(const QString& url) { return LoadComplete(*window_, QUrl(url)); }
  bool WaitUntil(const QString& script) { return test::WaitUntil(*window_, script); }

  std::unique_ptr<KontaktWindow> window_;
};

}  // namespace vn::kontakt::test
