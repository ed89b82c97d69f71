// The window's record editing: bound fields, edit modes, the record-position text, navigation,
// add, save, cancel and delete, the tab change and the close.
#include "config/core/konfiguration_window.h"

#include <cstdlib>

#include "config/core/bindings.h"
#include "config/core/config_store.h"
#include "config/core/data_env_events.h"
#include "config/core/edit_mode.h"
#include "config/core/error_texts.h"
#include "config/core/layout.h"
#include "config/core/prompts.h"
#include "config/core/record_status.h"
#include "config/core/texts.h"
#include "platform/config_names.h"
#include "platform/runtime_error.h"

namespace vn::config {

namespace {

const char* const kIdColumns[] = {configdb::kIdRubrik, configdb::kIdDaten, configdb::kIdZuordnung};

bool HasRecords(const EditRecords& records) { return !(records.Bof() && records.Eof()); }

bool SameValue(const vn::data::Variant& a, const vn::data::Variant& b) {
  if (a.IsNull() || a.IsEmpty() || b.IsNull() || b.IsEmpty()) return false;
  return VariantText(a) == VariantText(b);
}

}  // namespace

KonfigurationWindow::KonfigurationWindow(bool debug, KonfigurationView& view, Prompts& prompts)
    : debug_(debug), view_(view), prompts_(prompts) {
  const TwipsRect rubrik = Rect("txbRubrikenRubrik");
  const TwipsRect rang = Rect("txbRubrikenRang");
  fieldGap_ = std::abs(rang.top - rubrik.top - rubrik.height);
}

KonfigurationWindow::~KonfigurationWindow() {
  for (EditRecords* records : tabRecords_)
    if (records != nullptr) records->SetEvents(nullptr);
}

void KonfigurationWindow::SetTableRecords(EditRecords* rubriken, EditRecords* daten,
                                          EditRecords* zuordnungen) {
  EditRecords* records[3] = {rubriken, daten, zuordnungen};
  for (int i = 0; i < 3; ++i) {
    if (tabRecords_[i] != nullptr) tabRecords_[i]->SetEvents(nullptr);
    tabRecords_[i] = records[i];
    if (records[i] != nullptr) records[i]->SetEvents(this);
  }
  if (currentRecords_ != nullptr) currentRecords_ = RecordsOfTab(selectedTab_);
}

void KonfigurationWindow::Load() {
  currentRecords_ = tabRecords_[0];
  for (int tab = 1; tab <= 3; ++tab) {
    FillLists(tab);
    FillFields(tab);
  }
  if (currentRecords_ != nullptr && HasRecords(*currentRecords_)) currentRecords_->MoveFirst();
  SetEditMode(EditMode::kIdle);
  UpdateRecordsetStatus();
  // The small buttons drawn above their places come down to them.
  for (const ControlPlace& place : LayoutTable())
    if (place.pixelsUp > 0) view_.MoveDownPixels(place.name, layout::kSmallButtonPixelsDown);
  loaded_ = true;
  TellSharedRubricNames();
}

// A database written before names had to differ (or converted from one) opens as it is; the
// rubrics that share a name are told once, so that they can be renamed.
void KonfigurationWindow::TellSharedRubricNames() {
  if (store_ == nullptr) return;
  std::vector<std::vector<std::string>> groups;
  try {
    groups = store_->SharedRubricNames();
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine("SharedRubricNames: " + e.Description());
    return;
  }
  if (groups.empty()) return;
  std::string lines;
  for (const std::vector<std::string>& group : groups) {
    std::string line;
    for (const std::string& name : group) line += (line.empty() ? "" : ", ") + name;
    lines += (lines.empty() ? "" : "\n") + line;
  }
  prompts_.Message(DuplicateRubricsText(lines), MsgIcon::kInformation);
}

// Edit modes ----------------------------------------------------------------------------------

void KonfigurationWindow::SetEditMode(EditMode mode) {
  const EditModeRow* row = EditModeTableRow(mode);
  if (row == nullptr) return;
  editMode_ = mode;
  state_.edit = row->panel;
  state_.cancel = row->cancel;
  state_.ok = row->ok;
  state_.addNew = row->addNew;
  state_.deleteRecord = row->deleteRecord;
  if (mode == EditMode::kChanged && currentRecords_ != nullptr) {
    // Without a row to return to (the table is empty) cancelling goes to the first.
    savedBookmark_ = currentRecords_->OnRow() ? currentRecords_->Bookmark() : 0;
  }
  if (row->navigationOff) Navigation(false, false, false, false);
  Publish();
}

void KonfigurationWindow::Navigation(bool first, bool previous, bool next, bool last) {
  state_.moveFirst = first;
  state_.movePrevious = previous;
  state_.moveNext = next;
  state_.moveLast = last;
}

// Record position ----------------------------------------------------------------------------

void KonfigurationWindow::UpdateRecordsetStatus() {
  std::string text;
  EditRecords* records = currentRecords_;
  if (records == nullptr) {
    Navigation(false, false, false, false);
    state_.cancel = state_.ok = state_.addNew = state_.deleteRecord = false;
    state_.status = text;
    Publish();
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
          text = texts::RecordPosition(position, count);
          if (count == 1 && position == 1) {
            Navigation(false, false, false, false);
          } else if (position == 1) {
            Navigation(false, false, true, true);
          } else if (position == count) {
            Navigation(true, true, false, false);
          } else {
            Navigation(true, true, true, true);
          }
        } else {
          text = texts::kRecordDeleted;
        }
      } else {
        Publish();
        prompts_.Message(texts::kPastTheEnd, MsgIcon::kNone);
      }
    } else if (eof) {
      text = texts::kNoRecords;
      Navigation(false, false, false, false);
      state_.cancel = state_.ok = state_.deleteRecord = false;
      state_.addNew = true;
    } else {
      text = texts::RecordPosition(1, records->RecordCount());
      Navigation(false, false, true, true);
    }
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine("UpdateRecordsetStatus: " + e.Description());
  }

  // The row with identifier 1 of each table is read-only and never deleted; so is a tab without
  // a current row.
  const int tab = selectedTab_;
  state_.panelEnabled[tab - 1] = true;
  if (tab >= 1 && tab <= 3) {
    const bool locked =
        !records->HasCurrentRow() || VariantText(records->Value(kIdColumns[tab - 1])) == "1";
    if (locked) {
      state_.deleteRecord = false;
      state_.panelEnabled[tab - 1] = false;
    }
  }
  state_.status = text;
  Publish();
}

