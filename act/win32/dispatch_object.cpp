#include "act/win32/dispatch_object.h"

#include "act/win32/automation_error.h"
#include "act/win32/variant.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace vn::win32 {

ComPtr<IDispatch> ClientDispatchOf(const AutoObject& object) {
  const auto* dispatchObject = dynamic_cast<const clDispatchObject*>(object.get());
  return ComPtr<IDispatch>::Share(dispatchObject == nullptr ? nullptr : dispatchObject->Dispatch());
}

AutoObject ClientObjectOf(IDispatch* dispatch) {
  return std::make_shared<clDispatchObject>(ComPtr<IDispatch>::Share(dispatch));
}

DISPID clDispatchObject::IdOf(const std::string& member) {
  if (member.empty()) return DISPID_VALUE;
  const std::string key = LowerAscii(member);
  auto it = ids_.find(key);
  if (it != ids_.end()) return it->second;
  std::wstring name = Widen(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) ThrowAutomationError(hr, nullptr, member);
  ids_.emplace(key, id);
  return id;
}

AutoValue clDispatchObject::Call(const std::string& member, WORD flags,
                                 std::vector<AutoValue>& args) {
  const DISPID id = IdOf(member);
  const size_t count = args.size();
  // The values live in `values`; `passed` holds them (or, by reference, pointers into them) in
  // the reversed order that Invoke expects.
  std::vector<Variant> values;
  values.reserve(count);
  std::vector<VARIANTARG> passed(count);
  for (size_t i = 0; i < count; ++i) {
    values.push_back(ToVariant(args[i], ClientDispatchOf));
    VARIANT& value = values.back().Get();
    VARIANTARG& arg = passed[count - 1 - i];
    ::VariantInit(&arg);
    if (!args[i].IsRef()) {
      arg = value;  // a shallow copy: `values` keeps the ownership
    } else if (value.vt == VT_EMPTY) {
      arg.vt = VT_BYREF | VT_VARIANT;
      arg.pvarVal = &value;
    } else {
      arg.vt = static_cast<VARTYPE>(VT_BYREF | value.vt);
      arg.byref = &value.lVal;  // every member of the value union starts at the same place
    }
  }
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(count), 0};
  const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
  if (put) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  Variant result;
  ExceptionInfo exception;
  UINT argumentError = 0;
  HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                 put ? nullptr : result.Out(), exception.Get(), &argumentError);
  if (FAILED(hr)) ThrowAutomationError(hr, exception.Get(), member);
  for (size_t i = 0; i < count; ++i) {
    if (args[i].IsRef()) args[i] = AutoValue::Ref(FromVariant(values[i].Get(), ClientObjectOf));
  }
  return put ? AutoValue() : FromVariant(result.Get(), ClientObjectOf);
}

AutoValue clDispatchObject::Invoke(const std::string& member, std::vector<AutoValue>& args) {
  return Call(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

AutoValue clDispatchObject::GetProperty(const std::string& member) {
  std::vector<AutoValue> none;
  return Call(member, DISPATCH_PROPERTYGET, none);
}

void clDispatchObject::PutProperty(const std::string& member, const AutoValue& value) {
  std::vector<AutoValue> args{value};
  Call(member, DISPATCH_PROPERTYPUT, args);
}

}  // namespace vn::win32
