// KonfigurationWindow: everything the configuration program's main window does except drawing.
// The three editing tabs' records with the edit modes, record position, navigation, add, save,
// cancel and delete; the bound fields and their rules; the tab change and the close, which
// save a pending change first; the assignment tree's actions; the keyboard commands; the size
// and connection buttons of the tab Daten; the start options; the debug box's lines. A front
// shows it through a KonfigurationView, asks the user through Prompts and passes every press of
// a control to Press with the command the layout table (or the tree's menu) gives it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/core/assignment_tree.h"
#include "config/core/command.h"
#include "config/core/edit_mode.h"
#include "config/core/edit_records.h"
#include "config/core/field_rules.h"
#include "config/core/field_size.h"
#include "config/core/lookups.h"
#include "config/core/splash_prompts.h"
#include "config/core/view.h"

namespace vn {
class RuntimeError;
}

namespace vn::config {

class ConfigStore;
class ConnectionProbe;
class DataLinkPrompt;
class PreviewControl;
class Prompts;
struct Binding;

// The keys the window answers when the focus is on neither a text nor a list field.
// F5 is answered in the fields too (FieldKeyPressed).
enum class Key {
  kEscape,
  kEnd,
  kHome,
  kUp,
  kPageUp,
  kDown,
  kPageDown,
  kInsert,
  kDelete,
  kEnter,
  kF5
};

class KonfigurationWindow : private EditRecordsEvents {
 public:
  KonfigurationWindow(bool debug, KonfigurationView& view, Prompts& prompts);
  ~KonfigurationWindow() override;
  KonfigurationWindow(const KonfigurationWindow&) = delete;
  KonfigurationWindow& operator=(const KonfigurationWindow&) = delete;

  // The records of the three editing tabs (nullptr: the tab has none) and who else hears their
  // notifications (the data environment's handlers).
  void SetTableRecords(EditRecords* rubriken, EditRecords* daten, EditRecords* zuordnungen);
  void SetRecordEvents(EditRecordsEvents* events) { recordEvents_ = events; }
  void SetLookupSource(LookupSource* lookups) { lookups_ = lookups; }
  void SetConfigStore(ConfigStore* store) { store_ = store; }
  void SetConnectionTools(ConnectionProbe* probe, DataLinkPrompt* dataLink) {
    probe_ = probe;
    dataLink_ = dataLink;
  }

  // The preview window's core, which the data entry's preview runs in (nullptr: none).
  void SetPreview(PreviewControl* preview) { preview_ = preview; }

  // What closes the splash window while it is up: before any message or chooser of the window.
  void SetSplash(std::function<void()> closeSplash) { prompts_.SetSplash(std::move(closeSplash)); }

  // The load step: lists and fields filled, the first record, edit mode idle, the small buttons
  // moved down to their places; rubrics that share a name are told once.
  void Load();

  void SetEditMode(EditMode mode);
  EditMode GetEditMode() const { return editMode_; }
  void UpdateRecordsetStatus();
  void DisableZugriff() {}
  void WriteDebugLine(const std::string& text);
  void OnFieldChange(const std::string& field);

  // A bound or rule-bearing text field's content changed (typed, pasted, or set by the core):
  // the correction a rule makes, which the front shows (its change comes back here), or
  // nothing. `caret` is a byte offset in the UTF-8 text.
  std::optional<FieldCorrection> TextChanged(const std::string& control, const std::string& text,
                                             int caret);
  // A list field's selected row changed (-1: none).
  void ListChanged(const std::string& control, int row);

  // Selects tab 1 to 5 with the tab change's steps; false when a refused save keeps the tab
  // being left (the view then shows that tab again).
  bool SelectTab(int index);
  int SelectedTab() const { return selectedTab_; }
  EditRecords* CurrentRecords() const { return currentRecords_; }
  int FieldGap() const { return fieldGap_; }
  long SavedBookmark() const { return savedBookmark_; }
  bool DebugFlag() const { return debug_; }
  const WindowState& State() const { return state_; }
  // The window is closed; false when a refused save keeps it open.
  bool Close();

  // A control's press: runs its command (nothing for nullptr).
  void Press(Command command) {
    if (command != nullptr) (this->*command)();
  }