// Buttons ------------------------------------------------------------------------------------

void KonfigurationWindow::MoveAction(void (EditRecords::*step)()) {
  if (currentRecords_ == nullptr) return;
  // A pending change is saved before the record is left, as on a tab change: moving would
  // otherwise keep it only in the recordset, where the next refresh drops it.
  if (!SavePending()) return;
  try {
    (currentRecords_->*step)();
  } catch (const vn::RuntimeError& e) {
    prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
  }
  UpdateRecordsetStatus();
}

bool KonfigurationWindow::SavePending() {
  if (currentRecords_ == nullptr) return true;
  if (!state_.ok && !currentRecords_->IsChanged()) return true;
  return Save();
}

void KonfigurationWindow::cmdMoveFirst_Click() { MoveAction(&EditRecords::MoveFirst); }
void KonfigurationWindow::cmdMovePrevious_Click() { MoveAction(&EditRecords::MovePrevious); }
void KonfigurationWindow::cmdMoveNext_Click() { MoveAction(&EditRecords::MoveNext); }
void KonfigurationWindow::cmdMoveLast_Click() { MoveAction(&EditRecords::MoveLast); }

void KonfigurationWindow::cmdAddNew_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  try {
    if (HasRecords(*records)) savedBookmark_ = records->Bookmark();
    records->AddNew();
  } catch (const vn::RuntimeError& e) {
    prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
    return;
  }
  // The mode first: the first values put into the new row below are part of the new record.
  SetEditMode(EditMode::kNew);
  const int tab = selectedTab_;
  state_.panelEnabled[tab - 1] = true;
  Publish();
  if (tab == 1) {
    view_.Focus("txbRubrikenRubrik");
  } else if (tab == 2) {
    view_.Focus("txbDatenTitel");
    const std::vector<LookupRow>& rows = listRows_["cbxDatenFormat"];
    for (size_t i = 0; i < rows.size(); ++i) {
      if (SameValue(rows[i].id, vn::data::Variant(std::int64_t{1}))) {
        view_.ShowListRow("cbxDatenFormat", static_cast<int>(i));
        break;
      }
    }
  } else if (tab == 3) {
    view_.Focus("cbxZuordnungenRubrik");
  }
  SetEditMode(EditMode::kNew);
  UpdateRecordsetStatus();
  state_.panelEnabled[tab - 1] = true;
  Publish();
}

