// Automation values as COM carries them: an owner for one VARIANT, and the conversions between
// AutoValue and VARIANT that both sides of a dispatch call use (text as UTF-16 BSTR, objects as
// IDispatch, "nothing" as a null IDispatch).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>

#include "act/automation.h"
#include "platform/com_ptr.h"

namespace vn::win32 {

// Owns one VARIANT: cleared (its string freed, its object released) when it goes.
class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      ::VariantClear(&value_);
      value_ = other.value_;
      ::VariantInit(&other.value_);
    }
    return *this;
  }

  VARIANT& Get() { return value_; }
  const VARIANT& Get() const { return value_; }
  // For calls that fill a VARIANT: what was held is cleared first.
  VARIANT* Out() {
    ::VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// How the objects of one side cross: an AutoObject handed to COM as an IDispatch (a new
// reference), and an IDispatch received from COM as an AutoObject.
using DispatchOf = std::function<ComPtr<IDispatch>(const AutoObject&)>;
using ObjectOf = std::function<AutoObject(IDispatch*)>;

// The VARIANT for `value` (the by-reference mark is not looked at here).
Variant ToVariant(const AutoValue& value, const DispatchOf& dispatchOf);

// The value of `v`, by-reference variants dereferenced. Types beyond AutoValue's are converted:
// other integers to a 32-bit integer, other numbers to a double, dates and the rest to text;
// what cannot be converted is a type-mismatch automation error.
AutoValue FromVariant(const VARIANT& v, const ObjectOf& objectOf);

// Stores `value` where the by-reference VARIANT `target` points, in the type it points to.
void StoreByRef(const VARIANT& target, const AutoValue& value, const DispatchOf& dispatchOf);

}  // namespace vn::win32
