#include "host/win32/bind_callback.h"

#include <iostream>

#include "platform/win32/wide.h"
#include "host/get_options.h"

namespace vn::host {

BindCallback::BindCallback(std::FILE* out, unsigned long chunk, bool trace)
    : out_(out), buffer_(chunk, '\0'), trace_(trace) {}

void BindCallback::Trace(const std::string& line) const {
  if (trace_) std::cerr << line << '\n';
}

STDMETHODIMP BindCallback::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
    *object = static_cast<::IBindStatusCallback*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BindCallback::AddRef() { return static_cast<ULONG>(++references_); }

// The object belongs to the caller's stack; the count only has to balance.
STDMETHODIMP_(ULONG) BindCallback::Release() { return static_cast<ULONG>(--references_); }

STDMETHODIMP BindCallback::OnStartBinding(DWORD, ::IBinding*) { return S_OK; }

STDMETHODIMP BindCallback::GetPriority(LONG* priority) {
  if (priority == nullptr) return E_POINTER;
  *priority = THREAD_PRIORITY_NORMAL;
  return S_OK;
}

STDMETHODIMP BindCallback::OnLowResource(DWORD) { return S_OK; }

STDMETHODIMP BindCallback::OnProgress(ULONG, ULONG, ULONG status, LPCWSTR text) {
  Trace("OnProgress " + std::to_string(status) + " " +
        (text != nullptr ? win32::Narrow(text) : std::string()));
  return S_OK;
}

STDMETHODIMP BindCallback::OnStopBinding(HRESULT result, LPCWSTR error) {
  Trace("OnStopBinding " + Hex(result) + " " +
        (error != nullptr ? win32::Narrow(error) : std::string()));
  result_ = result;
  return S_OK;
}

STDMETHODIMP BindCallback::GetBindInfo(DWORD*, BINDINFO*) { return S_OK; }

STDMETHODIMP BindCallback::OnDataAvailable(DWORD flags, DWORD size, FORMATETC*, STGMEDIUM* medium) {
  Trace("OnDataAvailable " + std::to_string(flags) + " " + std::to_string(size));
  if (medium == nullptr || medium->tymed != TYMED_ISTREAM || medium->pstm == nullptr) {
    return S_OK;
  }
  // Everything the stream holds now; the next notification brings the rest.
  while (writeOk_) {
    ULONG count = 0;
    HRESULT hr = medium->pstm->Read(buffer_.data(), static_cast<ULONG>(buffer_.size()), &count);
    if (count > 0 && std::fwrite(buffer_.data(), 1, count, out_) != count) writeOk_ = false;
    if (FAILED(hr) && hr != E_PENDING) writeOk_ = false;
    if (hr != S_OK || count == 0) break;
  }
  return S_OK;
}

STDMETHODIMP BindCallback::OnObjectAvailable(REFIID, ::IUnknown*) { return S_OK; }

}  // namespace vn::host