bool KonfigurationWindow::Save() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return true;
  if (!RubricNameGiven() || !RubricNameUnique()) return false;
  try {
    // A database file that has gone would take the save without anyone reading it again.
    if (store_ != nullptr) store_->CheckDatabase();
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    // What was typed stays pending, shown as typed, with OK and Cancel on: the user may save
    // again once the database takes it, or cancel.
    prompts_.Message(texts::SaveErrorText(ErrorText(e)), MsgIcon::kExclamation);
    SetEditMode(editMode_ == EditMode::kNew ? EditMode::kNew : EditMode::kChanged);
    return false;
  }
  try {
    if (records->AbsolutePosition() == records->RecordCount()) records->MoveLast();
  } catch (const vn::RuntimeError& e) {
    // The save is done; only the move onto the saved last row failed.
    WriteDebugLine("cmdOK: " + e.Description());
  }
  UpdateRecordsetStatus();
  return true;
}

// A rubric without a name cannot be linked from a menu or started: it is not saved.
bool KonfigurationWindow::RubricNameGiven() {
  if (currentRecords_ != tabRecords_[0] || currentRecords_ == nullptr) return true;
  if (!currentRecords_->HasCurrentRow()) return true;  // nothing of it is saved
  const std::string name = VariantText(currentRecords_->Value(configdb::kRubrik));
  if (name.find_first_not_of(" \t\r\n") != std::string::npos) return true;
  prompts_.Message(EmptyRubricNameText(), MsgIcon::kExclamation);
  if (selectedTab_ == 1) view_.Focus("txbRubrikenRubrik");
  return false;
}

bool KonfigurationWindow::RubricNameUnique() {
  if (currentRecords_ != tabRecords_[0] || currentRecords_ == nullptr || store_ == nullptr)
    return true;
  if (!currentRecords_->HasCurrentRow()) return true;
  const vn::data::Variant id = currentRecords_->Value(configdb::kIdRubrik);
  std::vector<std::string> others;
  try {
    others = store_->RubricsNamed(VariantText(currentRecords_->Value("Rubrik")),
                                  id.Is<std::int64_t>() ? id.As<std::int64_t>() : 0);
  } catch (const vn::RuntimeError& e) {
    // The save that follows meets the same database and reports what is wrong with it.
    WriteDebugLine("RubricsNamed: " + e.Description());
    return true;
  }
  if (others.empty()) return true;
  prompts_.Message(DuplicateRubricNameText(others.front()), MsgIcon::kExclamation);
  SetEditMode(editMode_ == EditMode::kNew ? EditMode::kNew : EditMode::kChanged);
  if (selectedTab_ == 1) view_.Focus("txbRubrikenRubrik");
  return false;
}

void KonfigurationWindow::cmdCancel_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  try {
    records->CancelBatch();
  } catch (const vn::RuntimeError& e) {
    // Without a current row the message shows no status lines.
    const long status = records->OnRow() ? records->Status() : 0;
    prompts_.Message(texts::CancelErrorText(e.Number(), ErrorText(e), RecordStatusText(status)),
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
      WriteDebugLine("cmdCancel: " + e.Description());
    }
  }
  // Nothing is pending any more; without a move (an empty table) no notification says so.
  if (HoldsInput(editMode_) && !records->IsChanged()) SetEditMode(EditMode::kIdle);
  UpdateRecordsetStatus();
}

