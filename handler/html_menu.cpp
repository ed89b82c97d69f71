#include "handler/html_menu.h"

#include <exception>
#include <vector>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/text.h"
#include "platform/url_escape.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

namespace {

const char* const kCrLf = "\r\n";

}  // namespace

clHTMLMenu::clHTMLMenu() = default;

clHTMLMenu::~clHTMLMenu() = default;

bool clHTMLMenu::Init(const std::string& strRubrik, clACTDataParser* ACTDataParser,
                      const std::string& strConfigurationPath, const std::string& strResourcePath) {
  error_.Init("clHTMLMenu", strResourcePath);
  rubrik_ = strRubrik;
  if (ACTDataParser == nullptr) {
    error_.SetError(msg::kNoParser);
    return false;
  }
  parser_ = ACTDataParser;
  const std::string databasePath =
      (strConfigurationPath.empty() ? LibraryFolder() : strConfigurationPath) +
      ResText(res::kConfigDatabase);
  if (!ReadPageConfiguration(databasePath, rubrik_, config_, error_)) return false;
  state_ = 1;
  return true;
}

const clDaten* clHTMLMenu::Daten(int Index) {
  if (Index < 0 || Index >= AnzahlDaten()) {
    error_.SetError(msg::kBadEntryIndex, {"Index=" + std::to_string(Index)});
    return nullptr;
  }
  return &config_.entries[static_cast<size_t>(Index)];
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
  // The rubrics are known before any menu text is parsed: the page's every source command is
  // then known when the first is replaced, and the whole page shows one contact.
  const std::vector<RubricRow>& tabs = config_.rubrics;
  titel_ = config_.titel;
  bemerkung_ = config_.bemerkung;
  for (const RubricRow& tab : tabs) parser_->Expect(tab.menuetext);
  parser_->Expect(titel_);
  parser_->Expect(bemerkung_);
  try {
    for (const RubricRow& tab : tabs) {
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
  if (config_.rubricsIncomplete) {
    // A row that failed in its columns has its spacer, as the tabs read before it have.
    if (config_.failedInRow) s += spacer;
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
