#include "config/core/pictures.h"

namespace vn::config {

namespace {

constexpr std::uint32_t kNavy = 0x1f4e8c;
constexpr std::uint32_t kGreen = 0x2e8b3e;
constexpr std::uint32_t kRed = 0xc02a2a;
constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::uint32_t kNone = kNoColour;
constexpr std::uint32_t kGrey = 0x3c3c3c;

using K = FigureKind;

constexpr Figure Fill(K kind, std::uint32_t colour, double x, double y, double w, double h) {
  return {kind, colour, kNone, 0, false, 2, {{x, y}, {w, h}, {}, {}}, 0};
}
constexpr Figure Outlined(K kind, std::uint32_t fill, std::uint32_t pen, double width, double x,
                          double y, double w, double h) {
  return {kind, fill, pen, width, false, 2, {{x, y}, {w, h}, {}, {}}, 0};
}
constexpr Figure Triangle(double tipX, double baseX, std::uint32_t colour) {
  return {K::kPolygon, colour, kNone, 0, false, 3, {{tipX, 16}, {baseX, 7}, {baseX, 25}, {}}, 0};
}
constexpr Figure Line(std::uint32_t pen, double width, bool round, double x1, double y1, double x2,
                      double y2) {
  return {K::kPolyline, kNone, pen, width, round, 2, {{x1, y1}, {x2, y2}, {}, {}}, 0};
}
constexpr Figure Bar(double x) { return Fill(K::kRect, kNavy, x, 7, 3.5, 18); }

constexpr Figure kFirst[] = {Bar(7), Triangle(11, 25, kNavy)};
constexpr Figure kPrevious[] = {Triangle(8, 23, kNavy)};
constexpr Figure kNext[] = {Triangle(24, 9, kNavy)};
constexpr Figure kLast[] = {Triangle(21, 7, kNavy), Bar(21.5)};
constexpr Figure kDelete[] = {
    Outlined(K::kRect, 0xf6e0e0, kRed, 2, 9, 10, 14, 16), Line(kRed, 2, false, 7, 8, 25, 8),
    Line(kRed, 2, false, 13, 5.5, 19, 5.5), Line(kRed, 2, false, 13.5, 13, 13.5, 23),
    Line(kRed, 2, false, 18.5, 13, 18.5, 23)};
constexpr Figure kAddNew[] = {Fill(K::kRect, kGreen, 13.5, 6, 5, 20),
                              Fill(K::kRect, kGreen, 6, 13.5, 20, 5)};
constexpr Figure kCancel[] = {Line(kRed, 4, true, 9, 9, 23, 23), Line(kRed, 4, true, 23, 9, 9, 23)};
constexpr Figure kOK[] = {
    {K::kPolyline, kNone, kGreen, 4, true, 3, {{7, 17}, {13, 23}, {25, 9}, {}}, 0}};
constexpr Figure kInfo[] = {Fill(K::kEllipse, kNavy, 3, 3, 26, 26),
                            Fill(K::kEllipse, kWhite, 14, 7.5, 4, 4),
                            Fill(K::kRect, kWhite, 14, 13.5, 4, 11)};
constexpr Figure kDataLink[] = {Outlined(K::kRect, 0xd8e6f5, kNavy, 1.6, 6, 11, 20, 14),
                                Outlined(K::kEllipse, 0xd8e6f5, kNavy, 1.6, 6, 6, 20, 9),
                                Outlined(K::kEllipse, 0xd8e6f5, kNavy, 1.6, 6, 20, 20, 9),
                                Fill(K::kRect, 0xd8e6f5, 6.8, 11, 18.4, 13),
                                Line(kNavy, 1.6, false, 6, 10.5, 6, 24.5),
                                Line(kNavy, 1.6, false, 26, 10.5, 26, 24.5),
                                Outlined(K::kEllipse, kNone, kNavy, 1.6, 6, 6, 20, 9)};
constexpr Figure kArrowUp[] = {
    {K::kPolygon, kNavy, kNone, 0, false, 3, {{16, 6}, {6, 18}, {26, 18}, {}}, 0},
    Fill(K::kRect, kNavy, 12.5, 17, 7, 9)};
constexpr Figure kArrowDown[] = {
    {K::kPolygon, kNavy, kNone, 0, false, 3, {{16, 26}, {6, 14}, {26, 14}, {}}, 0},
    Fill(K::kRect, kNavy, 12.5, 6, 7, 9)};
constexpr Figure kProgram[] = {
    {K::kRoundRect, kNavy, kNone, 0, false, 2, {{2, 2}, {28, 28}, {}, {}}, 5},
    {K::kPolyline, kNone, kWhite, 4, true, 3, {{8, 8}, {16, 24}, {24, 8}, {}}, 0}};
constexpr Figure kTreeFolder[] = {Outlined(K::kRect, 0xf0c85a, kGrey, 1, 1, 4, 14, 10),
                                  Outlined(K::kRect, 0xf0c85a, kGrey, 1, 1, 2, 6, 3)};
constexpr Figure kTreeRubric[] = {Outlined(K::kRect, 0x78aae6, kGrey, 1, 2, 3, 12, 11),
                                  Line(kGrey, 1, false, 4, 7, 12, 7),
                                  Line(kGrey, 1, false, 4, 10, 12, 10)};
constexpr Figure kTreeData[] = {
    Outlined(K::kRect, kWhite, kGrey, 1, 2, 2, 12, 12), Line(kGrey, 1, false, 2, 6, 14, 6),
    Line(kGrey, 1, false, 2, 10, 14, 10), Line(kGrey, 1, false, 7, 2, 7, 14)};

}  // namespace

int PictureBox(Picture picture) {
  switch (picture) {
    case Picture::kTreeFolder:
    case Picture::kTreeRubric:
    case Picture::kTreeData:
      return 16;
    default:
      return 32;
  }
}

std::span<const Figure> PictureFigures(Picture picture) {
  switch (picture) {
    case Picture::kFirst:
      return kFirst;
    case Picture::kPrevious:
      return kPrevious;
    case Picture::kNext:
      return kNext;
    case Picture::kLast:
      return kLast;
    case Picture::kDelete:
      return kDelete;
    case Picture::kAddNew:
      return kAddNew;
    case Picture::kCancel:
      return kCancel;
    case Picture::kOK:
      return kOK;
    case Picture::kInfo:
      return kInfo;
    case Picture::kDataLink:
      return kDataLink;
    case Picture::kArrowUp:
      return kArrowUp;
    case Picture::kArrowDown:
      return kArrowDown;
    case Picture::kProgram:
      return kProgram;
    case Picture::kTreeFolder:
      return kTreeFolder;
    case Picture::kTreeRubric:
      return kTreeRubric;
    case Picture::kTreeData:
      return kTreeData;
    case Picture::kNone:
      return {};
  }
  return {};
}

}  // namespace vn::config
