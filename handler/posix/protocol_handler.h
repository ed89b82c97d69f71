// ProtocolHandler: the component object a browser creates for a varnolis URL on Linux, one per
// request: the URL-moniker interface IInternetProtocol over a Request, and the request's sink
// over the browser's IInternetProtocolSink. It holds the request's one reference count; a
// browser that ends the request from inside a sink call (Terminate, its last Release) finds the
// object alive until its outermost call has returned.
#pragma once

#include <atomic>

#include "handler/module_lock.h"
#include "handler/request.h"
#include "platform/com_ptr.h"
#include "platform/urlmon.h"

namespace vn {

class ProtocolHandler final : public IInternetProtocol, private RequestSink {
 public:
  ProtocolHandler() = default;
  ~ProtocolHandler() = default;
  ProtocolHandler(const ProtocolHandler&) = delete;
  ProtocolHandler& operator=(const ProtocolHandler&) = delete;

  // IUnknown: the object starts with one reference and deletes itself at the last Release.
  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // IInternetProtocolRoot
  HRESULT Start(const char* szUrl, IInternetProtocolSink* pOIProtSink,
                IInternetBindInfo* pOIBindInfo, DWORD grfPI, HANDLE_PTR dwReserved) override;
  HRESULT Continue(PROTOCOLDATA* pProtocolData) override;
  HRESULT Abort(HRESULT hrReason, DWORD dwOptions) override;
  HRESULT Terminate(DWORD dwOptions) override;
  HRESULT Suspend() override;
  HRESULT Resume() override;

  // IInternetProtocol
  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT Seek(std::int64_t dlibMove, DWORD dwOrigin, std::uint64_t* plibNewPosition) override;
  HRESULT LockRequest(DWORD dwOptions) override;
  HRESULT UnlockRequest() override;

 private:
  // RequestSink: passed on to the browser's sink while the request has one.
  void ReportProgress(BindStatus status, const char* text) override;
  void ReportData(DataNotification flags, std::uint32_t progress,
                  std::uint32_t progressMax) override;
  void ReportResult(RequestResult result, std::uint32_t error, const char* text) override;

  ModuleLock lock_;  // first: the library stays loaded until everything else is gone
  std::atomic<ULONG> references_{1};
  ComPtr<IInternetProtocolSink> sink_;  // from Start until Terminate
  Request request_;
};

}  // namespace vn
