// The window's record editing: bound fields, edit modes, the record-position text, navigation,
// add, save, cancel and delete, the tab change.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidget>

#include "config/config_store.h"
#include "config/data_env_events.h"
#include "config/error_texts.h"
#include "config/frm_konfiguration.h"
#include "config/message_box.h"
#include "config/record_status.h"
#include "config/twips.h"
#include "platform/runtime_error.h"

namespace vn::config {

namespace {

const char* const kEditModeTexts[] = {"", "geändert", "gespeichert", "gewechselt", "neu"};
const char* const kIdColumns[] = {"ID_Rubrik", "ID_Daten", "ID_Zuordnung"};

QVariant ToQVariant(const vn::data::Variant& value) {
  if (value.Is<std::int64_t>()) return QVariant(static_cast<qlonglong>(value.As<std::int64_t>()));
  if (value.Is<double>()) return QVariant(static_cast<qlonglong>(value.As<double>()));
  if (value.Is<std::string>()) return QVariant(QString::fromStdString(value.As<std::string>()));
  return {};
}

vn::data::Variant FromQVariant(const QVariant& value) {
  if (!value.isValid()) return vn::data::Null{};
  if (value.typeId() == QMetaType::LongLong) return static_cast<std::int64_t>(value.toLongLong());
  return value.toString().toStdString();
}

// A number field stores a whole number when the text is one, NULL when it is empty, and the
// text as it is otherwise (the database then refuses it on save).
vn::data::Variant NumberValue(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return vn::data::Null{};
  bool ok = false;
  const qlonglong number = trimmed.toLongLong(&ok);
  if (ok) return static_cast<std::int64_t>(number);
  return text.toStdString();
}

bool HasRecords(const EditRecords& records) { return !(records.Bof() && records.Eof()); }

}  // namespace

void frmKonfiguration::SetTableRecords(EditRecords* rubriken, EditRecords* daten,
                                       EditRecords* zuordnungen) {
  EditRecords* records[3] = {rubriken, daten, zuordnungen};
  for (int i = 0; i < 3; ++i) {
    if (tabRecords_[i] != nullptr) tabRecords_[i]->SetEvents(nullptr);
    tabRecords_[i] = records[i];
    if (records[i] != nullptr) records[i]->SetEvents(this);
  }
  if (currentRecords_ != nullptr) currentRecords_ = RecordsOfTab(SelectedTab());
}

void frmKonfiguration::Load() {
  // The window is as wide as the tab strip plus the frame's margin on both sides and as high as
  // the status bar below the button bar: the debug box lies outside the visible area.
  const TwipsRect strip = TwipsGeometry(tabStrip_);
  const TwipsRect bar = TwipsGeometry(picDatenSteuerung_);
  const int frameWidth = ToTwipsX(frameGeometry().width() - geometry().width());
  const int innerWidth = strip.left + strip.width + std::max(frameWidth, strip.left);
  const int statusHeight = ToTwipsY(statusBar()->sizeHint().height());
  const int innerHeight = statusHeight + bar.top + bar.height + 48;
  setFixedWidth(ToPixelsX(innerWidth));
  resize(ToPixelsX(innerWidth), ToPixelsY(innerHeight));
  // Smaller, the button bar and the status bar would be cut off.
  setMinimumHeight(ToPixelsY(innerHeight));

  currentRecords_ = tabRecords_[0];
  for (int tab = 1; tab <= 3; ++tab) {
    FillLists(tab);
    FillFields(tab);
  }
  if (currentRecords_ != nullptr && HasRecords(*currentRecords_)) currentRecords_->MoveFirst();
  SetEditMode(0);
  UpdateRecordsetStatus();

  const TwipsRect rubrik = TwipsGeometry(txbRubrikenRubrik_);
  const TwipsRect rang = TwipsGeometry(txbRubrikenRang_);
  fieldGap_ = std::abs(rang.top - rubrik.top - rubrik.height);

  for (QPushButton* button : {cmdMinMaxDatenVerbindung_, cmdMinMaxDatenAbfrage_, cmdVerbindung_})
    button->move(button->x(), button->y() + 2);
  normalVerbindung_ = TwipsGeometry(txbDatenVerbindung_);
  normalAbfrage_ = TwipsGeometry(txbDatenAbfrage_);
  loaded_ = true;
}

// Edit modes ----------------------------------------------------------------------------------

void frmKonfiguration::SetEditMode(int mode) {
  if (mode < 0 || mode > 4) return;
  editMode_ = mode;
  editPanel_->setText(QString::fromUtf8(kEditModeTexts[mode]));
  const bool editing = mode == 1 || mode == 4;
  cmdCancel_->setEnabled(editing);
  cmdOK_->setEnabled(editing);
  cmdAddNew_->setEnabled(!editing);
  cmdDelete_->setEnabled(!editing);
  if (mode == 1 && currentRecords_ != nullptr) {
    try {
      savedBookmark_ = currentRecords_->Bookmark();
    } catch (const vn::RuntimeError&) {
      // No current row to return to (the table is empty): cancelling then goes to the first.
      savedBookmark_ = 0;
    }
  }
  if (mode == 4) {
    for (QToolButton* button : {cmdMoveFirst_, cmdMovePrevious_, cmdMoveNext_, cmdMoveLast_})
      button->setEnabled(false);
  }
}

QString frmKonfiguration::StatusText() const { return statusPanel_->text(); }

// Record position ----------------------------------------------------------------------------

void frmKonfiguration::UpdateRecordsetStatus() {
  QString text;
  EditRecords* records = currentRecords_;
  auto navigation = [this](bool first, bool previous, bool next, bool last) {
    cmdMoveFirst_->setEnabled(first);
    cmdMovePrevious_->setEnabled(previous);
    cmdMoveNext_->setEnabled(next);
    cmdMoveLast_->setEnabled(last);
  };
  if (records == nullptr) {
    navigation(false, false, false, false);
    for (QToolButton* button : {cmdCancel_, cmdOK_, cmdAddNew_, cmdDelete_})
      button->setEnabled(false);
    statusPanel_->setText(text);
    return;
  }
  try {
    const bool bof = records->Bof();
    const bool eof = records->Eof();
    if (!bof) {
      if (!eof) {
        const long status = records->Status();
        if ((status & adRecDeleted) == 0 && (status & adRecDBDeleted) == 0) {
          const long position = records->AbsolutePosition();
          const long count = records->RecordCount();
          text = QString::number(position) + QStringLiteral(". Datensatz von ") +
                 QString::number(count);
          if (count == 1 && position == 1) {
            navigation(false, false, false, false);
          } else if (position == 1) {
            navigation(false, false, true, true);
          } else if (position == count) {
            navigation(true, true, false, false);
          } else {
            navigation(true, true, true, true);
          }
        } else {
          text = QStringLiteral("Datensatz ist gelöscht.");
        }
      } else {
        messages_.Show(this, QStringLiteral("BOF=False EOF=True"), MsgIcon::kNone);
      }
    } else if (eof) {
      text = QStringLiteral("Es sind keine Datensätze vorhanden.");
      navigation(false, false, false, false);
      cmdCancel_->setEnabled(false);
      cmdOK_->setEnabled(false);
      cmdDelete_->setEnabled(false);
      cmdAddNew_->setEnabled(true);
    } else {
      text = QStringLiteral("1. Datensatz von ") + QString::number(records->RecordCount());
      navigation(false, false, true, true);
    }
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine(QStringLiteral("UpdateRecordsetStatus: ") +
                   QString::fromStdString(e.Description()));
  }

  // The row with identifier 1 of each table is read-only and never deleted; so is a tab without
  // a current row.
  const int tab = SelectedTab();
  frTab_[tab - 1]->setEnabled(true);
  if (tab >= 1 && tab <= 3) {
    bool locked = false;
    try {
      locked = VariantText(records->Value(kIdColumns[tab - 1])) == QStringLiteral("1");
    } catch (const vn::RuntimeError&) {
      locked = true;  // no current row: nothing to edit or delete
    }
    if (locked) {
      cmdDelete_->setEnabled(false);
      frTab_[tab - 1]->setEnabled(false);
    }
  }
  statusPanel_->setText(text);
}

// Buttons ------------------------------------------------------------------------------------

void frmKonfiguration::MoveAction(void (EditRecords::*step)()) {
  if (currentRecords_ == nullptr) return;
  // A pending change is saved before the record is left, as on a tab change: moving would
  // otherwise keep it only in the recordset, where the next refresh drops it.
  if (!SavePending()) return;
  try {
    (currentRecords_->*step)();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
  }
  UpdateRecordsetStatus();
}

bool frmKonfiguration::SavePending() {
  if (currentRecords_ == nullptr) return true;
  if (!cmdOK_->isEnabled() && !currentRecords_->IsChanged()) return true;
  return Save();
}

void frmKonfiguration::cmdMoveFirst_Click() { MoveAction(&EditRecords::MoveFirst); }
void frmKonfiguration::cmdMovePrevious_Click() { MoveAction(&EditRecords::MovePrevious); }
void frmKonfiguration::cmdMoveNext_Click() { MoveAction(&EditRecords::MoveNext); }
void frmKonfiguration::cmdMoveLast_Click() { MoveAction(&EditRecords::MoveLast); }

void frmKonfiguration::cmdAddNew_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  try {
    if (HasRecords(*records)) savedBookmark_ = records->Bookmark();
    records->AddNew();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
    return;
  }
  // The mode first: the first values put into the new row below are part of the new record.
  SetEditMode(4);
  const int tab = SelectedTab();
  frTab_[tab - 1]->setEnabled(true);
  if (tab == 1) {
    txbRubrikenRubrik_->setFocus();
  } else if (tab == 2) {
    txbDatenTitel_->setFocus();
    const int index = cbxDatenFormat_->findData(QVariant(qlonglong{1}));
    if (index >= 0) cbxDatenFormat_->setCurrentIndex(index);
  } else if (tab == 3) {
    cbxZuordnungenRubrik_->setFocus();
  }
  SetEditMode(4);
  UpdateRecordsetStatus();
  frTab_[tab - 1]->setEnabled(true);
}

