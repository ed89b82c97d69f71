#include "kontakt/browser.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <iostream>

#include "kontakt/scheme_handler.h"

namespace vn::kontakt {

Browser::Browser(const QString& programFolder, QObject* parent)
    : QObject(parent),
      profile_(new QWebEngineProfile(this)),
      handler_(new SchemeHandler(programFolder + QStringLiteral("/libvarnolis.so"), this)) {
  profile_->installUrlSchemeHandler(kScheme, handler_);
  profile_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  profile_->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);

  QFile hooks(programFolder + QStringLiteral("/ResourceHTML/varnolis.js"));
  if (!hooks.open(QIODevice::ReadOnly)) {
    std::cerr << "varnolis-kontakt: " << hooks.fileName().toStdString()
              << " cannot be read: the pages' blocks will not fold\n";
    return;
  }
  QWebEngineScript script;
  script.setName(QStringLiteral("varnolis.js"));
  script.setSourceCode(HookScript(QString::fromUtf8(hooks.readAll())));
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  profile_->scripts()->insert(script);
}

Browser::~Browser() {
  // The profile goes before the handler it uses.
  delete profile_;
}

QString Browser::HookScript(const QString& scriptText) {
  return QStringLiteral("if (location.protocol === 'varnolis:') {\n") + scriptText +
         QStringLiteral("\n}\n");
}

}  // namespace vn::kontakt
