// PageCapture: waits until a view's page and all its images are complete, then writes the view
// as a PNG. Used by --screenshot and by the tests to know when a page is ready.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QWebEngineView;

namespace vn::kontakt {

class PageCapture final : public QObject {
  Q_OBJECT

 public:
  // JavaScript that is true when the document and every image in it are complete.
  static const char kCompleteScript[];

  explicit PageCapture(QWebEngineView* view, QObject* parent = nullptr);

  // Writes the PNG to `path` once the current load is complete (or at once when it is);
  // emits Done with false and a reason when the page fails or the file cannot be written.
  void SaveWhenComplete(const QString& path);

 signals:
  void Done(bool ok, const QString& problem);

 private:
  void Poll();

  QWebEngineView* view_;
  QString path_;
  QTimer poll_;
  bool loading_ = true;
};

}  // namespace vn::kontakt
