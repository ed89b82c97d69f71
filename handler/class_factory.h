// The class factory that DllGetClassObject hands out: creates ProtocolHandler objects.
#pragma once

#include <atomic>

#include "platform/urlmon.h"

namespace vn {

class ProtocolHandlerFactory final : public IClassFactory {
 public:
  ProtocolHandlerFactory();
  ~ProtocolHandlerFactory();
  ProtocolHandlerFactory(const ProtocolHandlerFactory&) = delete;
  ProtocolHandlerFactory& operator=(const ProtocolHandlerFactory&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
  HRESULT LockServer(int fLock) override;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace vn
