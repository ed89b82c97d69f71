#include "act/win32/dispatch_server.h"

#include "act/win32/dispatch_object.h"
#include "act/win32/variant.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace vn::win32 {

std::atomic<long> DispatchServer::live_{0};

ComPtr<IDispatch> ServedDispatchOf(const AutoObject& object) {
  return ComPtr<IDispatch>::Adopt(new DispatchServer(object));
}

DispatchServer::DispatchServer(AutoObject object) : object_(std::move(object)) { ++live_; }

DispatchServer::~DispatchServer() { --live_; }

long DispatchServer::Live() { return live_.load(); }

HRESULT DispatchServer::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchServer::AddRef() { return ++references_; }

ULONG DispatchServer::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchServer::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;  // late-bound only, by member name
  return S_OK;
}

HRESULT DispatchServer::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT DispatchServer::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  // Every member name gets an id; the object says which names it does not know, when called.
  const std::string name = LowerAscii(Narrow(names[0]));
  DISPID id = 0;
  for (size_t i = 0; i < names_.size() && id == 0; ++i) {
    if (names_[i] == name) id = static_cast<DISPID>(i + 1);
  }
  if (id == 0) {
    names_.push_back(name);
    id = static_cast<DISPID>(names_.size());
  }
  ids[0] = id;
  // Named arguments are not part of the members served.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

AutoValue DispatchServer::Dispatch(const std::string& member, WORD flags,
                                   std::vector<AutoValue>& args) {
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    object_->PutProperty(member, args.empty() ? AutoValue() : args.back());
    return {};
  }
  if (flags == DISPATCH_PROPERTYGET && args.empty()) return object_->GetProperty(member);
  return object_->Invoke(member, args);
}

HRESULT DispatchServer::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT*) {
  std::string member;
  if (id != DISPID_VALUE) {
    if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    member = names_[static_cast<size_t>(id) - 1];
  }
  const UINT count = params == nullptr ? 0 : params->cArgs;
  try {
    // Invoke has the arguments in reverse order.
    std::vector<AutoValue> args;
    std::vector<AutoValue> given;
    for (UINT i = 0; i < count; ++i) {
      const VARIANTARG& arg = params->rgvarg[count - 1 - i];
      AutoValue value = FromVariant(arg, ClientObjectOf);
      args.push_back((arg.vt & VT_BYREF) != 0 ? AutoValue::Ref(value) : value);
      given.push_back(std::move(value));
    }
    AutoValue answer = Dispatch(member, flags, args);
    for (UINT i = 0; i < count; ++i) {
      const VARIANTARG& arg = params->rgvarg[count - 1 - i];
      if ((arg.vt & VT_BYREF) != 0 && !(args[i].Raw() == given[i].Raw())) {
        StoreByRef(arg, args[i], ServedDispatchOf);
      }
    }
    if (result != nullptr) {
      Variant v = ToVariant(answer, ServedDispatchOf);
      *result = v.Get();
      ::VariantInit(&v.Get());  // the caller owns the value now
    }
    return S_OK;
  } catch (const RuntimeError& e) {
    if (exception != nullptr) {
      ::ZeroMemory(exception, sizeof *exception);
      exception->scode = static_cast<SCODE>(e.Number());
      const std::wstring description = Widen(e.Description());
      const std::wstring source = Widen(e.Source());
      exception->bstrDescription =
          ::SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
      exception->bstrSource = ::SysAllocStringLen(source.data(), static_cast<UINT>(source.size()));
    }
    return DISP_E_EXCEPTION;
  } catch (const std::exception& e) {
    // A fault of our own (no automation error): reported to the caller, not hidden.
    if (exception != nullptr) {
      ::ZeroMemory(exception, sizeof *exception);
      exception->scode = E_UNEXPECTED;
      const std::wstring description = Widen(e.what());
      exception->bstrDescription =
          ::SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
    }
    return DISP_E_EXCEPTION;
  }
}

}  // namespace vn::win32
