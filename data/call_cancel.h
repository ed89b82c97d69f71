// CallCancel: lets one thread stop the provider calls another thread is making, for a query a
// user waits for and may give up on. The thread that runs the query opens a Scope on it; each
// call into a driver made there meanwhile registers how it is stopped (a Watch); Cancel, from
// any thread, stops the running call and every later one of that thread.
#pragma once

#include <functional>
#include <mutex>

namespace vn::data {

class CallCancel {
 public:
  CallCancel() = default;
  CallCancel(const CallCancel&) = delete;
  CallCancel& operator=(const CallCancel&) = delete;

  // Stops the call now running under a Scope of this object, and every later one.
  void Cancel();
  bool Cancelled() const;

  // The calls of this thread may be cancelled through `cancel` while the scope lives.
  class Scope {
   public:
    explicit Scope(CallCancel& cancel);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    CallCancel* previous_;
  };

  // One call into a driver, from construction to destruction: `stop` runs on the cancelling
  // thread (at once when the cancel came first). The destructor waits until a running `stop`
  // has returned, so that it may use the handles of the call. Nothing outside a Scope.
  class Watch {
   public:
    explicit Watch(std::function<void()> stop);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    // The call was stopped by a cancel.
    bool Stopped() const;

   private:
    friend class CallCancel;
    CallCancel* cancel_;
    bool stopped_ = false;  // under the cancel's lock
  };

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  std::function<void()> stop_;  // of the call now running; empty between calls
  Watch* watch_ = nullptr;
};

}  // namespace vn::data
