#include "handler/win32/registration.h"

#include <olectl.h>
#include <oleauto.h>

#include <string>

#include "handler/win32/com_ptr.h"
#include "handler/win32/identifiers.h"
#include "handler/win32/registry_key.h"
#include "platform/win32/wide.h"
#include "platform/module_path.h"
#include "resources/version.h"

namespace vn::win32 {
namespace {

// The type library's keys are per word size (0\win32 or 0\win64).
#ifdef _WIN64
constexpr SYSKIND kSystem = SYS_WIN64;
#else
constexpr SYSKIND kSystem = SYS_WIN32;
#endif

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kClassProtocolHandlerText; }

std::wstring TypeLibraryVersion() {
  return std::to_wstring(version::kMajor) + L"." + std::to_wstring(version::kMinor);
}

bool WriteKey(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
  RegistryKey key;
  return key.Create(HKEY_CLASSES_ROOT, path) && key.SetText(name, value);
}

bool WriteClassKeys(const std::wstring& libraryPath) {
  const std::wstring classKey = ClassKey();
  const std::wstring progId = kProgId;
  return WriteKey(classKey, L"", progId) &&
         WriteKey(classKey + L"\\InprocServer32", L"", libraryPath) &&
         WriteKey(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         WriteKey(classKey + L"\\ProgID", L"", progId) &&
         WriteKey(classKey + L"\\TypeLib", L"", kTypeLibraryText) &&
         WriteKey(classKey + L"\\VERSION", L"", TypeLibraryVersion()) &&
         WriteKey(progId, L"", progId) &&
         WriteKey(progId + L"\\Clsid", L"", kClassProtocolHandlerText);
}

// The type library is the DLL's TYPELIB resource; RegisterTypeLib writes its keys (help
// string, path, flags, help folder, the interfaces it publishes).
bool RegisterTypeLibrary(const std::wstring& libraryPath, const std::wstring& folder) {
  ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, library.Receive()))) return false;
  // The SDK declares both paths writable; it only reads them.
  std::wstring path = libraryPath;
  std::wstring helpFolder = folder;
  return SUCCEEDED(RegisterTypeLib(library.Get(), path.data(), helpFolder.data()));
}

}  // namespace

HRESULT RegisterServer() {
  try {
    const std::wstring libraryPath = Widen(LibraryFilePath());
    const std::wstring folder = libraryPath.substr(0, libraryPath.find_last_of(L'\\'));
    if (!WriteClassKeys(libraryPath)) {
      UnregisterServer();
      return SELFREG_E_CLASS;
    }
    if (!RegisterTypeLibrary(libraryPath, folder)) {
      UnregisterServer();
      return SELFREG_E_TYPELIB;
    }
    return S_OK;
  } catch (...) {
    UnregisterServer();
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() {
  bool removed = DeleteRegistryTree(HKEY_CLASSES_ROOT, ClassKey());
  removed = DeleteRegistryTree(HKEY_CLASSES_ROOT, kProgId) && removed;
  // Removes the version's keys and the interfaces' keys that RegisterTypeLib wrote; a library
  // that was never registered is not an error.
  HRESULT hr = UnRegisterTypeLib(kTypeLibrary, static_cast<WORD>(version::kMajor),
                                 static_cast<WORD>(version::kMinor), 0, kSystem);
  const bool typeLibraryGone = SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS;
  if (!removed) return SELFREG_E_CLASS;
  return typeLibraryGone ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace vn::win32
