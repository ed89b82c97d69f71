// A program that knows nothing of Varnolis but urlmon: fetches a URL with URLOpenStreamW, as
// any browser component would, and writes the page to standard output.
//   urlmon_client [--count N] [--temp FOLDER] URL
// --count N fetches it N times in this one process (the page of the first fetch is written)
// and reports on standard error how many handles the process held after the first and after
// the last fetch, counted from the system's handle list. --temp points %TEMP% and %TMP% at
// FOLDER first. Exit status 0, or 2 with the failing result on standard error.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <urlmon.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Collects what the binding delivers; only the stream matters here.
class Callback final : public IBindStatusCallback {
 public:
  virtual ~Callback() = default;
  std::string page;
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    *object = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)
                  ? static_cast<IBindStatusCallback*>(this)
                  : nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the stack
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
  STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  STDMETHODIMP GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override {
    char buffer[4096];
    ULONG count = 0;
    while (SUCCEEDED(medium->pstm->Read(buffer, sizeof buffer, &count)) && count > 0) {
      page.append(buffer, count);
    }
    return S_OK;
  }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }
};

// The handles of this process in the system's handle list (GetProcessHandleCount is missing
// under Wine), or -1.
long HandleCount() {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
  };
  struct List {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<char> buffer(1 << 16);
  LONG status = 0;
  const ULONG kSystemHandleInformation = 16;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         nullptr)) ==
         static_cast<LONG>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const List*>(buffer.data());
  long own = 0;
  for (ULONG i = 0; i < list->count; ++i) {
    if (list->entries[i].ownerPid == GetCurrentProcessId()) ++own;
  }
  return own;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  long count = 1;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; i += 2) {
    if (std::wstring(argv[i]) == L"--count") count = std::wcstol(argv[i + 1], nullptr, 10);
    if (std::wstring(argv[i]) == L"--temp") {
      SetEnvironmentVariableW(L"TEMP", argv[i + 1]);
      SetEnvironmentVariableW(L"TMP", argv[i + 1]);
    }
  }
  if (i + 1 != argc || count < 1) {
    std::fputs("usage: urlmon_client [--count N] [--temp FOLDER] URL\n", stderr);
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  long first = 0;
  for (long n = 1; n <= count; ++n) {
    Callback callback;
    HRESULT hr = URLOpenStreamW(nullptr, argv[i], 0, &callback);
    if (FAILED(hr)) {
      std::fprintf(stderr, "URLOpenStreamW 0x%08lX\n", static_cast<unsigned long>(hr));
      return 2;
    }
    if (n == 1) {
      std::fwrite(callback.page.data(), 1, callback.page.size(), stdout);
      first = HandleCount();
    }
  }
  if (count > 1) std::fprintf(stderr, "handles %ld %ld\n", first, HandleCount());
  CoUninitialize();
  return 0;
}
