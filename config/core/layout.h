// The window's layout in twips (1/1440 inch): one table of every control with its container,
// place, size, caption and tooltip, and with what it does and how it looks: the command a press
// runs, its picture, its font and how far above its place it is drawn. A front creates its
// controls by one loop over the table, converting the twips with its own twips per pixel, and
// passes every press to the core.
#pragma once

#include <span>
#include <string>

#include "config/core/command.h"
#include "config/core/pictures.h"

namespace vn::config {

enum class ControlKind {
  kTabStrip,   // the tab strip with the five tabs
  kTabPanel,   // a tab's panel (frTab 0 to 4, in the tabs' order)
  kPanel,      // another container: the button bar
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

enum class ControlFont { kNormal, kBold };

struct ControlPlace {
  const char* name;
  const char* container;  // "" for the window's client area
  ControlKind kind;
  int left;
  int top;
  int width;
  int height;
  const char* caption;               // "" when none; a text field's text
  const char* tooltip;               // "" when none
  const char* buddy;                 // a label's field, "" otherwise
  Command command = nullptr;         // a button's action when pressed
  Picture picture = Picture::kNone;  // a button's picture
  ControlFont font = ControlFont::kNormal;
  // Drawn this many screen pixels above its place; the load step moves it
  // layout::kSmallButtonPixelsDown down again.
  int pixelsUp = 0;
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
// The small buttons at the fields' lower right edges are drawn this many pixels above the place
// the table gives; the load step moves them two pixels down.
inline constexpr int kSmallButtonPixelsUp = 4;
inline constexpr int kSmallButtonPixelsDown = 2;
// Width of the status bar's panel "Edit".
inline constexpr int kEditPanelWidth = 1500;
}  // namespace layout

// Every control, containers before what they hold.
std::span<const ControlPlace> LayoutTable();
// The place of a control; throws std::out_of_range for a name that is not in the table.
const ControlPlace& Place(const std::string& name);
// The place of a control; nullptr for a name that is not in the table.
const ControlPlace* FindPlace(const std::string& name);
TwipsRect Rect(const std::string& name);

// The client area's size at the load step (left and top 0): as wide as the tab strip with the
// window frame's margin on both sides (at least the strip's own left margin), as high as the
// button bar with the status bar below it and a margin, so that the debug box lies outside.
// `strip` and `bar` are the places of the tab strip and the button bar as the front shows them;
// all in twips.
TwipsRect LoadClientArea(const TwipsRect& strip, const TwipsRect& bar, int frameWidth,
                         int statusBarHeight);

// The five tabs' captions in order ("&" marks the access key).
std::span<const char* const> TabCaptions();

}  // namespace vn::config
