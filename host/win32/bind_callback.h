// The host's side of a download through urlmon: the status callback of URLOpenStreamW, which
// copies the page from the stream into the output as it arrives (in OnDataAvailable) and
// keeps the binding's result.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <cstdio>
#include <string>

namespace vn::host {

class BindCallback final : public ::IBindStatusCallback {
 public:
  // Reads the stream in pieces of `chunk` bytes into `out`; traces every call on request.
  BindCallback(std::FILE* out, unsigned long chunk, bool trace);
  BindCallback(const BindCallback&) = delete;
  BindCallback& operator=(const BindCallback&) = delete;
  virtual ~BindCallback() = default;  // lives on the caller's stack, beyond the binding

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP OnStartBinding(DWORD reserved, ::IBinding* binding) override;
  STDMETHODIMP GetPriority(LONG* priority) override;
  STDMETHODIMP OnLowResource(DWORD reserved) override;
  STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG status, LPCWSTR text) override;
  STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
  STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                               STGMEDIUM* medium) override;
  STDMETHODIMP OnObjectAvailable(REFIID riid, ::IUnknown* object) override;

  // The binding's own result (S_OK until OnStopBinding says otherwise).
  HRESULT Result() const { return result_; }
  // False once the output could not be written or the stream failed.
  bool WriteOk() const { return writeOk_; }
  void Trace(const std::string& line) const;

 private:
  std::FILE* out_;
  std::string buffer_;
  bool trace_;
  bool writeOk_ = true;
  HRESULT result_ = S_OK;
  LONG references_ = 1;
};

}  // namespace vn::host
