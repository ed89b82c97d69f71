#include "handler/posix/class_factory.h"

#include <new>

#include "handler/module_lock.h"
#include "handler/posix/protocol_handler.h"
#include "platform/com_ptr.h"

namespace vn {

HRESULT ProtocolHandlerFactory::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *ppvObject = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG ProtocolHandlerFactory::AddRef() { return ++references_; }

ULONG ProtocolHandlerFactory::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ProtocolHandlerFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  *ppvObject = nullptr;
  if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    return ComPtr<ProtocolHandler>::Adopt(new ProtocolHandler())->QueryInterface(riid, ppvObject);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // No exception may leave a component call: the browser learns the failure from the result.
    return E_FAIL;
  }
}

HRESULT ProtocolHandlerFactory::LockServer(int fLock) {
  if (fLock != 0) {
    ModuleLockIncrement();
  } else {
    ModuleLockDecrement();
  }
  return S_OK;
}

}  // namespace vn
