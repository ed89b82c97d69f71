#include "render/hierarchical_spreadsheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/render/page_fixture.h"

namespace {

using vn::clHierachicalSpreadSheet;

class HierarchicalSpreadSheetTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    Exec(DataDatabase(),
         "CREATE TABLE kunden (id INTEGER, name TEXT);"
         "INSERT INTO kunden VALUES (1, 'Meier'), (2, 'Schulz');"
         "CREATE TABLE auftraege (nr INTEGER, kunde INTEGER, betrag REAL);"
         "INSERT INTO auftraege VALUES (10, 1, 100.5), (11, 1, 20);");
  }

  static std::string Joined(const std::vector<std::string>& pieces) {
    std::string all;
    for (const auto& p : pieces) all += p;
    return all;
  }
};

const char* const kTitleBar =
    "<SCRIPT  LANGUAGE=\"VBScript\" "
    "SRC=\"/opt/Varnolis/ResourceHTML/clhierachicalspreadsheet.vbs\"></SCRIPT>\r\n"
    "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
    "<TR  CLASS=\"title0\"><TD>"
    "<IMG  NAME=\"img_hss_0_\" SRC=\"/opt/Varnolis/ResourceHTML/minus.gif\" "
    "onclick=\"DisplayItem 'img_hss_0_','div_hss_0_'\" onmouseover=\"Point 'img_hss_0_'\" "
    "onmouseout=\"DontPoint 'img_hss_0_'\" WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">"
    "&nbsp;&nbsp;Aufträge</TD></TR></TABLE>"
    "\r\n<DIV  ID=\"div_hss_0_\" STYLE=\"\">\r\n";

TEST_F(HierarchicalSpreadSheetTest, TwoLevelShapeGivesThePiecesOneByOne) {
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init(
      "Aufträge", "  " + DataConnection() + "  ",
      " SHAPE {SELECT id AS hide_ID, name AS Name FROM kunden ORDER BY id} "
      "APPEND ({SELECT nr AS Nr, kunde AS hide_Kunde, betrag AS right_Betrag FROM auftraege "
      "ORDER BY nr} RELATE hide_ID TO hide_Kunde) AS Auftraege ",
      &parser_, "/resourcehtml/qxlogo.gif", "", "0_"))
      << table.ErrDescription();
  EXPECT_EQ(table.ErrNumber(), 100);

  const std::string childOpening1 =
      "<TR><TD  COLSPAN=\"2\" ALIGN=\"center\" VALIGN=\"top\">\r\n"
      "<DIV  ID=\"div_0_0-1\" STYLE=\"display:none\">\r\n"
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
      "<TD  WIDTH=\"16\">&nbsp;</TD><TD>";
  const std::string childOpening2 =
      "<TR><TD  COLSPAN=\"2\" ALIGN=\"center\" VALIGN=\"top\">\r\n"
      "<DIV  ID=\"div_0_0-2\" STYLE=\"display:none\">\r\n"
      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
      "<TD  WIDTH=\"16\">&nbsp;</TD><TD>";
  const std::string childHeader =
      "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"u1\"><TD  CLASS=\"u1\" ALIGN=\"left\">Nr</TD>"
      "<TD  CLASS=\"u1\" ALIGN=\"right\">Betrag</TD></TR>";
  const std::string childClosing = "\r\n</TABLE>\r\n</TD></TABLE></DIV>\r\n</TD></TR>";

  const std::vector<std::string> expected = {
      std::string(kTitleBar) +
          "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
          "<TR  CLASS=\"u0\"><TD  WIDTH=\"14\">&nbsp;</TD>"
          "<TD  CLASS=\"u0\" ALIGN=\"left\">Name</TD></TR>",
      "<TR  CLASS=\"t0\"><TD  WIDTH=\"14\"><IMG  NAME=\"img_0_0-1\" "
      "SRC=\"/opt/Varnolis/ResourceHTML/plus.gif\" "
      "onclick=\"DisplayItem 'img_0_0-1','div_0_0-1'\" onmouseover=\"Point 'img_0_0-1'\" "
      "onmouseout=\"DontPoint 'img_0_0-1'\" WIDTH=\"11\" HEIGHT=\"11\"></TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"left\">Meier</TD></TR>\r\n",
      childOpening1 + childHeader,
      "<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">10</TD>"
      "<TD  CLASS=\"t1\" ALIGN=\"right\">100,50</TD></TR>\r\n<TR><TD></TD></TR>\r\n",
      "<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">11</TD>"
      "<TD  CLASS=\"t1\" ALIGN=\"right\">20,00</TD></TR>\r\n<TR><TD></TD></TR>\r\n",
      "",
      childClosing,
      "<TR  CLASS=\"t0\"><TD  WIDTH=\"14\">&nbsp;</TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"left\">Schulz</TD></TR>\r\n",
      childOpening2 + childHeader,
      "<TR  CLASS=\"t1\"><TD  WIDTH=\"14\">&nbsp;</TD>"
      "<TD  COLSPAN=\"2\">Es sind keine Daten vorhanden.</TD></TR>\r\n",
      childClosing,
      "",
      "\r\n</TABLE>\r\n</DIV>\r\n",
  };
  EXPECT_EQ(AllPieces(table), expected);
  EXPECT_TRUE(table.Ready());
  EXPECT_EQ(table.GetNext(), "");
}

