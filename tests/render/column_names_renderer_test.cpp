#include "render/column_names.h"

#include <gtest/gtest.h>

namespace {

TEST(ColumnNamesTest, TableCaptionDropsAlignmentAndFormatParts) {
  EXPECT_EQ(vn::GetCaption("right_format0*00_Betrag"), "Betrag");
  EXPECT_EQ(vn::GetCaption("format#,##0_Menge"), "Menge");
  EXPECT_EQ(vn::GetCaption("right_Kunden_Nr"), "Kunden_Nr");
  EXPECT_EQ(vn::GetCaption("Kunden_Nr"), "Kunden_Nr");
  EXPECT_EQ(vn::GetCaption("Betrag"), "Betrag");
  EXPECT_EQ(vn::GetCaption("FORMATdd*mm_Datum"), "Datum");
  // Two parts: the second is the caption even when it looks like a format part.
  EXPECT_EQ(vn::GetCaption("left_format0"), "format0");
  EXPECT_EQ(vn::GetCaption("center_"), "");
}

TEST(ColumnNamesTest, AlignmentComesFromTheFirstPartOnly) {
  EXPECT_EQ(vn::GetAlignment("RIGHT_Betrag"), "right");
  EXPECT_EQ(vn::GetAlignment("Center_x_y"), "center");
  EXPECT_EQ(vn::GetAlignment("left_x"), "left");
  EXPECT_EQ(vn::GetAlignment("right_"), "left");
  EXPECT_EQ(vn::GetAlignment("right"), "left");
  EXPECT_EQ(vn::GetAlignment("format0_right_x"), "left");
  EXPECT_EQ(vn::GetAlignment("rightish_x"), "left");
}

TEST(ColumnNamesTest, ListCaptionKeepsFormatParts) {
  EXPECT_EQ(vn::ListCaption("right_Betrag"), "Betrag");
  EXPECT_EQ(vn::ListCaption("Left_Name"), "Name");
  EXPECT_EQ(vn::ListCaption("left_"), "left_");
  EXPECT_EQ(vn::ListCaption("_Name"), "_Name");
  EXPECT_EQ(vn::ListCaption("format0*00_Betrag"), "format0*00_Betrag");
  EXPECT_EQ(vn::ListCaption("right_format0_Betrag"), "format0_Betrag");
}

TEST(ColumnNamesTest, HiddenColumnsBeginWithHidePrefix) {
  EXPECT_TRUE(vn::IsHiddenColumn("hide_ID"));
  EXPECT_TRUE(vn::IsHiddenColumn("HiDe_ID"));
  EXPECT_TRUE(vn::IsHiddenColumn("hide_"));
  EXPECT_FALSE(vn::IsHiddenColumn("x_hide_ID"));
  EXPECT_FALSE(vn::IsHiddenColumn("hideID"));
}

}  // namespace
