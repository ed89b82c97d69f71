#include "render/html_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/render/page_fixture.h"

namespace {

using vn::clHTMLList;

class HtmlListTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    Exec(DataDatabase(),
         "CREATE TABLE kunden (nr INTEGER, name TEXT, ort TEXT, umsatz REAL, notiz TEXT);"
         "INSERT INTO kunden VALUES (10001, 'Meier', '   ', 1234.5, NULL), "
         "(10002, 'Schulz', 'Bad  Ems', 7, 'x');");
  }

  // The card body, from the entries of each layout column.
  using Pair = std::pair<std::string, std::string>;
  static std::string Body(const std::string& id, const std::vector<std::vector<Pair>>& columns) {
    std::string s = "\r\n<DIV  ID=\"div_list_" + id +
                    "\" STYLE=\"\">\r\n"
                    "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
                    "<TR  VALIGN=\"top\">";
    for (const auto& column : columns) {
      s += "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
           "WIDTH=\"100%\">";
      for (const auto& [caption, value] : column) {
        s += "<TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">" + caption +
             "</TD><TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">" + value + "</TD></TR>";
      }
      s += "</TABLE></TD>";
    }
    return s + "</TR></TABLE></DIV>";
  }

  // The body the card gives for `sql`.
  std::string BodyOf(const std::string& sql) {
    clHTMLList list;
    EXPECT_TRUE(list.Init("Kunde", DataConnection(), sql, &parser_, "", "", "0_"))
        << list.ErrDescription();
    list.GetNext();
    return list.GetNext();
  }
};

TEST_F(HtmlListTest, CardComesInThreePieces) {
  clHTMLList list;
  ASSERT_TRUE(list.Init("Stammdaten", "  " + DataConnection() + " ",
                        " SELECT nr AS Nr FROM kunden ORDER BY nr ", &parser_,
                        "/resourcehtml/qxlogo.gif", "", "0_"));
  EXPECT_FALSE(list.Ready());
  EXPECT_EQ(list.GetNext(),
            "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"/opt/Varnolis/ResourceHTML/clhtmllist.vbs\">"
            "</SCRIPT>\r\n"
            "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
            "<TR  CLASS=\"htmllisttitle\"><TD>"
            "<IMG  NAME=\"img_list_0_\" SRC=\"/opt/Varnolis/ResourceHTML/minus.gif\" "
            "onclick=\"DisplayItem 'img_list_0_','div_list_0_'\" "
            "onmouseover=\"Point 'img_list_0_'\" onmouseout=\"DontPoint 'img_list_0_'\" "
            "WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;Stammdaten"
            "</TD></TR></TABLE>");
  EXPECT_FALSE(list.Ready());
  // n = 1: one entry in the first layout column, the other two hold empty tables.
  EXPECT_EQ(list.GetNext(),
            "\r\n<DIV  ID=\"div_list_0_\" STYLE=\"\">\r\n"
            "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"1\" WIDTH=\"100%\">"
            "<TR  VALIGN=\"top\">"
            "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
            "WIDTH=\"100%\"><TR><TD  VALIGN=\"top\" CLASS=\"htmllistname\">Nr</TD>"
            "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">10001</TD></TR></TABLE></TD>"
            "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
            "WIDTH=\"100%\"></TABLE></TD>"
            "<TD  WIDTH=\"33%\"><TABLE border=\"0\" cellpadding=\"1\" cellspacing=\"1\" "
            "WIDTH=\"100%\"></TABLE></TD>"
            "</TR></TABLE></DIV>");
  EXPECT_FALSE(list.Ready());
  EXPECT_EQ(list.GetNext(), "");
  EXPECT_TRUE(list.Ready());
  EXPECT_EQ(list.GetNext(), "");
  EXPECT_EQ(list.ErrNumber(), 100);
}

TEST_F(HtmlListTest, EntriesAreLaidOutColumnMajorInThreeColumns) {
  EXPECT_EQ(BodyOf("SELECT 'a' AS A, 'b' AS B, 'c' AS C"),
            Body("0_", {{{"A", "a"}}, {{"B", "b"}}, {{"C", "c"}}}));
  EXPECT_EQ(BodyOf("SELECT 'a' AS A, 'b' AS B, 'c' AS C, 'd' AS D"),
            Body("0_", {{{"A", "a"}, {"B", "b"}}, {{"C", "c"}, {"D", "d"}}, {}}));
  EXPECT_EQ(BodyOf("SELECT 'a' AS A, 'b' AS B, 'c' AS C, 'd' AS D, 'e' AS E, 'f' AS F, "
                   "'g' AS G"),
            Body("0_", {{{"A", "a"}, {"B", "b"}, {"C", "c"}},
                        {{"D", "d"}, {"E", "e"}, {"F", "f"}},
                        {{"G", "g"}}}));
}

TEST_F(HtmlListTest, OnlyTheFirstRecordIsShownWithFormattedValues) {
  EXPECT_EQ(BodyOf("SELECT nr AS Nr, name AS right_Name, umsatz AS Umsatz, "
                   "umsatz AS [format0*0_Wert] FROM kunden ORDER BY nr"),
            Body("0_", {{{"Nr", "10001"}, {"Name", "Meier"}},
                        {{"Umsatz", "1.234,50"}, {"format0*0_Wert", "1234,5"}},
                        {}}));
}

