// The window's edit modes: what the status-bar panel "Edit" says and which of the bar's
// editing buttons each mode offers.
#pragma once

#include <string>

namespace vn::config {

enum class EditMode { kIdle = 0, kChanged = 1, kSaved = 2, kMoved = 3, kNew = 4 };

struct EditModeRow {
  const char* panel;  // text of the panel "Edit"
  bool cancel;
  bool ok;
  bool addNew;
  bool deleteRecord;
  bool navigationOff;  // first, previous, next and last switched off
};

// The row of a mode 0 to 4; nullptr for any other number.
const EditModeRow* EditModeTableRow(int mode);

// The panel text read back as a mode ("" 0, "geändert" 1, ...); 0 for an unknown text.
int EditModeOfPanel(const std::string& panel);

}  // namespace vn::config
