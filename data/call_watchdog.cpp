#include "data/call_watchdog.h"

namespace vn::data {

namespace {

// How often an idle watchdog looks for a call, so that starting one costs no wake-up.
constexpr std::chrono::milliseconds kPoll{200};

}  // namespace

CallWatchdog::CallWatchdog(std::chrono::milliseconds limit) : limit_(limit) {
  if (limit_.count() > 0) thread_ = std::thread([this] { Watch(); });
}

CallWatchdog::~CallWatchdog() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void CallWatchdog::Watch() {
  std::unique_lock lock(mutex_);
  while (!ending_) {
    if (stop_ && !stopped_ && std::chrono::steady_clock::now() >= deadline_) {
      stopped_ = true;
      stop_();  // under the lock: the call's handles stay valid until it returns
      continue;
    }
    wake_.wait_for(lock, kPoll);
  }
}

CallWatchdog::Call::Call(CallWatchdog& watchdog, std::function<void()> stop)
    : watchdog_(watchdog), cancel_(stop) {
  if (!watchdog_.thread_.joinable()) return;
  std::lock_guard lock(watchdog_.mutex_);
  watchdog_.stop_ = std::move(stop);
  watchdog_.stopped_ = false;
  watchdog_.deadline_ = std::chrono::steady_clock::now() + watchdog_.limit_;
}

CallWatchdog::Call::~Call() {
  if (!watchdog_.thread_.joinable()) return;
  std::lock_guard lock(watchdog_.mutex_);
  watchdog_.stop_ = nullptr;
}

bool CallWatchdog::Call::Stopped() const {
  if (cancel_.Stopped()) return true;
  if (!watchdog_.thread_.joinable()) return false;
  std::lock_guard lock(watchdog_.mutex_);
  return watchdog_.stopped_;
}

}  // namespace vn::data
