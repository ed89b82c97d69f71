#include "render/hierarchical_spreadsheet.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "render/column_names.h"
#include "render/entry_source.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

namespace {

const char* const kCrLf = "\r\n";

// The child recordset a chapter field holds for the current row.
std::shared_ptr<data::Recordset> Chapter(const data::Field& field) {
  const data::Variant value = field.Value();
  if (!value.Is<std::shared_ptr<data::Recordset>>() ||
      !value.As<std::shared_ptr<data::Recordset>>()) {
    throw RuntimeError(
        13, "Type mismatch: the chapter column '" + field.Name() + "' holds no recordset",
        "clHierachicalSpreadSheet");
  }
  return value.As<std::shared_ptr<data::Recordset>>();
}

// The child recordset whose columns describe the level below chapter column `column`: the
// first row's child, or, when that one is empty, the first non-empty child of a later row
// (an empty child has no row whose own chapters could be read). Null when `recordset` has no
// row at all.
std::shared_ptr<data::Recordset> ChildForAnalysis(const data::Recordset& recordset, int column) {
  if (recordset.Bof() && recordset.Eof()) return nullptr;
  auto child = Chapter(recordset.Fields(column));
  if (child->RecordCount() > 0) return child;
  for (auto rows = recordset.Clone(data::adLockUnspecified); !rows->Eof(); rows->MoveNext()) {
    auto candidate = Chapter(rows->Fields(column));
    if (candidate->RecordCount() > 0) return candidate;
  }
  return child;
}

using markup::Cell;

// The narrow first cell of a row of a level that has a level below: the fold image or a blank.
std::string FoldColumnAttributes() { return ResText(res::kWidth, 14); }

}  // namespace

clHierachicalSpreadSheet::clHierachicalSpreadSheet() = default;

clHierachicalSpreadSheet::~clHierachicalSpreadSheet() {
  try {
    if (root_) root_->Close();
  } catch (...) {
    // Closing while the table goes: nobody is left to report a failure to.
  }
  try {
    if (db_) db_->Close();
  } catch (...) {
    // Closing while the table goes: nobody is left to report a failure to.
  }
}

