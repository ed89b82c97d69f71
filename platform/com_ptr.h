// ComPtr: holds one reference to a reference-counted component object and releases it when it
// lets go, so that no path forgets a Release or does one twice. Whether a pointer's reference is
// taken over or a new one added is said where the owner is made: Adopt or Share. Works for any
// class with AddRef and Release, the SDK's interfaces as well as this library's.
#pragma once

#include <utility>

namespace vn {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : ComPtr(Share(other.object_)) {}
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }

  // Takes over the reference the caller holds on `object` (which may be null): a new object, or
  // one that a call handed out.
  static ComPtr Adopt(T* object) {
    ComPtr owner;
    owner.object_ = object;
    return owner;
  }
  // Adds a reference of its own to `object` (which may be null), which the caller keeps.
  static ComPtr Share(T* object) {
    if (object != nullptr) object->AddRef();
    return Adopt(object);
  }

  // Lets go of the object. The pointer is cleared before Release, so that code the last Release
  // runs never finds the dying object here.
  void reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(object_, other.object_); }
  // For calls that hand out a new reference through an out parameter: the owner lets go of what
  // it held and adopts what the call writes.
  T** Receive() {
    reset();
    return &object_;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace vn
