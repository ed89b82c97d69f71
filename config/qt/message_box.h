// Message boxes of the Qt front: one small interface, so that tests answer them, its Qt
// implementation, and the core's prompts over it. Every box carries the program's title.
#pragma once

#include <QString>

#include "config/core/prompts.h"

class QWidget;

namespace vn::config {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows `text` (line breaks as "\n") modally and returns the button pressed.
  virtual MsgResult Show(QWidget* parent, const QString& text, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::kOk) = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  MsgResult Show(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons) override;
};

// The core's prompts: its messages through `messages` over `parent`, folders and files through
// the Qt file dialog.
class QtPrompts : public Prompts {
 public:
  QtPrompts(MessageBoxes& messages, QWidget* parent) : messages_(messages), parent_(parent) {}
  MsgResult Message(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& start) override;
  std::optional<std::string> ChooseFile(const std::string& title,
                                        const std::string& start) override;

 private:
  MessageBoxes& messages_;
  QWidget* parent_;
};

}  // namespace vn::config
