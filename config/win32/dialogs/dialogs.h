// The configuration program's Windows windows besides the main one: the splash window, the about
// window (frmInfo) with its web link, and the system's data-link dialog behind the core's
// DataLinkPrompt. The main window reaches them only through these calls.
#pragma once
#include <windows.h>

#include <memory>

#include "config/core/data_link.h"
#include "config/core/prompts.h"

namespace vn::config::win32 {

// The splash window while the program loads; closed when the owner is destroyed.
class SplashWindow {
 public:
  virtual ~SplashWindow() = default;
};
std::unique_ptr<SplashWindow> ShowSplash(HINSTANCE instance);

// The about window, modal over `owner`.
void ShowInfo(HWND owner);

// The data-link dialog of the system (DataLinks' IDataSourceLocator), owned by `owner`. Where
// the dialog cannot be created, its calls say so in a message and return nothing.
std::unique_ptr<DataLinkPrompt> MakeDataLinkPrompt(HWND owner);
// The same, telling the user through the window's prompts (an exclamation message).
std::unique_ptr<DataLinkPrompt> MakeDataLinkPrompt(HWND owner, Prompts& prompts);

}  // namespace vn::config::win32
