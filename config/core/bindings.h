// The bound fields of the three editing tabs: which control shows which column of the tab's
// records, how its text is stored, and its label with the caption (and access key) the user
// sees; in the order of the tabs' fields from top to bottom.
#pragma once

#include <span>
#include <string>

namespace vn::config {

enum class BindKind {
  kText,    // the text as typed
  kNumber,  // a whole number, NULL when empty, the text otherwise (the database refuses it)
  kList,    // the stored value of the picked row of a look-up list
};

struct Binding {
  int tab;  // 1 to 3
  const char* control;
  const char* column;
  BindKind kind;
  const char* lookup;  // for lists: "rsluRubriken", "rsluDaten" or "rsluDatenFormate"
  const char* label;
  const char* caption;
};

std::span<const Binding> BindingTable();
// The binding of a control; nullptr when the control is not bound.
const Binding* BindingOf(const std::string& control);

}  // namespace vn::config
