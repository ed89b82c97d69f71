#include "handler/win32/registration.h"

#include <olectl.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "handler/server_classes.h"
#include "handler/win32/identifiers.h"
#include "platform/class_registry.h"
#include "platform/com_ptr.h"
#include "platform/module_path.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/wide.h"
#include "resources/version.h"

namespace vn::win32 {
namespace {

// The type library's keys are per word size (0\win32 or 0\win64).
#ifdef _WIN64
constexpr SYSKIND kSystem = SYS_WIN64;
#else
constexpr SYSKIND kSystem = SYS_WIN32;
#endif

std::vector<ServerClass> Classes() {
  return {{kClassProtocolHandlerText, kProtocolHandlerProgId}, {kClassInfoText, kInfoProgId}};
}

bool WriteClassKeys(const std::string& libraryPath) {
  std::vector<RegistryKey> keys;
  for (const ServerClass& serverClass : Classes()) {
    std::vector<RegistryKey> classKeys = ClassKeys(serverClass, libraryPath, kTypeLibraryText);
    keys.insert(keys.end(), classKeys.begin(), classKeys.end());
  }
  return WriteRegistryKeys(keys);
}

// The type library is the DLL's TYPELIB resource; RegisterTypeLib writes its keys (help
// string, path, flags, help folder, the interfaces it publishes).
bool RegisterTypeLibrary(const std::wstring& libraryPath, const std::wstring& folder) {
  ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, library.Receive()))) return false;
  // The SDK declares both paths writable; it only reads them.
  std::wstring path = libraryPath;
  std::wstring helpFolder = folder;
  return SUCCEEDED(RegisterTypeLib(library.get(), path.data(), helpFolder.data()));
}

// Whether this version of the type library has its key: UnRegisterTypeLib fails for a library
// that is not registered (E_INVALIDARG under Wine), which for unregistering is no failure.
bool TypeLibraryRegistered() {
  UniqueKey key;
  const std::wstring path =
      Widen(std::string("TypeLib\\") + kTypeLibraryText + "\\" + TypeLibraryVersion());
  return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterServer() {
  try {
    const std::string libraryPath = LibraryFilePath();
    const std::string folder = libraryPath.substr(0, libraryPath.find_last_of('\\'));
    if (!WriteClassKeys(libraryPath)) {
      UnregisterServer();
      return SELFREG_E_CLASS;
    }
    if (!RegisterTypeLibrary(Widen(libraryPath), Widen(folder))) {
      UnregisterServer();
      return SELFREG_E_TYPELIB;
    }
    return S_OK;
  } catch (...) {
    // Whatever kept the keys from being written (memory, the library's own path) is the
    // registration's failure; what was written goes again, and the result says so.
    UnregisterServer();
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() {
  std::vector<std::string> paths;
  for (const ServerClass& serverClass : Classes()) {
    std::vector<std::string> classPaths = ClassKeyPaths(serverClass);
    paths.insert(paths.end(), classPaths.begin(), classPaths.end());
  }
  const bool removed = RemoveRegistryKeys(paths);
  // Removes the version's keys and the interfaces' keys that RegisterTypeLib wrote.
  bool typeLibraryGone = true;
  if (TypeLibraryRegistered()) {
    HRESULT hr = UnRegisterTypeLib(kTypeLibrary, static_cast<WORD>(version::kMajor),
                                   static_cast<WORD>(version::kMinor), 0, kSystem);
    typeLibraryGone = SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS;
  }
  if (!removed) return SELFREG_E_CLASS;
  return typeLibraryGone ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace vn::win32
