#include "resources/markup.h"

#include <gtest/gtest.h>

namespace {

// The builders give the bytes the pages have always had; the pages' own tests cover them in
// place, these pin the pieces on their own.
TEST(MarkupTest, FoldImageWithAndWithoutAlignment) {
  const vn::markup::Fold fold{"img_a", "div_a", "/p/plus.gif"};
  EXPECT_EQ(vn::markup::FoldImage(fold, false),
            "<IMG  NAME=\"img_a\" SRC=\"/p/plus.gif\" onclick=\"DisplayItem 'img_a','div_a'\" "
            "onmouseover=\"Point 'img_a'\" onmouseout=\"DontPoint 'img_a'\" WIDTH=\"11\" "
            "HEIGHT=\"11\">");
  EXPECT_EQ(vn::markup::FoldImage(fold, true),
            "<IMG  NAME=\"img_a\" SRC=\"/p/plus.gif\" onclick=\"DisplayItem 'img_a','div_a'\" "
            "onmouseover=\"Point 'img_a'\" onmouseout=\"DontPoint 'img_a'\" WIDTH=\"11\" "
            "HEIGHT=\"11\" ALIGN=\"absmiddle\">");
}

TEST(MarkupTest, TitleBarCellAndBlockStart) {
  const vn::markup::Fold fold{"i", "d", "m.gif"};
  EXPECT_EQ(vn::markup::FoldTitleBar(fold, " CLASS=\"x\"", "", "Titel"),
            "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
            "<TR  CLASS=\"x\"><TD><IMG  NAME=\"i\" SRC=\"m.gif\" onclick=\"DisplayItem 'i','d'\" "
            "onmouseover=\"Point 'i'\" onmouseout=\"DontPoint 'i'\" WIDTH=\"11\" HEIGHT=\"11\" "
            "ALIGN=\"absmiddle\">&nbsp;&nbsp;Titel</TD></TR></TABLE>");
  EXPECT_EQ(vn::markup::Cell("", "a >b"), "<TD>a >b</TD>");
  EXPECT_EQ(vn::markup::FoldBlockStart("d", "display:none"),
            "\r\n<DIV  ID=\"d\" STYLE=\"display:none\">\r\n");
}

}  // namespace
