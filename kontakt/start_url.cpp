#include "kontakt/start_url.h"

#include <QFileInfo>

#include <exception>

#include "data/connect_mode.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "platform/config_names.h"
#include "platform/joined_literal.h"
#include "platform/registry.h"
#include "platform/settings.h"

namespace vn::kontakt {

namespace {

// The rubrics in their rank, the first of which the tab opens without a start page.
constexpr auto kFirstRubricSql = JoinLiterals("SELECT ", configdb::kRubrik, " FROM ",
                                              configdb::kRubriken, " ORDER BY ", configdb::kRang);

}  // namespace

QUrl UrlFromUserText(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.startsWith(QStringLiteral("varnolis:"), Qt::CaseInsensitive)) {
    return QUrl(trimmed);
  }
  return QUrl::fromUserInput(trimmed, QString(), QUrl::AssumeLocalFile);
}

QString FirstRubric(const QString& programFolder) {
  try {
    data::Connection connection;
    connection.SetMode(data::adModeRead);
    connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                    (programFolder + QStringLiteral("/databases/config.mdb")).toStdString() + ";");
    data::Recordset rubrics;
    rubrics.Open(kFirstRubricSql.data(), connection, data::adOpenForwardOnly, data::adLockReadOnly,
                 -1);
    if (rubrics.Eof()) return {};
    const data::Variant value = rubrics.Fields(0).Value();
    if (!value.Is<std::string>()) return {};
    return QString::fromStdString(value.As<std::string>());
  } catch (const std::exception&) {
    // No readable configuration: the caller falls back to the library's own answer.
    return {};
  }
}

QUrl StartUrl(const QString& programFolder) {
  const QString netLinks = QString::fromStdString(RegistryValueText(RegistryGetKeyValue(
      RegistryRoot::kCurrentUser, "Software\\Symantec\\ACT!", "NetLinks File Type")));
  if (!netLinks.isEmpty()) {
    const QFileInfo page(netLinks + QStringLiteral("/Varnolis.htm"));
    if (page.isFile()) return QUrl::fromLocalFile(page.absoluteFilePath());
  }
  return QUrl(QStringLiteral("varnolis://rubrik/") + FirstRubric(programFolder));
}

QString StandinFilePath() {
  const QString env = qEnvironmentVariable("VARNOLIS_ACT");
  if (!env.isEmpty()) return env;
  return QString::fromStdString(UserConfigFolder()) + QStringLiteral("/act.json");
}

}  // namespace vn::kontakt
