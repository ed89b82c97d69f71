// Levels with several chapter columns: each chapter of a row is a block of its own below the
// row, in column order, toggled by its own fold image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/hierarchical_spreadsheet.h"
#include "tests/render/page_fixture.h"

namespace {

using vn::clHierachicalSpreadSheet;

class ChaptersTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    Exec(DataDatabase(),
         "CREATE TABLE kunden (id INTEGER, name TEXT);"
         "INSERT INTO kunden VALUES (1, 'Meier'), (2, 'Schulz');"
         "CREATE TABLE auftraege (nr INTEGER, kunde INTEGER);"
         "INSERT INTO auftraege VALUES (10, 1), (11, 1);"
         "CREATE TABLE notizen (kunde INTEGER, text TEXT);"
         "INSERT INTO notizen VALUES (2, 'ruft an');"
         "CREATE TABLE posten (auftrag INTEGER, artikel TEXT);"
         "INSERT INTO posten VALUES (10, 'A'), (11, 'B');"
         "CREATE TABLE lieferungen (auftrag INTEGER, tag TEXT);"
         "INSERT INTO lieferungen VALUES (11, 'Mo');");
  }

  std::vector<std::string> Pieces(const std::string& query, const std::string& blockId) {
    clHierachicalSpreadSheet table;
    EXPECT_TRUE(table.Init("Kunden", DataConnection(), query, &parser_, "", "", blockId))
        << table.ErrDescription();
    std::vector<std::string> pieces = AllPieces(table);
    EXPECT_TRUE(table.Ready()) << table.ErrDescription();
    return pieces;
  }
};

// Every "{id}" in `text` replaced by the table's block id.
std::string WithId(std::string text, const std::string& id) {
  for (size_t at = text.find("{id}"); at != std::string::npos; at = text.find("{id}", at)) {
    text.replace(at, 4, id);
    at += id.size();
  }
  return text;
}

std::vector<std::string> WithId(const std::vector<std::string>& pieces, const std::string& id) {
  std::vector<std::string> out;
  for (const auto& p : pieces) out.push_back(WithId(p, id));
  return out;
}

std::string TitleBar() {
  return "<SCRIPT  LANGUAGE=\"VBScript\" "
         "SRC=\"/opt/Varnolis/ResourceHTML/clhierachicalspreadsheet.vbs\"></SCRIPT>\r\n"
         "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
         "<TR  CLASS=\"title0\"><TD>"
         "<IMG  NAME=\"img_hss_{id}\" SRC=\"/opt/Varnolis/ResourceHTML/minus.gif\" "
         "onclick=\"DisplayItem 'img_hss_{id}','div_hss_{id}'\" "
         "onmouseover=\"Point 'img_hss_{id}'\" onmouseout=\"DontPoint 'img_hss_{id}'\" "
         "WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;Kunden</TD></TR></TABLE>"
         "\r\n<DIV  ID=\"div_hss_{id}\" STYLE=\"\">\r\n";
}

std::string FoldImage(const std::string& id) {
  return "<TD  WIDTH=\"14\"><IMG  NAME=\"img_" + id +
         "\" SRC=\"/opt/Varnolis/ResourceHTML/plus.gif\" onclick=\"DisplayItem 'img_" + id +
         "','div_" + id + "'\" onmouseover=\"Point 'img_" + id +
         "'\" onmouseout=\"DontPoint 'img_" + id + "'\" WIDTH=\"11\" HEIGHT=\"11\"></TD>";
}

std::string BlockOpen(int span, const std::string& id) {
  return "<TR><TD  COLSPAN=\"" + std::to_string(span) +
         "\" ALIGN=\"center\" VALIGN=\"top\">\r\n<DIV  ID=\"div_" + id +
         "\" STYLE=\"display:none\">\r\n"
         "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
         "<TD  WIDTH=\"16\">&nbsp;</TD><TD>";
}

const char* const kTableStart =
    "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">";
const char* const kBlank = "<TD  WIDTH=\"14\">&nbsp;</TD>";
const char* const kSpacer = "<TR><TD></TD></TR>\r\n";
const char* const kBlockClose = "\r\n</TABLE>\r\n</TD></TABLE></DIV>\r\n</TD></TR>";
const char* const kTableEnd = "\r\n</TABLE>\r\n</DIV>\r\n";

std::string NoData(int depth) {
  const std::string d = std::to_string(depth);
  return "<TR  CLASS=\"t" + d +
         "\"><TD  WIDTH=\"14\">&nbsp;</TD>"
         "<TD  COLSPAN=\"1\">Es sind keine Daten vorhanden.</TD></TR>\r\n";
}

