// The core's prompts on Windows: message boxes (MessageBoxW with the program's title), the
// shell's folder browser and the common file dialog, owned by the main window.
#pragma once

#include <windows.h>

#include "config/core/prompts.h"

namespace vn::config::win32 {

class Win32Prompts : public Prompts {
 public:
  explicit Win32Prompts(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  MsgResult Message(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& start) override;
  std::optional<std::string> ChooseFile(const std::string& title,
                                        const std::string& start) override;

 private:
  HWND owner_;
};

}  // namespace vn::config::win32
