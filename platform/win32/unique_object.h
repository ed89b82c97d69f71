// UniqueObject: the one owner of a Windows handle of any kind (a kernel object, a registry key,
// a GDI or USER object, a device context): move-only, and freed by the call that belongs to its
// kind when the owner goes or takes another. Each kind names its free call (and, where a kind
// has another empty value than null, its emptiness test) in an alias beside its users.
#pragma once

#include <utility>

namespace vn::win32 {

// Whether a handle names nothing: null, for every kind that has no other empty value.
template <typename Handle>
bool IsNullHandle(Handle handle) {
  return handle == nullptr;
}

template <typename Handle, auto Free, auto IsEmpty = &IsNullHandle<Handle>>
class UniqueObject {
 public:
  UniqueObject() = default;
  explicit UniqueObject(Handle handle) : handle_(handle) {}
  ~UniqueObject() { Reset(); }
  UniqueObject(const UniqueObject&) = delete;
  UniqueObject& operator=(const UniqueObject&) = delete;
  UniqueObject(UniqueObject&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueObject& operator=(UniqueObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }

  Handle Get() const { return handle_; }
  bool Valid() const { return !IsEmpty(handle_); }
  // Frees the handle held (if any) and holds `handle` instead.
  void Reset(Handle handle = Handle{}) {
    if (!IsEmpty(handle_)) Free(handle_);
    handle_ = handle;
  }
  // For the calls that hand out a new handle through a pointer: the one held is freed first.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_{};
};

}  // namespace vn::win32
