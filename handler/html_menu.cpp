#include "handler/html_menu.h"

#include <cmath>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/text.h"
#include "platform/url_escape.h"
#include "render/format_field_value.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

namespace {

const char* const kCrLf = "\r\n";

// The number at the start of a text as Visual Basic's Val reads it (blanks skipped, point as
// decimal separator), rounded half to even; 0 when the text starts with no number.
int LeadingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    value = value * 10 + (text[i++] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  value = std::nearbyint(negative ? -value : value);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// A column of the current row as the page shows it.
std::string ColumnText(const data::Recordset& rs, res::Id columnId) {
  return FormatFieldValue(rs.Fields(ResText(columnId)));
}

}  // namespace

clHTMLMenu::clHTMLMenu() = default;

clHTMLMenu::~clHTMLMenu() { CloseAll(); }

void clHTMLMenu::CloseAll() noexcept {
  try {
    if (eintraege_) eintraege_->Close();
  } catch (...) {
    // Closing while the menu goes: nobody is left to report a failure to.
  }
  try {
    if (rubriken_) rubriken_->Close();
  } catch (...) {
    // Closing while the menu goes: nobody is left to report a failure to.
  }
  try {
    if (connection_) connection_->Close();
  } catch (...) {
    // Closing while the menu goes: nobody is left to report a failure to.
  }
}

bool clHTMLMenu::Init(const std::string& strRubrik, clACTDataParser* ACTDataParser,
                      const std::string& strConfigurationPath, const std::string& strResourcePath) {
  error_.Init("clHTMLMenu", strResourcePath);
  rubrik_ = strRubrik;
  if (ACTDataParser == nullptr) {
    error_.SetError(msg::kNoParser);
    return false;
  }
  parser_ = ACTDataParser;
  databasePath_ = (strConfigurationPath.empty() ? LibraryFolder() : strConfigurationPath) +
                  ResText(res::kConfigDatabase);
  connectionString_ = ResText(res::kConfigConnection, databasePath_);
  sql_ = ResText(res::kSelectOrdered, ResText(res::kRubrikenTable), ResText(res::kRubrikenTable),
                 ResText(res::kRangColumn));

  try {
    connection_ = std::make_unique<data::Connection>();
    connection_->SetConnectionString(connectionString_);
    // The library only reads the configuration; the configuration program may be writing.
    connection_->SetMode(data::adModeRead);
    connection_->Open({}, {}, {}, -1);
  } catch (const std::exception&) {
    // The path is the program folder's, whose name may hold any character a file name can.
    error_.SetError(msg::kNoConnection, {markup::EscapeHtml(connectionString_)});
    return false;
  }

  try {
    rubriken_ = std::make_unique<data::Recordset>();
    rubriken_->Open(sql_, *connection_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
  } catch (const std::exception&) {
    error_.SetError(msg::kQueryFailed, {markup::EscapeHtml(sql_)});
    return false;
  }
  if (rubriken_->Bof() && rubriken_->Eof()) {
    error_.SetError(msg::kNoData, {ResText(res::kRubrikenTable)});
    return false;
  }

  // The name stands inside a double-quoted literal, where only a double quote can end it:
  // doubling it keeps every name a literal. An apostrophe is an ordinary character there, so
  // it stays single (doubled, a name such as O'Neil could never be found).
  const std::string name = ReplaceAll(rubrik_, "\"", "\"\"");
  sql_ = ResText(res::kEntriesOfRubrik, name);
  try {
    eintraege_ = std::make_unique<data::Recordset>();
    eintraege_->Open(sql_, *connection_, data::adOpenForwardOnly, data::adLockReadOnly, -1);
  } catch (const std::exception&) {
    // The statement holds the name from the URL: shown as text, never as markup.
    error_.SetError(msg::kQueryFailed, {markup::EscapeHtml(sql_)});
    return false;
  }

  daten_.clear();
  if (!(eintraege_->Bof() && eintraege_->Eof())) {
    try {
      while (!eintraege_->Eof()) {
        clDaten& d = daten_.emplace_back();
        d.Bemerkung = ColumnText(*eintraege_, res::kBemerkungColumn);
        d.DatenQuelle = ColumnText(*eintraege_, res::kDatenquelleColumn);
        d.Format = LeadingNumber(ColumnText(*eintraege_, res::kFormatColumn));
        d.Abfrage = ColumnText(*eintraege_, res::kAbfrageColumn);
        d.Titel = ColumnText(*eintraege_, res::kTitelColumn);
        d.Rubrik = ColumnText(*eintraege_, res::kRubrikColumn);
        eintraege_->MoveNext();
      }
    } catch (const std::exception&) {
      error_.SetError(msg::kDataAccessFailed);
      return false;
    }
  }
  state_ = 1;
  return true;
}

const clDaten* clHTMLMenu::Daten(int Index) {
  if (Index < 0 || Index >= AnzahlDaten()) {
    error_.SetError(msg::kBadEntryIndex, {"Index=" + std::to_string(Index)});
    return nullptr;
  }
  return &daten_[static_cast<size_t>(Index)];
}

std::string clHTMLMenu::GetNext() {
  switch (state_) {
    case 0:
      return "Initialisierung<br>";
    case 1:
      state_ = 2;
      return "";
    case 2:
      return MenuBar();
    case 3:
      return Heading();
    default:
      return "";
  }
}

std::string clHTMLMenu::MenuBar() {
  const std::string spacer = markup::Cell(ResText(res::kWidth, 10), ResText(res::kNbsp)) + kCrLf;
  std::string s = ResText(res::kTable, ResText(res::kTableTight)) + ResText(res::kRow);
  int n = 0;
  // The rubrics are read before any menu text is parsed: the page's every source command is
  // then known when the first is replaced, and the whole page shows one contact.
  struct Tab {
    std::string menuetext;
    std::string rubrik;
  };
  std::vector<Tab> tabs;
  bool readFailed = false;
  bool failedInTab = false;  // after the tab's spacer, as the tabs read before it are written
  try {
    while (!rubriken_->Eof()) {
      failedInTab = true;
      Tab tab{ColumnText(*rubriken_, res::kMenuetextColumn),
              ColumnText(*rubriken_, res::kRubrikColumn)};
      if (tab.rubrik == rubrik_) {
        bemerkung_ = ColumnText(*rubriken_, res::kBemerkungColumn);
        titel_ = ColumnText(*rubriken_, res::kTitelColumn);
      }
      tabs.push_back(std::move(tab));
      failedInTab = false;
      rubriken_->MoveNext();
    }
  } catch (const std::exception&) {
    readFailed = true;
  }
  for (const Tab& tab : tabs) parser_->Expect(tab.menuetext);
  parser_->Expect(titel_);
  parser_->Expect(bemerkung_);
  try {
    for (const Tab& tab : tabs) {
      s += spacer;
      ++n;
      const std::string menuetext = parser_->Parse(tab.menuetext, ParsedText::kPageText);
      if (parser_->ErrNumber() != clHTMLError::kNoError) {
        error_.SetError(msg::kActDataFailed, {parser_->ErrDescription()});
        return s;
      }
      // The link stands in a script string inside an attribute: a name must not end either.
      const std::string link =
          ResText(res::kProtocolUrl, ResText(res::kRubrikPath, UrlEscapeName(tab.rubrik)));
      const bool selected = tab.rubrik == rubrik_;
      // The tab's cell follows the link; the selected tab's text does not.
      s += ResText(res::kCell,
                   ResText(res::kWidth, 100) + ResText(res::kAlign, ResText(res::kCenter)) +
                       ResText(res::kClass, ResText(res::kMenuBarClass, selected ? 1 : 0)) +
                       ResText(res::kOnClickLocation, link));
      if (selected) {
        s += ResText(res::kSpan, ResText(res::kClass, ResText(res::kMenuTextClass, 1)));
      } else {
        s += ResText(res::kSpan, ResText(res::kClass, ResText(res::kMenuTextClass, 0)) +
                                     ResText(res::kOnClickLocation, link));
      }
      s += menuetext + ResText(res::kSpanEnd);
      s += ResText(res::kCellEnd) + kCrLf;
      ++n;
    }
  } catch (const std::exception&) {
    error_.SetError(msg::kDataAccessFailed);
    return s;
  }
  if (readFailed) {
    if (failedInTab) s += spacer;
    error_.SetError(msg::kDataAccessFailed);
    return s;
  }
  s += spacer;
  ++n;
  s += ResText(res::kRowEnd) + kCrLf + ResText(res::kTableEnd) + kCrLf;
  // The bar under the tabs: one cell across all of them.
  s +=
      ResText(res::kTable, ResText(res::kTableTight) + ResText(res::kWidth, "100%")) +
      ResText(res::kRow) +
      markup::Cell(ResText(res::kColspan, n) + ResText(res::kClass, ResText(res::kMenuBarClass, 2)),
                   ResText(res::kImage, ResText(res::kWidth, 1) + ResText(res::kHeight, 8) +
                                            ResText(res::kAlt, ""))) +
      kCrLf + ResText(res::kRowEnd) + kCrLf + ResText(res::kTableEnd) + kCrLf;
  state_ = 3;
  return s;
}

std::string clHTMLMenu::Heading() {
  std::string s = ResText(res::kParagraph, ResText(res::kClass, ResText(res::kTitleClass, 1)));
  const std::string titel = parser_->Parse(titel_, ParsedText::kPageText);
  if (parser_->ErrNumber() != clHTMLError::kNoError) {
    error_.SetError(msg::kActDataFailed, {parser_->ErrDescription()});
    return s;
  }
  if (!TrimSpaces(titel).empty()) s += titel + ResText(res::kBreak);
  const std::string bemerkung = parser_->Parse(bemerkung_, ParsedText::kPageText);
  if (parser_->ErrNumber() != clHTMLError::kNoError) {
    error_.SetError(msg::kActDataFailed, {parser_->ErrDescription()});
    return s;
  }
  if (!TrimSpaces(bemerkung).empty()) {
    s += ResText(res::kSpan, ResText(res::kClass, ResText(res::kTitleClass, 2))) + bemerkung +
         ResText(res::kSpanEnd);
  }
  s += ResText(res::kParagraphEnd);
  state_ = 4;
  return s;
}

}  // namespace vn
