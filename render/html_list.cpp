#include "render/html_list.h"

#include <exception>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/text.h"
#include "render/column_names.h"
#include "render/entry_source.h"
#include "render/format_field_value.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

namespace {
const char* const kCrLf = "\r\n";
constexpr int kLayoutColumns = 3;
}  // namespace

clHTMLList::clHTMLList() = default;
clHTMLList::~clHTMLList() = default;

bool clHTMLList::Init(const std::string& strTitel, const std::string& strConnection,
                      const std::string& strSQL, clACTDataParser* ACTDataParser,
                      const std::string& /*strTableIcon*/, const std::string& strResourcePath,
                      const std::string& strTabellenKennung) {
  error_.Init("clHTMLList", strResourcePath);
  parser_ = ACTDataParser;
  if (!ParseEntryTexts(error_, parser_, strConnection, strSQL, connection_, query_)) return false;

  title_ = strTitel;
  blockId_ = strTabellenKennung;
  const std::string folder = strResourcePath.empty() ? LibraryFolder() : strResourcePath;
  scriptPath_ = folder + ResText(res::kListScript);
  minusPath_ = folder + ResText(res::kMinusImage);

  if (!RequireEntryTexts(error_, connection_, query_)) return false;

  db_ = OpenEntryConnection(error_, connection_);
  if (!db_) return false;
  try {
    recordset_ = std::make_unique<data::Recordset>();
    recordset_->Open(query_, *db_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
  } catch (const std::exception&) {
    error_.SetError(msg::kQueryFailed, {markup::EscapeHtml(query_)});
    return false;
  }

  // Only the first record is shown; a failure reading it is the caller's to report.
  const int n = recordset_->FieldCount();
  const bool noRecord = recordset_->Bof() && recordset_->Eof();
  entries_.clear();
  entries_.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const data::Field& field = recordset_->Fields(i);
    const std::string name = field.Name();
    std::string value;
    if (!noRecord) {
      value = FormatFieldValue(field);
      if (!SplitMarkupPrefix(name).markup) value = markup::EscapeHtml(value);
    }
    entries_.push_back({ListCaption(name), std::move(value)});
  }
  return true;
}

std::string clHTMLList::GetNext() {
  switch (step_) {
    case 0:
      step_ = 1;
      return TitleBar();
    case 1:
      step_ = 2;
      return Body();
    case 2:
      step_ = 3;
      return "";
    default:
      return "";
  }
}

std::string clHTMLList::TitleBar() const {
  const markup::Fold fold{"img_list_" + blockId_, "div_list_" + blockId_, minusPath_};
  return markup::ScriptInclude(scriptPath_) + kCrLf +
         markup::FoldTitleBar(fold, ResText(res::kClass, ResText(res::kListTitleClass)), "",
                              title_);
}

std::string clHTMLList::Body() const {
  const int n = static_cast<int>(entries_.size());
  const int rows = n / kLayoutColumns + (n % kLayoutColumns != 0 ? 1 : 0);
  const std::string top = ResText(res::kValign, ResText(res::kTop));
  const std::string nameCell = top + ResText(res::kClass, ResText(res::kListNameClass));
  const std::string valueCell = top + ResText(res::kClass, ResText(res::kListValueClass));

  std::string s = markup::FoldBlockStart("div_list_" + blockId_, "");
  s += markup::FullWidthTable(0, 0, 1);
  s += ResText(res::kRow, top);
  for (int k = 1; k <= kLayoutColumns; ++k) {
    // One layout column: a nested table of caption/value rows.
    s += ResText(res::kCell, ResText(res::kWidth, std::to_string(100 / kLayoutColumns) + "%"));
    s += markup::FullWidthTable(0, 1, 1);
    for (int j = 1; j <= rows; ++j) {
      const int position = (k - 1) * rows + j - 1;
      if (position > n - 1) break;
      const Entry& e = entries_[static_cast<size_t>(position)];
      s += ResText(res::kRow) + markup::Cell(nameCell, e.caption);
      s += markup::Cell(valueCell, TrimSpaces(e.value).empty() ? ResText(res::kNbsp) : e.value);
      s += ResText(res::kRowEnd);
    }
    s += ResText(res::kTableEnd) + ResText(res::kCellEnd);
  }
  s += ResText(res::kRowEnd) + ResText(res::kTableEnd) + ResText(res::kDivEnd);
  return s;
}

}  // namespace vn
