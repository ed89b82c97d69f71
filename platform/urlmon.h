// The URL-moniker interfaces through which a browser drives an asynchronous pluggable protocol,
// with the component-object basics they rest on (IUnknown, IClassFactory, GUIDs, HRESULTs).
// Method names, argument order and numeric values are those of the Windows SDK; text arguments
// are NUL-terminated UTF-8 (const char*) on this platform, where the SDK has UTF-16.
#pragma once

#include <cstdint>
#include <string>

namespace vn {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using HANDLE_PTR = std::uintptr_t;

inline constexpr HRESULT MakeHresult(std::uint32_t value) { return static_cast<HRESULT>(value); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_PENDING = MakeHresult(0x8000000A);
inline constexpr HRESULT E_UNEXPECTED = MakeHresult(0x8000FFFF);
inline constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHresult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHresult(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111);
inline constexpr HRESULT SELFREG_E_CLASS = MakeHresult(0x80040201);
inline constexpr HRESULT INET_E_DOWNLOAD_FAILURE = MakeHresult(0x800C0008);

inline constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];

  friend bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
      if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry writes it.
std::string GuidToString(const GUID& guid);

// Interface ids of the SDK.
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IInternetProtocolRoot = {
    0x79EAC9E3, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};
inline constexpr IID IID_IInternetProtocol = {
    0x79EAC9E4, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};
inline constexpr IID IID_IInternetProtocolSink = {
    0x79EAC9E5, 0xBAF9, 0x11CE, {0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B}};

// The library's own identifiers.
inline constexpr CLSID CLSID_ProtocolHandler = {
    0xD6D45BE4, 0xEDD5, 0x4F6E, {0x8F, 0x18, 0x33, 0x0C, 0x57, 0x7E, 0xE7, 0xE8}};
inline constexpr IID IID__ProtocolHandler = {
    0x5A9CB00E, 0xFF5C, 0x4CEF, {0xAE, 0x8E, 0xCA, 0xF4, 0x76, 0x20, 0x35, 0x6B}};
inline constexpr GUID LIBID_Varnolis = {
    0x2268AD97, 0x008F, 0x4EBE, {0xB2, 0x5D, 0x1A, 0x0A, 0x88, 0xE4, 0x3C, 0x89}};

class IUnknown {
 public:
  virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;  // objects die through Release
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
  virtual HRESULT LockServer(int fLock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The browser's binding information; handed to Start, not used by this protocol.
class IInternetBindInfo : public IUnknown {
 protected:
  ~IInternetBindInfo() = default;
};

struct PROTOCOLDATA {
  DWORD grfFlags;
  DWORD dwState;
  void* pData;
  ULONG cbData;
};

class IInternetProtocolSink : public IUnknown {
 public:
  virtual HRESULT Switch(PROTOCOLDATA* pProtocolData) = 0;
  virtual HRESULT ReportProgress(ULONG ulStatusCode, const char* szStatusText) = 0;
  virtual HRESULT ReportData(DWORD grfBSCF, ULONG ulProgress, ULONG ulProgressMax) = 0;
  virtual HRESULT ReportResult(HRESULT hrResult, DWORD dwError, const char* szResult) = 0;

 protected:
  ~IInternetProtocolSink() = default;
};

class IInternetProtocolRoot : public IUnknown {
 public:
  virtual HRESULT Start(const char* szUrl, IInternetProtocolSink* pOIProtSink,
                        IInternetBindInfo* pOIBindInfo, DWORD grfPI, HANDLE_PTR dwReserved) = 0;
  virtual HRESULT Continue(PROTOCOLDATA* pProtocolData) = 0;
  virtual HRESULT Abort(HRESULT hrReason, DWORD dwOptions) = 0;
  virtual HRESULT Terminate(DWORD dwOptions) = 0;
  virtual HRESULT Suspend() = 0;
  virtual HRESULT Resume() = 0;

 protected:
  ~IInternetProtocolRoot() = default;
};

class IInternetProtocol : public IInternetProtocolRoot {
 public:
  virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT Seek(std::int64_t dlibMove, DWORD dwOrigin, std::uint64_t* plibNewPosition) = 0;
  virtual HRESULT LockRequest(DWORD dwOptions) = 0;
  virtual HRESULT UnlockRequest() = 0;

 protected:
  ~IInternetProtocol() = default;
};

// The library's exported entry points, as a host looks them up with dlsym.
using DllGetClassObjectFn = HRESULT (*)(const CLSID* rclsid, const IID* riid, void** ppv);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

}  // namespace vn
