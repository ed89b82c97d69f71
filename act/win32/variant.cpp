#include "act/win32/variant.h"

#include "act/win32/automation_error.h"
#include "platform/runtime_error.h"
#include "platform/win32/wide.h"

namespace vn::win32 {
namespace {

[[noreturn]] void TypeMismatch() {
  throw RuntimeError(kDispTypeMismatch, "Type mismatch", "VARIANT");
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) ThrowAutomationError(hr, nullptr, what);
}

BSTR NewBstr(const std::string& text) {
  const std::wstring wide = Widen(text);
  BSTR b = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (b == nullptr) ThrowAutomationError(E_OUTOFMEMORY, nullptr, "SysAllocStringLen");
  return b;
}

// `v` converted to `type`.
Variant Converted(const VARIANT& v, VARTYPE type) {
  Variant result;
  if (FAILED(::VariantChangeType(result.Out(), const_cast<VARIANT*>(&v), 0, type))) TypeMismatch();
  return result;
}

}  // namespace

Variant ToVariant(const AutoValue& value, const DispatchOf& dispatchOf) {
  Variant result;
  VARIANT& v = result.Get();
  const AutoValue::Value& raw = value.Raw();
  if (const auto* b = std::get_if<bool>(&raw)) {
    v.vt = VT_BOOL;
    v.boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const auto* i = std::get_if<std::int16_t>(&raw)) {
    v.vt = VT_I2;
    v.iVal = *i;
  } else if (const auto* l = std::get_if<std::int32_t>(&raw)) {
    v.vt = VT_I4;
    v.lVal = *l;
  } else if (const auto* d = std::get_if<double>(&raw)) {
    v.vt = VT_R8;
    v.dblVal = *d;
  } else if (const auto* s = std::get_if<std::string>(&raw)) {
    v.bstrVal = NewBstr(*s);
    v.vt = VT_BSTR;
  } else if (const auto* o = std::get_if<AutoObject>(&raw)) {
    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    if (*o) {
      ComPtr<IDispatch> dispatch = dispatchOf(*o);
      if (!dispatch) TypeMismatch();
      v.pdispVal = dispatch.get();
      v.pdispVal->AddRef();  // the VARIANT's own reference, released by VariantClear
    }
  }
  return result;
}

AutoValue FromVariant(const VARIANT& in, const ObjectOf& objectOf) {
  Variant dereferenced;
  const VARIANT* v = &in;
  if ((in.vt & VT_BYREF) != 0) {
    Check(::VariantCopyInd(dereferenced.Out(), const_cast<VARIANT*>(&in)), "VariantCopyInd");
    v = &dereferenced.Get();
  }
  switch (v->vt) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_BOOL:
      return AutoValue(v->boolVal != VARIANT_FALSE);
    case VT_I2:
      return AutoValue(static_cast<std::int16_t>(v->iVal));
    case VT_I4:
      return AutoValue(static_cast<std::int32_t>(v->lVal));
    case VT_R8:
      return AutoValue(v->dblVal);
    case VT_BSTR:
      return AutoValue(v->bstrVal == nullptr
                           ? std::string()
                           : Narrow(std::wstring_view(v->bstrVal, ::SysStringLen(v->bstrVal))));
    case VT_DISPATCH:
      return AutoValue(v->pdispVal == nullptr ? AutoObject() : objectOf(v->pdispVal));
    case VT_UNKNOWN: {
      if (v->punkVal == nullptr) return AutoValue(AutoObject());
      ComPtr<IDispatch> owner;
      if (FAILED(v->punkVal->QueryInterface(IID_IDispatch,
                                            reinterpret_cast<void**>(owner.Receive())))) {
        TypeMismatch();
      }
      return AutoValue(objectOf(owner.get()));
    }
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_INT:
      return AutoValue(static_cast<std::int32_t>(Converted(*v, VT_I4).Get().lVal));
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_CY:
    case VT_DECIMAL:
      return AutoValue(Converted(*v, VT_R8).Get().dblVal);
    default: {
      // Dates and whatever else ACT! may answer with: as the text VB would make of it.
      Variant text = Converted(*v, VT_BSTR);
      return FromVariant(text.Get(), objectOf);
    }
  }
}

void StoreByRef(const VARIANT& target, const AutoValue& value, const DispatchOf& dispatchOf) {
  if ((target.vt & VT_BYREF) == 0 || target.byref == nullptr) return;
  const VARTYPE type = target.vt & ~VT_BYREF;
  Variant given = ToVariant(value, dispatchOf);
  if (type == VT_VARIANT) {
    Check(::VariantCopy(target.pvarVal, &given.Get()), "VariantCopy");
    return;
  }
  Variant c = given.Get().vt == type ? std::move(given) : Converted(given.Get(), type);
  VARIANT& v = c.Get();
  switch (type) {
    case VT_BOOL:
      *target.pboolVal = v.boolVal;
      return;
    case VT_I2:
      *target.piVal = v.iVal;
      return;
    case VT_I4:
      *target.plVal = v.lVal;
      return;
    case VT_R8:
      *target.pdblVal = v.dblVal;
      return;
    case VT_BSTR:
      ::SysFreeString(*target.pbstrVal);
      *target.pbstrVal = v.bstrVal;
      v.vt = VT_EMPTY;  // the string now belongs to the caller's variable
      return;
    case VT_DISPATCH:
      if (*target.ppdispVal != nullptr) (*target.ppdispVal)->Release();
      *target.ppdispVal = v.pdispVal;
      v.vt = VT_EMPTY;
      return;
    default:
      TypeMismatch();
  }
}

}  // namespace vn::win32
