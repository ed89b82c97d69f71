// Database values are page text in both renderers, on every level of a table; a column named
// "html_..." opts in to markup, and the rest of its name is read as without the prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/hierarchical_spreadsheet.h"
#include "platform/path_separator.h"
#include "render/html_list.h"
#include "tests/render/page_fixture.h"

namespace {

using vn::clHierachicalSpreadSheet;
using vn::clHTMLList;

// Values that try to be markup, a literal reference, a placeholder and characters of the
// Windows code page's upper half, each with the bytes the page holds for it.
struct Hostile {
  const char* value;
  const char* text;
};
const std::vector<Hostile> kHostile = {
    {"<script>", "&lt;script&gt;"},
    {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
    {"&amp;", "&amp;amp;"},
    {"O'Neil", "O&#39;Neil"},
    {"100%s", "100%s"},
    {"Müller € ß", "Müller € ß"},
};

class ValuesAsTextTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    std::string insert = "CREATE TABLE werte (nr INTEGER, wert TEXT);";
    for (size_t i = 0; i < kHostile.size(); ++i) {
      std::string quoted;
      for (const char* c = kHostile[i].value; *c != '\0'; ++c) {
        quoted += *c == '\'' ? std::string("''") : std::string(1, *c);
      }
      insert += "INSERT INTO werte VALUES (" + std::to_string(i + 1) + ", '" + quoted + "');";
    }
    Exec(DataDatabase(), insert);
  }

  std::vector<std::string> Table(const std::string& sql) {
    clHierachicalSpreadSheet table;
    EXPECT_TRUE(table.Init("Werte", DataConnection(), sql, &parser_, "", "", "0_"))
        << table.ErrDescription();
    std::vector<std::string> pieces = AllPieces(table);
    EXPECT_EQ(table.ErrNumber(), 100) << table.ErrDescription();
    return pieces;
  }

  std::string CardBody(const std::string& sql) {
    clHTMLList list;
    EXPECT_TRUE(list.Init("Werte", DataConnection(), sql, &parser_, "", "", "0_"))
        << list.ErrDescription();
    list.GetNext();
    return list.GetNext();
  }
};

// The card body of one entry in the first layout column.
std::string OneEntryCard(const std::string& caption, const std::string& value) {
  return "\r\n<DIV  ID=\"div_list_0_\" STYLE=\"\">\r\n"
         "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
         "<TR  VALIGN=\"top\"><TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" "
         "cellspacing=\"1\" WIDTH=\"100%\"><TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">" +
         caption + "</TD><TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">" + value +
         "</TD></TR></TABLE></TD>"
         "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
         "WIDTH=\"100%\"></TABLE></TD>"
         "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
         "WIDTH=\"100%\"></TABLE></TD></TR></TABLE></DIV>";
}

TEST_F(ValuesAsTextTest, TheRecordCardShowsEveryValueAsText) {
  for (size_t i = 0; i < kHostile.size(); ++i) {
    EXPECT_EQ(CardBody("SELECT wert AS Wert FROM werte WHERE nr = " + std::to_string(i + 1)),
              OneEntryCard("Wert", kHostile[i].text))
        << kHostile[i].value;
  }
}

