// The configuration window's preview of a data entry: the button beside the query, F5 and the
// tree's menu entry.
#include <string>

#include "config/core/bindings.h"
#include "config/core/data_env_events.h"
#include "config/core/konfiguration_window.h"
#include "config/core/preview_control.h"
#include "platform/runtime_error.h"

namespace vn::config {

namespace {
constexpr int kDatenTab = 2;
}  // namespace

void KonfigurationWindow::cmdVorschau_Click() {
  EditRecords* records = RecordsOfTab(kDatenTab);
  if (preview_ == nullptr || selectedTab_ != kDatenTab || records == nullptr) return;
  // The entry as it stands in the fields, typed changes included; nothing is saved.
  PreviewEntry entry;
  entry.title = view_.FieldText("txbDatenTitel");
  entry.connection = view_.FieldText("txbDatenVerbindung");
  entry.query = view_.FieldText("txbDatenAbfrage");
  entry.format = -1;  // no format chosen: said as the page says an unknown one
  try {
    const std::string format = VariantText(records->Value(BindingOf("cbxDatenFormat")->column));
    if (!format.empty()) entry.format = std::stoi(format);
  } catch (const vn::RuntimeError& e) {
    WriteDebugLine(std::string("Format: ") + e.Description());
  } catch (const std::logic_error&) {
    // Not a number: the format stays unknown, which the preview says.
  }
  preview_->Show(entry);
}

void KonfigurationWindow::mnuVorschau_Click() {
  mnuZeigeDaten_Click();
  cmdVorschau_Click();
}

bool KonfigurationWindow::FieldKeyPressed(Key key) {
  return key == Key::kF5 && KeyPressed(key, false);
}

}  // namespace vn::config
