// Prompts: how the configuration program asks and tells its user, whatever draws the boxes:
// message boxes with an icon and buttons, and the choice of a folder or a file. A front
// implements it with its toolkit; tests answer from a script.
#pragma once

#include <optional>
#include <string>

namespace vn::config {

// The title every message box of the program carries.
inline constexpr const char* kProgramTitle = "Varnolis-Konfiguration";

enum class MsgIcon { kNone, kInformation, kQuestion, kExclamation };
enum class MsgButtons { kOk, kYesNo };
enum class MsgResult { kOk, kYes, kNo };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows `text` (UTF-8, line breaks as "\n") modally with the program's title and returns
  // the button pressed.
  virtual MsgResult Message(const std::string& text, MsgIcon icon,
                            MsgButtons buttons = MsgButtons::kOk) = 0;
  // A folder or an existing file chosen by the user, starting at `start`; nothing when the
  // user cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& start) = 0;
  virtual std::optional<std::string> ChooseFile(const std::string& title,
                                                const std::string& start) = 0;
};

}  // namespace vn::config
