// The class the browser creates for a varnolis URL on Windows: the SDK's IInternetProtocol
// over the platform-neutral handler core. It turns the UTF-16 URL into the core's UTF-8 and
// hands the core a sink that forwards to the browser's IInternetProtocolSink.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include "handler/win32/core_protocol.h"

namespace vn::win32 {

class ProtocolAdapter final : public ::IInternetProtocol {
 public:
  // A new object, handed out through `riid`; aggregation is refused by the class factory.
  static HRESULT Create(REFIID riid, void** object);

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
  ProtocolAdapter() = default;
  virtual ~ProtocolAdapter() = default;

  CoreProtocol core_;
  LONG references_ = 1;  // apartment-threaded: one thread calls the object
};

}  // namespace vn::win32
