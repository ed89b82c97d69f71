// SchemeHandler: answers the engine's varnolis requests. Pages come from the library (loaded
// beside the program, never linked), one PageStream per request; the stylesheet, scripts and
// images the pages name by their full paths in the program's ResourceHTML folder resolve to
// varnolis URLs on this scheme and are answered from that folder.
#pragma once

#include <QString>
#include <QWebEngineUrlSchemeHandler>

#include <memory>

namespace vn::host {
class Library;
}

namespace vn::kontakt {

inline constexpr char kScheme[] = "varnolis";

class SchemeHandler final : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  // Registers the scheme with the engine; must run before the QApplication exists.
  static void RegisterScheme();

  // Loads the library at `libraryPath`; a library that cannot be loaded is reported on
  // standard error here and as a page for every request.
  SchemeHandler(const QString& libraryPath, QObject* parent = nullptr);
  ~SchemeHandler() override;

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // The library's load error, empty when it is loaded.
  QString LibraryError() const;

 private:
  bool AnswerResource(QWebEngineUrlRequestJob* job);

  std::shared_ptr<const host::Library> library_;
  QString resourceFolder_;
};

}  // namespace vn::kontakt