TEST_F(HierarchicalSpreadSheetTest, PlainSelectHasNoFoldColumnAndASpacerAfterEveryRow) {
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init("Aufträge", DataConnection(),
                         "SELECT nr AS center_Nr, betrag AS [right_format0*0_Betrag], "
                         "kunde AS HIDE_Kunde, kunde AS x_hide_Kunde FROM auftraege ORDER BY nr",
                         &parser_, "/resourcehtml/qxlogo.gif", "", "0_"))
      << table.ErrDescription();
  const std::vector<std::string> expected = {
      std::string(kTitleBar) +
          "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
          "<TR  CLASS=\"u0\"><TD  CLASS=\"u0\" ALIGN=\"center\">Nr</TD>"
          "<TD  CLASS=\"u0\" ALIGN=\"right\">Betrag</TD>"
          "<TD  CLASS=\"u0\" ALIGN=\"left\">x_hide_Kunde</TD></TR>",
      "<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"center\">10</TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"right\">100,5</TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"left\">1</TD></TR>\r\n<TR><TD></TD></TR>\r\n",
      "<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"center\">11</TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"right\">20,0</TD>"
      "<TD  CLASS=\"t0\" ALIGN=\"left\">1</TD></TR>\r\n<TR><TD></TD></TR>\r\n",
      "",
      "\r\n</TABLE>\r\n</DIV>\r\n",
  };
  EXPECT_EQ(AllPieces(table), expected);
  EXPECT_TRUE(table.Ready());
}

TEST_F(HierarchicalSpreadSheetTest, EmptyResultIsOnePieceWithTheNoDataParagraph) {
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init("Aufträge", DataConnection(),
                         "SELECT nr AS Nr FROM auftraege WHERE nr < 0", &parser_,
                         "/resourcehtml/qxlogo.gif", "", "0_"));
  EXPECT_EQ(
      table.GetNext(),
      std::string(kTitleBar) + "<P  CLASS=\"title1\">Es sind keine Daten vorhanden.</P></DIV>\r\n");
  EXPECT_TRUE(table.Ready());
  EXPECT_EQ(table.ErrNumber(), 100);
}

TEST_F(HierarchicalSpreadSheetTest, EnglishUsersGetTheEnglishNoDataText) {
  setenv("LC_ALL", "en_US.UTF-8", 1);
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init("T", DataConnection(), "SELECT nr FROM auftraege WHERE nr < 0", &parser_,
                         "", "/srv", "3_"));
  const std::string piece = table.GetNext();
  EXPECT_NE(piece.find("SRC=\"/srv/ResourceHTML/clhierachicalspreadsheet.vbs\""),
            std::string::npos);
  EXPECT_TRUE(piece.ends_with("<P  CLASS=\"title1\">There's no data</P></DIV>\r\n")) << piece;
}

