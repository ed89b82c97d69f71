#include "handler/win32/core_protocol.h"

#include <new>

#include "handler/protocol_handler.h"

namespace vn::win32 {
namespace {

// The core's sink interface over a BrowserSink: one reference on it for its own lifetime.
class SinkBridge final : public IInternetProtocolSink {
 public:
  explicit SinkBridge(BrowserSink* sink) : sink_(sink) { sink_->AddRef(); }
  SinkBridge(const SinkBridge&) = delete;
  SinkBridge& operator=(const SinkBridge&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IInternetProtocolSink) {
      *ppv = static_cast<IInternetProtocolSink*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  HRESULT ReportProgress(ULONG status, LPCWSTR text) override {
    return sink_->ReportProgress(status, text);
  }
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG progressMax) override {
    return sink_->ReportData(flags, progress, progressMax);
  }
  HRESULT ReportResult(HRESULT result, DWORD error, LPCWSTR text) override {
    return sink_->ReportResult(result, error, text);
  }

 private:
  ~SinkBridge() { sink_->Release(); }

  BrowserSink* sink_;
  ULONG references_ = 1;  // apartment-threaded: one thread calls it
};

}  // namespace

CoreProtocol::CoreProtocol() : core_(new ProtocolHandler()) {}

CoreProtocol::~CoreProtocol() { core_->Release(); }

std::int32_t CoreProtocol::Start(const std::string& url, BrowserSink* sink) {
  // The core's own reference on a running request outlives re-entrant calls that end it.
  core_->AddRef();
  SinkBridge* bridge = sink != nullptr ? new (std::nothrow) SinkBridge(sink) : nullptr;
  if (sink != nullptr && bridge == nullptr) {
    core_->Release();
    return E_OUTOFMEMORY;
  }
  HRESULT hr = core_->Start(url.c_str(), bridge, nullptr, 0, 0);
  if (bridge != nullptr) bridge->Release();
  core_->Release();
  return hr;
}

std::int32_t CoreProtocol::Continue() { return core_->Continue(nullptr); }
std::int32_t CoreProtocol::Abort(std::int32_t reason, std::uint32_t options) {
  return core_->Abort(reason, options);
}
std::int32_t CoreProtocol::Terminate(std::uint32_t options) { return core_->Terminate(options); }
std::int32_t CoreProtocol::Suspend() { return core_->Suspend(); }
std::int32_t CoreProtocol::Resume() { return core_->Resume(); }
std::int32_t CoreProtocol::Read(void* buffer, std::uint32_t size, std::uint32_t* read) {
  ULONG count = 0;
  HRESULT hr = core_->Read(buffer, size, &count);
  if (read != nullptr) *read = count;
  return hr;
}
std::int32_t CoreProtocol::Seek(std::int64_t move, std::uint32_t origin, std::uint64_t* position) {
  return core_->Seek(move, origin, position);
}
std::int32_t CoreProtocol::LockRequest(std::uint32_t options) {
  return core_->LockRequest(options);
}
std::int32_t CoreProtocol::UnlockRequest() { return core_->UnlockRequest(); }

}  // namespace vn::win32
