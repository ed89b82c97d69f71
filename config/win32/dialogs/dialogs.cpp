// The calls of the main window: the about window run modally and the data-link prompt with its
// way of telling the user. The splash window's call is beside its class.
#include "config/win32/dialogs/dialogs.h"

#include "config/win32/dialogs/data_links_prompt.h"
#include "config/win32/dialogs/frm_info.h"
#include "config/win32/dialogs/shell_execute.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

void ShowInfo(HWND owner) {
  clShellExecute shell;
  frmInfo info(owner, shell);
  info.RunModal();
}

std::unique_ptr<DataLinkPrompt> MakeDataLinkPrompt(HWND owner) {
  return std::make_unique<DataLinksPrompt>(owner, [owner](const std::string& text) {
    ::MessageBoxW(owner, vn::win32::Widen(text).c_str(), vn::win32::Widen(kProgramTitle).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
  });
}

std::unique_ptr<DataLinkPrompt> MakeDataLinkPrompt(HWND owner, Prompts& prompts) {
  return std::make_unique<DataLinksPrompt>(
      owner, [&prompts](const std::string& text) { prompts.Message(text, MsgIcon::kExclamation); });
}

}  // namespace vn::config::win32
