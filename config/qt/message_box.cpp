#include "config/qt/message_box.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

#include "config/core/texts.h"

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
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8(texts::kButtonYes));
    box.button(QMessageBox::No)->setText(QString::fromUtf8(texts::kButtonNo));
    return box.exec() == QMessageBox::Yes ? MsgResult::kYes : MsgResult::kNo;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setText(QString::fromUtf8(texts::kButtonOk));
  box.exec();
  return MsgResult::kOk;
}

MsgResult QtPrompts::Message(const std::string& text, MsgIcon icon, MsgButtons buttons) {
  return messages_.Show(parent_, QString::fromStdString(text), icon, buttons);
}

std::optional<std::string> QtPrompts::ChooseFolder(const std::string& title,
                                                   const std::string& start) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title),
                                                           QString::fromStdString(start));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::optional<std::string> QtPrompts::ChooseFile(const std::string& title,
                                                 const std::string& start) {
  const QString file = QFileDialog::getOpenFileName(parent_, QString::fromStdString(title),
                                                    QString::fromStdString(start));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

}  // namespace vn::config
