#include "resources/markup.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/prepared_markup.h"
#include "resources/res_text.h"

namespace {

TEST(MarkupTest, TheFiveMarkupCharactersBecomeReferencesAndNothingElseChanges) {
  struct Case {
    std::string text;
    std::string escaped;
  };
  for (const Case& c : {
           Case{"", ""},
           Case{"Meier", "Meier"},
           Case{"<script>", "&lt;script&gt;"},
           Case{"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
           Case{"&amp;", "&amp;amp;"},
           Case{"O'Neil", "O&#39;Neil"},
           Case{"100%s", "100%s"},
           // Bytes of other characters (UTF-8 here) pass untouched.
           Case{"M\xC3\xBCller \xE2\x82\xAC \xC3\x9F", "M\xC3\xBCller \xE2\x82\xAC \xC3\x9F"},
           Case{"'&'", "&#39;&amp;&#39;"},
       }) {
    EXPECT_EQ(vn::markup::EscapeHtml(c.text), c.escaped) << c.text;
  }
}

// Escaping what was appended to a buffer leaves what stood there before untouched, also the
// markup characters of the page itself.
TEST(MarkupTest, EscapingInPlaceTouchesOnlyTheAppendedValue) {
  std::string page = "<TD>";
  page += "a<b & 'c'";
  vn::markup::EscapeHtmlFrom(page, 4);
  EXPECT_EQ(page, "<TD>a&lt;b &amp; &#39;c&#39;");
  page += "</TD><TD>";
  const size_t at = page.size();
  page += "plain";
  vn::markup::EscapeHtmlFrom(page, at);
  EXPECT_EQ(page, "<TD>a&lt;b &amp; &#39;c&#39;</TD><TD>plain");
  vn::markup::EscapeHtmlFrom(page, page.size());
  vn::markup::EscapeHtmlFrom(page, page.size() + 5);
  EXPECT_EQ(page, "<TD>a&lt;b &amp; &#39;c&#39;</TD><TD>plain");
}

// The scan steps over several bytes at a time: a markup character is found at every place.
TEST(MarkupTest, AMarkupCharacterIsFoundAtEveryPlaceOfAValue) {
  for (size_t at = 0; at <= 9; ++at) {
    std::string page = "<TD>";
    page += std::string(at, 'x') + "'" + std::string(9 - at, 'y');
    vn::markup::EscapeHtmlFrom(page, 4);
    EXPECT_EQ(page, "<TD>" + std::string(at, 'x') + "&#39;" + std::string(9 - at, 'y')) << at;
  }
}

// A value with a "%s" fills prepared markup as it fills the templates: the same bytes.
TEST(MarkupTest, AValueWithAPlaceholderFitsThePreparedMarkup) {
  const auto image = [](const std::string& id) {
    return vn::markup::FoldImage({"img_" + id, "div_" + id, "/p/plus.gif"}, false);
  };
  const vn::PreparedMarkup prepared(image(std::string(1, vn::PreparedMarkup::kSlot)));
  for (const std::string id : {"0_0-1", "%s_0-1", "a%_0-%s"}) {
    ASSERT_TRUE(vn::PreparedMarkup::Fits(id)) << id;
    std::string filled;
    prepared.AppendTo(filled, id);
    EXPECT_EQ(filled, image(id)) << id;
  }
  EXPECT_EQ(image("%s_0-1"),
            "<IMG  NAME=\"img_%s_0-1\" SRC=\"/p/plus.gif\" onclick=\"DisplayItem "
            "'img_%s_0-1','div_%s_0-1'\" onmouseover=\"Point 'img_%s_0-1'\" "
            "onmouseout=\"DontPoint 'img_%s_0-1'\" WIDTH=\"11\" HEIGHT=\"11\">");
  // A blank or ">" can meet the rule that closes up " >": such ids are built afresh.
  EXPECT_FALSE(vn::PreparedMarkup::Fits("a b"));
  EXPECT_FALSE(vn::PreparedMarkup::Fits("a>"));
}

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
