// The library's four exported entry points on Windows (listed in varnolis.def): the
// in-process component server as the browser's URL monikers and regsvr32 reach it. No
// exception leaves them.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "data/connection_pool.h"
#include "handler/module_lock.h"
#include "handler/win32/class_factory.h"
#include "handler/win32/identifiers.h"
#include "handler/win32/info_object.h"
#include "handler/win32/protocol_handler.h"
#include "handler/win32/registration.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  vn::win32::ClassFactory::Create create = nullptr;
  if (IsEqualCLSID(rclsid, vn::win32::kClassProtocolHandler)) {
    create = vn::win32::ProtocolHandler::Create;
  } else if (IsEqualCLSID(rclsid, vn::win32::kClassInfo)) {
    create = vn::win32::CreateInfoObject;
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* factory = new (std::nothrow) vn::win32::ClassFactory(create);
  if (factory == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  if (vn::ModuleLockCount() != 0) return S_FALSE;
  vn::data::ClosePooledConnections();  // connection pool: the idle connections go with the library
  return S_OK;
}

STDAPI DllRegisterServer() { return vn::win32::RegisterServer(); }

STDAPI DllUnregisterServer() {
  try {
    return vn::win32::UnregisterServer();
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}
