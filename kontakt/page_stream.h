// PageStream: the body of one varnolis request as the engine reads it. A worker thread creates
// one ProtocolHandler through the library, drives Start/Read/Terminate and hands each chunk to
// the engine as it arrives; the worker waits while the engine lags, so that the host never holds
// more than a bounded part of the page.
#pragma once

#include <QIODevice>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vn::host {
class Library;
}

namespace vn::kontakt {

class PageStream final : public QIODevice {
  Q_OBJECT

 public:
  // Bytes the worker may have handed over and the engine not yet read.
  static constexpr qint64 kBufferLimit = 1 << 20;
  // The buffer size of each Read, as a browser asks for it.
  static constexpr unsigned kReadSize = 64 * 1024;

  // Starts the worker at once; the device is open for reading.
  PageStream(std::shared_ptr<const host::Library> library, std::string url,
             QObject* parent = nullptr);
  // Stops the worker (the request is terminated when the engine gives up early).
  ~PageStream() override;

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;
  bool atEnd() const override;

  // The most bytes held at once so far (for the memory check).
  qint64 PeakBuffered() const;

  // The page a failed request shows instead of the library's (ASCII, so valid Windows-1252).
  static QByteArray ErrorPage(const QString& url, const QString& reason);

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  void Run();
  // The request: its chunks handed to the engine as they arrive.
  void Fetch();
  // Hands one chunk to the engine; false when the request was given up.
  bool Push(QByteArray chunk);
  void Fail(const QString& reason);
  void Notify();

  std::shared_ptr<const host::Library> library_;
  std::string url_;

  mutable std::mutex mutex_;
  std::condition_variable space_;
  std::deque<QByteArray> chunks_;
  qint64 frontOffset_ = 0;
  qint64 buffered_ = 0;
  qint64 peak_ = 0;
  bool finished_ = false;
  bool cancelled_ = false;
  std::atomic<bool> notifyPending_{false};
  std::thread worker_;
};

}  // namespace vn::kontakt
