// The string table's markup templates, words, paths and configuration texts by name, and
// builders for the pieces of markup the pages repeat. The string table supplies every byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vn {

namespace res {

// Ids of the string table's non-message entries. An unscoped enum, so a name goes wherever
// ResText takes an id.
enum Id : int {
  // The error block's captions (in the user's language).
  kNumberCaption = 201,
  kDescriptionCaption = 202,
  kNoticeFromClass = 203,  // "Hinweis von Klasse %s."

  // Elements; the ones with "%s" take their attributes.
  kHtml = 301,
  kHtmlEnd = 302,
  kHead = 303,
  kHeadEnd = 304,
  kTitle = 305,
  kBody = 306,
  kBodyEnd = 307,
  kTable = 308,
  kTableEnd = 309,
  kRow = 310,
  kRowEnd = 311,
  kCell = 312,
  kCellEnd = 313,
  kScript = 314,
  kScriptEnd = 315,
  kImage = 316,
  kDiv = 317,
  kDivEnd = 318,
  kLink = 319,
  kBreak = 320,
  kBold = 321,
  kParagraph = 322,
  kParagraphEnd = 323,
  kSpan = 324,
  kSpanEnd = 325,
  kAnchor = 326,
  kAnchorEnd = 327,

  // Attributes, each with its leading blank.
  kName = 401,
  kSrc = 402,
  kAlt = 403,
  kWidth = 404,
  kHeight = 405,
  kAlign = 406,
  kValign = 407,
  kColspan = 408,
  kIdAttribute = 409,
  kStyle = 410,
  kLanguage = 411,
  kClass = 412,
  kHref = 413,

  // Script handlers.
  kOnClickDisplayItem = 501,
  kOnMouseOverPoint = 502,
  kOnMouseOutDontPoint = 503,
  kOnClickLocation = 504,

  // Words, style classes and class patterns.
  kTop = 601,
  kLeft = 602,
  kRight = 603,
  kCenter = 605,
  kNbsp = 606,
  kVBScript = 607,
  kDisplayNone = 608,
  kAbsMiddle = 609,
  kErrorTitleClass = 610,
  kTitleClass = 611,     // "title%s"
  kMenuBarClass = 613,   // "mb%s"
  kMenuTextClass = 614,  // "mt%s"
  kInfoTitleClass = 615,
  kInfoTextClass = 616,
  kErrorTextClass = 617,
  kListTitleClass = 618,
  kListNameClass = 619,
  kListValueClass = 620,
  kWindowId = 621,     // the element around a rubric's entries: its id ...
  kWindowClass = 622,  // ... and its style class
  kBodyStyleClass = 623,
  kFormatPrefix = 624,

  // URLs.
  kProtocolUrl = 651,  // "varnolis://%s"
  kRubrikPath = 652,   // "rubrik/%s"

  // Attribute groups.
  kStylesheetLink = 701,
  kTableSpacing = 702,  // border 0, padding 2, spacing 0
  kLevelClass = 704,    // " CLASS=\"u%s\"": a level's caption row and cells
  kRowClass = 705,      // " CLASS=\"t%s\"": a level's data rows and cells
  kTableTight = 706,    // border, padding and spacing 0
  kPlusImageVariable = 707,
  kMinusImageVariable = 708,
  kTableLayout = 709,  // border, padding, spacing given

  // Page texts.
  kNoData = 801,
  kProducedBy = 803,
  kCopyright = 804,
  kVersion = 806,
  kInternet = 807,
  kProtocolHandler = 810,
  kDebugLog = 811,          // where the debug log is written ...
  kDebugLogFallback = 812,  // ... and where it goes when that folder takes no line

  // Files below the program folder.
  kHierarchicalScript = 901,
  kStylesheet = 902,
  kPlusImage = 903,
  kMinusImage = 904,
  kLogoImage = 905,
  kPollingScript = 906,
  kMenuScript = 907,
  kInfoScript = 908,
  kPlusMinusScript = 909,
  kListScript = 910,

  // The configuration database.
  kConfigDatabase = 1001,
  kConfigConnection = 1002,
  kSelectOrdered = 1003,
  kRubrikenTable = 1004,
  kRubrikColumn = 1006,
  kMenuetextColumn = 1007,
  kBemerkungColumn = 1008,
  kEntriesOfRubrik = 1009,
  kTitelColumn = 1010,
  kDatenquelleColumn = 1011,
  kAbfrageColumn = 1012,
  kFormatColumn = 1013,
  kRangColumn = 1014,
};

}  // namespace res

namespace markup {

// `text` as page text, never markup: & < > " and ' as character references (the apostrophe
// as &#39;, which every HTML engine knows). For every value from a database or from ACT! that
// goes into a page, and for texts from outside the configuration (URLs, commands, queries with
// ACT! values) shown in messages. A text without those five characters keeps its bytes.
std::string EscapeHtml(std::string_view text);

// EscapeHtml for what was appended to `out` from `from` on, in place: for values written
// straight into a page's buffer. Scans the appended bytes once; without one of the five
// characters nothing moves and nothing is allocated.
void EscapeHtmlFrom(std::string& out, std::size_t from);

// <TD attributes>content</TD>
std::string Cell(const std::string& attributes, std::string_view content);

// <TABLE border=.. cellpadding=.. cellspacing=..  WIDTH="100%">
std::string FullWidthTable(int border, int padding, int spacing);

// <SCRIPT  LANGUAGE="VBScript" SRC="path"></SCRIPT>
std::string ScriptInclude(const std::string& path);

// A fold image: the image named `image`, showing `imagePath`, that folds block `block` open
// and shut.
struct Fold {
  std::string image;
  std::string block;
  std::string imagePath;
};

// The fold image's element; `alignMiddle` sets it in line with the text that follows.
std::string FoldImage(const Fold& fold, bool alignMiddle);

// A full-width one-cell title bar: the fold image (in line), two blanks and `title`.
std::string FoldTitleBar(const Fold& fold, const std::string& rowAttributes,
                         const std::string& cellAttributes, std::string_view title);

// The start of the block a fold image folds, on its own line; `style` is its STYLE value.
std::string FoldBlockStart(const std::string& block, const std::string& style);

}  // namespace markup

}  // namespace vn