TEST_F(HtmlListTest, BlankValuesShowAHardSpaceAndInnerBlanksStay) {
  EXPECT_EQ(BodyOf("SELECT ort AS Ort, notiz AS Leer FROM kunden ORDER BY nr"),
            Body("0_", {{{"Ort", "&nbsp;"}}, {{"Leer", "&nbsp;"}}, {}}));
  EXPECT_EQ(BodyOf("SELECT ort AS Ort FROM kunden ORDER BY nr DESC"),
            Body("0_", {{{"Ort", "Bad  Ems"}}, {}, {}}));
}

TEST_F(HtmlListTest, NoRecordShowsEveryCaptionWithAHardSpace) {
  EXPECT_EQ(BodyOf("SELECT nr AS Nr, name AS Name FROM kunden WHERE nr < 0"),
            Body("0_", {{{"Nr", "&nbsp;"}}, {{"Name", "&nbsp;"}}, {}}));
}

TEST_F(HtmlListTest, OnlyALeadingAlignmentWordLeavesTheCaption) {
  EXPECT_EQ(BodyOf("SELECT 1 AS Left_Name, 2 AS CENTER_Ort, 3 AS left_, 4 AS _Name, "
                   "5 AS Kunden_Nr, 6 AS hide_ID"),
            Body("0_", {{{"Name", "1"}, {"Ort", "2"}},
                        {{"left_", "3"}, {"_Name", "4"}},
                        {{"Kunden_Nr", "5"}, {"hide_ID", "6"}}}));
}

TEST_F(HtmlListTest, SourceCommandsSelectTheCurrentContactsRecord) {
  vn::clACTDataParser& parser = ParserWithContact("\"25\": \"10002\"");
  clHTMLList list;
  ASSERT_TRUE(list.Init("Kunde", DataConnection(),
                        "SELECT name AS Name FROM kunden WHERE nr = {!kontakt,25}", &parser, "", "",
                        "0_"))
      << list.ErrDescription();
  list.GetNext();
  EXPECT_EQ(list.GetNext(), Body("0_", {{{"Name", "Schulz"}}, {}, {}}));
}

TEST_F(HtmlListTest, BlockIdAndResourceFolderNameTheElements) {
  clHTMLList list;
  ASSERT_TRUE(list.Init("T", DataConnection(), "SELECT 1 AS A", &parser_, "", "/srv/app", "1_"));
  const std::string title = list.GetNext();
  EXPECT_NE(title.find("SRC=\"/srv/app/ResourceHTML/clhtmllist.vbs\""), std::string::npos);
  EXPECT_NE(title.find("<IMG  NAME=\"img_list_1_\" SRC=\"/srv/app/ResourceHTML/minus.gif\" "
                       "onclick=\"DisplayItem 'img_list_1_','div_list_1_'\""),
            std::string::npos);
  EXPECT_TRUE(list.GetNext().starts_with("\r\n<DIV  ID=\"div_list_1_\" STYLE=\"\">\r\n"));
}

TEST_F(HtmlListTest, InitFailuresAreReportedInTheOwnBlock) {
  {
    clHTMLList list;
    EXPECT_FALSE(list.Init("T", DataConnection(), "SELECT 1", nullptr, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 184);
    EXPECT_NE(list.ErrDescription().find("Hinweis von Klasse clHTMLList."), std::string::npos);
  }
  {
    // The missing connection string is reported even when the query is missing too.
    clHTMLList list;
    EXPECT_FALSE(list.Init("T", "  ", "", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 103);
    EXPECT_NE(list.ErrDescription().find(">Es fehlen die Verbindungsdaten.</TD>"),
              std::string::npos);
  }
  {
    clHTMLList list;
    EXPECT_FALSE(list.Init("T", DataConnection(), " ", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 104);
  }
  {
    clHTMLList list;
    EXPECT_FALSE(
        list.Init("T", "Provider=Nirgendwo;Data Source=x", "SELECT 1", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 101);
    EXPECT_NE(list.ErrDescription().find(
                  ">Es konnte keine Verbindung zu der Datenbank hergestellt werden.<br>"
                  "Connection String: Provider=Nirgendwo;Data Source=x</TD>"),
              std::string::npos);
  }
  {
    clHTMLList list;
    EXPECT_FALSE(
        list.Init("T", DataConnection(), " SELECT x FROM nirgends ", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 102);
    EXPECT_NE(list.ErrDescription().find("<br>SQL-String: SELECT x FROM nirgends</TD>"),
              std::string::npos);
  }
  {
    // A query is shown as text: its values may come from ACT!.
    clHTMLList list;
    EXPECT_FALSE(
        list.Init("T", DataConnection(), "SELECT '<b>&\"' FROM nirgends", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 102);
    EXPECT_NE(list.ErrDescription().find(
                  "<br>SQL-String: SELECT &#39;&lt;b&gt;&amp;&quot;&#39; FROM nirgends</TD>"),
              std::string::npos)
        << list.ErrDescription();
  }
  {
    clHTMLList list;
    EXPECT_FALSE(
        list.Init("T", DataConnection() + "{!kontakt,25}", "SELECT 1", &parser_, "", "", "0_"));
    EXPECT_EQ(list.ErrNumber(), 160);
    EXPECT_NE(list.ErrDescription().find("Hinweis von Klasse clACTDataParser."), std::string::npos);
  }
}

}  // namespace