void KonfigurationWindow::cmdDelete_Click() {
  EditRecords* records = currentRecords_;
  if (records == nullptr) return;
  // A data entry that rubrics show, or a rubric that shows data entries, is deleted with its
  // assignments, after a question that names the other side: left alone, the assignments would
  // point at nothing.
  const int tab = TabOf(records);
  if ((tab == 1 || tab == 2) && store_ != nullptr && records->HasCurrentRow()) {
    try {
      const vn::data::Variant id = records->Value(kIdColumns[tab - 1]);
      if (id.Is<std::int64_t>()) {
        const std::int64_t key = id.As<std::int64_t>();
        const std::vector<std::string> names =
            tab == 1 ? store_->AssignedData(key) : store_->AssignedRubrics(key);
        if (!names.empty()) {
          std::string lines;
          for (const std::string& name : names) lines += "\n" + name;
          if (tab == 1) {
            DeleteWithAssignments(texts::DeleteRubricQuestion(lines), &ConfigStore::DeleteRubric,
                                  key);
          } else {
            DeleteWithAssignments(texts::DeleteAssignedQuestion(lines),
                                  &ConfigStore::DeleteDataEntry, key);
          }
          return;
        }
      }
    } catch (const vn::RuntimeError& e) {
      prompts_.Message(texts::DeleteErrorText(e.Number(), ErrorText(e), RecordStatusText(0)),
                       MsgIcon::kExclamation);
      return;
    }
  }
  if (prompts_.Message(texts::kDeleteQuestion, MsgIcon::kQuestion, MsgButtons::kYesNo) !=
      MsgResult::kYes)
    return;
  // Without a current row there is no status to tell: the deletion below reports that itself.
  const long status = records->IsOpen() && records->OnRow() ? records->Status() : 0;
  if (status > 0)
    prompts_.Message(texts::RecordStatusMessage(RecordStatusText(status)), MsgIcon::kInformation);
  try {
    if (store_ != nullptr) store_->CheckDatabase();
    records->Delete();
    // The deletion is written at once: the next refresh would otherwise bring the row back.
    records->UpdateBatch();
  } catch (const vn::RuntimeError& e) {
    prompts_.Message(texts::DeleteErrorText(e.Number(), ErrorText(e), RecordStatusText(status)),
                     MsgIcon::kExclamation);
    try {
      records->CancelBatch();
    } catch (const vn::RuntimeError& cancel) {
      WriteDebugLine("cmdDelete: " + cancel.Description());
    }
    if (HoldsInput(editMode_) && !records->IsChanged()) SetEditMode(EditMode::kIdle);
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
    WriteDebugLine("cmdDelete: " + e.Description());
  }
  UpdateRecordsetStatus();
}

void KonfigurationWindow::DeleteWithAssignments(const std::string& question,
                                                void (ConfigStore::*remove)(std::int64_t),
                                                std::int64_t id) {
  if (prompts_.Message(question, MsgIcon::kQuestion, MsgButtons::kYesNo) != MsgResult::kYes) return;
  EditRecords* records = currentRecords_;
  const long position = records->AbsolutePosition();
  const long status = records->IsOpen() && records->OnRow() ? records->Status() : 0;
  try {
    (store_->*remove)(id);
  } catch (const vn::RuntimeError& e) {
    prompts_.Message(texts::DeleteErrorText(e.Number(), ErrorText(e), RecordStatusText(status)),
                     MsgIcon::kExclamation);
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
    prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
  }
  FillFields(TabOf(records));
  UpdateRecordsetStatus();
}

std::string KonfigurationWindow::ErrorText(const vn::RuntimeError& error) const {
  return UserErrorText(error, [this](const std::string& column) { return FieldCaption(column); });
}

std::string KonfigurationWindow::FieldCaption(const std::string& column) const {
  const int tab = TabOf(currentRecords_);
  for (const Binding& binding : BindingTable()) {
    if (binding.tab != tab || column != binding.column) continue;
    std::string caption = binding.caption;
    std::erase(caption, '&');
    return caption;
  }
  return {};
}

