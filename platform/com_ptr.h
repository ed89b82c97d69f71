// ComPtr: holds one reference to a reference-counted component object (AddRef when it takes
// the object, Release when it lets go), so that no path forgets a Release or does one twice.
// Works for any class with AddRef and Release, the SDK's interfaces as well as this library's.
#pragma once

#include <utility>

namespace vn {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a reference of its own to `object` (which may be null).
  explicit ComPtr(T* object) : object_(object) {
    if (object_ != nullptr) object_->AddRef();
  }
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : ComPtr(other.object_) {}
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }

  // Lets go of the object. The pointer is cleared before Release, so that code the last Release
  // runs never finds the dying object here.
  void reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(object_, other.object_); }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace vn
