#include "config/core/edit_mode.h"

#include <iterator>

namespace vn::config {

namespace {

// In the order of the modes' numbers.
const EditModeRow kRows[] = {
    {"", false, false, true, true, false},
    {"geändert", true, true, false, false, false},
    {"gespeichert", false, false, true, true, false},
    {"gewechselt", false, false, true, true, false},
    {"neu", true, true, false, false, true},
};

}  // namespace

const EditModeRow* EditModeTableRow(EditMode mode) {
  const int index = static_cast<int>(mode);
  if (index < 0 || index >= static_cast<int>(std::size(kRows))) return nullptr;
  return &kRows[index];
}

EditMode EditModeOfPanel(const std::string& panel) {
  for (size_t index = 0; index < std::size(kRows); ++index)
    if (panel == kRows[index].panel) return static_cast<EditMode>(index);
  return EditMode::kIdle;
}

}  // namespace vn::config
