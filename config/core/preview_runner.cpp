#include "config/core/preview_runner.h"

#include <utility>

#include "resources/message_ids.h"

namespace vn::config {

PreviewRunner::~PreviewRunner() { Finish(); }

void PreviewRunner::Finish() {
  if (!worker_.joinable()) return;
  cancel_->Cancel();
  worker_.join();
  std::lock_guard lock(mutex_);
  result_.reset();
  running_ = false;
}

void PreviewRunner::Start(PreviewCommand command) {
  Finish();
  cancel_ = std::make_unique<data::CallCancel>();
  {
    std::lock_guard lock(mutex_);
    running_ = true;
  }
  worker_ = std::thread([this, command = std::move(command), cancel = cancel_.get()] {
    PreviewResult result;
    try {
      result = RunPreview(command, *cancel);
    } catch (const std::exception& failure) {
      // A failure of the program itself (out of memory): said in the window as its reason.
      result.caption = PreviewCaption(command.title);
      result.errorNumber = msg::kProgramError;
      result.errorText = failure.what();
    }
    {
      std::lock_guard lock(mutex_);
      result_ = std::move(result);
      running_ = false;
    }
    wake_.PreviewReady();
  });
}

void PreviewRunner::Cancel() {
  if (cancel_) cancel_->Cancel();
}

std::optional<PreviewResult> PreviewRunner::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(result_, std::nullopt);
}

bool PreviewRunner::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

}  // namespace vn::config
