// The window's keyboard commands, size buttons, connection button, copy of a data entry and start
// options.
#include "config/core/bindings.h"
#include "config/core/connection_edit.h"
#include "config/core/connection_probe.h"
#include "config/core/data_env_events.h"
#include "config/core/data_link.h"
#include "config/core/error_texts.h"
#include "config/core/konfiguration_window.h"
#include "config/core/layout.h"
#include "config/core/prompts.h"
#include "config/core/start_files.h"
#include "config/core/texts.h"
#include "data/odbc_routes.h"
#include "platform/registry.h"
#include "platform/runtime_error.h"

namespace vn::config {

// Keyboard -----------------------------------------------------------------------------------

namespace {

// The bar's button each key presses, and the one it presses with Ctrl alone held.
struct KeyButton {
  Key key;
  const char* button;
  const char* withCtrl;
};

constexpr KeyButton kKeyButtons[] = {
    {Key::kEscape, "cmdCancel", "cmdCancel"},
    {Key::kEnd, "cmdMoveLast", "cmdMoveLast"},
    {Key::kHome, "cmdMoveFirst", "cmdMoveFirst"},
    {Key::kUp, "cmdMovePrevious", "cmdMoveFirst"},
    {Key::kPageUp, "cmdMovePrevious", "cmdMoveFirst"},
    {Key::kDown, "cmdMoveNext", "cmdMoveLast"},
    {Key::kPageDown, "cmdMoveNext", "cmdMoveLast"},
    {Key::kInsert, "cmdAddNew", "cmdAddNew"},
    {Key::kDelete, "cmdDelete", "cmdDelete"},
    {Key::kEnter, "cmdOK", "cmdOK"},
    {Key::kF5, "cmdVorschau", "cmdVorschau"},
};

}  // namespace

bool KonfigurationWindow::KeyPressed(Key key, bool ctrlAlone) {
  for (const KeyButton& row : kKeyButtons) {
    if (row.key != key) continue;
    const char* button = ctrlAlone ? row.withCtrl : row.button;
    // A bar button as the bar shows it; a tab's own button while its tab is shown.
    const ControlPlace& place = Place(button);
    const bool enabled = place.kind == ControlKind::kBarButton
                             ? state_.Enabled(button)
                             : place.container == "frTab" + std::to_string(selectedTab_ - 1);
    if (!enabled) return false;
    Press(Place(button).command);
    return true;
  }
  return false;
}

// Size buttons -------------------------------------------------------------------------------

void KonfigurationWindow::cmdMinMaxDatenVerbindung_Click() {
  view_.ShowResize(sizes_.Toggle(false, fieldGap_, view_.TwipsPerPixelY()));
}

void KonfigurationWindow::cmdMinMaxDatenAbfrage_Click() {
  view_.ShowResize(sizes_.Toggle(true, fieldGap_, view_.TwipsPerPixelY()));
}

// Connection button --------------------------------------------------------------------------

void KonfigurationWindow::cmdVerbindung_Click() {
  const std::string field = "txbDatenVerbindung";
  const std::string text = view_.FieldText(field);
  std::string result;
  try {
    if (text.empty()) {
      if (dataLink_ == nullptr) return;
      std::optional<std::string> created = dataLink_->PromptNew();
      if (!created) return;
      result = *created;
    } else if (dataLink_ != nullptr && !dataLink_->ShowsLibraryFiles() &&
               OpensLibraryFile(text)) {
      // A database file of the library's own providers, which the system's dialog does not
      // know: the file is chosen, and only its name changes.
      if (std::optional<std::string> file =
              prompts_.ChooseFile(texts::kDataLinkFileTitle, KeyValue(text, "Data Source")))
        result = ChangeKeys(text, {{"Data Source", *file}});
    } else {
      bool opened = false;
      try {
        if (probe_ == nullptr) throw vn::RuntimeError(3706, texts::kNoDataAccess);
        probe_->Probe(text);
        opened = true;
      } catch (const vn::RuntimeError& e) {
        if (prompts_.Message(texts::BadConnectionQuestion(e.Description()), MsgIcon::kQuestion,
                             MsgButtons::kYesNo) == MsgResult::kYes &&
            dataLink_ != nullptr) {
          if (std::optional<std::string> created = dataLink_->PromptNew()) result = *created;
        }
      }
      if (opened && dataLink_ != nullptr) {
        if (std::optional<std::string> edited = dataLink_->PromptEdit(text)) result = *edited;
      }
    }
  } catch (const std::exception&) {
    return;  // a failing dialog ends the action without change
  }
  view_.Focus(field);
  TakeConnection(field, text, result);
}

void KonfigurationWindow::TakeConnection(const std::string& field, const std::string& text,
                                         const std::string& result) {
  if (result.empty()) return;
  // Shown as if typed: the record is changed.
  if (result != text) view_.ShowField(field, result);
  // Said now rather than as message 101 on the page.
  if (std::optional<std::string> provider = ProviderLibraryCannotOpen(result))
    prompts_.Message(ProviderCannotOpenText(*provider, vn::data::UnknownProviderText(*provider)),
                     MsgIcon::kExclamation);
}

// Copy of a data entry ------------------------------------------------------------------------

void KonfigurationWindow::cmdKopieren_Click() {
  EditRecords* records = RecordsOfTab(2);
  if (currentRecords_ != records || records == nullptr || !records->HasCurrentRow()) return;
  // The entry as it stands, typed changes included, which are saved first as on a move.
  if (!SavePending()) return;
  std::vector<std::pair<const Binding*, vn::data::Variant>> values;
  try {
    for (const Binding& binding : BindingTable())
      if (binding.tab == 2) values.emplace_back(&binding, records->Value(binding.column));
  } catch (const vn::RuntimeError& e) {
    prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
    return;
  }
  cmdAddNew_Click();
  if (editMode_ != EditMode::kNew) return;
  // Put into the fields as if typed, so that the new record takes them.
  for (const auto& [binding, value] : values) {
    if (binding->kind == BindKind::kList) {
      const std::vector<LookupRow>& rows = listRows_[binding->control];
      for (size_t i = 0; i < rows.size(); ++i)
        if (VariantText(rows[i].id) == VariantText(value))
          view_.ShowListRow(binding->control, static_cast<int>(i));
      continue;
    }
    const std::string text = VariantText(value);
    view_.ShowField(binding->control,
                    std::string(binding->column) == "Titel" ? texts::CopyTitle(text) : text);
  }
  view_.Focus("txbDatenTitel");
}

// Start options ------------------------------------------------------------------------------

void KonfigurationWindow::PrepareStartOptions() {
  view_.Focus("txbNetlinks");
  std::vector<LookupRow> rows;
  if (lookups_ != nullptr) {
    try {
      rows = lookups_->Rows("rsluRubriken");
    } catch (const vn::RuntimeError& e) {
      WriteDebugLine("rsluRubriken: " + e.Description());
    }
  }
  view_.ShowList("cbxStartRubrik", rows);
  if (!rows.empty()) view_.ShowField("cbxStartRubrik", rows.front().text);

  const std::string folder = vn::RegistryValueText(vn::RegistryGetKeyValue(
      vn::RegistryRoot::kCurrentUser, "Software\\Symantec\\ACT!", "NetLinks File Type"));
  view_.ShowField("txbNetlinks", folder);
  if (folder.empty()) {
    prompts_.Message(texts::kNetLinksNotFound, MsgIcon::kInformation);
    view_.Focus("txbNetlinks");
  }
  if (!DirExists(folder)) {
    prompts_.Message(texts::NetLinksFolderMissing(folder), MsgIcon::kInformation);
    view_.Focus("txbNetlinks");
  }
}

void KonfigurationWindow::cmdStartDateienErstellen_Click() {
  CreateStartFiles(view_.FieldText("txbNetlinks"), view_.FieldText("cbxStartRubrik"), prompts_);
}

void KonfigurationWindow::cmdNetlinksOrdner_Click() {
  const std::string field = "txbNetlinks";
  if (std::optional<std::string> folder =
          prompts_.ChooseFolder(texts::kNetLinksFolderTitle, view_.FieldText(field)))
    view_.ShowField(field, *folder);
  view_.Focus(field);
}

void KonfigurationWindow::cmdStartDateienEntfernen_Click() {
  RemoveStartFiles(view_.FieldText("txbNetlinks"), prompts_);
}

}  // namespace vn::config
