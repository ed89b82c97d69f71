// Where the contact tab starts: the NetLinks start page when the configuration program wrote
// one, else the first rubric; and what the address line makes of typed text.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QWebEngineView>
#include <filesystem>

#include "kontakt/start_url.h"
#include "tests/kontakt/kontakt_fixture.h"

namespace vn::kontakt::test {
namespace {

const QString kProgram = QStringLiteral(VARNOLIS_PROGRAM_DIR);

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString RegistryFile() { return QString::fromStdString(g_root + "/config/Varnolis/registry.ini"); }

// Points the registry stand-in at `netLinks`; removed again at the end of the scope.
class NetLinksSetting {
 public:
  explicit NetLinksSetting(const QString& netLinks) {
    QDir().mkpath(QString::fromStdString(g_root + "/config/Varnolis"));
    ok_ = WriteFile(RegistryFile(),
                    "[HKEY_CURRENT_USER\\Software\\Symantec\\ACT!]\n"
                    "NetLinks File Type=" +
                        netLinks.toUtf8() + "\n");
  }
  ~NetLinksSetting() { QFile::remove(RegistryFile()); }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

TEST(KontaktStartUrl, FirstRubricByRankWithoutStartPage) {
  EXPECT_EQ(FirstRubric(kProgram), "Start");
  EXPECT_EQ(StartUrl(kProgram), QUrl("varnolis://rubrik/Start"));
  // A NetLinks folder without the start page does not count.
  const QString netLinks = QString::fromStdString(g_root + "/netlinks-empty");
  QDir().mkpath(netLinks);
  NetLinksSetting setting(netLinks);
  ASSERT_TRUE(setting.Ok());
  EXPECT_EQ(StartUrl(kProgram), QUrl("varnolis://rubrik/Start"));
}

TEST(KontaktStartUrl, NoConfigurationDatabaseGivesTheLibrarysOwnAnswer) {
  const QString folder = QString::fromStdString(g_root + "/no-database");
  QDir().mkpath(folder);
  EXPECT_EQ(FirstRubric(folder), "");
  EXPECT_EQ(StartUrl(folder), QUrl("varnolis://rubrik/"));
}

TEST(KontaktStartUrl, TypedText) {
  EXPECT_EQ(UrlFromUserText(" varnolis://rubrik/Offene_Posten "),
            QUrl("varnolis://rubrik/Offene_Posten"));
  EXPECT_EQ(UrlFromUserText("/tmp/Varnolis.htm"), QUrl("file:///tmp/Varnolis.htm"));
}

TEST_F(KontaktTest, StartPageInNetLinksLeadsToItsRubric) {
  const QString netLinks = QString::fromStdString(g_root + "/netlinks");
  QDir().mkpath(netLinks);
  // As the configuration program writes it: a file page that moves on to the rubric.
  ASSERT_TRUE(WriteFile(
      netLinks + "/Varnolis.htm",
      "<html>\r\n<head>\r\n<title>Varnolis</title>\r\n<script language=\"JavaScript\">\r\n"
      "function Warte() {\r\n"
      "window.setTimeout(\"GoToURL('parent','varnolis://rubrik/Rechnungen')\",100);\r\n}\r\n"
      "function GoToURL() { \r\n  for (var i=0; i< (GoToURL.arguments.length - 1); i+=2) \r\n"
      "    eval(GoToURL.arguments[i]+\".location='\"+GoToURL.arguments[i+1]+\"'\");\r\n"
      "  return false;\r\n}\r\n</script>\r\n</head>\r\n<body onLoad=\"Warte();return\">\r\n"
      "Starte <a href=\"varnolis://rubrik/Rechnungen\">Varnolis </a>... \r\n</body>\r\n"
      "</html>\r\n"));
  NetLinksSetting setting(netLinks);
  ASSERT_TRUE(setting.Ok());
  const QUrl start = StartUrl(kProgram);
  EXPECT_EQ(start, QUrl::fromLocalFile(netLinks + "/Varnolis.htm"));

  QSignalSpy changed(window_->View(), &QWebEngineView::urlChanged);
  ASSERT_TRUE(Load(start.toString()));
  EXPECT_TRUE(
      WaitUntil("location.href === 'varnolis://rubrik/Rechnungen' && "
                "document.readyState === 'complete' && "
                "document.querySelector('.title1') !== null"))
      << window_->View()->url().toString().toStdString() << "\n"
      << Js("document.documentElement.outerHTML").toString().toStdString();
}

}  // namespace
}  // namespace vn::kontakt::test
