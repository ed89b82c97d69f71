// varnolis get / register / unregister: the browser stand-in. The library is reached only
// through its exported entry points, as a browser reaches it.
#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "host/commands.h"
#include "platform/module_path.h"
#include "platform/urlmon.h"

namespace vn::host {
namespace {

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// The loaded library and its entry points; unloaded when DllCanUnloadNow agrees.
class Library {
 public:
  explicit Library(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
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
  ~Library() {
    if (handle_ != nullptr && (canUnloadNow_ == nullptr || canUnloadNow_() == S_OK)) {
      dlclose(handle_);
    }
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  DllGetClassObjectFn GetClassObject() const { return getClassObject_; }
  DllRegisterServerFn RegisterServer() const { return registerServer_; }
  DllUnregisterServerFn UnregisterServer() const { return unregisterServer_; }

 private:
  void* handle_;
  std::string error_;
  DllGetClassObjectFn getClassObject_ = nullptr;
  DllCanUnloadNowFn canUnloadNow_ = nullptr;
  DllRegisterServerFn registerServer_ = nullptr;
  DllUnregisterServerFn unregisterServer_ = nullptr;
};

std::string DefaultLibraryPath() { return ExecutableFolder() + "/libvarnolis.so"; }

// The browser's side of a request: what the protocol reports, traced on request.
class Sink final : public IInternetProtocolSink {
 public:
  explicit Sink(bool trace) : trace_(trace) {}
  virtual ~Sink() = default;

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IInternetProtocolSink) {
      *ppv = static_cast<IInternetProtocolSink*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the request; the counts only check the protocol's balance.
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  HRESULT Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  HRESULT ReportProgress(ULONG status, LPCWSTR text) override {
    if (Tracing()) {
      Trace("ReportProgress " + std::to_string(status) + " " + (text != nullptr ? text : ""));
    }
    return S_OK;
  }
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG progressMax) override {
    if (Tracing()) {
      Trace("ReportData " + std::to_string(flags) + " " + std::to_string(progress) + " " +
            std::to_string(progressMax));
    }
    return S_OK;
  }
  HRESULT ReportResult(HRESULT result, DWORD error, LPCWSTR text) override {
    Trace("ReportResult " + Hex(result) + " " + std::to_string(error) + " " +
          (text != nullptr ? text : ""));
    return S_OK;
  }

  // A page of many rows makes a call per row: its trace line is only put together when asked for.
  bool Tracing() const { return trace_; }
  void Trace(const std::string& line) const {
    if (trace_) std::cerr << line << '\n';
  }

 private:
  bool trace_;
  ULONG references_ = 1;
};

struct GetOptions {
  unsigned long cb = 4096;
  bool trace = false;
  std::string output;
  std::string library;
  std::string url;
};

int GetUsage(const std::string& problem) {
  std::cerr << "varnolis get: " << problem << "\n"
            << "usage: varnolis get [--cb N] [--trace] [-o FILE] [--library PATH] URL\n";
  return 1;
}

bool ParseCount(const char* text, unsigned long& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long parsed = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed > 0xFFFFFFFFul) return false;
  value = parsed;
  return true;
}

// Writes all bytes; false on a write failure.
bool WriteAll(std::FILE* out, const char* data, size_t size) {
  return std::fwrite(data, 1, size, out) == size;
}

}  // namespace

int RunGet(int argc, char** argv) {
  GetOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--cb") {
      if (++i >= argc || !ParseCount(argv[i], options.cb)) return GetUsage("--cb needs a number");
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "-o") {
      if (++i >= argc) return GetUsage("-o needs a file name");
      options.output = argv[i];
    } else if (arg == "--library") {
      if (++i >= argc) return GetUsage("--library needs a path");
      options.library = argv[i];
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return GetUsage("unknown option " + arg);
    } else if (options.url.empty()) {
      options.url = arg;
    } else {
      return GetUsage("only one URL");
    }
  }
  if (options.url.empty()) return GetUsage("no URL");

  Library library(options.library.empty() ? DefaultLibraryPath() : options.library);
  if (!library.Ok()) {
    std::cerr << "varnolis get: " << library.Error() << '\n';
    return 1;
  }

  std::FILE* out = stdout;
  if (!options.output.empty()) {
    out = std::fopen(options.output.c_str(), "wb");
    if (out == nullptr) {
      std::cerr << "varnolis get: " << options.output << ": " << std::strerror(errno) << '\n';
      return 1;
    }
  }

  int status = 0;
  {
    IClassFactory* factory = nullptr;
    HRESULT hr = library.GetClassObject()(&CLSID_ProtocolHandler, &IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory));
    IInternetProtocol* protocol = nullptr;
    if (Succeeded(hr)) {
      hr = factory->CreateInstance(nullptr, IID_IInternetProtocol,
                                   reinterpret_cast<void**>(&protocol));
      factory->Release();
    }
    if (!Succeeded(hr)) {
      std::cerr << "varnolis get: cannot create the protocol handler: " << Hex(hr) << '\n';
      if (out != stdout) std::fclose(out);
      return 1;
    }

    Sink sink(options.trace);
    hr = protocol->Start(options.url.c_str(), &sink, nullptr, 0, 0);
    sink.Trace("Start " + Hex(hr));
    if (hr != S_OK) {
      status = 2;
    } else {
      std::vector<char> buffer(options.cb);
      while (true) {
        ULONG count = 0;
        hr = protocol->Read(buffer.data(), options.cb, &count);
        if (sink.Tracing()) sink.Trace("Read " + Hex(hr) + " " + std::to_string(count));
        if (count > 0 && !WriteAll(out, buffer.data(), count)) {
          std::cerr << "varnolis get: cannot write the page: " << std::strerror(errno) << '\n';
          status = 1;
          break;
        }
        if (hr == S_OK || hr == E_PENDING) continue;
        if (hr != S_FALSE) {
          std::cerr << "varnolis get: Read failed: " << Hex(hr) << '\n';
          status = 1;
        }
        break;
      }
    }
    protocol->Terminate(0);
    protocol->Release();
  }
  if (std::fflush(out) != 0 && status == 0) status = 1;
  if (out != stdout && std::fclose(out) != 0 && status == 0) status = 1;
  return status;
}

namespace {

int RunRegistration(int argc, char** argv, bool registering) {
  const char* name = registering ? "register" : "unregister";
  std::string path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--library" && i + 1 < argc) {
      path = argv[++i];
    } else {
      std::cerr << "usage: varnolis " << name << " [--library PATH]\n";
      return 1;
    }
  }
  Library library(path.empty() ? DefaultLibraryPath() : path);
  if (!library.Ok()) {
    std::cerr << "varnolis " << name << ": " << library.Error() << '\n';
    return 1;
  }
  HRESULT hr = registering ? library.RegisterServer()() : library.UnregisterServer()();
  if (hr != S_OK) {
    std::cerr << "varnolis " << name << ": failed with " << Hex(hr) << '\n';
    return 1;
  }
  std::cout << (registering ? "registered" : "unregistered") << '\n';
  return 0;
}

}  // namespace

int RunRegister(int argc, char** argv) { return RunRegistration(argc, argv, true); }

int RunUnregister(int argc, char** argv) { return RunRegistration(argc, argv, false); }

}  // namespace vn::host
