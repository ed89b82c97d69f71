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

  // The request's results are the interface's results.
  static constexpr HRESULT Result(RequestResult result) { return static_cast<HRESULT>(result); }

  // IInternetProtocolRoot and IInternetProtocol. Start, Read and Terminate hold a reference of
  // their own while they run: a sink call may drop the browser's last one. The other methods
  // pass straight to the request.
  HRESULT Start(const char* szUrl, IInternetProtocolSink* pOIProtSink,
                IInternetBindInfo* pOIBindInfo, DWORD grfPI, HANDLE_PTR dwReserved) override;
  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT Terminate(DWORD dwOptions) override;
  HRESULT Abort(HRESULT hrReason, DWORD dwOptions) override {
    return Result(request_.Abort(hrReason, dwOptions));
  }
  HRESULT Continue(PROTOCOLDATA*) override { return Result(request_.Continue()); }
  HRESULT Suspend() override { return Result(request_.Suspend()); }
  HRESULT Resume() override { return Result(request_.Resume()); }
  HRESULT Seek(std::int64_t, DWORD, std::uint64_t*) override { return Result(request_.Seek()); }
  HRESULT LockRequest(DWORD) override { return Result(request_.LockRequest()); }
  HRESULT UnlockRequest() override { return Result(request_.UnlockRequest()); }

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
