#include "config/win32/dialogs/ado_connection.h"

#include <oleauto.h>

#include "platform/hresult_text.h"
#include "platform/runtime_error.h"
#include "platform/win32/variant.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

// {00000550-0000-0010-8000-00AA006D2EA4}: ADO's dual interface _Connection as ADO 2.x
// defines it (the one every ADO answers).
constexpr IID kIidAdoConnection = {
    0x00000550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

// _Connection's table up to ConnectionString (after IDispatch: _ADO's Properties, then
// Connection15's ConnectionString). Only for an object whose IDispatch cannot serve: Wine 8's
// msado15 finds no type library for its dispatch calls (TYPE_E_LIBNOTREGISTERED), while the
// table of the same dual interface works. Outside the unnamed namespace: GCC takes a class
// there that nothing in this file implements for one whose calls never happen.
struct AdoConnectionTable : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Properties(IDispatch** properties) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionString(BSTR text) = 0;
};

namespace {

ComPtr<AdoConnectionTable> TableOf(IDispatch* connection, HRESULT dispatchFailure) {
  ComPtr<AdoConnectionTable> table;
  if (FAILED(
          connection->QueryInterface(kIidAdoConnection, reinterpret_cast<void**>(table.Receive()))))
    ThrowComError(dispatchFailure, "ConnectionString");
  return table;
}

}  // namespace

void ThrowComError(HRESULT hr, const std::string& what) {
  std::string text = vn::win32::SystemErrorText(static_cast<DWORD>(hr));
  // FormatMessage knows only some HRESULTs; "error <number>" says nothing to an administrator.
  if (text.rfind("error ", 0) == 0) text = Hex(hr);
  throw vn::RuntimeError(hr, text, what);
}

AdoConnection AdoConnection::Create() {
  CLSID clsid;
  HRESULT hr = ::CLSIDFromProgID(L"ADODB.Connection", &clsid);
  if (FAILED(hr)) ThrowComError(hr, "ADODB.Connection");
  ComPtr<IDispatch> connection;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(connection.Receive()));
  if (FAILED(hr)) ThrowComError(hr, "ADODB.Connection");
  return AdoConnection(std::move(connection));
}

HRESULT AdoConnection::ConnectionStringId(DISPID& id) const {
  wchar_t name[] = L"ConnectionString";
  LPOLESTR names[] = {name};
  return connection_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

std::string AdoConnection::ConnectionString() const {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  vn::win32::Variant result;
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = ConnectionStringId(id);
  if (SUCCEEDED(hr))
    hr = connection_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             result.Out(), nullptr, nullptr);
  if (FAILED(hr)) {
    ComPtr<AdoConnectionTable> table = TableOf(connection_.get(), hr);
    BSTR text = nullptr;
    const HRESULT tableResult = table->get_ConnectionString(&text);
    // The string is the owner's from here on.
    result.Out()->vt = VT_BSTR;
    result.Get().bstrVal = text;
    if (FAILED(tableResult)) ThrowComError(tableResult, "ConnectionString");
  }
  if (result.Get().vt != VT_BSTR) {
    hr = ::VariantChangeType(&result.Get(), &result.Get(), 0, VT_BSTR);
    if (FAILED(hr)) ThrowComError(hr, "ConnectionString");
  }
  const BSTR text = result.Get().bstrVal;
  return vn::win32::Narrow(std::wstring_view(text, text == nullptr ? 0 : ::SysStringLen(text)));
}

void AdoConnection::SetConnectionString(const std::string& text) {
  vn::win32::Variant value;
  const std::wstring wide = vn::win32::Widen(text);
  value.Get().vt = VT_BSTR;
  value.Get().bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (value.Get().bstrVal == nullptr) ThrowComError(E_OUTOFMEMORY, "ConnectionString");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value.Get(), &named, 1, 1};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = ConnectionStringId(id);
  if (SUCCEEDED(hr))
    hr = connection_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                             nullptr, nullptr, nullptr);
  if (FAILED(hr)) hr = TableOf(connection_.get(), hr)->put_ConnectionString(value.Get().bstrVal);
  if (FAILED(hr)) ThrowComError(hr, "ConnectionString");
}

}  // namespace vn::config::win32
