#include "handler/win32/registration.h"

#include <olectl.h>
#include <oleauto.h>

#include <string>

#include "handler/win32/com_ptr.h"
#include "handler/win32/registry_key.h"
#include "handler/win32/wide_text.h"
#include "platform/module_path.h"
#include "resources/version.h"

namespace vn::win32 {
namespace {

const wchar_t* const kProgId = L"Varnolis.ProtocolHandler";
const wchar_t* const kClassKey = L"CLSID\\{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}";
const wchar_t* const kClassId = L"{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}";
const wchar_t* const kLibraryId = L"{2268AD97-008F-4EBE-B25D-1A0A88E43C89}";
constexpr GUID kLibraryGuid = {
    0x2268AD97, 0x008F, 0x4EBE, {0xB2, 0x5D, 0x1A, 0x0A, 0x88, 0xE4, 0x3C, 0x89}};

std::wstring TypeLibraryVersion() {
  return std::to_wstring(version::kMajor) + L"." + std::to_wstring(version::kMinor);
}

bool WriteKey(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
  RegistryKey key;
  return key.Create(HKEY_CLASSES_ROOT, path) && key.SetText(name, value);
}

bool WriteClassKeys(const std::wstring& libraryPath) {
  const std::wstring classKey = kClassKey;
  const std::wstring progId = kProgId;
  return WriteKey(classKey, L"", progId) &&
         WriteKey(classKey + L"\\InprocServer32", L"", libraryPath) &&
         WriteKey(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         WriteKey(classKey + L"\\ProgID", L"", progId) &&
         WriteKey(classKey + L"\\TypeLib", L"", kLibraryId) &&
         WriteKey(classKey + L"\\VERSION", L"", TypeLibraryVersion()) &&
         WriteKey(progId, L"", progId) && WriteKey(progId + L"\\Clsid", L"", kClassId);
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
    const std::wstring libraryPath = WideFromUtf8(LibraryFilePath());
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
  bool removed = DeleteRegistryTree(HKEY_CLASSES_ROOT, kClassKey);
  removed = DeleteRegistryTree(HKEY_CLASSES_ROOT, kProgId) && removed;
  // Removes the version's keys and the interfaces' keys that RegisterTypeLib wrote; a library
  // that was never registered is not an error.
  HRESULT hr = UnRegisterTypeLib(kLibraryGuid, static_cast<WORD>(version::kMajor),
                                 static_cast<WORD>(version::kMinor), 0, SYS_WIN32);
  const bool typeLibraryGone = SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS;
  if (!removed) return SELFREG_E_CLASS;
  return typeLibraryGone ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace vn::win32
