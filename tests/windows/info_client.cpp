// A script's view of the info page's class: creates the object by its ProgID the way a script's
// CreateObject does (CLSIDFromProgID, then CoCreateInstance for IDispatch, through the
// automation layer's own client), calls its members by name and prints what they answer:
//   info_client PROGID
// prints "Init <true|false>", "ErrNumber <n>", then "GetNext <n> <length> Ready <true|false>"
// for three GetNext calls. Exit status 0, or 2 with the automation error on standard error.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "act/act_standin.h"
#include "platform/runtime_error.h"
#include "platform/win32/wide.h"

namespace {

const char* Text(bool value) { return value ? "true" : "false"; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: info_client PROGID\n");
    return 1;
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int status = 0;
  try {
    vn::AutoObject info = vn::DefaultACTAutomation().host->CreateObject(vn::win32::Narrow(argv[1]));
    std::printf("Init %s\n", Text(info->Call("Init", {std::string()}).As<bool>()));
    std::printf("ErrNumber %ld\n", static_cast<long>(info->GetProperty("ErrNumber").ToLong()));
    for (int call = 1; call <= 3; ++call) {
      const std::string piece = info->Call("GetNext").ToText();
      std::printf("GetNext %d %zu Ready %s\n", call, piece.size(),
                  Text(info->GetProperty("Ready").As<bool>()));
    }
  } catch (const vn::RuntimeError& e) {
    std::fprintf(stderr, "info_client: %ld %s\n", e.Number(), e.Description().c_str());
    status = 2;
  }
  ::CoUninitialize();
  return status;
}
