// varnolis get on Windows: fetches the page through urlmon, as the browser does, after the
// library and the scheme have been registered. The library itself is never called.
#include <windows.h>
#include <urlmon.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/win32/wide.h"
#include "host/commands.h"
#include "host/get_options.h"
#include "platform/win32/com_apartment.h"
#include "host/win32/bind_callback.h"

namespace vn::host {
namespace {

// A binding that never reached the protocol handler: no scheme registration (Wine's urlmon
// says MK_E_SYNTAX for a scheme it does not know), or no class.
bool HandlerMissing(HRESULT hr) {
  return hr == INET_E_UNKNOWN_PROTOCOL || hr == MK_E_SYNTAX || hr == REGDB_E_CLASSNOTREG ||
         hr == CLASS_E_CLASSNOTAVAILABLE || hr == CO_E_DLLNOTFOUND;
}

}  // namespace

int RunGet(int argc, char** argv) {
  std::optional<GetOptions> parsed = ParseGetOptions(argc, argv);
  if (!parsed) return 1;
  const GetOptions& options = *parsed;
  if (!options.library.empty()) {
    std::cerr << "varnolis get: --library is not used on Windows: urlmon finds the handler "
                 "through its registration (varnolis register)\n";
    return 1;
  }
  if (options.cb == 0) {
    std::cerr << "varnolis get: --cb needs a number above 0\n";
    return 1;
  }

  win32::ComApartment apartment;
  if (FAILED(apartment.Result())) {
    std::cerr << "varnolis get: COM cannot start: " << Hex(apartment.Result()) << '\n';
    return 1;
  }

  std::FILE* out = stdout;
  if (!options.output.empty()) {
    out = _wfopen(win32::Widen(options.output).c_str(), L"wb");
    if (out == nullptr) {
      std::cerr << "varnolis get: " << options.output << ": " << std::strerror(errno) << '\n';
      return 1;
    }
  }

  int status = 0;
  {
    BindCallback callback(out, options.cb, options.trace);
    HRESULT hr = URLOpenStreamW(nullptr, win32::Widen(options.url).c_str(), 0, &callback);
    callback.Trace("URLOpenStreamW " + Hex(hr));
    if (SUCCEEDED(hr)) hr = callback.Result();
    if (FAILED(hr)) {
      std::cerr << "varnolis get: " << options.url << ": " << Hex(hr) << '\n';
      status = HandlerMissing(hr) ? 1 : 2;
    } else if (!callback.WriteOk()) {
      std::cerr << "varnolis get: cannot write the page: " << std::strerror(errno) << '\n';
      status = 1;
    }
  }
  if (std::fflush(out) != 0 && status == 0) status = 1;
  if (out != stdout && std::fclose(out) != 0 && status == 0) status = 1;
  return status;
}

}  // namespace vn::host
