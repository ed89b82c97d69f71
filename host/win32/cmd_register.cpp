// varnolis register / unregister on Windows: the library's self-registration through its
// entry points, plus the scheme key PROTOCOLS\Handler\varnolis that makes the browser's URL
// monikers send varnolis URLs to the class (the library never writes that key itself).
#include <windows.h>

#include <iostream>
#include <string>

#include "handler/server_classes.h"
#include "host/commands.h"
#include "host/get_options.h"
#include "platform/win32/com_apartment.h"
#include "platform/module_path.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/wide.h"

namespace vn::host {
namespace {

const wchar_t* const kSchemeKey = L"PROTOCOLS\\Handler\\varnolis";

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

// The protocol handler's class id as the library registered it, "{...}"; empty when its ProgID
// is not registered.
std::wstring RegisteredHandlerClass() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(win32::Widen(kProtocolHandlerProgId).c_str(), &clsid))) return {};
  wchar_t text[40];
  return StringFromGUID2(clsid, text, 40) > 0 ? std::wstring(text) : std::wstring();
}

// The loaded DLL, freed when the owner goes.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path)
      : module_(
            LoadLibraryExW(win32::Widen(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
  ~LoadedLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }
  EntryPoint Find(const char* name) const {
    return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

int RunRegistration(int argc, char** argv, bool registering) {
  const char* name = registering ? "register" : "unregister";
  std::optional<std::string> parsed = ParseRegistrationOptions(argc, argv, name);
  if (!parsed) return 1;
  std::string path = *parsed;
  if (path.empty()) path = ExecutableFolder() + "\\varnolis.dll";

  int status = 0;
  {
    win32::ComApartment com;
    LoadedLibrary library(path);
    EntryPoint entry =
        library ? library.Find(registering ? "DllRegisterServer" : "DllUnregisterServer") : nullptr;
    if (entry == nullptr) {
      std::cerr << "varnolis " << name << ": " << path
                << ": not a component server (cannot load it or its entry point)\n";
      status = 1;
    } else if (registering) {
      HRESULT hr = entry();
      win32::UniqueKey scheme;
      std::wstring handlerClass;
      if (FAILED(hr)) {
        std::cerr << "varnolis register: DllRegisterServer failed with " << Hex(hr) << '\n';
        status = 1;
      } else if ((handlerClass = RegisteredHandlerClass()).empty() ||
                 !scheme.Create(HKEY_CLASSES_ROOT, kSchemeKey) ||
                 !scheme.SetText(L"CLSID", handlerClass)) {
        std::cerr << "varnolis register: cannot write HKEY_CLASSES_ROOT\\PROTOCOLS\\Handler\\"
                     "varnolis\n";
        status = 1;
      }
    } else {
      const bool schemeGone = win32::DeleteRegistryTree(HKEY_CLASSES_ROOT, kSchemeKey);
      HRESULT hr = entry();
      if (!schemeGone) {
        std::cerr << "varnolis unregister: cannot remove HKEY_CLASSES_ROOT\\PROTOCOLS\\Handler\\"
                     "varnolis\n";
        status = 1;
      }
      if (FAILED(hr)) {
        std::cerr << "varnolis unregister: DllUnregisterServer failed with " << Hex(hr) << '\n';
        status = 1;
      }
    }
  }
  if (status == 0) std::cout << (registering ? "registered" : "unregistered") << '\n';
  return status;
}

}  // namespace

int RunRegister(int argc, char** argv) { return RunRegistration(argc, argv, true); }

int RunUnregister(int argc, char** argv) { return RunRegistration(argc, argv, false); }

}  // namespace vn::host
