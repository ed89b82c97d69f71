// The handler core as the Windows COM adapter sees it: the platform-neutral ProtocolHandler
// behind plain C++ types, so that the adapter's translation unit needs only the SDK's headers
// (the core's own urlmon names would clash with the SDK's macros).
#pragma once

#include <cstdint>
#include <string>

namespace vn {
class ProtocolHandler;
}

namespace vn::win32 {

// The browser's sink, seen from the core: text in UTF-8. Reference counted like the sink it
// stands for; the core keeps it from Start until Terminate.
class BrowserSink {
 public:
  virtual void AddRef() = 0;
  virtual void Release() = 0;
  virtual std::int32_t ReportProgress(std::uint32_t status, const char* text) = 0;
  virtual std::int32_t ReportData(std::uint32_t flags, std::uint32_t progress,
                                  std::uint32_t progressMax) = 0;
  virtual std::int32_t ReportResult(std::int32_t result, std::uint32_t error, const char* text) = 0;

 protected:
  ~BrowserSink() = default;
};

// One reference on a core ProtocolHandler; results are the core's HRESULTs.
class CoreProtocol {
 public:
  CoreProtocol();  // throws std::bad_alloc
  ~CoreProtocol();
  CoreProtocol(const CoreProtocol&) = delete;
  CoreProtocol& operator=(const CoreProtocol&) = delete;

  // `sink` may be null; the core takes its own reference.
  std::int32_t Start(const std::string& url, BrowserSink* sink);
  std::int32_t Continue();
  std::int32_t Abort(std::int32_t reason, std::uint32_t options);
  std::int32_t Terminate(std::uint32_t options);
  std::int32_t Suspend();
  std::int32_t Resume();
  std::int32_t Read(void* buffer, std::uint32_t size, std::uint32_t* read);
  std::int32_t Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* position);
  std::int32_t LockRequest(std::uint32_t options);
  std::int32_t UnlockRequest();

 private:
  ProtocolHandler* core_;  // one reference, released by the destructor
};

}  // namespace vn::win32
