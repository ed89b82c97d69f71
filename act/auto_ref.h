// AutoRef: one counted reference to an automation object, held the way COM code holds an
// interface pointer: it is moved rather than copied, released explicitly with Release() or at
// the end of its owner's life, and never shared by accident.
#pragma once

#include <utility>

#include "act/automation.h"

namespace vn {

class AutoRef {
 public:
  AutoRef() = default;
  explicit AutoRef(AutoObject object) : object_(std::move(object)) {}
  ~AutoRef() { Release(); }

  AutoRef(const AutoRef&) = delete;
  AutoRef& operator=(const AutoRef&) = delete;
  AutoRef(AutoRef&& other) noexcept : object_(std::move(other.object_)) {}
  AutoRef& operator=(AutoRef&& other) noexcept {
    if (this != &other) {
      Release();
      object_ = std::move(other.object_);
    }
    return *this;
  }

  // Takes the reference an automation call handed out, releasing the one held before.
  AutoRef& operator=(AutoObject object) {
    Release();
    object_ = std::move(object);
    return *this;
  }

  // Gives the reference back; the holder is empty ("nothing") afterwards.
  void Release() noexcept { object_.reset(); }

  explicit operator bool() const noexcept { return object_ != nullptr; }
  clAutomationObject* operator->() const noexcept { return object_.get(); }
  clAutomationObject* Get() const noexcept { return object_.get(); }

 private:
  AutoObject object_;
};

}  // namespace vn