void frmKonfiguration::cmdOK_Click() { Save(); }

bool frmKonfiguration::Save() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return true;
  if (!RubricNameGiven()) return false;
  try {
    // A database file that has gone would take the save without anyone reading it again.
    if (store_ != nullptr) store_->CheckDatabase();
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this,
                   QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\n") +
                       ErrorText(e) + QStringLiteral("\nDie Eingabe wird abgebrochen."),
                   MsgIcon::kExclamation);
    cmdCancel_Click();
    return false;
  }
  try {
    if (records->AbsolutePosition() == records->RecordCount()) records->MoveLast();
  } catch (const vn::RuntimeError& e) {
    // The save is done; only the move onto the saved last row failed.
    WriteDebugLine(QStringLiteral("cmdOK: ") + QString::fromStdString(e.Description()));
  }
  UpdateRecordsetStatus();
  return true;
}

// A rubric without a name cannot be linked from a menu or started: it is not saved.
bool frmKonfiguration::RubricNameGiven() {
  if (currentRecords_ != tabRecords_[0] || currentRecords_ == nullptr) return true;
  QString name;
  try {
    name = VariantText(currentRecords_->Value("Rubrik"));
  } catch (const vn::RuntimeError&) {
    return true;  // no current row: nothing of it is saved
  }
  if (!name.trimmed().isEmpty()) return true;
  messages_.Show(this, EmptyRubricNameText(), MsgIcon::kExclamation);
  if (SelectedTab() == 1) txbRubrikenRubrik_->setFocus();
  return false;
}

