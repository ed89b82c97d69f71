// ProtocolHandler: the component object the browser's URL monikers create for a varnolis URL on
// Windows, one per request: the SDK's IInternetProtocol over a Request, and the request's sink
// over the browser's IInternetProtocolSink, with the URL and the texts turned between the SDK's
// UTF-16 and the request's UTF-8. It holds the request's one reference count; a browser that
// ends the request from inside a sink call (Terminate, its last Release) finds the object alive
// until its outermost call has returned.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include "handler/module_lock.h"
#include "handler/request.h"
#include "platform/com_ptr.h"

namespace vn::win32 {

class ProtocolHandler final : public ::IInternetProtocol, private RequestSink {
 public:
  // A new object, handed out through `riid`; aggregation is refused by the class factory.
  static HRESULT Create(REFIID riid, void** object);

  ProtocolHandler(const ProtocolHandler&) = delete;
  ProtocolHandler& operator=(const ProtocolHandler&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IInternetProtocolRoot
  STDMETHODIMP Start(LPCWSTR szUrl, ::IInternetProtocolSink* pOIProtSink,
                     ::IInternetBindInfo* pOIBindInfo, DWORD grfPI, HANDLE_PTR dwReserved) override;
  STDMETHODIMP Continue(PROTOCOLDATA* pProtocolData) override;
  STDMETHODIMP Abort(HRESULT hrReason, DWORD dwOptions) override;
  STDMETHODIMP Terminate(DWORD dwOptions) override;
  STDMETHODIMP Suspend() override;
  STDMETHODIMP Resume() override;

  // IInternetProtocol
  STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  STDMETHODIMP Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                    ULARGE_INTEGER* plibNewPosition) override;
  STDMETHODIMP LockRequest(DWORD dwOptions) override;
  STDMETHODIMP UnlockRequest() override;

 private:
  ProtocolHandler() = default;
  virtual ~ProtocolHandler() = default;

  // RequestSink: passed on to the browser's sink while the request has one.
  void ReportProgress(BindStatus status, const char* text) override;
  void ReportData(DataNotification flags, std::uint32_t progress,
                  std::uint32_t progressMax) override;
  void ReportResult(RequestResult result, std::uint32_t error, const char* text) override;

  ModuleLock lock_;      // first: the library stays loaded until everything else is gone
  LONG references_ = 1;  // apartment-threaded: one thread calls the object
  ComPtr<::IInternetProtocolSink> sink_;  // from Start until Terminate
  Request request_;
};

}  // namespace vn::win32
