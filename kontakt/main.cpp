// varnolis-kontakt: the contact manager's Varnolis tab on Linux.
//   varnolis-kontakt [URL]                     opens the window on URL or the start page
//   varnolis-kontakt --screenshot FILE [URL]   writes the complete page as a PNG and exits
#include <QApplication>
#include <QCoreApplication>
#include <QWebEngineView>

#include <iostream>

#include "kontakt/browser.h"
#include "kontakt/kontakt_window.h"
#include "kontakt/page_capture.h"
#include "kontakt/scheme_handler.h"
#include "kontakt/start_url.h"

namespace {

int Usage(const char* problem) {
  std::cerr << "varnolis-kontakt: " << problem << "\n"
            << "usage: varnolis-kontakt [URL]\n"
            << "       varnolis-kontakt --screenshot FILE [URL]\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QString screenshot;
  QString urlText;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--screenshot")) {
      if (++i >= argc) return Usage("--screenshot needs a file name");
      screenshot = QString::fromLocal8Bit(argv[i]);
    } else if (arg.startsWith(QLatin1Char('-'))) {
      // Qt's own options (-platform and the like) are left to QApplication.
      continue;
    } else if (urlText.isEmpty()) {
      urlText = arg;
    } else {
      return Usage("only one URL");
    }
  }

  vn::kontakt::SchemeHandler::RegisterScheme();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("varnolis-kontakt"));

  const QString folder = QCoreApplication::applicationDirPath();
  int status = 0;
  {
    vn::kontakt::Browser browser(folder);
    vn::kontakt::KontaktWindow window(browser.Profile(), vn::kontakt::StandinFilePath());
    window.resize(1024, 768);
    const QUrl url =
        urlText.isEmpty() ? vn::kontakt::StartUrl(folder) : vn::kontakt::UrlFromUserText(urlText);
    vn::kontakt::PageCapture capture(window.View());
    if (!screenshot.isEmpty()) {
      QObject::connect(&capture, &vn::kontakt::PageCapture::Done, &app,
                       [](bool ok, const QString& problem) {
                         if (!ok)
                           std::cerr << "varnolis-kontakt: " << problem.toStdString() << '\n';
                         QCoreApplication::exit(ok ? 0 : 1);
                       });
      capture.SaveWhenComplete(screenshot);
    }
    window.show();
    window.View()->load(url);
    status = app.exec();
  }
  return status;
}