void frmKonfiguration::cmdCancel_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  try {
    records->CancelBatch();
  } catch (const vn::RuntimeError& e) {
    long status = 0;
    try {
      status = records->Status();
    } catch (const vn::RuntimeError&) {
      status = 0;  // no current row: the message shows no status lines
    }
    messages_.Show(this,
                   QStringLiteral("Es ist Fehler beim Abbrechen der Datenänderung aufgetreten.\n"
                                  "Fehlernummer:") +
                       QString::number(e.Number()) + QStringLiteral("\nFehlerbeschreibung:") +
                       ErrorText(e) + QStringLiteral("\n\nRecordsetstatus: ") +
                       RecordStatusText(status),
                   MsgIcon::kExclamation);
    return;
  }
  try {
    if (savedBookmark_ > 0) {
      records->SetBookmark(savedBookmark_);
    } else if (HasRecords(*records)) {
      records->MoveFirst();
    }
  } catch (const vn::RuntimeError&) {
    // The remembered row is gone (it was the one added): the first row instead.
    try {
      if (HasRecords(*records)) records->MoveFirst();
    } catch (const vn::RuntimeError& e) {
      WriteDebugLine(QStringLiteral("cmdCancel: ") + QString::fromStdString(e.Description()));
    }
  }
  // Nothing is pending any more; without a move (an empty table) no notification says so.
  if ((editMode_ == 1 || editMode_ == 4) && !records->IsChanged()) SetEditMode(0);
  UpdateRecordsetStatus();
}

