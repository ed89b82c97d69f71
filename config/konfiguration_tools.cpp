// The window's keyboard commands, debug box, size buttons, connection button and start options.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include "config/connection_probe.h"
#include "config/data_link.h"
#include "config/frm_info.h"
#include "config/frm_konfiguration.h"
#include "config/message_box.h"
#include "config/start_files.h"
#include "config/twips.h"
#include "platform/registry.h"
#include "platform/runtime_error.h"

namespace vn::config {

// Keyboard -----------------------------------------------------------------------------------

bool frmKonfiguration::IsTextOrListField(const QWidget* widget) const {
  for (const QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
        qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QAbstractSpinBox*>(w))
      return true;
  }
  return false;
}

bool frmKonfiguration::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == tvZuordnungen_->viewport()) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton)
      tvZuordnungen_MouseUp(2, mouse->globalPosition().toPoint());
  }
  if (event->type() == QEvent::KeyPress) {
    QWidget* focus = QApplication::focusWidget();
    // Only the key's first delivery, to a control of this window.
    if (watched == focus && focus != nullptr && isAncestorOf(focus) &&
        HandleKey(static_cast<QKeyEvent*>(event)))
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool frmKonfiguration::HandleKey(QKeyEvent* event) {
  if (IsTextOrListField(QApplication::focusWidget())) return false;
  const Qt::KeyboardModifiers shift = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrlAlone = shift == Qt::ControlModifier;
  QToolButton* button = nullptr;
  switch (event->key()) {
    case Qt::Key_Escape:
      button = cmdCancel_;
      break;
    case Qt::Key_End:
      button = cmdMoveLast_;
      break;
    case Qt::Key_Home:
      button = cmdMoveFirst_;
      break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
      button = ctrlAlone ? cmdMoveFirst_ : cmdMovePrevious_;
      break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      button = ctrlAlone ? cmdMoveLast_ : cmdMoveNext_;
      break;
    case Qt::Key_Insert:
      button = cmdAddNew_;
      break;
    case Qt::Key_Delete:
      button = cmdDelete_;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      button = cmdOK_;
      break;
    default:
      return false;
  }
  if (button == nullptr || !button->isEnabled()) return false;
  button->click();
  return true;
}

// Debug box ----------------------------------------------------------------------------------

void frmKonfiguration::WriteDebugLine(const QString& text) {
  if (!debug_) return;
  const int height = txbStatus_->y() + txbStatus_->height() + 2 * statusBar()->height();
  if (this->height() != height) resize(width(), height);
  txbStatus_->moveCursor(QTextCursor::End);
  txbStatus_->insertPlainText(text + QStringLiteral("\n"));
}

// Size buttons -------------------------------------------------------------------------------

void frmKonfiguration::cmdMinMaxDatenVerbindung_Click() { ResizeField(false); }
void frmKonfiguration::cmdMinMaxDatenAbfrage_Click() { ResizeField(true); }

void frmKonfiguration::ResizeField(bool query) {
  QPlainTextEdit* field = query ? txbDatenAbfrage_ : txbDatenVerbindung_;
  QLabel* label = query ? lbDatenAbfrage_ : lbDatenVerbindung_;
  QPushButton* sizeButton = query ? cmdMinMaxDatenAbfrage_ : cmdMinMaxDatenVerbindung_;
  std::vector<QPushButton*> buttons{sizeButton};
  if (!query) buttons.push_back(cmdVerbindung_);
  const int panelHeight = TwipsGeometry(frTab_[1]).height;
  const int tpp = TwipsPerPixelY();
  const int gap = fieldGap_;
  const bool enlarge = sizeButton->text() == SizeCaptionNormal();

  int top = 0;
  int height = 0;
  int labelHeight = 0;
  if (enlarge) {
    top = TwipsGeometry(cbxDatenFormat_).top;
    height = panelHeight - top - 2 * gap;
    labelHeight = height;
  } else if (!query) {
    // Each field shrinks against the other's normal place, not its current one: an enlarged
    // neighbour would otherwise leave it one line high for good.
    const TwipsRect remark = TwipsGeometry(txbDatenBemerkung_);
    top = remark.top + remark.height + gap;
    height = normalAbfrage_.top - (remark.top + remark.height) - 2 * gap;
    labelHeight = TwipsGeometry(txbDatenTitel_).height;
  } else {
    const TwipsRect& connection = normalVerbindung_;
    top = connection.top + connection.height + gap;
    height = panelHeight - (connection.top + connection.height) - 3 * gap;
    labelHeight = TwipsGeometry(txbDatenTitel_).height;
  }
  height = std::max(height, TwipsGeometry(txbDatenTitel_).height);

  const TwipsRect f = TwipsGeometry(field);
  SetTwipsGeometry(field, f.left, top, f.width, height);
  const TwipsRect l = TwipsGeometry(label);
  SetTwipsGeometry(label, l.left, top, l.width, labelHeight);
  sizeButton->setText(enlarge ? SizeCaptionEnlarged() : SizeCaptionNormal());
  for (QPushButton* button : buttons) {
    const TwipsRect b = TwipsGeometry(button);
    SetTwipsGeometry(button, b.left, top + height - b.height - 2 * tpp, b.width, b.height);
  }
  if (enlarge) {
    field->raise();
    for (QPushButton* button : buttons) button->raise();
    label->raise();
  }
  field->setFocus();
}

// Connection button --------------------------------------------------------------------------

void frmKonfiguration::cmdVerbindung_Click() {
  const std::string text = txbDatenVerbindung_->toPlainText().toStdString();
  std::string result;
  try {
    if (text.empty()) {
      if (dataLink_ == nullptr) return;
      std::optional<std::string> created = dataLink_->PromptNew(this);
      if (!created) return;
      result = *created;
    } else {
      bool opened = false;
      try {
        if (probe_ == nullptr) throw vn::RuntimeError(3706, "Kein Datenzugriff vorhanden.");
        probe_->Probe(text);
        opened = true;
      } catch (const vn::RuntimeError& e) {
        const QString question = QStringLiteral("Fehlerhafte Verbindung:\n") +
                                 QString::fromStdString(e.Description()) +
                                 QStringLiteral("\n\nSoll eine neue Verbindung erstellt werden ?");
        if (messages_.Show(this, question, MsgIcon::kQuestion, MsgButtons::kYesNo) ==
                MsgResult::kYes &&
            dataLink_ != nullptr) {
          if (std::optional<std::string> created = dataLink_->PromptNew(this)) result = *created;
        }
      }
      if (opened && dataLink_ != nullptr) {
        if (std::optional<std::string> edited = dataLink_->PromptEdit(this, text)) result = *edited;
      }
    }
  } catch (const std::exception&) {
    return;  // a failing dialog ends the action without change
  }
  txbDatenVerbindung_->setFocus();
  if (!result.empty() && result != text)
    txbDatenVerbindung_->setPlainText(QString::fromStdString(result));
}

// Start options ------------------------------------------------------------------------------

void frmKonfiguration::PrepareStartOptions() {
  txbNetlinks_->setFocus();
  std::vector<LookupRow> rows;
  if (lookups_ != nullptr) {
    try {
      rows = lookups_->Rows("rsluRubriken");
    } catch (const vn::RuntimeError& e) {
      WriteDebugLine(QStringLiteral("rsluRubriken: ") + QString::fromStdString(e.Description()));
    }
  }
  cbxStartRubrik_->clear();
  for (const LookupRow& row : rows) cbxStartRubrik_->addItem(QString::fromStdString(row.text));
  if (!rows.empty()) cbxStartRubrik_->setEditText(QString::fromStdString(rows.front().text));

  const QString folder = QString::fromStdString(vn::RegistryValueText(vn::RegistryGetKeyValue(
      vn::RegistryRoot::kCurrentUser, "Software\\Symantec\\ACT!", "NetLinks File Type")));
  txbNetlinks_->setText(folder);
  if (folder.isEmpty()) {
    messages_.Show(this,
                   QStringLiteral("Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
                                  "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."),
                   MsgIcon::kInformation);
    txbNetlinks_->setFocus();
  }
  if (!DirExists(folder.toStdString())) {
    messages_.Show(this,
                   QStringLiteral("Der Ordner '") + folder +
                       QStringLiteral("' für die NetLinks-Ablagorte von ACT! existiert nicht.\n"
                                      "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."),
                   MsgIcon::kInformation);
    txbNetlinks_->setFocus();
  }
}

void frmKonfiguration::cmdStartDateienErstellen_Click() {
  CreateStartFiles(txbNetlinks_->text().toStdString(), cbxStartRubrik_->currentText().toStdString(),
                   messages_, this);
}

void frmKonfiguration::cmdStartDateienEntfernen_Click() {
  RemoveStartFiles(txbNetlinks_->text().toStdString(), messages_, this);
}

void frmKonfiguration::cmdInfo_Click() {
  frmInfo info(this);
  info.exec();
}

}  // namespace vn::config
