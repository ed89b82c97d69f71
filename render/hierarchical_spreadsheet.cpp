#include "render/hierarchical_spreadsheet.h"

#include <exception>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "render/column_names.h"
#include "render/entry_source.h"
#include "render/format_field_value.h"
#include "render/regional_settings.h"
#include "resources/res_text.h"

namespace vn {

namespace {

const char* const kCrLf = "\r\n";
const char* const kShapePrefix = "Provider=MSDataShape;Data ";

// The child recordset a chapter field holds for the current row.
std::shared_ptr<data::Recordset> Chapter(const data::Field& field) {
  const data::Variant value = field.Value();
  if (!value.Is<std::shared_ptr<data::Recordset>>() ||
      !value.As<std::shared_ptr<data::Recordset>>()) {
    throw RuntimeError(13, "Type mismatch: the chapter column '" + field.Name() +
                               "' holds no recordset", "clHierachicalSpreadSheet");
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

std::string Cell(const std::string& attributes, const std::string& content) {
  return ResText(312, attributes) + content + ResText(313);
}

}  // namespace

clHierachicalSpreadSheet::clHierachicalSpreadSheet() = default;

clHierachicalSpreadSheet::~clHierachicalSpreadSheet() {
  try {
    if (root_) root_->Close();
  } catch (...) {
  }
  try {
    if (db_) db_->Close();
  } catch (...) {
  }
}

bool clHierachicalSpreadSheet::Init(const std::string& strTitel,
                                    const std::string& strConnection,
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
  scriptPath_ = folder + ResText(901);
  plusPath_ = folder + ResText(903);
  minusPath_ = folder + ResText(904);

  if (!RequireEntryTexts(error_, connection_, query_)) return false;

  // The shaping service always sits in front of the entry's provider, so a plain SELECT and
  // a SHAPE command are opened alike.
  connection_ = kShapePrefix + connection_;
  db_ = OpenEntryConnection(error_, connection_);
  if (!db_) return false;
  try {
    root_ = std::make_unique<data::Recordset>();
    root_->Open(query_, *db_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
    depth_ = 0;
    maxdepth_ = 0;
    visible_.assign(1, 0);
    chapterColumn_.assign(1, 0);
    if (!(root_->Bof() && root_->Eof())) AnalyseLevels(*root_);
    rowCounter_.assign(static_cast<size_t>(maxdepth_) + 1, 0);
    levels_.assign(static_cast<size_t>(maxdepth_) + 1, nullptr);
    depth_ = 0;
  } catch (const std::exception&) {
    error_.SetError(102, {query_});
    return false;
  }
  return true;
}

void clHierachicalSpreadSheet::AnalyseLevels(const data::Recordset& recordset) {
  const size_t level = static_cast<size_t>(depth_);
  const int count = recordset.FieldCount();
  for (int i = 0; i < count; ++i) {
    const data::Field& field = recordset.Fields(i);
    if (field.Type() == data::adChapter) {
      chapterColumn_[static_cast<size_t>(depth_)] = i;
      ++depth_;
      visible_.resize(static_cast<size_t>(depth_) + 1, 0);
      chapterColumn_.resize(static_cast<size_t>(depth_) + 1, 0);
      visible_[static_cast<size_t>(depth_)] = 0;
      ++maxdepth_;
      if (const auto child = ChildForAnalysis(recordset, i)) AnalyseLevels(*child);
    } else if (!IsHiddenColumn(field.Name())) {
      ++visible_[level];
    }
  }
}

std::string clHierachicalSpreadSheet::GetNext() {
  switch (step_) {
    case 0:
      return OpenLevel();
    case 1:
      return NextRow();
    case 2:
      return CloseLevel();
    default:
      return "";
  }
}

std::string clHierachicalSpreadSheet::OpenLevel() {
  std::string s;
  if (depth_ == 0) {
    const std::string image = "img_hss_" + blockId_;
    const std::string block = "div_hss_" + blockId_;
    s += ResText(314, ResText(411, ResText(607)) + ResText(402, scriptPath_)) + ResText(315) +
         kCrLf;
    s += ResText(308, ResText(709, 0, 2, 0) + ResText(404, "100%")) +
         ResText(310, ResText(412, ResText(611, 0))) + ResText(312);
    s += ResText(316, ResText(401, image) + ResText(402, minusPath_) +
                          ResText(501, "'" + image + "','" + block + "'") +
                          ResText(502, "'" + image + "'") + ResText(503, "'" + image + "'") +
                          ResText(404, 11) + ResText(405, 11) + ResText(406, ResText(609)));
    s += ResText(606) + ResText(606) + title_ + ResText(313) + ResText(311) + ResText(309);
    s += kCrLf + ResText(317, ResText(409, block) + ResText(410, "")) + kCrLf;
    if (root_->Bof() && root_->Eof()) {
      s += ResText(322, ResText(412, ResText(611, 1))) + ResText(801) + ResText(323) +
           ResText(318) + kCrLf;
      step_ = 3;
      return s;
    }
    try {
      levels_[0] = root_->Clone(data::adLockUnspecified);
    } catch (const std::exception&) {
      error_.SetError(106, {connection_, query_});
      step_ = 2;
      return s;
    }
    current_ = levels_[0];
    rowCounter_[0] = 0;
  } else {
    const size_t parent = static_cast<size_t>(depth_ - 1);
    s += ResText(310) +
         ResText(312, ResText(408, visible_[parent] + 1) + ResText(406, ResText(605)) +
                          ResText(407, ResText(601))) +
         kCrLf;
    s += ResText(317, ResText(409, "div_" + blockId_ + std::to_string(depth_ - 1) + "-" +
                                       std::to_string(rowCounter_[parent])) +
                          ResText(410, ResText(608))) +
         kCrLf;
    s += ResText(308, ResText(706) + ResText(404, "100%")) + ResText(310) +
         Cell(ResText(404, 16), ResText(606)) + ResText(312);
  }
  return s + LevelTable();
}

std::string clHierachicalSpreadSheet::LevelTable() {
  std::string s = kCrLf;
  s += ResText(308, ResText(702) + ResText(404, "100%")) + ResText(310, ResText(704, depth_));
  if (depth_ < maxdepth_) s += Cell(ResText(404, 14), ResText(606));
  const int count = current_->FieldCount();
  for (int i = 0; i < count; ++i) {
    const data::Field& field = current_->Fields(i);
    if (field.Type() == data::adChapter || IsHiddenColumn(field.Name())) continue;
    const std::string name = field.Name();
    s += Cell(ResText(704, depth_) + ResText(406, GetAlignment(name)), GetCaption(name));
  }
  s += ResText(311);
  step_ = 1;
  return s;
}

std::string clHierachicalSpreadSheet::NextRow() {
  const size_t d = static_cast<size_t>(depth_);
  if (current_->RecordCount() == 0) {
    ++rowCounter_[d];
    step_ = 2;
    return ResText(310, ResText(705, depth_)) + Cell(ResText(404, 14), ResText(606)) +
           Cell(ResText(408, visible_[d]), ResText(801)) + ResText(311) + kCrLf;
  }
  if (current_->Eof()) {
    step_ = 2;
    return "";
  }
  const RowMarkup& markup = RowMarkupOf(*current_);
  const int r = ++rowCounter_[d];
  std::string s = markup.rowOpen;
  if (depth_ < maxdepth_) {
    const auto child = Chapter(current_->Fields(chapterColumn_[d]));
    if (child->RecordCount() > 0) {
      const std::string id = blockId_ + std::to_string(depth_) + "-" + std::to_string(r);
      const std::string image = "img_" + id;
      s += Cell(ResText(404, 14),
                ResText(316, ResText(401, image) + ResText(402, plusPath_) +
                                 ResText(501, "'" + image + "','div_" + id + "'") +
                                 ResText(502, "'" + image + "'") +
                                 ResText(503, "'" + image + "'") + ResText(404, 11) +
                                 ResText(405, 11)));
    } else {
      s += Cell(ResText(404, 14), ResText(606));
    }
  }
  const std::string cellEnd = ResText(313);
  const RegionalSettings& settings = *settings_;
  for (size_t k = 0; k < markup.shown.size(); ++k) {
    s += markup.cellOpen[k];
    s += FormatFieldValue(current_->Fields(markup.shown[k]), settings);
    s += cellEnd;
  }
  s += markup.rowEnd;

  // Only a level the analysis found can be descended into; a chapter beyond the chain is
  // shown as a plain row.
  if (markup.chapter < 0 || depth_ >= maxdepth_) {
    current_->MoveNext();
  } else {
    const auto child = Chapter(current_->Fields(markup.chapter));
    ++depth_;
    levels_[static_cast<size_t>(depth_)] = child->Clone(data::adLockUnspecified);
    current_ = levels_[static_cast<size_t>(depth_)];
    step_ = 0;
  }
  return s;
}

const clHierachicalSpreadSheet::RowMarkup& clHierachicalSpreadSheet::RowMarkupOf(
    const data::Recordset& recordset) {
  if (rowMarkup_.size() <= static_cast<size_t>(depth_)) {
    rowMarkup_.resize(static_cast<size_t>(depth_) + 1);
  }
  RowMarkup& markup = rowMarkup_[static_cast<size_t>(depth_)];
  const int count = recordset.FieldCount();
  if (markup.fieldCount == count) return markup;
  markup = RowMarkup{};
  markup.fieldCount = count;
  for (int i = 0; i < count; ++i) {
    const data::Field& field = recordset.Fields(i);
    if (field.Type() == data::adChapter) {
      markup.chapter = i;
      continue;
    }
    const std::string name = field.Name();
    if (IsHiddenColumn(name)) continue;
    markup.shown.push_back(i);
    markup.cellOpen.push_back(ResText(312, ResText(705, depth_) + ResText(406, GetAlignment(name))));
  }
  markup.rowOpen = ResText(310, ResText(705, depth_));
  markup.rowEnd = ResText(311) + kCrLf;
  if (depth_ == maxdepth_) {
    markup.rowEnd += ResText(310) + ResText(312) + ResText(313) + ResText(311) + kCrLf;
  }
  return markup;
}

std::string clHierachicalSpreadSheet::CloseLevel() {
  std::string s = kCrLf + ResText(309) + kCrLf;
  if (depth_ == 0) {
    s += ResText(318) + kCrLf;
    step_ = 3;
    return s;
  }
  s += ResText(313) + ResText(309) + ResText(318) + kCrLf + ResText(313) + ResText(311);
  --depth_;
  current_ = levels_[static_cast<size_t>(depth_)];
  current_->MoveNext();
  step_ = 1;
  return s;
}

}  // namespace vn