TEST_F(HierarchicalSpreadSheetTest, RowCountersRunOnOverTheWholeTableInAThreeLevelChain) {
  Exec(DataDatabase(),
       "CREATE TABLE posten (auftrag INTEGER, artikel TEXT);"
       "INSERT INTO kunden VALUES (3, 'Weber');"
       "INSERT INTO auftraege VALUES (12, 2, 5);"
       "INSERT INTO posten VALUES (10, 'A'), (11, 'B'), (12, 'C'), (12, 'D');");
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init(
      "Kette", DataConnection(),
      "SHAPE {SELECT id, name FROM kunden ORDER BY id} APPEND ((SHAPE {SELECT nr, kunde FROM "
      "auftraege ORDER BY nr} APPEND ({SELECT auftrag, artikel FROM posten ORDER BY artikel} "
      "RELATE nr TO auftrag) AS Posten) RELATE id TO kunde) AS Auftraege",
      &parser_, "", "", "0_"))
      << table.ErrDescription();
  const std::string page = Joined(AllPieces(table));
  ASSERT_TRUE(table.Ready()) << page;
  for (const char* id : {"NAME=\"img_0_0-1\"", "NAME=\"img_0_0-2\"", "NAME=\"img_0_1-1\"",
                         "NAME=\"img_0_1-2\"", "NAME=\"img_0_1-3\"", "ID=\"div_0_1-3\""}) {
    EXPECT_NE(page.find(id), std::string::npos) << id;
  }
  // Weber (third parent) has no orders: no image, but its hidden block still opens.
  EXPECT_EQ(page.find("img_0_0-3"), std::string::npos);
  EXPECT_NE(page.find("<DIV  ID=\"div_0_0-3\" STYLE=\"display:none\">"), std::string::npos);
  // Level 0 and 1 rows have fold cells, the deepest level spacer rows.
  EXPECT_NE(page.find("<TR  CLASS=\"t2\"><TD  CLASS=\"t2\" ALIGN=\"left\">12</TD>"
                      "<TD  CLASS=\"t2\" ALIGN=\"left\">C</TD></TR>\r\n<TR><TD></TD></TR>\r\n"),
            std::string::npos);
  // A child level's cell spans the parent's visible columns and its fold column.
  EXPECT_NE(page.find("<TR><TD  COLSPAN=\"3\" ALIGN=\"center\" VALIGN=\"top\">\r\n"
                      "<DIV  ID=\"div_0_1-1\""),
            std::string::npos);
}

TEST_F(HierarchicalSpreadSheetTest, SecondEntryIdsBeginWithItsBlockId) {
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init("T", DataConnection(),
                         "SHAPE {SELECT id, name FROM kunden} APPEND ({SELECT nr, kunde FROM "
                         "auftraege} RELATE id TO kunde) AS A",
                         &parser_, "", "", "1_"));
  const std::string page = Joined(AllPieces(table));
  EXPECT_NE(page.find("NAME=\"img_hss_1_\""), std::string::npos);
  EXPECT_NE(page.find("ID=\"div_hss_1_\""), std::string::npos);
  EXPECT_NE(page.find("NAME=\"img_1_0-1\""), std::string::npos);
  EXPECT_NE(page.find("ID=\"div_1_0-2\""), std::string::npos);
  EXPECT_EQ(page.find("_0_"), std::string::npos);
}

TEST_F(HierarchicalSpreadSheetTest, InitFailuresAreReportedInTheOwnBlock) {
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(table.Init("T", DataConnection(), "SELECT 1", nullptr, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 184);
    EXPECT_NE(table.ErrDescription().find("Hinweis von Klasse clHierachicalSpreadSheet."),
              std::string::npos);
    EXPECT_NE(table.ErrDescription().find("Es wurde kein ACTDataParser initialisiert."),
              std::string::npos);
  }
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(table.Init("T", "   ", "", &parser_, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 103);
  }
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(table.Init("T", DataConnection(), "  ", &parser_, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 104);
  }
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(
        table.Init("T", " Provider=Nirgendwo;Data Source=x ", "SELECT 1", &parser_, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 101);
    EXPECT_NE(table.ErrDescription().find(
                  "<TD  CLASS=\"errortext\">Es konnte keine Verbindung zu der Datenbank "
                  "hergestellt werden.<br>Connection String: Provider=MSDataShape;Data "
                  "Provider=Nirgendwo;Data Source=x</TD>"),
              std::string::npos)
        << table.ErrDescription();
  }
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(
        table.Init("T", DataConnection(), "SELECT nichts FROM nirgends", &parser_, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 102);
    EXPECT_NE(table.ErrDescription().find("<br>SQL-String: SELECT nichts FROM nirgends</TD>"),
              std::string::npos);
  }
  {
    clHierachicalSpreadSheet table;
    EXPECT_FALSE(
        table.Init("T", DataConnection(), "SELECT '<i>' FROM nirgends", &parser_, "", "", "0_"));
    EXPECT_EQ(table.ErrNumber(), 102);
    EXPECT_NE(table.ErrDescription().find(
                  "<br>SQL-String: SELECT &#39;&lt;i&gt;&#39; FROM nirgends</TD>"),
              std::string::npos);
  }
}

