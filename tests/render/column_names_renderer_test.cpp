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

namespace {

// "html_" (any case) opts a column's values in to markup; every rule then reads the rest.
TEST(ColumnNamesTest, TheMarkupPrefixComesOffBeforeEveryOtherRule) {
  struct Case {
    const char* name;
    bool markup;
    const char* rest;
    const char* caption;
    const char* listCaption;
    const char* alignment;
    bool hidden;
  };
  for (const Case& c : {
           Case{"html_Link", true, "Link", "Link", "Link", "left", false},
           Case{"HTML_right_Link", true, "right_Link", "Link", "Link", "right", false},
           Case{"Html_right_format0*00_Betrag", true, "right_format0*00_Betrag", "Betrag",
                "format0*00_Betrag", "right", false},
           Case{"html_hide_ID", true, "hide_ID", "hide_ID", "hide_ID", "left", true},
           Case{"html_html_x", true, "html_x", "html_x", "html_x", "left", false},
           // Nothing after the prefix, or the prefix not at the start: a name like any other.
           Case{"html_", false, "html_", "html_", "html_", "left", false},
           Case{"html", false, "html", "html", "html", "left", false},
           Case{"right_html_Link", false, "right_html_Link", "html_Link", "html_Link", "right",
                false},
           Case{"hide_html_x", false, "hide_html_x", "hide_html_x", "hide_html_x", "left", true},
           Case{"htmlLink", false, "htmlLink", "htmlLink", "htmlLink", "left", false},
       }) {
    const vn::ColumnName split = vn::SplitMarkupPrefix(c.name);
    EXPECT_EQ(split.markup, c.markup) << c.name;
    EXPECT_EQ(split.rest, c.rest) << c.name;
    EXPECT_EQ(vn::GetCaption(c.name), c.caption) << c.name;
    EXPECT_EQ(vn::ListCaption(c.name), c.listCaption) << c.name;
    EXPECT_EQ(vn::GetAlignment(c.name), c.alignment) << c.name;
    EXPECT_EQ(vn::IsHiddenColumn(c.name), c.hidden) << c.name;
  }
}

}  // namespace
