#include "data/call_cancel.h"

namespace vn::data {

namespace {

// The cancel the current thread's calls answer to: a plain pointer, set and restored by Scope.
thread_local CallCancel* current = nullptr;

}  // namespace

void CallCancel::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (stop_ && watch_ != nullptr && !watch_->stopped_) {
    watch_->stopped_ = true;
    stop_();  // under the lock: the call's handles stay valid until it returns
  }
}

bool CallCancel::Cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

CallCancel::Scope::Scope(CallCancel& cancel) : previous_(current) { current = &cancel; }

CallCancel::Scope::~Scope() { current = previous_; }

CallCancel::Watch::Watch(std::function<void()> stop) : cancel_(current) {
  if (cancel_ == nullptr) return;
  std::lock_guard lock(cancel_->mutex_);
  if (cancel_->cancelled_) {
    // Cancelled before the call began: the driver is told at once, and the call fails as soon
    // as it looks.
    stopped_ = true;
    stop();
    return;
  }
  cancel_->stop_ = std::move(stop);
  cancel_->watch_ = this;
}

CallCancel::Watch::~Watch() {
  if (cancel_ == nullptr) return;
  std::lock_guard lock(cancel_->mutex_);
  if (cancel_->watch_ == this) {
    cancel_->stop_ = nullptr;
    cancel_->watch_ = nullptr;
  }
}

bool CallCancel::Watch::Stopped() const {
  if (cancel_ == nullptr) return false;
  std::lock_guard lock(cancel_->mutex_);
  return stopped_;
}

}  // namespace vn::data
