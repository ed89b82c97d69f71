// Message boxes of the configuration program: one small interface, so that tests answer them,
// and its Qt implementation. Every box carries the program's title.
#pragma once

#include <QString>

class QWidget;

namespace vn::config {

inline constexpr const char* kProgramTitle = "Varnolis-Konfiguration";

enum class MsgIcon { kNone, kInformation, kQuestion, kExclamation };
enum class MsgButtons { kOk, kYesNo };
enum class MsgResult { kOk, kYes, kNo };

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

}  // namespace vn::config