// Bound fields -------------------------------------------------------------------------------

std::optional<FieldCorrection> KonfigurationWindow::TextChanged(const std::string& control,
                                                                const std::string& text,
                                                                int caret) {
  const Binding* binding = BindingOf(control);
  if (binding == nullptr) return std::nullopt;
  OnFieldChange(control);
  // The replacement's own change writes the field.
  if (control == "txbRubrikenRubrik") {
    if (auto fix = RubricNameRule(text, caret)) return fix;
  } else if (control == "txbDatenAbfrage" || control == "txbDatenVerbindung") {
    if (auto fix = OneLineRule(text, caret)) return fix;
  }
  if (filling_ > 0) return std::nullopt;
  WriteField(*binding,
             binding->kind == BindKind::kNumber ? NumberValue(text) : vn::data::Variant(text));
  return std::nullopt;
}

void KonfigurationWindow::ListChanged(const std::string& control, int row) {
  const Binding* binding = BindingOf(control);
  if (binding == nullptr) return;
  OnFieldChange(control);
  if (filling_ > 0) return;
  const std::vector<LookupRow>& rows = listRows_[control];
  vn::data::Variant value = vn::data::Null{};
  if (row >= 0 && row < static_cast<int>(rows.size())) value = rows[static_cast<size_t>(row)].id;
  WriteField(*binding, value);
}

void KonfigurationWindow::OnFieldChange(const std::string& field) {
  if (!view_.Shown()) return;
  // Any change that is not the fields being filled from the records is an edit (typed, picked
  // from a list, pasted, or put in by a button), whatever the mode before: the record is
  // changed, and OK and Cancel are offered, so a tab change or a move saves it.
  if (filling_ == 0) {
    if (!HoldsInput(editMode_)) SetEditMode(EditMode::kChanged);
    return;
  }
  const std::string focus = view_.FocusedControl();
  if (focus.empty()) return;
  if (editMode_ == EditMode::kMoved) {
    SetEditMode(EditMode::kIdle);
  } else {
    WriteDebugLine(texts::WrongControlLine(editMode_ == EditMode::kIdle, field, focus));
  }
}

void KonfigurationWindow::WriteField(const Binding& binding, const vn::data::Variant& value) {
  EditRecords* records = RecordsOfTab(binding.tab);
  if (records == nullptr) return;
  try {
    records->SetValue(binding.column, value);
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine(std::string(binding.column) + ": " + e.Description());
  }
}

void KonfigurationWindow::FillFields(int tab) {
  EditRecords* records = RecordsOfTab(tab);
  ++filling_;
  for (const Binding& binding : BindingTable()) {
    if (binding.tab != tab) continue;
    vn::data::Variant value;
    // Without a current row the field shows nothing.
    if (records != nullptr)
      value = records->HasCurrentRow() ? records->Value(binding.column) : vn::data::Null{};
    if (binding.kind == BindKind::kList) {
      const std::vector<LookupRow>& rows = lookupRows_[binding.control];
      int row = -1;
      for (size_t i = 0; i < rows.size() && row < 0; ++i)
        if (SameValue(rows[i].id, value)) row = static_cast<int>(i);
      if (row < 0 && !value.IsNull() && !value.IsEmpty()) {
        ShowMissingRow(binding.control, value);
        continue;
      }
      // A marker row shown for the record before goes again.
      if (listRows_[binding.control].size() != rows.size()) {
        listRows_[binding.control] = rows;
        view_.ShowList(binding.control, rows);
      }
      view_.ShowListRow(binding.control, row);
    } else {
      view_.ShowField(binding.control, VariantText(value));
    }
  }
  --filling_;
}

void KonfigurationWindow::FillLists(int tab) {
  for (const Binding& binding : BindingTable()) {
    if (binding.tab != tab || binding.kind != BindKind::kList) continue;
    std::vector<LookupRow> rows;
    if (lookups_ != nullptr) {
      try {
        rows = lookups_->Rows(binding.lookup);
      } catch (const vn::RuntimeError& e) {
        WriteDebugLine(std::string(binding.lookup) + ": " + e.Description());
      }
    }
    lookupRows_[binding.control] = rows;
    listRows_[binding.control] = rows;
    view_.ShowList(binding.control, rows);
  }
}

