// PreviewControl: the preview window's core. It resolves an entry's ACT! commands, starts its
// query on the runner's worker, and gives the result to the front's window on the window's
// thread; "Abbrechen" stops the query. One per configuration window; a new preview replaces
// the one shown, in the same window.
#pragma once

#include "act/act_standin.h"
#include "config/core/preview.h"
#include "config/core/preview_runner.h"
#include "config/core/preview_view.h"

namespace vn::config {

class PreviewControl : private PreviewWake {
 public:
  explicit PreviewControl(PreviewView& view) : view_(view), runner_(*this) {}
  PreviewControl(const PreviewControl&) = delete;
  PreviewControl& operator=(const PreviewControl&) = delete;

  // Previews `entry` as it stands; nothing is saved.
  void Show(const PreviewEntry& entry);
  // What the ACT! bridge runs over: a page's layer unless a test gives the stand-in's.
  void SetACTAutomation(ACTAutomation (*make)()) { makeAutomation_ = make; }
  // The window's "Abbrechen".
  void Cancel() { runner_.Cancel(); }
  // On the window's thread, after WakePreview: the finished result drawn.
  void Deliver();
  bool Running() const { return runner_.Running(); }

 private:
  void PreviewReady() override { view_.WakePreview(); }

  PreviewView& view_;
  ACTAutomation (*makeAutomation_)() = &PageACTAutomation;
  PreviewRunner runner_;  // last: its worker is stopped before the rest goes
};

}  // namespace vn::config
