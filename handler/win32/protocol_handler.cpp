#include "handler/win32/protocol_adapter.h"

#include <new>
#include <string>

#include "platform/com_ptr.h"
#include "platform/win32/wide.h"

namespace vn::win32 {
namespace {

// The browser's sink as the core sees it: UTF-8 text turned into the UTF-16 the SDK wants.
class SdkSink final : public BrowserSink {
 public:
  explicit SdkSink(::IInternetProtocolSink* sink)
      : sink_(ComPtr<::IInternetProtocolSink>::Share(sink)) {}
  SdkSink(const SdkSink&) = delete;
  SdkSink& operator=(const SdkSink&) = delete;

  void AddRef() override { ++references_; }
  void Release() override {
    if (--references_ == 0) delete this;
  }
  std::int32_t ReportProgress(std::uint32_t status, const char* text) override {
    std::wstring wide = Widen(text != nullptr ? text : "");
    return sink_->ReportProgress(status, wide.c_str());
  }
  std::int32_t ReportData(std::uint32_t flags, std::uint32_t progress,
                          std::uint32_t progressMax) override {
    return sink_->ReportData(flags, progress, progressMax);
  }
  std::int32_t ReportResult(std::int32_t result, std::uint32_t error, const char* text) override {
    std::wstring wide = Widen(text != nullptr ? text : "");
    return sink_->ReportResult(result, error, wide.c_str());
  }

 private:
  virtual ~SdkSink() = default;

  ComPtr<::IInternetProtocolSink> sink_;
  ULONG references_ = 1;
};

// Keeps the object alive across a call into the core: the browser may call Terminate and
// drop its last reference from inside a sink call that the core makes.
class KeepAlive {
 public:
  explicit KeepAlive(::IUnknown* object) : object_(object) { object_->AddRef(); }
  ~KeepAlive() { object_->Release(); }
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

 private:
  ::IUnknown* object_;
};

}  // namespace

HRESULT ProtocolAdapter::Create(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  ProtocolAdapter* adapter = nullptr;
  try {
    adapter = new ProtocolAdapter();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  HRESULT hr = adapter->QueryInterface(riid, object);
  adapter->Release();
  return hr;
}

STDMETHODIMP ProtocolAdapter::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IInternetProtocolRoot) ||
      IsEqualIID(riid, IID_IInternetProtocol)) {
    *object = static_cast<::IInternetProtocol*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ProtocolAdapter::AddRef() { return static_cast<ULONG>(++references_); }

STDMETHODIMP_(ULONG) ProtocolAdapter::Release() {
  LONG left = --references_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP ProtocolAdapter::Start(LPCWSTR szUrl, ::IInternetProtocolSink* pOIProtSink,
                                    ::IInternetBindInfo* /*pOIBindInfo*/, DWORD /*grfPI*/,
                                    HANDLE_PTR /*dwReserved*/) {
  KeepAlive keep(this);
  try {
    std::string url = szUrl != nullptr ? Narrow(szUrl) : std::string();
    SdkSink* sink = pOIProtSink != nullptr ? new SdkSink(pOIProtSink) : nullptr;
    HRESULT hr = core_.Start(url, sink);
    if (sink != nullptr) sink->Release();
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP ProtocolAdapter::Continue(PROTOCOLDATA* /*pProtocolData*/) {
  KeepAlive keep(this);
  return core_.Continue();
}

STDMETHODIMP ProtocolAdapter::Abort(HRESULT hrReason, DWORD dwOptions) {
  KeepAlive keep(this);
  return core_.Abort(hrReason, dwOptions);
}

STDMETHODIMP ProtocolAdapter::Terminate(DWORD dwOptions) {
  KeepAlive keep(this);
  return core_.Terminate(dwOptions);
}

STDMETHODIMP ProtocolAdapter::Suspend() { return core_.Suspend(); }

STDMETHODIMP ProtocolAdapter::Resume() { return core_.Resume(); }

STDMETHODIMP ProtocolAdapter::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  KeepAlive keep(this);
  std::uint32_t count = 0;
  HRESULT hr = core_.Read(pv, cb, &count);
  if (pcbRead != nullptr) *pcbRead = count;
  return hr;
}

STDMETHODIMP ProtocolAdapter::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                   ULARGE_INTEGER* plibNewPosition) {
  std::uint64_t position = 0;
  HRESULT hr = core_.Seek(dlibMove.QuadPart, dwOrigin, &position);
  if (plibNewPosition != nullptr && SUCCEEDED(hr)) plibNewPosition->QuadPart = position;
  return hr;
}

STDMETHODIMP ProtocolAdapter::LockRequest(DWORD dwOptions) { return core_.LockRequest(dwOptions); }

STDMETHODIMP ProtocolAdapter::UnlockRequest() {
  KeepAlive keep(this);
  return core_.UnlockRequest();
}

}  // namespace vn::win32
