// Owns one VARIANT of a COM call: cleared (its string freed, its object released) when it goes.
// For the automation layer's conversions and every other late-bound call.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace vn::win32 {

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

}  // namespace vn::win32
