// The window's layout in twips (1/1440 inch): one table of every control with its container,
// place, size, caption and tooltip. A front converts the twips with its own twips per pixel.
#pragma once

#include <span>
#include <string>

namespace vn::config {

enum class ControlKind {
  kPanel,      // a container: the tab strip, the tab panels, the button bar
  kLabel,      // a field's label; its caption carries the access key
  kTextField,  // one line
  kLongText,   // several lines
  kList,       // a list field
  kEditList,   // a list field whose text can be typed
  kBarButton,  // a square picture button of the bar
  kButton,     // a button with a caption or a picture
  kTree,
  kDebugBox,
};

struct ControlPlace {
  const char* name;
  const char* container;  // "" for the window's client area
  ControlKind kind;
  int left;
  int top;
  int width;
  int height;
  const char* caption;  // "" when none
  const char* tooltip;  // "" when none
  const char* buddy;    // a label's field, "" otherwise
};

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

namespace layout {
inline constexpr int kTabStripLeft = 120;
inline constexpr int kTabStripTop = 120;
// A selected tab's panel lies this far right of and below the tab strip's corner.
inline constexpr int kPanelOffsetX = 240;
inline constexpr int kPanelOffsetY = 480;
// The extra height of the window below the button bar and the status bar.
inline constexpr int kBottomMargin = 48;
// The small buttons at the fields' lower right edges sit this many pixels above the place the
// table gives; the load step moves them two pixels down.
inline constexpr int kSmallButtonPixelsUp = 4;
inline constexpr int kSmallButtonPixelsDown = 2;
// Width of the status bar's panel "Edit".
inline constexpr int kEditPanelWidth = 1500;
}  // namespace layout

// Every control, containers before what they hold.
std::span<const ControlPlace> LayoutTable();
// The place of a control; throws std::out_of_range for a name that is not in the table.
const ControlPlace& Place(const std::string& name);
TwipsRect Rect(const std::string& name);

// The five tabs' captions in order ("&" marks the access key).
std::span<const char* const> TabCaptions();

}  // namespace vn::config