const char* const kTwoChapters =
    "SHAPE {SELECT id AS hide_ID, name AS Name FROM kunden ORDER BY id} AS k "
    "APPEND ({SELECT nr AS Nr, kunde AS hide_Kunde FROM auftraege ORDER BY nr} AS a "
    "RELATE hide_ID TO hide_Kunde) AS Auftraege, "
    "({SELECT kunde AS hide_K, text AS Notiz FROM notizen} AS b RELATE hide_ID TO hide_K) "
    "AS Notizen";

// Meier has orders and no notes, Schulz a note and no orders: each row has two fold columns,
// an image where its chapter has rows, and two hidden blocks, one per chapter.
std::vector<std::string> TwoChapterPieces() {
  const std::string ordersHead =
      std::string(kTableStart) + "<TR  CLASS=\"u1\"><TD  CLASS=\"u1\" ALIGN=\"left\">Nr</TD></TR>";
  const std::string notesHead =
      std::string(kTableStart) +
      "<TR  CLASS=\"u1\"><TD  CLASS=\"u1\" ALIGN=\"left\">Notiz</TD></TR>";
  return {
      TitleBar() + kTableStart +
          "<TR  CLASS=\"u0\"><TD  WIDTH=\"14\">&nbsp;</TD><TD  WIDTH=\"14\">&nbsp;</TD>"
          "<TD  CLASS=\"u0\" ALIGN=\"left\">Name</TD></TR>",
      "<TR  CLASS=\"t0\">" + FoldImage("{id}0-1-1") + kBlank +
          "<TD  CLASS=\"t0\" ALIGN=\"left\">Meier</TD></TR>\r\n",
      BlockOpen(3, "{id}0-1-1") + ordersHead,
      std::string("<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">10</TD></TR>\r\n") + kSpacer,
      std::string("<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">11</TD></TR>\r\n") + kSpacer,
      "",
      kBlockClose,
      BlockOpen(3, "{id}0-1-2") + notesHead,
      NoData(1),
      kBlockClose,
      "<TR  CLASS=\"t0\">" + std::string(kBlank) + FoldImage("{id}0-2-2") +
          "<TD  CLASS=\"t0\" ALIGN=\"left\">Schulz</TD></TR>\r\n",
      BlockOpen(3, "{id}0-2-1") + ordersHead,
      NoData(1),
      kBlockClose,
      BlockOpen(3, "{id}0-2-2") + notesHead,
      std::string("<TR  CLASS=\"t1\"><TD  CLASS=\"t1\" ALIGN=\"left\">ruft an</TD></TR>\r\n") +
          kSpacer,
      "",
      kBlockClose,
      "",
      kTableEnd,
  };
}

TEST_F(ChaptersTest, TwoChapterColumnsGiveTwoBlocksInColumnOrderWithTheirOwnIds) {
  EXPECT_EQ(Pieces(kTwoChapters, "0_"), WithId(TwoChapterPieces(), "0_"));
}

TEST_F(ChaptersTest, TwoChapterColumnsWithIdsThatDoNotFitThePreparedMarkup) {
  EXPECT_EQ(Pieces(kTwoChapters, "2 _"), WithId(TwoChapterPieces(), "2 _"));
}

TEST_F(ChaptersTest, ThreeLevelsWhoseSecondLevelHasTwoChapters) {
  // Orders have items and deliveries; order 10 has no delivery, Schulz no order.
  const std::string query =
      "SHAPE {SELECT id AS hide_ID, name AS Name FROM kunden ORDER BY id} "
      "APPEND ((SHAPE {SELECT nr AS Nr, kunde AS hide_Kunde FROM auftraege ORDER BY nr} "
      "APPEND ({SELECT auftrag AS hide_A, artikel AS Artikel FROM posten} RELATE Nr TO hide_A) "
      "AS Posten, ({SELECT auftrag AS hide_L, tag AS Tag FROM lieferungen} RELATE Nr TO hide_L) "
      "AS Lieferungen) RELATE hide_ID TO hide_Kunde) AS Auftraege";
  const std::string ordersHead =
      std::string(kTableStart) +
      "<TR  CLASS=\"u1\"><TD  WIDTH=\"14\">&nbsp;</TD><TD  WIDTH=\"14\">&nbsp;</TD>"
      "<TD  CLASS=\"u1\" ALIGN=\"left\">Nr</TD></TR>";
  const std::string itemsHead =
      std::string(kTableStart) +
      "<TR  CLASS=\"u2\"><TD  CLASS=\"u2\" ALIGN=\"left\">Artikel</TD></TR>";
  const std::string deliveriesHead =
      std::string(kTableStart) + "<TR  CLASS=\"u2\"><TD  CLASS=\"u2\" ALIGN=\"left\">Tag</TD></TR>";
  const std::vector<std::string> expected = {
      TitleBar() + kTableStart +
          "<TR  CLASS=\"u0\"><TD  WIDTH=\"14\">&nbsp;</TD>"
          "<TD  CLASS=\"u0\" ALIGN=\"left\">Name</TD></TR>",
      "<TR  CLASS=\"t0\">" + FoldImage("{id}0-1") +
          "<TD  CLASS=\"t0\" ALIGN=\"left\">Meier</TD></TR>\r\n",
      BlockOpen(2, "{id}0-1") + ordersHead,
      "<TR  CLASS=\"t1\">" + FoldImage("{id}1-1-1") + kBlank +
          "<TD  CLASS=\"t1\" ALIGN=\"left\">10</TD></TR>\r\n",
      BlockOpen(3, "{id}1-1-1") + itemsHead,
      std::string("<TR  CLASS=\"t2\"><TD  CLASS=\"t2\" ALIGN=\"left\">A</TD></TR>\r\n") + kSpacer,
      "",
      kBlockClose,
      BlockOpen(3, "{id}1-1-2") + deliveriesHead,
      NoData(2),
      kBlockClose,
      "<TR  CLASS=\"t1\">" + FoldImage("{id}1-2-1") + FoldImage("{id}1-2-2") +
          "<TD  CLASS=\"t1\" ALIGN=\"left\">11</TD></TR>\r\n",
      BlockOpen(3, "{id}1-2-1") + itemsHead,
      std::string("<TR  CLASS=\"t2\"><TD  CLASS=\"t2\" ALIGN=\"left\">B</TD></TR>\r\n") + kSpacer,
      "",
      kBlockClose,
      BlockOpen(3, "{id}1-2-2") + deliveriesHead,
      std::string("<TR  CLASS=\"t2\"><TD  CLASS=\"t2\" ALIGN=\"left\">Mo</TD></TR>\r\n") + kSpacer,
      "",
      kBlockClose,
      "",
      kBlockClose,
      "<TR  CLASS=\"t0\">" + std::string(kBlank) +
          "<TD  CLASS=\"t0\" ALIGN=\"left\">Schulz</TD></TR>\r\n",
      BlockOpen(2, "{id}0-2") + ordersHead,
      NoData(1),
      kBlockClose,
      "",
      kTableEnd,
  };
  EXPECT_EQ(Pieces(query, "0_"), WithId(expected, "0_"));
}

TEST_F(ChaptersTest, LevelTheAnalysisCouldNotReachIsAnalysedWhenItIsFirstWritten) {
  // Meier's only order has no items, so the rows read in advance hold no parts level; Schulz's
  // order has an item with parts and one without.
  Exec(DataDatabase(),
       "CREATE TABLE a4 (nr INTEGER, kunde INTEGER);"
       "INSERT INTO a4 VALUES (20, 1), (21, 2);"
       "CREATE TABLE p4 (nr INTEGER, auftrag INTEGER, artikel TEXT);"
       "INSERT INTO p4 VALUES (30, 21, 'X'), (31, 21, 'Y');"
       "CREATE TABLE t4 (posten INTEGER, teil TEXT, menge INTEGER);"
       "INSERT INTO t4 VALUES (30, 'Schraube', 4);");
  const std::vector<std::string> pieces = Pieces(
      "SHAPE {SELECT id AS hide_ID, name AS Name FROM kunden ORDER BY id} APPEND ((SHAPE "
      "{SELECT nr AS Nr, kunde AS hide_K FROM a4} APPEND ((SHAPE {SELECT nr AS hide_P, auftrag "
      "AS hide_A, artikel AS Artikel FROM p4 ORDER BY nr} APPEND ({SELECT posten AS hide_T, "
      "teil AS Teil, menge AS Menge FROM t4} RELATE hide_P TO hide_T) AS Teile) RELATE Nr TO "
      "hide_A) AS Posten) RELATE hide_ID TO hide_K) AS Auftraege",
      "0_");
  std::string page;
  for (const auto& p : pieces) page += p;
  EXPECT_NE(page.find("<TR  CLASS=\"t3\"><TD  CLASS=\"t3\" ALIGN=\"left\">Schraube</TD>"
                      "<TD  CLASS=\"t3\" ALIGN=\"left\">4</TD></TR>\r\n<TR><TD></TD></TR>"),
            std::string::npos)
      << page;
  // Item Y's empty parts block spans the two part columns.
  EXPECT_NE(page.find("<DIV  ID=\"div_0_2-3\" STYLE=\"display:none\">\r\n"
                      "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\">"
                      "<TR><TD  WIDTH=\"16\">&nbsp;</TD><TD>\r\n"
                      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
                      "<TR  CLASS=\"u3\"><TD  CLASS=\"u3\" ALIGN=\"left\">Teil</TD>"
                      "<TD  CLASS=\"u3\" ALIGN=\"left\">Menge</TD></TR>"
                      "<TR  CLASS=\"t3\"><TD  WIDTH=\"14\">&nbsp;</TD>"
                      "<TD  COLSPAN=\"2\">Es sind keine Daten vorhanden.</TD></TR>\r\n"),
            std::string::npos)
      << page;
}

}  // namespace
