#include "config/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace vn::config {

MsgResult QtMessageBoxes::Show(QWidget* parent, const QString& text, MsgIcon icon,
                               MsgButtons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromUtf8(kProgramTitle));
  box.setText(text);
  switch (icon) {
    case MsgIcon::kNone:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::kQuestion:
      box.setIcon(QMessageBox::Question);
      break;
    case MsgIcon::kExclamation:
      box.setIcon(QMessageBox::Warning);
      break;
  }
  if (buttons == MsgButtons::kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    return box.exec() == QMessageBox::Yes ? MsgResult::kYes : MsgResult::kNo;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgResult::kOk;
}

}  // namespace vn::config
