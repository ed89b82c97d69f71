// The size buttons of the tab Daten: the connection and the query field enlarge over the
// fields above them and shrink back; this is their arithmetic in twips.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/core/layout.h"

namespace vn::config {

// What a press of a size button changes: the places of the field, its label and the buttons
// at the field's lower right edge, the size button's new caption, the controls to bring to
// the front (in this order) and the control that gets the focus.
struct FieldResize {
  std::string field;
  TwipsRect fieldRect;
  std::string label;
  TwipsRect labelRect;
  std::vector<std::pair<std::string, TwipsRect>> buttons;
  std::string sizeButton;
  std::string caption;
  std::vector<std::string> raise;
};

class FieldSizes {
 public:
  // Captions of the size buttons: up arrow (normal) and down arrow (enlarged).
  static constexpr const char* CaptionNormal() { return "\u2191"; }
  static constexpr const char* CaptionEnlarged() { return "\u2193"; }

  // Enlarges the field of the connection (`query` false) or of the query when it is normal
  // and shrinks it otherwise. Each field shrinks against the other's normal place, not its
  // current one: an enlarged neighbour would otherwise leave it one line high for good.
  FieldResize Toggle(bool query, int fieldGap, int twipsPerPixelY);
  bool Enlarged(bool query) const { return enlarged_[query ? 1 : 0]; }

 private:
  bool enlarged_[2] = {false, false};
};

}  // namespace vn::config
