// SplashPrompts: the program's prompts while its splash window may still be up. The splash stays
// on top of every window, so a message box or chooser behind it could be neither read nor
// answered: the splash is closed before the first of them shows.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "config/core/prompts.h"

namespace vn::config {

class SplashPrompts : public Prompts {
 public:
  explicit SplashPrompts(Prompts& prompts) : prompts_(prompts) {}

  // What closes the splash window; nothing once it is closed.
  void SetSplash(std::function<void()> closeSplash) { closeSplash_ = std::move(closeSplash); }
  // Closes the splash window if it is still up.
  void CloseSplash() {
    if (!closeSplash_) return;
    const std::function<void()> close = std::move(closeSplash_);
    closeSplash_ = nullptr;
    close();
  }

  MsgResult Message(const std::string& text, MsgIcon icon,
                    MsgButtons buttons = MsgButtons::kOk) override {
    CloseSplash();
    return prompts_.Message(text, icon, buttons);
  }
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& start) override {
    CloseSplash();
    return prompts_.ChooseFolder(title, start);
  }
  std::optional<std::string> ChooseFile(const std::string& title,
                                        const std::string& start) override {
    CloseSplash();
    return prompts_.ChooseFile(title, start);
  }

 private:
  Prompts& prompts_;
  std::function<void()> closeSplash_;
};

}  // namespace vn::config