TEST_F(HierarchicalSpreadSheetTest, FailingSourceCommandGives160WithTheParsersBlock) {
  clHierachicalSpreadSheet table;
  EXPECT_FALSE(table.Init("T", DataConnection(), "SELECT * FROM kunden WHERE id={!kontakt,25}",
                          &parser_, "", "", "0_"));
  EXPECT_EQ(table.ErrNumber(), 160);
  EXPECT_NE(table.ErrDescription().find("Fehler beim Einbinden von ACT!-Daten.<br>"),
            std::string::npos);
  EXPECT_NE(table.ErrDescription().find("Hinweis von Klasse clACTDataParser."), std::string::npos);
}

TEST_F(HierarchicalSpreadSheetTest, ThreeLevelChainWhoseFirstRowsHaveNoChildrenStillRenders) {
  // Weber, the first customer, has no orders, and Meier's first order has no items.
  Exec(DataDatabase(),
       "INSERT INTO kunden VALUES (0, 'Weber');"
       "CREATE TABLE posten (auftrag INTEGER, artikel TEXT, hide_x INTEGER);"
       "INSERT INTO posten VALUES (11, 'B', 0);");
  clHierachicalSpreadSheet table;
  ASSERT_TRUE(table.Init(
      "Kette", DataConnection(),
      "SHAPE {SELECT id, name FROM kunden ORDER BY id} APPEND ((SHAPE {SELECT nr, kunde FROM "
      "auftraege ORDER BY nr} APPEND ({SELECT auftrag, artikel, hide_x FROM posten} "
      "RELATE nr TO auftrag) AS Posten) RELATE id TO kunde) AS Auftraege",
      &parser_, "", "", "0_"))
      << table.ErrDescription();
  const std::string page = Joined(AllPieces(table));
  ASSERT_TRUE(table.Ready()) << page;
  // Order 10 has no items: a hard space instead of the image, and its block holds the
  // item header and the no-data row spanning the two visible item columns.
  EXPECT_NE(page.find("<TR  CLASS=\"t1\"><TD  WIDTH=\"14\">&nbsp;</TD>"
                      "<TD  CLASS=\"t1\" ALIGN=\"left\">10</TD>"),
            std::string::npos);
  EXPECT_NE(page.find("<TR  CLASS=\"u2\"><TD  CLASS=\"u2\" ALIGN=\"left\">auftrag</TD>"
                      "<TD  CLASS=\"u2\" ALIGN=\"left\">artikel</TD></TR>"
                      "<TR  CLASS=\"t2\"><TD  WIDTH=\"14\">&nbsp;</TD><TD  COLSPAN=\"2\">"
                      "Es sind keine Daten vorhanden.</TD></TR>\r\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<TR  CLASS=\"t0\"><TD  WIDTH=\"14\">&nbsp;</TD>"
                      "<TD  CLASS=\"t0\" ALIGN=\"left\">0</TD>"),
            std::string::npos);
  EXPECT_NE(page.find("NAME=\"img_0_0-2\""), std::string::npos);
  EXPECT_NE(page.find("NAME=\"img_0_1-3\""), std::string::npos);
  EXPECT_NE(page.find("<TD  CLASS=\"t2\" ALIGN=\"left\">B</TD></TR>\r\n<TR><TD></TD></TR>"),
            std::string::npos);
}

}  // namespace