void frmKonfiguration::cmdDelete_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  // A data entry that rubrics show is deleted with its assignments, after a question that
  // names those rubrics: left alone, the assignments would point at nothing.
  if (records == tabRecords_[1] && store_ != nullptr) {
    try {
      const vn::data::Variant id = records->Value("ID_Daten");
      if (id.Is<std::int64_t>()) {
        const std::vector<std::string> rubrics = store_->AssignedRubrics(id.As<std::int64_t>());
        if (!rubrics.empty()) {
          DeleteAssignedDataEntry(id.As<std::int64_t>(), rubrics);
          return;
        }
      }
    } catch (const vn::RuntimeError& e) {
      messages_.Show(this, DeleteErrorText(e, 0), MsgIcon::kExclamation);
      return;
    }
  }
  if (messages_.Show(this,
                     QStringLiteral("Sind Sie sicher, dass Sie den aktuellen Datensatz löschen "
                                    "wolllen?"),
                     MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
    return;
  long status = 0;
  try {
    if (records->IsOpen()) {
      status = records->Status();
      if (status > 0)
        messages_.Show(
            this,
            QStringLiteral("Status der aktuellen Datensatzgruppe\n") + RecordStatusText(status),
            MsgIcon::kInformation);
    }
  } catch (const vn::RuntimeError&) {
    status = 0;  // no current row: the deletion below reports that itself
  }
  try {
    if (store_ != nullptr) store_->CheckDatabase();
    records->Delete();
    // The deletion is written at once: the next refresh would otherwise bring the row back.
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, DeleteErrorText(e, status), MsgIcon::kExclamation);
    try {
      records->CancelBatch();
    } catch (const vn::RuntimeError& cancel) {
      WriteDebugLine(QStringLiteral("cmdDelete: ") + QString::fromStdString(cancel.Description()));
    }
    if ((editMode_ == 1 || editMode_ == 4) && !records->IsChanged()) SetEditMode(0);
    UpdateRecordsetStatus();
    return;
  }
  try {
    if (records->RecordCount() == 0) {
      records->MoveFirst();
    } else {
      records->MoveNext();
      if (records->Eof()) records->MoveLast();
      const long bookmark = records->Bookmark();
      records->MoveFirst();
      records->SetBookmark(bookmark);
    }
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine(QStringLiteral("cmdDelete: ") + QString::fromStdString(e.Description()));
  }
  UpdateRecordsetStatus();
}

