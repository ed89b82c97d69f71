// The browser's side of an in-process component server on Linux, where no COM runtime loads it:
// the library loaded by path and reached only through its exported entry points, and the sink a
// request reports to. Shared by the command-line host and the contact tab browser (namespace
// host: the process that hosts the component).
#pragma once

#include <string>

#include "platform/com_ptr.h"
#include "platform/hresult_text.h"
#include "platform/urlmon.h"

namespace vn::host {

using vn::Hex;

// The loaded library and its entry points; unloaded when DllCanUnloadNow agrees.
class Library {
 public:
  explicit Library(const std::string& path);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  DllGetClassObjectFn GetClassObject() const { return getClassObject_; }
  DllRegisterServerFn RegisterServer() const { return registerServer_; }
  DllUnregisterServerFn UnregisterServer() const { return unregisterServer_; }

  // A new protocol handler through the class factory, or an empty owner with `hr` saying why.
  ComPtr<IInternetProtocol> CreateProtocol(HRESULT& hr) const;

 private:
  void* handle_;
  std::string error_;
  DllGetClassObjectFn getClassObject_ = nullptr;
  DllCanUnloadNowFn canUnloadNow_ = nullptr;
  DllRegisterServerFn registerServer_ = nullptr;
  DllUnregisterServerFn unregisterServer_ = nullptr;
};

// libvarnolis.so beside the running program.
std::string DefaultLibraryPath();

// The browser's side of a request: what the protocol reports, traced on request.
class Sink final : public IInternetProtocolSink {
 public:
  explicit Sink(bool trace) : trace_(trace) {}
  virtual ~Sink() = default;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  // Lives on the stack of the request; the counts only check the protocol's balance.
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  HRESULT Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  HRESULT ReportProgress(ULONG status, const char* text) override;
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG progressMax) override;
  HRESULT ReportResult(HRESULT result, DWORD error, const char* text) override;

  // A page of many rows makes a call per row: its trace line is only put together when asked for.
  bool Tracing() const { return trace_; }
  void Trace(const std::string& line) const;

 private:
  bool trace_;
  ULONG references_ = 1;
};

}  // namespace vn::host
