// A page fetched the way a browser component fetches it: URLOpenStreamW with a status callback
// that reads the stream in OnDataAvailable. For the test programs here, which know nothing of
// Varnolis but urlmon.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <string>

namespace vn::test {

// Collects what the binding delivers; only the stream matters here.
class PageCallback final : public IBindStatusCallback {
 public:
  virtual ~PageCallback() = default;
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

// The page of `url` as the stream delivered it (the blanks that pad the last chunk included).
inline HRESULT FetchPage(const wchar_t* url, std::string& page) {
  PageCallback callback;
  const HRESULT hr = URLOpenStreamW(nullptr, url, 0, &callback);
  page = std::move(callback.page);
  return hr;
}

}  // namespace vn::test