  // Button actions.
  void cmdMoveFirst_Click();
  void cmdMovePrevious_Click();
  void cmdMoveNext_Click();
  void cmdMoveLast_Click();
  void cmdAddNew_Click();
  void cmdOK_Click() { Save(); }
  void cmdCancel_Click();
  void cmdDelete_Click();
  void cmdInfo_Click() { view_.ShowAbout(); }
  void cmdReset_Click() { view_.ClearDebugBox(); }
  void cmdLine_Click();
  void cmdVerbindung_Click();
  // The size buttons enlarge their field or shrink it back.
  void cmdMinMaxDatenVerbindung_Click();
  void cmdMinMaxDatenAbfrage_Click();
  void cmdStartDateienErstellen_Click();
  void cmdStartDateienEntfernen_Click();
  // The folder chooser for the NetLinks folder.
  void cmdNetlinksOrdner_Click();
  // A new data entry filled from the current one, its title marked as a copy, ready to save.
  void cmdKopieren_Click();
  void PrepareStartOptions();
  // The preview of the data entry as it stands in the fields of the tab Daten.
  void cmdVorschau_Click();

  // A key pressed while the focus is on neither a text nor a list field: presses its button
  // if that is enabled; false when the key is not the window's or its button is off.
  bool KeyPressed(Key key, bool ctrlAlone);
  // A key pressed while the focus is in a text or list field: only the keys that do not edit
  // (F5); false for the others, which the field takes.
  bool FieldKeyPressed(Key key);

  // The assignment tree: its nodes as last built, and the actions on the selected node.
  const AssignmentTree& Tree() const { return tree_; }
  void tvZuordnungen_DblClick();
  // The context menu for the selected node (nothing to show over the root or without one).
  TreeMenu tvZuordnungen_MouseUp(int button) const;
  void mnuZeigeRubrik_Click();
  void mnuZeigeDaten_Click();
  void mnuZeigeZuordnung_Click();
  void mnuNeueZuordnung_Click();
  // The selected data entry shown on the tab Daten and previewed.
  void mnuVorschau_Click();

  // The caption of a column's field on the current tab, without its access-key marker.
  std::string FieldCaption(const std::string& column) const;

 private:
  // EditRecordsEvents: the bound fields are refreshed, then the handlers run.
  void FieldChangeComplete(EditRecords& records, const std::vector<ChangedField>& fields) override;
  void MoveComplete(EditRecords& records, int reason) override;
  void RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                            const vn::RuntimeError* error) override;
  void RecordsetChangeComplete(EditRecords& records, int reason) override;

  void Publish() { view_.ShowState(state_); }
  void Navigation(bool first, bool previous, bool next, bool last);
  int TabOf(const EditRecords* records) const;
  EditRecords* RecordsOfTab(int tab) const;
  void FillFields(int tab);
  void FillLists(int tab);
  void WriteField(const Binding& binding, const vn::data::Variant& value);
  void RefreshTab();
  void BuildTree();
  void ShowRecordOfNode(int tab, int node);
  void MoveAction(void (EditRecords::*move)());
  // Saves the current records' pending change before they are left (tab change, move, close);
  // false when nothing may be left because the save was refused.
  bool SavePending();
  // The save action; false when it was refused or failed. A refused save keeps the input.
  bool Save();
  bool RubricNameGiven();
  // False, with the message naming the other rubric, when a rubric is saved under a name that
  // another one carries.
  bool RubricNameUnique();
  void TellSharedRubricNames();
  // The question naming what the current row is assigned to (or shows), then the row deleted
  // with its assignments by `remove` and the records read again.
  void DeleteWithAssignments(const std::string& question, void (ConfigStore::*remove)(std::int64_t),
                             std::int64_t id);
  // A list field's rows for a record whose value is none of the list's: the list's rows and a
  // marker row for the value that points at nothing.
  void ShowMissingRow(const std::string& control, const vn::data::Variant& value);
  // The text a connection dialog gave back put into the connection field: a provider the
  // library cannot open is told at once.
  void TakeConnection(const std::string& field, const std::string& text, const std::string& result);
  std::string ErrorText(const vn::RuntimeError& error) const;

  bool debug_;
  KonfigurationView& view_;
  SplashPrompts prompts_;
  LookupSource* lookups_ = nullptr;
  ConnectionProbe* probe_ = nullptr;
  DataLinkPrompt* dataLink_ = nullptr;
  PreviewControl* preview_ = nullptr;
  EditRecordsEvents* recordEvents_ = nullptr;
  ConfigStore* store_ = nullptr;

  EditRecords* tabRecords_[3] = {nullptr, nullptr, nullptr};
  EditRecords* currentRecords_ = nullptr;
  long savedBookmark_ = 0;
  EditMode editMode_ = EditMode::kIdle;
  int selectedTab_ = 1;
  int fieldGap_ = 0;
  int filling_ = 0;
  bool loaded_ = false;
  WindowState state_;
  // The rows of each list field as its look-up gives them, and as the field shows them (with a
  // marker row for a value that points at nothing).
  std::map<std::string, std::vector<LookupRow>> lookupRows_;
  std::map<std::string, std::vector<LookupRow>> listRows_;
  AssignmentTree tree_;
  FieldSizes sizes_;
};

}  // namespace vn::config