QString frmKonfiguration::DeleteErrorText(const vn::RuntimeError& error, long status) const {
  return QStringLiteral("Es ist Fehler beim Löschen der Daten aufgetreten.\nFehlernummer:") +
         QString::number(error.Number()) + QStringLiteral("\nFehlerbeschreibung:") +
         ErrorText(error) + QStringLiteral("\n\nRecordsetstatus: ") + RecordStatusText(status);
}

void frmKonfiguration::DeleteAssignedDataEntry(std::int64_t dataId,
                                               const std::vector<std::string>& rubrics) {
  QString names;
  for (const std::string& rubric : rubrics)
    names += QStringLiteral("\n") + QString::fromStdString(rubric);
  if (messages_.Show(this,
                     QStringLiteral("Der aktuelle Datensatz ist diesen Rubriken zugeordnet:\n") +
                         names +
                         QStringLiteral("\n\nSollen der Datensatz und seine Zuordnungen "
                                        "gelöscht werden?"),
                     MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes)
    return;
  EditRecords* records = currentRecords_;
  const long position = records->AbsolutePosition();
  try {
    store_->DeleteDataEntry(dataId);
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, DeleteErrorText(e, 0), MsgIcon::kExclamation);
    return;
  }
  // The rows are read again; the one that followed the deleted row becomes current.
  try {
    records->Requery();
    if (HasRecords(*records)) {
      records->MoveFirst();
      for (long i = 1; i < position && !records->Eof(); ++i) records->MoveNext();
      if (records->Eof()) records->MoveLast();
    }
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
  }
  FillFields(TabOf(records));
  UpdateRecordsetStatus();
}

QString frmKonfiguration::ErrorText(const vn::RuntimeError& error) const {
  return UserErrorText(error, [this](const std::string& column) { return FieldCaption(column); });
}

QString frmKonfiguration::FieldCaption(const std::string& column) const {
  const int tab = TabOf(currentRecords_);
  for (const Binding& binding : bindings_) {
    if (binding.tab != tab || binding.column != column) continue;
    for (const QLabel* label : binding.widget->parentWidget()->findChildren<QLabel*>())
      if (label->buddy() == binding.widget) return label->text().remove(QLatin1Char('&'));
  }
  return {};
}

// Bound fields -------------------------------------------------------------------------------

void frmKonfiguration::Bind(QWidget* widget, int tab, const std::string& column, BindKind kind,
                            const std::string& lookup) {
  bindings_.push_back({widget, tab, column, kind, lookup});
  ConnectFieldChange(widget);
}

void frmKonfiguration::ConnectFieldChange(QWidget* widget) {
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    connect(line, &QLineEdit::textChanged, this, [this, widget] { FieldChanged(widget); });
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    connect(text, &QPlainTextEdit::textChanged, this, [this, widget] { FieldChanged(widget); });
  } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
    connect(list, &QComboBox::currentIndexChanged, this, [this, widget] { FieldChanged(widget); });
  }
}

void frmKonfiguration::FieldChanged(QWidget* widget) {
  OnFieldChange(widget->objectName());
  if (widget == txbRubrikenRubrik_) {
    // A rubric name is the last segment of its URL: no spaces.
    const QString text = txbRubrikenRubrik_->text();
    if (text.contains(QLatin1Char(' '))) {
      const int caret = txbRubrikenRubrik_->cursorPosition();
      txbRubrikenRubrik_->setText(QString(text).replace(QLatin1Char(' '), QLatin1Char('_')));
      txbRubrikenRubrik_->setCursorPosition(caret);
      return;  // the replacement's own change wrote the field
    }
  } else if (widget == txbDatenAbfrage_ || widget == txbDatenVerbindung_) {
    // A query or connection string is stored on one line: each line break becomes one blank
    // where it was, and the caret stays after it.
    auto* edit = static_cast<QPlainTextEdit*>(widget);
    const QString text = edit->toPlainText();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
      const int caret = edit->textCursor().position();
      int joinedCaret = caret;
      QString joined;
      for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
          if (i + 1 < caret) --joinedCaret;
          ++i;
        }
        joined += c == QLatin1Char('\n') || c == QLatin1Char('\r') ? QLatin1Char(' ') : c;
      }
      edit->setPlainText(joined);
      QTextCursor cursor = edit->textCursor();
      cursor.setPosition(std::min(joinedCaret, static_cast<int>(joined.size())));
      edit->setTextCursor(cursor);
      return;  // the replacement's own change wrote the field
    }
  }
  if (filling_ > 0) return;
  for (const Binding& binding : bindings_)
    if (binding.widget == widget) WriteField(binding);
}

