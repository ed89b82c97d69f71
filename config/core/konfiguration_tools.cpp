// The window's keyboard commands, size buttons, connection button and start options.
#include "config/core/connection_probe.h"
#include "config/core/data_link.h"
#include "config/core/konfiguration_window.h"
#include "config/core/prompts.h"
#include "config/core/start_files.h"
#include "config/core/texts.h"
#include "platform/registry.h"
#include "platform/runtime_error.h"

namespace vn::config {

// Keyboard -----------------------------------------------------------------------------------

bool KonfigurationWindow::KeyPressed(Key key, bool ctrlAlone) {
  using Action = void (KonfigurationWindow::*)();
  Action action = nullptr;
  bool enabled = false;
  switch (key) {
    case Key::kEscape:
      action = &KonfigurationWindow::cmdCancel_Click;
      enabled = state_.cancel;
      break;
    case Key::kEnd:
      action = &KonfigurationWindow::cmdMoveLast_Click;
      enabled = state_.moveLast;
      break;
    case Key::kHome:
      action = &KonfigurationWindow::cmdMoveFirst_Click;
      enabled = state_.moveFirst;
      break;
    case Key::kUp:
    case Key::kPageUp:
      action = ctrlAlone ? &KonfigurationWindow::cmdMoveFirst_Click
                         : &KonfigurationWindow::cmdMovePrevious_Click;
      enabled = ctrlAlone ? state_.moveFirst : state_.movePrevious;
      break;
    case Key::kDown:
    case Key::kPageDown:
      action = ctrlAlone ? &KonfigurationWindow::cmdMoveLast_Click
                         : &KonfigurationWindow::cmdMoveNext_Click;
      enabled = ctrlAlone ? state_.moveLast : state_.moveNext;
      break;
    case Key::kInsert:
      action = &KonfigurationWindow::cmdAddNew_Click;
      enabled = state_.addNew;
      break;
    case Key::kDelete:
      action = &KonfigurationWindow::cmdDelete_Click;
      enabled = state_.deleteRecord;
      break;
    case Key::kEnter:
      action = &KonfigurationWindow::cmdOK_Click;
      enabled = state_.ok;
      break;
  }
  if (action == nullptr || !enabled) return false;
  (this->*action)();
  return true;
}

// Size buttons -------------------------------------------------------------------------------

FieldResize KonfigurationWindow::cmdMinMaxDatenVerbindung_Click(int twipsPerPixelY) {
  FieldResize resize = sizes_.Toggle(false, fieldGap_, twipsPerPixelY);
  return resize;
}

FieldResize KonfigurationWindow::cmdMinMaxDatenAbfrage_Click(int twipsPerPixelY) {
  return sizes_.Toggle(true, fieldGap_, twipsPerPixelY);
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
  // Shown as if typed: the record is changed.
  if (!result.empty() && result != text) view_.ShowField(field, result);
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

void KonfigurationWindow::cmdStartDateienEntfernen_Click() {
  RemoveStartFiles(view_.FieldText("txbNetlinks"), prompts_);
}

}  // namespace vn::config
