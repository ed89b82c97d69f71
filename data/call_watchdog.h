// CallWatchdog: a thread beside a driver session that stops a call into the driver (executing
// a command, fetching its next rows) once it has run longer than the command timeout, for the
// drivers that do not enforce the timeout themselves while they wait for the server.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "data/call_cancel.h"

namespace vn::data {

class CallWatchdog {
 public:
  // `limit`: how long one call may run; zero or less: no watchdog at all.
  explicit CallWatchdog(std::chrono::milliseconds limit);
  ~CallWatchdog();
  CallWatchdog(const CallWatchdog&) = delete;
  CallWatchdog& operator=(const CallWatchdog&) = delete;

  // One watched call, from construction to destruction. `stop` runs on the watchdog's thread
  // when the call outlasts the limit; the destructor waits until a running `stop` has returned,
  // so that it may use the handles of the call. A call under a CallCancel::Scope is stopped the
  // same way by its cancel.
  class Call {
   public:
    Call(CallWatchdog& watchdog, std::function<void()> stop);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    // The call was stopped by the watchdog (its failure is the timeout) or cancelled.
    bool Stopped() const;

   private:
    CallWatchdog& watchdog_;
    CallCancel::Watch cancel_;
  };

 private:
  void Watch();

  const std::chrono::milliseconds limit_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> stop_;  // of the call now running; empty between calls
  std::chrono::steady_clock::time_point deadline_{};
  bool stopped_ = false;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace vn::data