void frmKonfiguration::OnFieldChange(const QString& fieldName) {
  if (!isVisible()) return;
  // Any change that is not the fields being filled from the records is an edit (typed, picked
  // from a list, pasted, or put in by a button), whatever the mode before: the record is
  // changed, and OK and Cancel are offered, so a tab change or a move saves it.
  if (filling_ == 0) {
    if (editMode_ != 1 && editMode_ != 4) SetEditMode(1);
    return;
  }
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return;
  const int mode = editMode_;
  if (mode == 3) {
    SetEditMode(0);
  } else if (mode == 0) {
    WriteDebugLine(QStringLiteral("Aktuell Falsches Control: ") + fieldName + QStringLiteral("/") +
                   focus->objectName());
  } else {
    WriteDebugLine(QStringLiteral("Falsches Control: ") + fieldName + QStringLiteral("/") +
                   focus->objectName());
  }
}

void frmKonfiguration::WriteField(const Binding& binding) {
  EditRecords* records = RecordsOfTab(binding.tab);
  if (records == nullptr) return;
  vn::data::Variant value;
  if (auto* line = qobject_cast<QLineEdit*>(binding.widget)) {
    value = binding.kind == BindKind::kNumber ? NumberValue(line->text())
                                              : vn::data::Variant(line->text().toStdString());
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(binding.widget)) {
    value = text->toPlainText().toStdString();
  } else if (auto* list = qobject_cast<QComboBox*>(binding.widget)) {
    value = FromQVariant(list->currentData());
  }
  try {
    records->SetValue(binding.column, value);
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine(QString::fromStdString(binding.column) + QStringLiteral(": ") +
                   QString::fromStdString(e.Description()));
  }
}

void frmKonfiguration::FillFields(int tab) {
  EditRecords* records = RecordsOfTab(tab);
  ++filling_;
  for (const Binding& binding : bindings_) {
    if (binding.tab != tab) continue;
    vn::data::Variant value;
    if (records != nullptr) {
      try {
        value = records->Value(binding.column);
      } catch (const vn::RuntimeError&) {
        value = vn::data::Null{};  // no current row: the field shows nothing
      }
    }
    if (auto* line = qobject_cast<QLineEdit*>(binding.widget)) {
      line->setText(VariantText(value));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(binding.widget)) {
      if (text->toPlainText() != VariantText(value)) text->setPlainText(VariantText(value));
    } else if (auto* list = qobject_cast<QComboBox*>(binding.widget)) {
      const QVariant id = ToQVariant(value);
      list->setCurrentIndex(id.isValid() ? list->findData(id) : -1);
    }
  }
  --filling_;
}

void frmKonfiguration::FillLists(int tab) {
  for (const Binding& binding : bindings_) {
    if (binding.tab != tab || binding.kind != BindKind::kList) continue;
    auto* list = qobject_cast<QComboBox*>(binding.widget);
    std::vector<LookupRow> rows;
    if (lookups_ != nullptr) {
      try {
        rows = lookups_->Rows(binding.lookup);
      } catch (const vn::RuntimeError& e) {
        WriteDebugLine(QString::fromStdString(binding.lookup) + QStringLiteral(": ") +
                       QString::fromStdString(e.Description()));
      }
    }
    const QSignalBlocker blocker(list);
    list->clear();
    for (const LookupRow& row : rows)
      list->addItem(QString::fromStdString(row.text), ToQVariant(row.id));
    list->setCurrentIndex(-1);
  }
}

