#include "kontakt/page_stream.h"

#include <QMetaObject>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <vector>

#include "platform/posix/component_library.h"

namespace vn::kontakt {

PageStream::PageStream(std::shared_ptr<const host::Library> library, std::string url,
                       QObject* parent)
    : QIODevice(parent), library_(std::move(library)), url_(std::move(url)) {
  // Unbuffered: the chunks are the only copy the host keeps.
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  worker_ = std::thread([this] { Run(); });
}

PageStream::~PageStream() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  space_.notify_all();
  worker_.join();
}

qint64 PageStream::bytesAvailable() const {
  std::lock_guard lock(mutex_);
  return buffered_ + QIODevice::bytesAvailable();
}

bool PageStream::atEnd() const {
  std::lock_guard lock(mutex_);
  return finished_ && buffered_ == 0;
}

qint64 PageStream::PeakBuffered() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

qint64 PageStream::readData(char* data, qint64 maxSize) {
  qint64 copied = 0;
  {
    std::lock_guard lock(mutex_);
    while (copied < maxSize && !chunks_.empty()) {
      const QByteArray& front = chunks_.front();
      const qint64 n = std::min(maxSize - copied, front.size() - frontOffset_);
      std::memcpy(data + copied, front.constData() + frontOffset_, static_cast<size_t>(n));
      copied += n;
      frontOffset_ += n;
      if (frontOffset_ == front.size()) {
        chunks_.pop_front();
        frontOffset_ = 0;
      }
    }
    buffered_ -= copied;
    if (copied == 0 && finished_) return -1;
  }
  if (copied > 0) space_.notify_all();
  return copied;
}

void PageStream::Notify() {
  // One queued notification at a time is enough: the engine reads all there is.
  if (notifyPending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        notifyPending_ = false;
        emit readyRead();
        bool done = false;
        {
          std::lock_guard lock(mutex_);
          done = finished_;
        }
        if (done) emit readChannelFinished();
      },
      Qt::QueuedConnection);
}

bool PageStream::Push(QByteArray chunk) {
  {
    std::unique_lock lock(mutex_);
    space_.wait(lock, [this] { return cancelled_ || buffered_ < kBufferLimit; });
    if (cancelled_) return false;
    buffered_ += chunk.size();
    peak_ = std::max(peak_, buffered_);
    chunks_.push_back(std::move(chunk));
  }
  Notify();
  return true;
}

QByteArray PageStream::ErrorPage(const QString& url, const QString& reason) {
  const auto escape = [](const QString& text) { return text.toHtmlEscaped(); };
  const QString page =
      QStringLiteral(
          "<html><head><title>Varnolis</title></head><body>\n"
          "<h2>The page cannot be displayed</h2>\n<p>%1</p>\n<p>%2</p>\n</body></html>\n")
          .arg(escape(url), escape(reason));
  // Anything outside ASCII as a character reference, so the text survives any charset.
  QByteArray bytes;
  for (const QChar c : page) {
    if (c.unicode() < 0x80) {
      bytes.append(static_cast<char>(c.unicode()));
    } else {
      bytes.append("&#" + QByteArray::number(c.unicode()) + ";");
    }
  }
  return bytes;
}

void PageStream::Fail(const QString& reason) {
  std::cerr << "varnolis-kontakt: " << url_ << ": " << reason.toStdString() << '\n';
  Push(ErrorPage(QString::fromStdString(url_), reason));
}

void PageStream::Fetch() {
  HRESULT hr = S_OK;
  const ComPtr<IInternetProtocol> protocol = library_->CreateProtocol(hr);
  if (!protocol) {
    Fail(QStringLiteral("Cannot create the protocol handler: ") +
         QString::fromStdString(host::Hex(hr)));
  } else {
    host::Sink sink(false);
    hr = protocol->Start(url_.c_str(), &sink, nullptr, 0, 0);
    if (hr != S_OK) {
      Fail(QStringLiteral("The request failed to start: ") + QString::fromStdString(host::Hex(hr)));
    } else {
      std::vector<char> buffer(kReadSize);
      while (true) {
        {
          std::lock_guard lock(mutex_);
          if (cancelled_) break;
        }
        ULONG count = 0;
        hr = protocol->Read(buffer.data(), kReadSize, &count);
        if (count > 0 && !Push(QByteArray(buffer.data(), static_cast<qsizetype>(count)))) break;
        if (hr == S_OK || hr == E_PENDING) continue;
        if (hr != S_FALSE) {
          std::cerr << "varnolis-kontakt: " << url_ << ": Read failed: " << host::Hex(hr) << '\n';
        }
        break;
      }
    }
    protocol->Terminate(0);
  }
}

void PageStream::Run() {
  // The request is let go before the stream says it is finished.
  Fetch();
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  Notify();
}

}  // namespace vn::kontakt
