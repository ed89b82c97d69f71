// The window's record editing: bound fields, edit modes, the record-position text, navigation,
// add, save, cancel and delete, the tab change.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include "config/data_env_events.h"
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
  loaded_ = true;
}

// Edit modes ----------------------------------------------------------------------------------

void frmKonfiguration::SetEditMode(int mode) {
  if (mode < 0 || mode > 4) return;
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
    }
  }
  if (mode == 4) {
    for (QToolButton* button : {cmdMoveFirst_, cmdMovePrevious_, cmdMoveNext_, cmdMoveLast_})
      button->setEnabled(false);
  }
}

int frmKonfiguration::GetEditMode() const {
  const QString text = editPanel_->text();
  for (int mode = 0; mode <= 4; ++mode)
    if (text == QString::fromUtf8(kEditModeTexts[mode])) return mode;
  return 0;
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
    for (QToolButton* button : {cmdCancel_, cmdOK_, cmdAddNew_, cmdDelete_}) button->setEnabled(false);
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
    WriteDebugLine(QStringLiteral("UpdateRecordsetStatus: ") + QString::fromStdString(e.Description()));
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
      locked = true;
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
  if (cmdOK_->isEnabled()) cmdOK_Click();
  try {
    (currentRecords_->*step)();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, QString::fromStdString(e.Description()), MsgIcon::kExclamation);
  }
  UpdateRecordsetStatus();
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
    messages_.Show(this, QString::fromStdString(e.Description()), MsgIcon::kExclamation);
    return;
  }
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

void frmKonfiguration::cmdOK_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  try {
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this,
                   QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\n") +
                       QString::fromStdString(e.Description()) +
                       QStringLiteral("\nDie Eingabe wird abgebrochen."),
                   MsgIcon::kExclamation);
    cmdCancel_Click();
    return;
  }
  try {
    if (records->AbsolutePosition() == records->RecordCount()) records->MoveLast();
  } catch (const vn::RuntimeError&) {
  }
  UpdateRecordsetStatus();
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
    }
    messages_.Show(this,
                   QStringLiteral("Es ist Fehler beim Abbrechen der Datenänderung aufgetreten.\n"
                                  "Fehlernummer:") +
                       QString::number(e.Number()) + QStringLiteral("\nFehlerbeschreibung:") +
                       QString::fromStdString(e.Description()) +
                       QStringLiteral("\n\nRecordsetstatus: ") + RecordStatusText(status),
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
    } catch (const vn::RuntimeError&) {
    }
  }
  UpdateRecordsetStatus();
}

void frmKonfiguration::cmdDelete_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
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
        messages_.Show(this,
                       QStringLiteral("Status der aktuellen Datensatzgruppe\n") +
                           RecordStatusText(status),
                       MsgIcon::kInformation);
    }
  } catch (const vn::RuntimeError&) {
  }
  try {
    records->Delete();
    // The deletion is written at once: the next refresh would otherwise bring the row back.
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this,
                   QStringLiteral("Es ist Fehler beim Löschen der Daten aufgetreten.\n"
                                  "Fehlernummer:") +
                       QString::number(e.Number()) + QStringLiteral("\nFehlerbeschreibung:") +
                       QString::fromStdString(e.Description()) +
                       QStringLiteral("\n\nRecordsetstatus: ") + RecordStatusText(status),
                   MsgIcon::kExclamation);
    try {
      records->CancelBatch();
    } catch (const vn::RuntimeError&) {
    }
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
  } else if (widget == txbDatenAbfrage_) {
    // A query is stored on one line.
    const QString text = txbDatenAbfrage_->toPlainText();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
      QString joined = text;
      joined.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
      joined.replace(QLatin1Char('\n'), QLatin1Char(' '));
      joined.replace(QLatin1Char('\r'), QLatin1Char(' '));
      txbDatenAbfrage_->setPlainText(joined);
      return;
    }
  }
  if (filling_ > 0) return;
  for (const Binding& binding : bindings_)
    if (binding.widget == widget) WriteField(binding);
}

void frmKonfiguration::OnFieldChange(const QString& fieldName) {
  QWidget* focus = QApplication::focusWidget();
  if (!isVisible() || focus == nullptr) return;
  QWidget* field = central_->findChild<QWidget*>(fieldName);
  if (field != nullptr && (focus == field || field->isAncestorOf(focus))) {
    const int mode = GetEditMode();
    if (mode == 0) {
      SetEditMode(1);
    } else if (mode == 2 || mode == 3) {
      SetEditMode(0);
    }
    return;
  }
  const int mode = GetEditMode();
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

void frmKonfiguration::RecordChangeComplete(EditRecords& records, int reason, long recordCount) {
  if (reason != adRsnFirstChange) FillFields(TabOf(&records));
  if (recordEvents_ != nullptr) recordEvents_->RecordChangeComplete(records, reason, recordCount);
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
  if (cmdOK_->isEnabled()) cmdOK_Click();
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
      messages_.Show(this, QString::fromStdString(e.Description()), MsgIcon::kExclamation);
    }
  } else if (tab == 4) {
    try {
      BuildTree();
    } catch (const vn::RuntimeError& e) {
      messages_.Show(this, QString::fromStdString(e.Description()), MsgIcon::kExclamation);
    }
  }
  QApplication::restoreOverrideCursor();
}

void frmKonfiguration::closeEvent(QCloseEvent* event) {
  // Closing keeps what was typed, as leaving a tab does.
  if (cmdOK_->isEnabled()) cmdOK_Click();
  QMainWindow::closeEvent(event);
}

}  // namespace vn::config
