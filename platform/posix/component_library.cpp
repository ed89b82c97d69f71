#include "platform/posix/component_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <iostream>

#include "platform/module_path.h"

namespace vn::host {

Library::Library(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) {
    error_ = dlerror();
    return;
  }
  getClassObject_ = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
  canUnloadNow_ = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
  registerServer_ = reinterpret_cast<DllRegisterServerFn>(dlsym(handle_, "DllRegisterServer"));
  unregisterServer_ =
      reinterpret_cast<DllUnregisterServerFn>(dlsym(handle_, "DllUnregisterServer"));
  if (getClassObject_ == nullptr || canUnloadNow_ == nullptr || registerServer_ == nullptr ||
      unregisterServer_ == nullptr) {
    error_ = path + ": not a component server (entry points missing)";
  }
}

Library::~Library() {
  if (handle_ != nullptr && (canUnloadNow_ == nullptr || canUnloadNow_() == S_OK)) {
    dlclose(handle_);
  }
}

ComPtr<IInternetProtocol> Library::CreateProtocol(HRESULT& hr) const {
  ComPtr<IClassFactory> factory;
  hr = getClassObject_(&CLSID_ProtocolHandler, &IID_IClassFactory,
                       reinterpret_cast<void**>(factory.Receive()));
  ComPtr<IInternetProtocol> protocol;
  if (Succeeded(hr)) {
    hr = factory->CreateInstance(nullptr, IID_IInternetProtocol,
                                 reinterpret_cast<void**>(protocol.Receive()));
  }
  if (!Succeeded(hr)) protocol.reset();
  return protocol;
}

std::string DefaultLibraryPath() { return ExecutableFolder() + "/libvarnolis.so"; }

HRESULT Sink::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IInternetProtocolSink) {
    *ppv = static_cast<IInternetProtocolSink*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT Sink::ReportProgress(ULONG status, const char* text) {
  if (!trace_) return S_OK;
  Trace("ReportProgress " + std::to_string(status) + " " + (text != nullptr ? text : ""));
  return S_OK;
}

HRESULT Sink::ReportData(DWORD flags, ULONG progress, ULONG progressMax) {
  if (!trace_) return S_OK;
  Trace("ReportData " + std::to_string(flags) + " " + std::to_string(progress) + " " +
        std::to_string(progressMax));
  return S_OK;
}

HRESULT Sink::ReportResult(HRESULT result, DWORD error, const char* text) {
  Trace("ReportResult " + Hex(result) + " " + std::to_string(error) + " " +
        (text != nullptr ? text : ""));
  return S_OK;
}

void Sink::Trace(const std::string& line) const {
  if (trace_) std::cerr << line << '\n';
}

}  // namespace vn::host
