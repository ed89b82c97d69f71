// PreviewView: what a front's preview window does for the core: show that a preview runs, draw
// its result, and wake the window's thread when a worker has finished one.
#pragma once

#include <string>
#include <vector>

#include "config/core/preview.h"

namespace vn::config {

// The lines above the preview's grid: the resolved connection and query, the failure or the
// rows' notice, the time taken. Composed by the core; a front shows them as they are.
std::vector<std::string> PreviewLines(const PreviewResult& result);

class PreviewView {
 public:
  virtual ~PreviewView() = default;
  // The window opens (or comes to the front) titled `caption`, its busy indicator on, its
  // "Abbrechen" enabled, its grid emptied.
  virtual void ShowPreviewRunning(const std::string& caption) = 0;
  // The result in the grid and the lines above it; the busy indicator off, "Abbrechen" off.
  virtual void ShowPreviewResult(const PreviewResult& result) = 0;
  // Called on the preview's worker thread: the front has its window's thread call
  // PreviewControl::Deliver (Qt: a queued call; Win32: a posted message).
  virtual void WakePreview() = 0;
};

}  // namespace vn::config
