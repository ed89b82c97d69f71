#include "kontakt/scheme_handler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include <iostream>

#include "platform/posix/component_library.h"
#include "kontakt/page_stream.h"

namespace vn::kontakt {
namespace {

QByteArray ContentType(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("css")) return "text/css";
  if (suffix == QLatin1String("js")) return "application/javascript";
  if (suffix == QLatin1String("gif")) return "image/gif";
  if (suffix == QLatin1String("png")) return "image/png";
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "image/jpeg";
  return "text/plain";
}

// Hands `device` to the job; it lives as long as the job.
void Reply(QWebEngineUrlRequestJob* job, const QByteArray& contentType, QIODevice* device) {
  QObject::connect(job, &QObject::destroyed, device, &QObject::deleteLater);
  job->reply(contentType, device);
}

}  // namespace

void SchemeHandler::RegisterScheme() {
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Local access: the pages swap their fold images by file URLs. A local scheme: the start
  // page in the NetLinks folder is a file that moves on to a rubric, and web pages may not
  // reach the customer data.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::LocalAccessAllowed |
                  QWebEngineUrlScheme::ContentSecurityPolicyIgnored |
                  QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

SchemeHandler::SchemeHandler(const QString& libraryPath, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent),
      library_(std::make_shared<host::Library>(libraryPath.toStdString())),
      resourceFolder_(QFileInfo(QFileInfo(libraryPath).canonicalFilePath()).absolutePath() +
                      QStringLiteral("/ResourceHTML")) {
  if (!library_->Ok()) {
    std::cerr << "varnolis-kontakt: cannot load the library: " << library_->Error() << '\n';
  }
}

SchemeHandler::~SchemeHandler() = default;

QString SchemeHandler::LibraryError() const { return QString::fromStdString(library_->Error()); }

bool SchemeHandler::AnswerResource(QWebEngineUrlRequestJob* job) {
  const QString path = QDir::cleanPath(job->requestUrl().path());
  if (!path.startsWith(resourceFolder_ + QLatin1Char('/'))) return false;
  auto* file = new QFile(path);
  if (!file->open(QIODevice::ReadOnly)) {
    delete file;
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return true;
  }
  Reply(job, ContentType(path), file);
  return true;
}

void SchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  if (AnswerResource(job)) return;
  const QByteArray url = job->requestUrl().toEncoded();
  if (!library_->Ok()) {
    std::cerr << "varnolis-kontakt: " << url.constData()
              << ": the library is not loaded: " << library_->Error() << '\n';
    auto* page = new QBuffer;
    page->setData(PageStream::ErrorPage(
        QString::fromLatin1(url),
        QStringLiteral("The Varnolis library cannot be loaded: ") + LibraryError()));
    page->open(QIODevice::ReadOnly);
    Reply(job, "text/html;charset=windows-1252", page);
    return;
  }
  Reply(job, "text/html;charset=windows-1252", new PageStream(library_, url.toStdString()));
}

}  // namespace vn::kontakt
