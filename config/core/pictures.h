// The pictures of the window's buttons and of the assignment tree's nodes as figures in a
// square box (32 units for the buttons, 16 for the tree), so that every front draws the same
// pictures sharp at any scale with its own painter.
#pragma once

#include <cstdint>
#include <span>

namespace vn::config {

enum class Picture {
  kFirst,
  kPrevious,
  kNext,
  kLast,
  kDelete,
  kAddNew,
  kCancel,
  kOK,
  kInfo,
  kDataLink,
  kArrowUp,
  kArrowDown,
  kProgram,
  kTreeFolder,  // the tree's root and empty marker
  kTreeRubric,
  kTreeData,
  kNone,  // no picture: a button with a caption
};

enum class FigureKind {
  kPolygon,    // points[0..count): filled, closed
  kRect,       // points[0] corner, points[1] width and height
  kEllipse,    // the ellipse in that rectangle
  kRoundRect,  // that rectangle with rounded corners of `radius`
  kPolyline,   // points[0..count): an open line
};

struct FigurePoint {
  double x;
  double y;
};

// A colour as 0xRRGGBB; kNoColour draws no filling or no outline.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

struct Figure {
  FigureKind kind;
  std::uint32_t fill;
  std::uint32_t pen;
  double penWidth;  // with round caps and joins where `round`
  bool round;
  int count;
  FigurePoint points[4];
  double radius;
};

// The box's size in units and the figures in drawing order.
int PictureBox(Picture picture);
std::span<const Figure> PictureFigures(Picture picture);

}  // namespace vn::config
