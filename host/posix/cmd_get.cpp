// varnolis get / register / unregister: the browser stand-in. The library is reached only
// through its exported entry points, as a browser reaches it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "host/commands.h"
#include "platform/posix/component_library.h"
#include "host/get_options.h"
#include "platform/urlmon.h"

namespace vn::host {
namespace {

// Writes all bytes; false on a write failure.
bool WriteAll(std::FILE* out, const char* data, size_t size) {
  return std::fwrite(data, 1, size, out) == size;
}

}  // namespace

int RunGet(int argc, char** argv) {
  std::optional<GetOptions> parsed = ParseGetOptions(argc, argv);
  if (!parsed) return 1;
  const GetOptions& options = *parsed;

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
    HRESULT hr = S_OK;
    const ComPtr<IInternetProtocol> protocol = library.CreateProtocol(hr);
    if (!protocol) {
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
  }
  if (std::fflush(out) != 0 && status == 0) status = 1;
  if (out != stdout && std::fclose(out) != 0 && status == 0) status = 1;
  return status;
}

namespace {

int RunRegistration(int argc, char** argv, bool registering) {
  const char* name = registering ? "register" : "unregister";
  std::optional<std::string> parsed = ParseRegistrationOptions(argc, argv, name);
  if (!parsed) return 1;
  std::string path = *parsed;
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
