#include "render/html_list.h"

#include <exception>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/text.h"
#include "render/column_names.h"
#include "render/entry_source.h"
#include "render/format_field_value.h"
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
  scriptPath_ = folder + ResText(910);
  minusPath_ = folder + ResText(904);

  if (!RequireEntryTexts(error_, connection_, query_)) return false;

  db_ = OpenEntryConnection(error_, connection_);
  if (!db_) return false;
  try {
    recordset_ = std::make_unique<data::Recordset>();
    recordset_->Open(query_, *db_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
  } catch (const std::exception&) {
    error_.SetError(102, {query_});
    return false;
  }

  // Only the first record is shown; a failure reading it is the caller's to report.
  const int n = recordset_->FieldCount();
  const bool noRecord = recordset_->Bof() && recordset_->Eof();
  entries_.clear();
  entries_.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const data::Field& field = recordset_->Fields(i);
    entries_.push_back({ListCaption(field.Name()), noRecord ? std::string() : FormatFieldValue(field)});
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
  const std::string image = "img_list_" + blockId_;
  const std::string block = "div_list_" + blockId_;
  std::string s = ResText(314, ResText(411, ResText(607)) + ResText(402, scriptPath_)) +
                  ResText(315) + kCrLf;
  s += ResText(308, ResText(709, 0, 2, 0) + ResText(404, "100%"));
  s += ResText(310, ResText(412, ResText(618))) + ResText(312);
  s += ResText(316, ResText(401, image) + ResText(402, minusPath_) +
                        ResText(501, "'" + image + "','" + block + "'") +
                        ResText(502, "'" + image + "'") + ResText(503, "'" + image + "'") +
                        ResText(404, 11) + ResText(405, 11) + ResText(406, ResText(609)));
  s += ResText(606) + ResText(606) + title_ + ResText(313) + ResText(311) + ResText(309);
  return s;
}

std::string clHTMLList::Body() const {
  const int n = static_cast<int>(entries_.size());
  const int rows = n / kLayoutColumns + (n % kLayoutColumns != 0 ? 1 : 0);
  const std::string nameCell =
      ResText(312, ResText(407, ResText(601)) + ResText(412, ResText(619)));
  const std::string valueCell =
      ResText(312, ResText(407, ResText(601)) + ResText(412, ResText(620)));

  std::string s = kCrLf;
  s += ResText(317, ResText(409, "div_list_" + blockId_) + ResText(410, "")) + kCrLf;
  s += ResText(308, ResText(709, 0, 0, 1) + ResText(404, "100%"));
  s += ResText(310, ResText(407, ResText(601)));
  for (int k = 1; k <= kLayoutColumns; ++k) {
    s += ResText(312, ResText(404, std::to_string(100 / kLayoutColumns) + "%"));
    s += ResText(308, ResText(709, 0, 1, 1) + ResText(404, "100%"));
    for (int j = 1; j <= rows; ++j) {
      const int position = (k - 1) * rows + j - 1;
      if (position > n - 1) break;
      const Entry& e = entries_[static_cast<size_t>(position)];
      s += ResText(310) + nameCell + e.caption + ResText(313);
      s += valueCell + (TrimSpaces(e.value).empty() ? ResText(606) : e.value) + ResText(313);
      s += ResText(311);
    }
    s += ResText(309) + ResText(313);
  }
  s += ResText(311) + ResText(309) + ResText(318);
  return s;
}

}  // namespace vn
