// PreviewRunner: runs a data entry's preview on a worker thread of its own, so that the window
// stays responsive, and hands the result to the window's thread: the worker only wakes the
// front (PreviewWake), which then takes the result on its own thread.
#pragma once

#include <mutex>
#include <optional>
#include <thread>

#include "config/core/preview.h"
#include "data/call_cancel.h"

namespace vn::config {

// Implemented by a front: called on the worker thread once a result is ready; the front then
// calls PreviewRunner::Take on its window's thread (Qt: a queued call; Win32: a posted message).
class PreviewWake {
 public:
  virtual ~PreviewWake() = default;
  virtual void PreviewReady() = 0;
};

class PreviewRunner {
 public:
  explicit PreviewRunner(PreviewWake& wake) : wake_(wake) {}
  // Cancels a running preview and waits for its worker.
  ~PreviewRunner();
  PreviewRunner(const PreviewRunner&) = delete;
  PreviewRunner& operator=(const PreviewRunner&) = delete;

  // Runs `command`; a preview still running is cancelled first and its result never shown.
  void Start(PreviewCommand command);
  // Stops the running preview's query; its result (cancelled) follows as any other.
  void Cancel();
  // The finished preview's result, once; nothing while none is ready.
  std::optional<PreviewResult> Take();
  bool Running() const;

 private:
  void Finish();

  PreviewWake& wake_;
  std::thread worker_;
  std::unique_ptr<data::CallCancel> cancel_;  // of the running preview
  mutable std::mutex mutex_;
  std::optional<PreviewResult> result_;
  bool running_ = false;
};

}  // namespace vn::config
