// Browser: the engine side shared by the window and the tests: one off-the-record profile with
// the varnolis scheme handler and the page hooks script injected into every varnolis page.
#pragma once

#include <QObject>
#include <QString>

class QWebEngineProfile;

namespace vn::kontakt {

class SchemeHandler;

class Browser final : public QObject {
  Q_OBJECT

 public:
  // `programFolder` holds libvarnolis.so and ResourceHTML/varnolis.js.
  explicit Browser(const QString& programFolder, QObject* parent = nullptr);
  ~Browser() override;

  QWebEngineProfile* Profile() const { return profile_; }
  SchemeHandler* Handler() const { return handler_; }

  // varnolis.js wrapped so that it runs on varnolis pages only.
  static QString HookScript(const QString& scriptText);

 private:
  QWebEngineProfile* profile_;
  SchemeHandler* handler_;
};

}  // namespace vn::kontakt
