#include "kontakt/page_capture.h"

#include <QPixmap>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace vn::kontakt {

const char PageCapture::kCompleteScript[] =
    "document.readyState === 'complete' && "
    "Array.prototype.every.call(document.images, function (i) { return i.complete; })";

PageCapture::PageCapture(QWebEngineView* view, QObject* parent) : QObject(parent), view_(view) {
  poll_.setInterval(100);
  poll_.setSingleShot(true);
  connect(&poll_, &QTimer::timeout, this, &PageCapture::Poll);
  connect(view_, &QWebEngineView::loadStarted, this, [this] { loading_ = true; });
  connect(view_, &QWebEngineView::loadFinished, this, [this](bool ok) {
    loading_ = false;
    if (path_.isEmpty()) return;
    if (!ok) {
      emit Done(false, QStringLiteral("the page did not load: ") + view_->url().toString());
      return;
    }
    poll_.start();
  });
}

void PageCapture::SaveWhenComplete(const QString& path) {
  path_ = path;
  if (!loading_) poll_.start();
}

void PageCapture::Poll() {
  view_->page()->runJavaScript(QString::fromLatin1(kCompleteScript), [this](const QVariant& v) {
    if (!v.toBool()) {
      poll_.start();
      return;
    }
    // One more frame, so that what the engine has laid out is also painted.
    QTimer::singleShot(300, this, [this] {
      if (view_->grab().save(path_, "PNG")) {
        emit Done(true, {});
      } else {
        emit Done(false, path_ + QStringLiteral(": cannot write the PNG"));
      }
    });
  });
}

}  // namespace vn::kontakt
