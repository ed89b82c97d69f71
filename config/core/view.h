// KonfigurationView: what the window's core needs of a front. The core decides every value and
// state; the view only shows them on its controls (named as in the layout table) and reports
// the focus. Calls come back into the core from the front's own change notifications, as a
// control's change event would.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "config/core/field_size.h"
#include "config/core/lookups.h"

namespace vn::config {

// The enabled state of the bar's eight buttons, the two panels of the status bar, and whether
// each tab's panel takes input.
struct WindowState {
  bool moveFirst = false;
  bool movePrevious = false;
  bool moveNext = false;
  bool moveLast = false;
  bool deleteRecord = false;
  bool addNew = false;
  bool cancel = false;
  bool ok = false;
  std::string status;  // panel "Status": the record position
  std::string edit;    // panel "Edit": the edit mode
  bool panelEnabled[5] = {true, false, false, false, false};

  // Whether the bar's button `name` is enabled (false for a name that is none of the eight).
  bool Enabled(const std::string& name) const {
    for (const auto& [button, enabled] : Buttons())
      if (name == button) return enabled;
    return false;
  }

  // The bar's eight buttons by name, each with its enabled state.
  std::array<std::pair<const char*, bool>, 8> Buttons() const {
    return {{{"cmdMoveFirst", moveFirst},
             {"cmdMovePrevious", movePrevious},
             {"cmdMoveNext", moveNext},
             {"cmdMoveLast", moveLast},
             {"cmdDelete", deleteRecord},
             {"cmdAddNew", addNew},
             {"cmdCancel", cancel},
             {"cmdOK", ok}}};
  }
};

// One node of the assignment tree, in the order the nodes were added (index + 1 is the node's
// index); `parent` is the parent's index, 0 for the root.
struct TreeNode {
  std::string text;
  std::string tag;
  std::string key;
  int image = 1;
  int parent = 0;
};

class KonfigurationView {
 public:
  virtual ~KonfigurationView() = default;

  // A text field's or an editable list's text; for a list field the row to select (-1: none).
  virtual void ShowField(const std::string& control, const std::string& text) = 0;
  virtual void ShowListRow(const std::string& control, int row) = 0;
  // The rows a list field offers, in order, with the value each stands for.
  virtual void ShowList(const std::string& control, const std::vector<LookupRow>& rows) = 0;
  // What a control shows now (text fields and editable lists).
  virtual std::string FieldText(const std::string& control) const = 0;

  virtual void ShowState(const WindowState& state) = 0;
  // Brings the panel of tab 1 to 5 into view and selects its tab, without a tab change.
  virtual void ShowTab(int tab) = 0;
  // The tree's nodes (every node expanded) with the node to select (0: none).
  virtual void ShowTree(const std::vector<TreeNode>& nodes, int selected) = 0;
  // The selected node's index (0: none).
  virtual int SelectedTreeNode() const = 0;

  virtual void Focus(const std::string& control) = 0;
  // The name of the control with the focus; "" when none has it.
  virtual std::string FocusedControl() const = 0;
  // Whether the window is shown (the core counts changes as the user's only then).
  virtual bool Shown() const = 0;

  // Appends a line to the debug box and makes the box visible (only called while debugging),
  // and empties the box.
  virtual void WriteDebugLine(const std::string& text) = 0;
  virtual void ClearDebugBox() = 0;
  // Shows the about window, modal over the window.
  virtual void ShowAbout() = 0;

  // The screen's twips per pixel vertically.
  virtual int TwipsPerPixelY() const = 0;
  // Moves a control down by screen pixels.
  virtual void MoveDownPixels(const std::string& control, int pixels) = 0;
  // A size button's press: the new places of its field, label and buttons, its caption, the
  // controls brought to the front in order, and the field focused.
  virtual void ShowResize(const FieldResize& resize) = 0;
  // The wait cursor on or off, and "let pending window messages run".
  virtual void ShowBusy(bool busy) = 0;
  virtual void LetMessagesRun() = 0;
};

}  // namespace vn::config