int frmKonfiguration::TabOf(const EditRecords* records) const {
  for (int i = 0; i < 3; ++i)
    if (tabRecords_[i] == records) return i + 1;
  return 0;
}

EditRecords* frmKonfiguration::RecordsOfTab(int tab) const {
  return tab >= 1 && tab <= 3 ? tabRecords_[tab - 1] : nullptr;
}

// Notifications ------------------------------------------------------------------------------

void frmKonfiguration::FieldChangeComplete(EditRecords& records,
                                           const std::vector<ChangedField>& fields) {
  if (recordEvents_ != nullptr) recordEvents_->FieldChangeComplete(records, fields);
}

void frmKonfiguration::MoveComplete(EditRecords& records, int reason) {
  FillFields(TabOf(&records));
  if (recordEvents_ != nullptr) recordEvents_->MoveComplete(records, reason);
}

void frmKonfiguration::RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                                            const vn::RuntimeError* error) {
  if (reason != adRsnFirstChange) FillFields(TabOf(&records));
  if (recordEvents_ != nullptr)
    recordEvents_->RecordChangeComplete(records, reason, recordCount, error);
}

void frmKonfiguration::RecordsetChangeComplete(EditRecords& records, int reason) {
  FillFields(TabOf(&records));
  if (recordEvents_ != nullptr) recordEvents_->RecordsetChangeComplete(records, reason);
}

// Tab change ---------------------------------------------------------------------------------

int frmKonfiguration::SelectedTab() const { return tabBar_->currentIndex() + 1; }

void frmKonfiguration::SelectTab(int index) {
  if (index < 1 || index > 5) return;
  if (tabBar_->currentIndex() != index - 1) {
    tabBar_->setCurrentIndex(index - 1);  // its signal comes back here
    if (!loaded_) SelectTab(index);
    return;
  }
  // The tab being left keeps its pending change until it is saved; a refused save keeps the
  // user on that tab with the error shown.
  if (loaded_ && !SavePending()) {
    const QSignalBlocker blocker(tabBar_);
    tabBar_->setCurrentIndex(shownTab_ - 1);
    return;
  }
  shownTab_ = index;
  const TwipsRect strip = TwipsGeometry(tabStrip_);
  for (int i = 0; i < 5; ++i) {
    if (i == index - 1) {
      frTab_[i]->move(ToPixelsX(strip.left + 240), ToPixelsY(strip.top + 480));
      frTab_[i]->setEnabled(true);
      frTab_[i]->raise();
    } else {
      frTab_[i]->move(central_->width(), central_->height());
      frTab_[i]->setEnabled(false);
    }
  }
  cmdInfo_->raise();
  currentRecords_ = RecordsOfTab(index);
  if (index == 4) tvZuordnungen_->setFocus();
  if (index == 5) PrepareStartOptions();
  RefreshTab();
  UpdateRecordsetStatus();
}

void frmKonfiguration::RefreshTab() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents();
  const int tab = SelectedTab();
  EditRecords* records = RecordsOfTab(tab);
  if (records != nullptr) {
    try {
      records->Requery();
      FillLists(tab);
      FillFields(tab);
      if (HasRecords(*records)) records->Update();
    } catch (const vn::RuntimeError& e) {
      messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
    }
  } else if (tab == 4) {
    try {
      BuildTree();
    } catch (const vn::RuntimeError& e) {
      messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
    }
  }
  QApplication::restoreOverrideCursor();
}

void frmKonfiguration::closeEvent(QCloseEvent* event) {
  // Closing keeps what was typed, as leaving a tab does; a refused save keeps the window open
  // with the error shown.
  if (!SavePending()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace vn::config
