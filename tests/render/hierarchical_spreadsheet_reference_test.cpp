// The table's prepared markup against a straightforward construction of the same table, row by
// row, kept here as the reference: thousands of rows of mixed types, NULLs, umlauts and
// characters outside Windows-1252, flat and in two levels, with ids that fit the prepared
// markup and ids that do not.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/recordset.h"
#include "render/format_field_value.h"
#include "render/hierarchical_spreadsheet.h"
#include "resources/markup.h"
#include "tests/render/page_fixture.h"

namespace {

using vn::clHierachicalSpreadSheet;

const char* const kFlat =
    "SELECT id AS hide_ID, name AS Name, amount AS [right_format#,##0.00_Betrag], day AS Tag, "
    "note AS [center_Notiz], n AS right_Anzahl FROM t ORDER BY id";
const char* const kParents =
    "SELECT id AS hide_ID, name AS Name, amount AS [right_format#,##0.00_Betrag] FROM t "
    "WHERE id <= 600 ORDER BY id";
const char* const kChildren =
    "SELECT pid AS hide_P, pos AS [right_Pos], txt AS Text FROM c ORDER BY pid, pos";

class ReferenceTest : public vn::testing::PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    // Names with umlauts, a euro sign (in Windows-1252), an omega, a Hungarian o and an emoji
    // (not in it), blanks and markup characters; NULLs in every column but the key.
    Exec(DataDatabase(),
         "CREATE TABLE t (id INTEGER, name TEXT, amount REAL, day DATE, note TEXT, n INTEGER);"
         "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 3000) "
         "INSERT INTO t SELECT i, CASE i % 5 WHEN 0 THEN NULL WHEN 1 THEN 'Müller ' || i "
         "WHEN 2 THEN 'Größe € ' || i WHEN 3 THEN 'Ωmega ő 😀 ' || i ELSE ' <b>&amp;</b> ' END, "
         "CASE WHEN i % 7 = 0 THEN NULL ELSE i * -1.255 + 1000 END, "
         "CASE WHEN i % 11 = 0 THEN NULL ELSE date('1999-12-31', '+' || i || ' days') END, "
         "CASE WHEN i % 3 = 0 THEN '' WHEN i % 3 = 1 THEN NULL ELSE 'Notiz ' || i END, "
         "CASE WHEN i % 13 = 0 THEN NULL ELSE i * 1000 END FROM k;"
         "CREATE TABLE c (pid INTEGER, pos INTEGER, txt TEXT);"
         "WITH RECURSIVE k(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM k WHERE i < 2999) "
         "INSERT INTO c SELECT i / 5 + 1, i % 5, CASE WHEN i % 4 = 0 THEN NULL "
         "ELSE 'Teil ä€😀 ' || i END FROM k WHERE (i / 5 + 1) % 9 <> 0;");
  }

  // The visible columns of a result: captions and alignments, and every row's display texts
  // as page text.
  struct Table {
    std::vector<std::string> captions;
    std::vector<std::string> alignments;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> keys;  // the first (hidden) column's text per row
  };

  Table Read(const std::string& sql, const std::vector<std::string>& captions,
             const std::vector<std::string>& alignments) {
    Table table{captions, alignments, {}, {}};
    vn::data::Connection db;
    db.Open(DataConnection(), {}, {}, -1);
    vn::data::Recordset rs;
    rs.Open(sql, db, vn::data::adOpenForwardOnly, vn::data::adLockUnspecified, -1);
    for (; !rs.Eof(); rs.MoveNext()) {
      table.keys.push_back(vn::FormatFieldValue(rs.Fields(0)));
      std::vector<std::string>& row = table.rows.emplace_back();
      for (int i = 1; i < rs.FieldCount(); ++i) {
        row.push_back(vn::markup::EscapeHtml(vn::FormatFieldValue(rs.Fields(i))));
      }
    }
    return table;
  }

  static std::string Render(const std::string& title, const std::string& connection,
                            const std::string& sql, vn::clACTDataParser& parser,
                            const std::string& blockId) {
    clHierachicalSpreadSheet table;
    EXPECT_TRUE(table.Init(title, connection, sql, &parser, "", "", blockId))
        << table.ErrDescription();
    std::string page;
    for (int guard = 0; !table.Ready() && !table.Failed() && guard < 100000; ++guard) {
      page += table.GetNext();
    }
    EXPECT_EQ(table.ErrNumber(), 100) << table.ErrDescription();
    // The page writer's way: every piece appended to one buffer that is emptied between pieces
    // and keeps its storage, so a longer row leaves bytes behind where a shorter one follows.
    clHierachicalSpreadSheet again;
    EXPECT_TRUE(again.Init(title, connection, sql, &parser, "", "", blockId));
    std::string piece;
    std::string pieces;
    for (int guard = 0; !again.Ready() && !again.Failed() && guard < 100000; ++guard) {
      piece.clear();
      again.AppendNext(piece);
      pieces += piece;
    }
    EXPECT_EQ(pieces, page);
    return page;
  }
};

// The reference construction, written out piece by piece.
std::string TitleBar(const std::string& title, const std::string& b) {
  return "<SCRIPT  LANGUAGE=\"VBScript\" "
         "SRC=\"/opt/Varnolis/ResourceHTML/clhierachicalspreadsheet.vbs\"></SCRIPT>\r\n"
         "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
         "<TR  CLASS=\"title0\"><TD><IMG  NAME=\"img_hss_" +
         b + "\" SRC=\"/opt/Varnolis/ResourceHTML/minus.gif\" onclick=\"DisplayItem 'img_hss_" + b +
         "','div_hss_" + b + "'\" onmouseover=\"Point 'img_hss_" + b +
         "'\" onmouseout=\"DontPoint 'img_hss_" + b +
         "'\" WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;" + title +
         "</TD></TR></TABLE>\r\n<DIV  ID=\"div_hss_" + b + "\" STYLE=\"\">\r\n";
}