void KonfigurationWindow::ShowMissingRow(const std::string& control,
                                         const vn::data::Variant& value) {
  // An assignment whose rubric or data entry was deleted: the list shows that it points at
  // nothing, and picking that row again writes the same value back.
  std::vector<LookupRow> rows = lookupRows_[control];
  rows.push_back({value, texts::MissingRowText(VariantText(value))});
  listRows_[control] = rows;
  view_.ShowList(control, rows);
  view_.ShowListRow(control, static_cast<int>(rows.size()) - 1);
}

int KonfigurationWindow::TabOf(const EditRecords* records) const {
  for (int i = 0; i < 3; ++i)
    if (tabRecords_[i] == records) return i + 1;
  return 0;
}

EditRecords* KonfigurationWindow::RecordsOfTab(int tab) const {
  return tab >= 1 && tab <= 3 ? tabRecords_[tab - 1] : nullptr;
}

// Notifications ------------------------------------------------------------------------------

void KonfigurationWindow::FieldChangeComplete(EditRecords& records,
                                              const std::vector<ChangedField>& fields) {
  if (recordEvents_ != nullptr) recordEvents_->FieldChangeComplete(records, fields);
}

void KonfigurationWindow::MoveComplete(EditRecords& records, int reason) {
  FillFields(TabOf(&records));
  if (recordEvents_ != nullptr) recordEvents_->MoveComplete(records, reason);
}

void KonfigurationWindow::RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                                               const vn::RuntimeError* error) {
  if (reason != adRsnFirstChange) FillFields(TabOf(&records));
  if (recordEvents_ != nullptr)
    recordEvents_->RecordChangeComplete(records, reason, recordCount, error);
}

void KonfigurationWindow::RecordsetChangeComplete(EditRecords& records, int reason) {
  FillFields(TabOf(&records));
  if (recordEvents_ != nullptr) recordEvents_->RecordsetChangeComplete(records, reason);
}

// Tab change and close -----------------------------------------------------------------------

bool KonfigurationWindow::SelectTab(int index) {
  if (index < 1 || index > 5) return false;
  // The tab being left keeps its pending change until it is saved; a refused save keeps the
  // user on that tab with the error shown.
  if (loaded_ && !SavePending()) {
    view_.ShowTab(selectedTab_);
    return false;
  }
  selectedTab_ = index;
  for (int i = 0; i < 5; ++i) state_.panelEnabled[i] = i == index - 1;
  view_.ShowTab(index);
  Publish();
  currentRecords_ = RecordsOfTab(index);
  if (index == 4) view_.Focus("tvZuordnungen");
  if (index == 5) PrepareStartOptions();
  RefreshTab();
  UpdateRecordsetStatus();
  return true;
}

void KonfigurationWindow::RefreshTab() {
  view_.ShowBusy(true);
  view_.LetMessagesRun();
  const int tab = selectedTab_;
  EditRecords* records = RecordsOfTab(tab);
  if (records != nullptr) {
    try {
      records->Requery();
      FillLists(tab);
      FillFields(tab);
      if (HasRecords(*records)) records->Update();
    } catch (const vn::RuntimeError& e) {
      prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
    }
  } else if (tab == 4) {
    try {
      BuildTree();
    } catch (const vn::RuntimeError& e) {
      prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
    }
  }
  view_.ShowBusy(false);
}

bool KonfigurationWindow::Close() {
  // Closing keeps what was typed, as leaving a tab does; a refused save keeps the window open
  // with the error shown.
  return SavePending();
}

// Debug box ----------------------------------------------------------------------------------

void KonfigurationWindow::WriteDebugLine(const std::string& text) {
  if (debug_) view_.WriteDebugLine(text);
}

void KonfigurationWindow::cmdLine_Click() { WriteDebugLine(texts::kDebugRule); }

}  // namespace vn::config
