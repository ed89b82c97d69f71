// The library's four exported entry points: the in-process component server as a browser
// (or the host) reaches it. No exception ever leaves them.
#include <new>

#include "data/connection_pool.h"
#include "handler/posix/class_factory.h"
#include "handler/module_lock.h"
#include "handler/posix/self_registration.h"
#include "platform/module_path.h"
#include "platform/urlmon.h"

#define VARNOLIS_EXPORT extern "C" __attribute__((visibility("default")))

VARNOLIS_EXPORT vn::HRESULT DllGetClassObject(const vn::CLSID* rclsid, const vn::IID* riid,
                                              void** ppv) {
  if (ppv == nullptr || rclsid == nullptr || riid == nullptr) return vn::E_POINTER;
  *ppv = nullptr;
  if (!(*rclsid == vn::CLSID_ProtocolHandler)) return vn::CLASS_E_CLASSNOTAVAILABLE;
  vn::ProtocolHandlerFactory* factory = nullptr;
  try {
    factory = new vn::ProtocolHandlerFactory();
  } catch (...) {
    return vn::E_OUTOFMEMORY;  // only the allocation can fail here
  }
  vn::HRESULT hr = factory->QueryInterface(*riid, ppv);
  factory->Release();
  return hr;
}

VARNOLIS_EXPORT vn::HRESULT DllCanUnloadNow() {
  if (vn::ModuleLockCount() != 0) return vn::S_FALSE;
  vn::data::ClosePooledConnections();  // connection pool: the idle connections go with the library
  return vn::S_OK;
}

VARNOLIS_EXPORT vn::HRESULT DllRegisterServer() {
  try {
    return vn::RegisterServer(vn::LibraryFilePath());
  } catch (...) {
    // The library's own path could not be found: registration fails as the result says.
    return vn::SELFREG_E_CLASS;
  }
}

VARNOLIS_EXPORT vn::HRESULT DllUnregisterServer() { return vn::UnregisterServer(); }
