// The class factory that DllGetClassObject hands out: creates ProtocolHandler objects.
#pragma once

#include <atomic>

#include "handler/module_lock.h"
#include "platform/urlmon.h"

namespace vn {

class ProtocolHandlerFactory final : public IClassFactory {
 public:
  ProtocolHandlerFactory() = default;
  ~ProtocolHandlerFactory() = default;
  ProtocolHandlerFactory(const ProtocolHandlerFactory&) = delete;
  ProtocolHandlerFactory& operator=(const ProtocolHandlerFactory&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
  HRESULT LockServer(int fLock) override;

 private:
  ModuleLock lock_;
  std::atomic<ULONG> references_{1};
};

}  // namespace vn
