#include "tests/kontakt/kontakt_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "kontakt/browser.h"
#include "kontakt/page_capture.h"
#include "kontakt/start_url.h"

namespace vn::kontakt::test {
namespace {

std::unique_ptr<Browser>& BrowserSlot() {
  static std::unique_ptr<Browser> browser;
  return browser;
}

}  // namespace

Browser& SharedBrowser() {
  if (!BrowserSlot())
    BrowserSlot() = std::make_unique<Browser>(QStringLiteral(VARNOLIS_PROGRAM_DIR));
  return *BrowserSlot();
}

void ReleaseBrowser() { BrowserSlot().reset(); }

QVariant Js(KontaktWindow& window, const QString& script) {
  QVariant result;
  bool done = false;
  QEventLoop loop;
  window.View()->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
    loop.quit();
  });
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  if (!done) loop.exec();
  return result;
}

bool WaitUntil(KontaktWindow& window, const QString& script, int seconds) {
  QDeadlineTimer deadline(seconds * 1000);
  while (!deadline.hasExpired()) {
    if (Js(window, script).toBool()) return true;
    QEventLoop pause;
    QTimer::singleShot(50, &pause, &QEventLoop::quit);
    pause.exec();
  }
  return false;
}

bool LoadComplete(KontaktWindow& window, const QUrl& url) {
  QSignalSpy finished(window.View(), &QWebEngineView::loadFinished);
  window.View()->load(url);
  if (!finished.wait(30000) || !finished.front().front().toBool()) return false;
  return WaitUntil(window, QString::fromLatin1(PageCapture::kCompleteScript));
}

void KontaktTest::SetUp() {
  window_ = std::make_unique<KontaktWindow>(SharedBrowser().Profile(), StandinFilePath());
  window_->resize(1024, 768);
  window_->show();
}

void KontaktTest::TearDown() { window_.reset(); }

}  // namespace vn::kontakt::test