bool clHierachicalSpreadSheet::Init(const std::string& strTitel, const std::string& strConnection,
                                    const std::string& strSQL, clACTDataParser* ACTDataParser,
                                    const std::string& /*strTableIcon*/,
                                    const std::string& strResourcePath,
                                    const std::string& strTabellenKennung) {
  error_.Init("clHierachicalSpreadSheet", strResourcePath);
  // One table is formatted under one set of regional settings: looking them up for every row
  // would read the environment a hundred thousand times for a large table.
  settings_ = &CurrentRegionalSettings();
  parser_ = ACTDataParser;
  if (!ParseEntryTexts(error_, parser_, strConnection, strSQL, connection_, query_)) return false;

  title_ = strTitel;
  blockId_ = strTabellenKennung;
  const std::string folder = strResourcePath.empty() ? LibraryFolder() : strResourcePath;
  scriptPath_ = folder + ResText(res::kHierarchicalScript);
  plusPath_ = folder + ResText(res::kPlusImage);
  minusPath_ = folder + ResText(res::kMinusImage);
  cellEnd_ = ResText(res::kCellEnd);
  prepared_ =
      PreparedMarkup::Fits(blockId_) && plusPath_.find(PreparedMarkup::kSlot) == std::string::npos;

  if (!RequireEntryTexts(error_, connection_, query_)) return false;

  connection_ = ShapedConnection(connection_);
  db_ = OpenEntryConnection(error_, connection_);
  if (!db_) return false;
  try {
    root_ = std::make_unique<data::Recordset>();
    root_->Open(query_, *db_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
    depth_ = 0;
    maxdepth_ = 0;
    tree_.assign(1, Level{});
    if (!(root_->Bof() && root_->Eof())) AnalyseLevels(*root_, 0);
    const size_t depths = static_cast<size_t>(maxdepth_) + 1;
    rowCounter_.assign(depths, 0);
    levels_.assign(depths, nullptr);
    levelAt_.assign(depths, 0);
    chapterAt_.assign(depths, 0);
  } catch (const std::exception&) {
    error_.SetError(msg::kQueryFailed, {markup::EscapeHtml(query_)});
    return false;
  }
  return true;
}

// Every chapter column of a level is a level of its own one deeper, so several chapter
// columns in one level make the levels a tree rather than a chain.
void clHierachicalSpreadSheet::AnalyseLevels(const data::Recordset& recordset, size_t level) {
  tree_[level].analysed = true;
  const int count = recordset.FieldCount();
  for (int i = 0; i < count; ++i) {
    const data::Field& field = recordset.Fields(i);
    if (field.Type() == data::adChapter) {
      Level child;
      child.depth = tree_[level].depth + 1;
      child.parent = level;
      maxdepth_ = std::max(maxdepth_, child.depth);
      tree_.push_back(child);
      const size_t below = tree_.size() - 1;
      tree_[level].chapters.push_back(i);
      tree_[level].children.push_back(below);
      if (const auto rows = ChildForAnalysis(recordset, i)) AnalyseLevels(*rows, below);
    } else if (!IsHiddenColumn(field.Name())) {
      ++tree_[level].visible;
    }
  }
}

std::string clHierachicalSpreadSheet::GetNext() {
  std::string s;
  AppendNext(s);
  return s;
}

void clHierachicalSpreadSheet::AppendNext(std::string& out) {
  const std::size_t size = out.size();
  try {
    switch (step_) {
      case 0:
        out += OpenLevel();
        break;
      case 1:
        AppendRow(out);
        break;
      case 2:
        out += CloseLevel();
        break;
      default:
        break;
    }
  } catch (...) {
    out.resize(size);  // a row that failed leaves nothing half written
    throw;
  }
}

std::string clHierachicalSpreadSheet::OpenLevel() {
  std::string s;
  if (depth_ == 0) {
    const markup::Fold fold{"img_hss_" + blockId_, "div_hss_" + blockId_, minusPath_};
    s += markup::ScriptInclude(scriptPath_) + kCrLf;
    s += markup::FoldTitleBar(fold, ResText(res::kClass, ResText(res::kTitleClass, 0)), "", title_);
    s += markup::FoldBlockStart(fold.block, "");
    if (root_->Bof() && root_->Eof()) {
      s += ResText(res::kParagraph, ResText(res::kClass, ResText(res::kTitleClass, 1))) +
           ResText(res::kNoData) + ResText(res::kParagraphEnd) + ResText(res::kDivEnd) + kCrLf;
      step_ = 3;
      return s;
    }
    try {
      levels_[0] = root_->Clone(data::adLockUnspecified);
    } catch (const std::exception&) {
      error_.SetError(msg::kNoRecordClone,
                      {ConnectionShown(connection_), markup::EscapeHtml(query_)});
      step_ = 2;
      return s;
    }
    current_ = levels_[0];
    rowCounter_[0] = 0;
    levelAt_[0] = 0;
  } else {
    const size_t parent = static_cast<size_t>(depth_ - 1);
    const std::string blockId =
        BlockId(tree_[levelAt_[parent]], rowCounter_[parent], chapterAt_[parent]);
    if (prepared_) {
      RowMarkupOf(*current_).open.AppendTo(s, blockId);
    } else {
      s += LevelOpen(blockId);
    }
  }
  return s + LevelTable();
}

std::string clHierachicalSpreadSheet::RowId(int depth, int row) const {
  std::string id = blockId_;
  id += std::to_string(depth);
  id += '-';
  id += std::to_string(row);
  return id;
}

// The id of the block of chapter `chapter` below row `row` of `level`, which that chapter's
// fold image toggles: the row's id when the level has one chapter column, else the row's id
// and the chapter's place among them, so that every block of the row has an id of its own.
std::string clHierachicalSpreadSheet::BlockId(const Level& level, int row, size_t chapter) const {
  std::string id = RowId(level.depth, row);
  if (level.chapters.size() > 1) {
    id += '-';
    id += std::to_string(chapter + 1);
  }
  return id;
}

// The fold image's cell of the row with id `rowId`, folding the block of its children.
std::string clHierachicalSpreadSheet::FoldCell(const std::string& rowId) const {
  return Cell(FoldColumnAttributes(),
              markup::FoldImage({"img_" + rowId, "div_" + rowId, plusPath_}, false));
}

// The row that holds the current level below its parent row: one cell across the parent's
// columns and fold columns with the folded block `blockId`, whose table's first column
// indents it.
std::string clHierachicalSpreadSheet::LevelOpen(const std::string& blockId) const {
  const Level& parent = tree_[tree_[levelAt_[static_cast<size_t>(depth_)]].parent];
  const int span = parent.visible + static_cast<int>(parent.chapters.size());
  std::string s = ResText(res::kRow) +
                  ResText(res::kCell, ResText(res::kColspan, span) +
                                          ResText(res::kAlign, ResText(res::kCenter)) +
                                          ResText(res::kValign, ResText(res::kTop))) +
                  kCrLf;
  s += ResText(res::kDiv, ResText(res::kIdAttribute, "div_" + blockId) +
                              ResText(res::kStyle, ResText(res::kDisplayNone))) +
       kCrLf;
  s += ResText(res::kTable, ResText(res::kTableTight) + ResText(res::kWidth, "100%")) +
       ResText(res::kRow) + Cell(ResText(res::kWidth, 16), ResText(res::kNbsp)) +
       ResText(res::kCell);
  return s;
}

std::string clHierachicalSpreadSheet::LevelTable() {
  step_ = 1;
  return kCrLf + RowMarkupOf(*current_).head;
}

void clHierachicalSpreadSheet::AppendRow(std::string& s) {
  const size_t d = static_cast<size_t>(depth_);
  const Level& level = tree_[levelAt_[d]];
  if (current_->RecordCount() == 0) {
    ++rowCounter_[d];
    step_ = 2;
    s += ResText(res::kRow, ResText(res::kRowClass, depth_)) +
         Cell(FoldColumnAttributes(), ResText(res::kNbsp)) +
         Cell(ResText(res::kColspan, level.visible), ResText(res::kNoData)) +
         ResText(res::kRowEnd) + kCrLf;
    return;
  }
  if (current_->Eof()) {
    step_ = 2;
    return;
  }
  const RowMarkup& markup = RowMarkupOf(*current_);
  const int r = ++rowCounter_[d];
  s += markup.rowOpen;
  for (size_t k = 0; k < level.chapters.size(); ++k) {
    const auto child = Chapter(current_->Fields(level.chapters[k]));
    if (child->RecordCount() == 0) {
      s += markup.blankFoldCell;
    } else if (prepared_) {
      markup.foldCell.AppendTo(s, BlockId(level, r, k));
    } else {
      s += FoldCell(BlockId(level, r, k));
    }
  }
  if (markup.formats.size() != markup.shown.size()) {
    std::vector<FieldFormat> formats;
    formats.reserve(markup.shown.size());
    for (const int i : markup.shown) formats.emplace_back(current_->Fields(i), *settings_);
    markup.formats = std::move(formats);
  }
  for (size_t k = 0; k < markup.shown.size(); ++k) {
    s += markup.cellOpen[k];
    const size_t value = s.size();
    markup.formats[k].Append(current_->Fields(markup.shown[k]), s);
    if (!markup.markup[k]) markup::EscapeHtmlFrom(s, value);
    s += cellEnd_;
  }
  s += markup.rowEnd;

  // The blocks of the row's chapters follow the row, the first one opened by the next call.
  if (level.chapters.empty()) {
    current_->MoveNext();
  } else {
    chapterAt_[d] = 0;
    Descend();
  }
}

// Goes down into the block of the current row's chapter chapterAt_[depth]; the next call opens
// it.
void clHierachicalSpreadSheet::Descend() {
  const size_t d = static_cast<size_t>(depth_);
  const Level& level = tree_[levelAt_[d]];
  const size_t k = chapterAt_[d];
  const auto child = Chapter(current_->Fields(level.chapters[k]));
  ++depth_;
  levelAt_[d + 1] = level.children[k];
  levels_[d + 1] = child->Clone(data::adLockUnspecified);
  current_ = levels_[d + 1];
  step_ = 0;
  if (!tree_[levelAt_[d + 1]].analysed) {
    AnalyseLevels(*current_, levelAt_[d + 1]);
    const size_t depths = static_cast<size_t>(maxdepth_) + 1;
    rowCounter_.resize(depths, 0);
    levels_.resize(depths);
    levelAt_.resize(depths, 0);
    chapterAt_.resize(depths, 0);
  }
}

const clHierachicalSpreadSheet::RowMarkup& clHierachicalSpreadSheet::RowMarkupOf(
    const data::Recordset& recordset) {
  const size_t node = levelAt_[static_cast<size_t>(depth_)];
  const Level& level = tree_[node];
  if (rowMarkup_.size() <= node) rowMarkup_.resize(tree_.size());
  RowMarkup& markup = rowMarkup_[node];
  const int count = recordset.FieldCount();
  if (markup.fieldCount == count) return markup;
  markup = RowMarkup{};
  markup.fieldCount = count;
  for (int i = 0; i < count; ++i) {
    const data::Field& field = recordset.Fields(i);
    if (field.Type() == data::adChapter) continue;
    const std::string name = field.Name();
    if (IsHiddenColumn(name)) continue;
    markup.shown.push_back(i);
    markup.markup.push_back(SplitMarkupPrefix(name).markup);
    markup.cellOpen.push_back(ResText(
        res::kCell, ResText(res::kRowClass, depth_) + ResText(res::kAlign, GetAlignment(name))));
    markup.head +=
        Cell(ResText(res::kLevelClass, depth_) + ResText(res::kAlign, GetAlignment(name)),
             GetCaption(name));
  }
  // The caption row, after the fold column of each chapter column.
  markup.blankFoldCell = Cell(FoldColumnAttributes(), ResText(res::kNbsp));
  std::string foldHeads;
  for (size_t k = 0; k < level.chapters.size(); ++k) foldHeads += markup.blankFoldCell;
  markup.head = ResText(res::kTable, ResText(res::kTableSpacing) + ResText(res::kWidth, "100%")) +
                ResText(res::kRow, ResText(res::kLevelClass, depth_)) + foldHeads + markup.head +
                ResText(res::kRowEnd);
  const std::string slot(1, PreparedMarkup::kSlot);
  markup.foldCell = PreparedMarkup(FoldCell(slot));
  if (depth_ > 0) markup.open = PreparedMarkup(LevelOpen(slot));
  markup.close = kCrLf + ResText(res::kTableEnd) + kCrLf + ResText(res::kCellEnd) +
                 ResText(res::kTableEnd) + ResText(res::kDivEnd) + kCrLf + ResText(res::kCellEnd) +
                 ResText(res::kRowEnd);
  markup.rowOpen = ResText(res::kRow, ResText(res::kRowClass, depth_));
  markup.rowEnd = ResText(res::kRowEnd) + kCrLf;
  if (level.chapters.empty()) {
    // The spacer row of a level without children.
    markup.rowEnd += ResText(res::kRow) + Cell("", "") + ResText(res::kRowEnd) + kCrLf;
  }
  return markup;
}

std::string clHierachicalSpreadSheet::CloseLevel() {
  if (depth_ == 0) {
    step_ = 3;
    return kCrLf + ResText(res::kTableEnd) + kCrLf + ResText(res::kDivEnd) + kCrLf;
  }
  std::string s = RowMarkupOf(*current_).close;
  --depth_;
  const size_t d = static_cast<size_t>(depth_);
  current_ = levels_[d];
  // The row's next chapter column gets its own block below the one just closed.
  if (++chapterAt_[d] < tree_[levelAt_[d]].chapters.size()) {
    Descend();
    return s;
  }
  current_->MoveNext();
  step_ = 1;
  return s;
}

}  // namespace vn
