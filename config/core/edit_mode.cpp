#include "config/core/edit_mode.h"

namespace vn::config {

namespace {

const EditModeRow kRows[] = {
    {"", false, false, true, true, false},
    {"geändert", true, true, false, false, false},
    {"gespeichert", false, false, true, true, false},
    {"gewechselt", false, false, true, true, false},
    {"neu", true, true, false, false, true},
};

}  // namespace

const EditModeRow* EditModeTableRow(int mode) {
  if (mode < 0 || mode > 4) return nullptr;
  return &kRows[mode];
}

int EditModeOfPanel(const std::string& panel) {
  for (int mode = 0; mode <= 4; ++mode)
    if (panel == kRows[mode].panel) return mode;
  return 0;
}

}  // namespace vn::config
