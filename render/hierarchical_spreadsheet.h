// clHierachicalSpreadSheet: a data entry (formats 0 and 1) as a table whose rows unfold into
// the tables of their child records, to any depth of a tree of shaped levels (a row may hold
// several chapter columns); handed out one row, one level opening or one level closing per call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/recordset.h"
#include "render/format_field_value.h"
#include "render/page_generator.h"
#include "resources/html_error.h"
#include "resources/prepared_markup.h"

namespace vn {

class clACTDataParser;
struct RegionalSettings;

class clHierachicalSpreadSheet final : public PageGenerator {
 public:
  clHierachicalSpreadSheet();
  ~clHierachicalSpreadSheet() override;
  clHierachicalSpreadSheet(const clHierachicalSpreadSheet&) = delete;
  clHierachicalSpreadSheet& operator=(const clHierachicalSpreadSheet&) = delete;

  // Resolves the ACT! source commands, opens the query through the data shaping service and
  // analyses its levels. `strTableIcon` has no effect on the table; a non-empty
  // `strResourcePath` replaces the library folder for the script and image paths;
  // `strTabellenKennung` makes the table's element ids unique in the page.
  bool Init(const std::string& strTitel, const std::string& strConnection,
            const std::string& strSQL, clACTDataParser* ACTDataParser,
            const std::string& strTableIcon, const std::string& strResourcePath,
            const std::string& strTabellenKennung);

  bool Init(const GeneratorEntry& entry) override {
    return Init(entry.title, entry.connection, entry.query, entry.parser, entry.tableIcon,
                entry.resourcePath, entry.tableId);
  }

  std::string GetNext() override;
  void AppendNext(std::string& out) override;
  bool Ready() const override { return step_ == 3; }
  int ErrNumber() const override { return error_.Number(); }
  std::string ErrDescription() const override { return error_.Description(); }

 private:
  // The markup that is the same for every row of one level, built once per level: rows and
  // levels are written many thousand times, their templates need not be filled each time.
  struct RowMarkup {
    int fieldCount = -1;
    std::vector<int> shown;    // positions of the visible columns
    std::vector<bool> markup;  // per visible column: its values are markup ("html_")
    // How each visible column's values are shown; worked out at the level's first row, so
    // that a pattern's fault is raised where the value is written, as for a single value.
    mutable std::vector<FieldFormat> formats;
    std::vector<std::string> cellOpen;  // <TD  CLASS="t{d}" ALIGN="..."> per visible column
    std::string head;                   // the level's table start and caption row
    std::string rowOpen;                // <TR  CLASS="t{d}">
    std::string rowEnd;                 // </TR> CRLF, and a spacer row on a level without chapters
    std::string blankFoldCell;          // the first cell of a row without children
    PreparedMarkup foldCell;            // the fold image's cell; slots: the row's id
    PreparedMarkup open;                // below the root: the row that holds the level;
                                        // slot: the parent row's id
    std::string close;                  // the level's end
  };

  // One level of the tree: the child recordsets of one chapter column (or the query's
  // result), which all have the same columns.
  struct Level {
    int depth = 0;
    size_t parent = 0;             // the level whose chapter column this is (none for the root)
    int visible = 0;               // columns that are neither chapters nor hidden
    std::vector<int> chapters;     // positions of the chapter columns, in column order
    std::vector<size_t> children;  // the level below each chapter column
    bool analysed = false;         // columns read; a level below rows that all have empty
                                   // chapters is read when it is first written
  };

  void AnalyseLevels(const data::Recordset& recordset, size_t level);
  const RowMarkup& RowMarkupOf(const data::Recordset& recordset);
  std::string RowId(int depth, int row) const;
  std::string BlockId(const Level& level, int row, size_t chapter) const;
  void Descend();
  std::string FoldCell(const std::string& rowId) const;
  std::string LevelOpen(const std::string& parentRowId) const;
  std::string OpenLevel();
  std::string LevelTable();
  void AppendRow(std::string& out);
  std::string CloseLevel();

  std::string connection_;
  std::string query_;
  clHTMLError error_;
  std::unique_ptr<data::Connection> db_;
  std::unique_ptr<data::Recordset> root_;
  std::string title_;
  int step_ = 0;
  int depth_ = 0;
  int maxdepth_ = 0;
  std::vector<Level> tree_;  // the root level first
  std::vector<std::shared_ptr<data::Recordset>> levels_;
  std::shared_ptr<data::Recordset> current_;
  std::vector<int> rowCounter_;
  std::vector<size_t> levelAt_;       // per depth: the level of the tree being written
  std::vector<size_t> chapterAt_;     // per depth: the chapter of the current row being written
  std::vector<RowMarkup> rowMarkup_;  // per level of the tree
  std::string scriptPath_;
  std::string plusPath_;
  std::string minusPath_;
  std::string blockId_;
  bool prepared_ = false;  // ids and paths fit the prepared markup
  std::string cellEnd_;
  clACTDataParser* parser_ = nullptr;
  const RegionalSettings* settings_ = nullptr;  // taken in Init
};

}  // namespace vn