TEST_F(ValuesAsTextTest, TheTableShowsEveryValueAsTextOnEveryLevel) {
  // Flat: one row per piece after the title bar and caption row.
  const std::vector<std::string> flat = Table("SELECT wert AS Wert FROM werte ORDER BY nr");
  ASSERT_EQ(flat.size(), kHostile.size() + 3);
  for (size_t i = 0; i < kHostile.size(); ++i) {
    EXPECT_EQ(flat[i + 1], std::string("<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"left\">") +
                               kHostile[i].text + "</TD></TR>\r\n<TR><TD></TD></TR>\r\n")
        << kHostile[i].value;
  }
  // Two levels: the hostile values in the parent row and in the rows of its chapter.
  const std::vector<std::string> shaped = Table(
      "SHAPE {SELECT 1 AS hide_K, '<b>' || char(39) || 'Eltern' AS Name} APPEND "
      "({SELECT 1 AS hide_K, wert AS Wert FROM werte ORDER BY nr} RELATE hide_K TO hide_K) "
      "AS Kinder");
  ASSERT_EQ(shaped.size(), kHostile.size() + 7);
  EXPECT_EQ(shaped[1],
            "<TR  CLASS=\"t0\"><TD  WIDTH=\"14\"><IMG  NAME=\"img_0_0-1\" "
            "SRC=\"/opt/Varnolis" VN_PATH_SEP "ResourceHTML" VN_PATH_SEP
            "plus.gif\" "
            "onclick=\"DisplayItem 'img_0_0-1','div_0_0-1'\" onmouseover=\"Point 'img_0_0-1'\" "
            "onmouseout=\"DontPoint 'img_0_0-1'\" WIDTH=\"11\" HEIGHT=\"11\"></TD>"
            "<TD  CLASS=\"t0\" ALIGN=\"left\">&lt;b&gt;&#39;Eltern</TD></TR>\r\n");
  for (size_t i = 0; i < kHostile.size(); ++i) {
    EXPECT_EQ(shaped[i + 3], std::string("<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">") +
                                 kHostile[i].text + "</TD></TR>\r\n<TR><TD></TD></TR>\r\n")
        << kHostile[i].value;
  }
}

TEST_F(ValuesAsTextTest, AnHtmlColumnIsMarkupWithItsCaptionAlignmentAndFormat) {
  const std::string link = "<a href=\"http://x.example/?a=1&amp;b='2'\">Link</a>";
  const std::string sql =
      "SELECT '<a href=\"http://x.example/?a=1&amp;b=''2''\">Link</a>' AS "
      "html_Link, 1234.5 AS [HTML_right_format#,##0.00_Betrag], "
      "'<i>' AS Html_hide_Geheim, '<i>' AS [right_html_Text]";
  // The card shows every column, the hidden one too, under its caption.
  EXPECT_EQ(CardBody(sql),
            "\r\n<DIV  ID=\"div_list_0_\" STYLE=\"\">\r\n"
            "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
            "<TR  VALIGN=\"top\"><TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" "
            "cellspacing=\"1\" WIDTH=\"100%\">"
            "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">Link</TD>"
            "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">" +
                link +
                "</TD></TR>"
                "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">format#,##0.00_Betrag</TD>"
                "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">1.234,50</TD></TR></TABLE></TD>"
                "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
                "WIDTH=\"100%\">"
                "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">hide_Geheim</TD>"
                "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\"><i></TD></TR>"
                "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">html_Text</TD>"
                "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">&lt;i&gt;</TD></TR></TABLE></TD>"
                "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
                "WIDTH=\"100%\"></TABLE></TD></TR></TABLE></DIV>");
  // The table hides "html_hide_", aligns and formats "html_right_format..._Betrag".
  const std::vector<std::string> table = Table(sql);
  ASSERT_EQ(table.size(), 4u);
  EXPECT_TRUE(
      table[0].ends_with("<TR  CLASS=\"u0\"><TD  CLASS=\"u0\" ALIGN=\"left\">Link</TD>"
                         "<TD  CLASS=\"u0\" ALIGN=\"right\">Betrag</TD>"
                         "<TD  CLASS=\"u0\" ALIGN=\"right\">html_Text</TD></TR>"))
      << table[0];
  EXPECT_EQ(table[1], "<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"left\">" + link +
                          "</TD><TD  CLASS=\"t0\" ALIGN=\"right\">1.234,50</TD>"
                          "<TD  CLASS=\"t0\" ALIGN=\"right\">&lt;i&gt;</TD></TR>\r\n"
                          "<TR><TD></TD></TR>\r\n");
}

}  // namespace
