#include "kontakt/kontakt_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLineEdit>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "kontakt/start_url.h"

namespace vn::kontakt {
namespace {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

KontaktWindow::KontaktWindow(QWebEngineProfile* profile, const QString& standinPath,
                             QWidget* parent)
    : QMainWindow(parent),
      view_(new QWebEngineView(this)),
      address_(new QLineEdit(this)),
      watcher_(new QFileSystemWatcher(this)),
      standinPath_(standinPath),
      standinBytes_(FileBytes(standinPath)) {
  setWindowTitle(QStringLiteral("Varnolis"));
  view_->setPage(new QWebEnginePage(profile, view_));
  setCentralWidget(view_);

  QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
  bar->setMovable(false);
  bar->addAction(view_->pageAction(QWebEnginePage::Back));
  bar->addAction(view_->pageAction(QWebEnginePage::Forward));
  bar->addAction(view_->pageAction(QWebEnginePage::Reload));
  bar->addWidget(address_);

  connect(address_, &QLineEdit::returnPressed, this,
          [this] { view_->load(UrlFromUserText(address_->text())); });
  connect(view_, &QWebEngineView::urlChanged, this,
          [this](const QUrl& url) { address_->setText(url.toString()); });
  connect(view_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Varnolis") : title);
  });

  // Editors replace the file rather than write it in place, and a save may come in several
  // events: the folder is watched as well, and the events settle before the file is compared.
  settle_.setSingleShot(true);
  settle_.setInterval(100);
  connect(&settle_, &QTimer::timeout, this, &KontaktWindow::StandinChanged);
  connect(watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
  WatchStandin();
}

// The page is the view's child and goes with it, before the profile that the caller owns.
KontaktWindow::~KontaktWindow() = default;

void KontaktWindow::WatchStandin() {
  const QFileInfo info(standinPath_);
  if (info.exists() && !watcher_->files().contains(standinPath_)) watcher_->addPath(standinPath_);
  if (info.absoluteDir().exists() && watcher_->directories().isEmpty()) {
    watcher_->addPath(info.absolutePath());
  }
}

void KontaktWindow::StandinChanged() {
  WatchStandin();
  QByteArray bytes = FileBytes(standinPath_);
  if (bytes == standinBytes_) return;
  standinBytes_ = std::move(bytes);
  emit StandinReloaded();
  view_->triggerPageAction(QWebEnginePage::Reload);
}

}  // namespace vn::kontakt
