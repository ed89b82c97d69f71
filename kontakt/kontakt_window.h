// KontaktWindow: the contact tab. A browser view with back, forward, reload and an address
// line; it reloads the current page whenever the ACT! stand-in file changes, as the contact
// manager's tab shows the new contact's data.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QString>
#include <QTimer>

class QFileSystemWatcher;
class QLineEdit;
class QWebEngineProfile;
class QWebEngineView;

namespace vn::kontakt {

class KontaktWindow final : public QMainWindow {
  Q_OBJECT

 public:
  KontaktWindow(QWebEngineProfile* profile, const QString& standinPath, QWidget* parent = nullptr);
  ~KontaktWindow() override;

  QWebEngineView* View() const { return view_; }
  QLineEdit* AddressLine() const { return address_; }

 signals:
  // The stand-in changed and the current page is being reloaded.
  void StandinReloaded();

 private:
  void WatchStandin();
  void StandinChanged();

  QWebEngineView* view_;
  QLineEdit* address_;
  QFileSystemWatcher* watcher_;
  QString standinPath_;
  QByteArray standinBytes_;
  QTimer settle_;
};

}  // namespace vn::kontakt
