#include "config/core/field_size.h"

#include <algorithm>

namespace vn::config {

FieldResize FieldSizes::Toggle(bool query, int fieldGap, int twipsPerPixelY) {
  FieldResize resize;
  resize.field = query ? "txbDatenAbfrage" : "txbDatenVerbindung";
  resize.label = query ? "lbDatenAbfrage" : "lbDatenVerbindung";
  resize.sizeButton = query ? "cmdMinMaxDatenAbfrage" : "cmdMinMaxDatenVerbindung";
  std::vector<std::string> buttons{resize.sizeButton};
  buttons.push_back(query ? "cmdVorschau" : "cmdVerbindung");
  const int panelHeight = Rect("frTab1").height;
  const int titleHeight = Rect("txbDatenTitel").height;
  const bool enlarge = !enlarged_[query ? 1 : 0];

  int top = 0;
  int height = 0;
  int labelHeight = titleHeight;
  if (enlarge) {
    top = Rect("cbxDatenFormat").top;
    height = panelHeight - top - 2 * fieldGap;
    labelHeight = height;
  } else if (!query) {
    const TwipsRect remark = Rect("txbDatenBemerkung");
    top = remark.top + remark.height + fieldGap;
    height = Rect("txbDatenAbfrage").top - (remark.top + remark.height) - 2 * fieldGap;
  } else {
    const TwipsRect connection = Rect("txbDatenVerbindung");
    top = connection.top + connection.height + fieldGap;
    height = panelHeight - (connection.top + connection.height) - 3 * fieldGap;
  }
  height = std::max(height, titleHeight);

  TwipsRect field = Rect(resize.field);
  resize.fieldRect = {field.left, top, field.width, height};
  TwipsRect label = Rect(resize.label);
  resize.labelRect = {label.left, top, label.width, labelHeight};
  for (const std::string& name : buttons) {
    TwipsRect button = Rect(name);
    button.top = top + height - button.height - 2 * twipsPerPixelY;
    resize.buttons.emplace_back(name, button);
  }
  enlarged_[query ? 1 : 0] = enlarge;
  resize.caption = enlarge ? CaptionEnlarged() : CaptionNormal();
  if (enlarge) {
    resize.raise.push_back(resize.field);
    for (const std::string& name : buttons) resize.raise.push_back(name);
    resize.raise.push_back(resize.label);
  }
  return resize;
}

}  // namespace vn::config
