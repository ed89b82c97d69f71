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

// The row of a mode; nullptr for a number that is none of the five.
const EditModeRow* EditModeTableRow(EditMode mode);

// The panel text read back as a mode ("" idle, "geändert" changed, ...); idle for an unknown
// text.
EditMode EditModeOfPanel(const std::string& panel);

// Whether the mode holds input not yet saved (changed or new): the modes that offer Cancel and
// OK.
inline bool HoldsInput(EditMode mode) {
  return mode == EditMode::kChanged || mode == EditMode::kNew;
}

}  // namespace vn::config