std::string CaptionRow(int level, bool foldColumn, const std::vector<std::string>& captions,
                       const std::vector<std::string>& alignments) {
  const std::string d = std::to_string(level);
  std::string s =
      "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  CLASS=\"u" +
      d + "\">";
  if (foldColumn) s += "<TD  WIDTH=\"14\">&nbsp;</TD>";
  for (size_t i = 0; i < captions.size(); ++i) {
    s += "<TD  CLASS=\"u" + d + "\" ALIGN=\"" + alignments[i] + "\">" + captions[i] + "</TD>";
  }
  return s + "</TR>";
}

std::string Cells(int level, const std::vector<std::string>& values,
                  const std::vector<std::string>& alignments) {
  std::string s;
  for (size_t i = 0; i < values.size(); ++i) {
    s += "<TD  CLASS=\"t" + std::to_string(level) + "\" ALIGN=\"" + alignments[i] + "\">" +
         values[i] + "</TD>";
  }
  return s;
}

const char* const kSpacer = "<TR><TD></TD></TR>\r\n";
const char* const kRootEnd = "\r\n</TABLE>\r\n</DIV>\r\n";

TEST_F(ReferenceTest, FlatTableOfThreeThousandRows) {
  const Table t = Read(kFlat, {"Name", "Betrag", "Tag", "Notiz", "Anzahl"},
                       {"left", "right", "left", "center", "right"});
  ASSERT_EQ(t.rows.size(), 3000u);
  std::string expected = TitleBar("Tabelle", "3_") + CaptionRow(0, false, t.captions, t.alignments);
  for (const auto& row : t.rows) {
    expected += "<TR  CLASS=\"t0\">" + Cells(0, row, t.alignments) + "</TR>\r\n" + kSpacer;
  }
  expected += kRootEnd;
  EXPECT_EQ(Render("Tabelle", DataConnection(), kFlat, parser_, "3_"), expected);
}

TEST_F(ReferenceTest, TwoLevelsWithAndWithoutChildrenAndIdsThatDoNotFitThePreparedMarkup) {
  const Table parents = Read(kParents, {"Name", "Betrag"}, {"left", "right"});
  const Table children = Read(kChildren, {"Pos", "Text"}, {"right", "left"});
  std::map<std::string, std::vector<std::vector<std::string>>> byParent;
  for (size_t i = 0; i < children.rows.size(); ++i) {
    byParent[children.keys[i]].push_back(children.rows[i]);
  }
  const std::string shape = std::string("SHAPE {") + kParents + "} APPEND ({" + kChildren +
                            "} RELATE hide_ID TO hide_P) AS Teile";
  // "1_" and "x%s_" fit the prepared markup (a value's "%s" is its own text); the others carry a
  // blank and a " >" into the ids, which the string table closes up wherever an id goes into
  // the markup.
  const std::vector<std::pair<std::string, std::string>> ids = {
      {"1_", "1_"}, {"2 _", "2 _"}, {"x%s_", "x%s_"}, {"a >_", "a>_"}};
  for (const auto& [given, b] : ids) {
    std::string expected =
        TitleBar("Baum ä", b) + CaptionRow(0, true, parents.captions, parents.alignments);
    for (size_t r = 0; r < parents.rows.size(); ++r) {
      const std::string id = b + "0-" + std::to_string(r + 1);
      const auto kids = byParent.find(parents.keys[r]);
      expected += "<TR  CLASS=\"t0\">";
      if (kids == byParent.end()) {
        expected += "<TD  WIDTH=\"14\">&nbsp;</TD>";
      } else {
        expected += "<TD  WIDTH=\"14\"><IMG  NAME=\"img_" + id +
                    "\" SRC=\"/opt/Varnolis/ResourceHTML/plus.gif\" onclick=\"DisplayItem 'img_" +
                    id + "','div_" + id + "'\" onmouseover=\"Point 'img_" + id +
                    "'\" onmouseout=\"DontPoint 'img_" + id +
                    "'\" WIDTH=\"11\" HEIGHT=\"11\"></TD>";
      }
      expected += Cells(0, parents.rows[r], parents.alignments) + "</TR>\r\n";
      expected += "<TR><TD  COLSPAN=\"3\" ALIGN=\"center\" VALIGN=\"top\">\r\n<DIV  ID=\"div_" +
                  id +
                  "\" STYLE=\"display:none\">\r\n"
                  "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
                  "<TD  WIDTH=\"16\">&nbsp;</TD><TD>" +
                  CaptionRow(1, false, children.captions, children.alignments);
      if (kids == byParent.end()) {
        expected +=
            "<TR  CLASS=\"t1\"><TD  WIDTH=\"14\">&nbsp;</TD>"
            "<TD  COLSPAN=\"2\">Es sind keine Daten vorhanden.</TD></TR>\r\n";
      } else {
        for (const auto& row : kids->second) {
          expected +=
              "<TR  CLASS=\"t1\">" + Cells(1, row, children.alignments) + "</TR>\r\n" + kSpacer;
        }
      }
      expected += "\r\n</TABLE>\r\n</TD></TABLE></DIV>\r\n</TD></TR>";
    }
    expected += kRootEnd;
    EXPECT_EQ(Render("Baum ä", DataConnection(), shape, parser_, given), expected) << given;
  }
}

}  // namespace
