#include "render/html_info.h"

#include <exception>

#include "platform/debug_log.h"
#include "platform/module_path.h"
#include "platform/path_separator.h"
#include "platform/runtime_error.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"
#include "resources/version.h"

namespace vn {
namespace {

std::string VersionText() {
  return std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + ".0." +
         std::to_string(version::kRevision);
}

// The library file as it lies in the program folder.
std::string LibraryFileInProgramFolder() {
  const std::string file = LibraryFilePath();
  return LibraryFolder() + VN_PATH_SEP + file.substr(file.find_last_of(VN_PATH_SEP "/") + 1);
}

// Where the debug log is written: beside the library, and the user's own file for a user who
// cannot write there (a folder below the program files, say). The user's folder name may hold
// anything, so both paths are escaped.
std::string DebugLogLine() {
  std::string line =
      ResText(res::kDebugLog, markup::EscapeHtml(LibraryFolder() + VN_PATH_SEP "debug.log"));
  const std::string own = UserDebugLog();
  if (!own.empty()) line += ResText(res::kDebugLogFallback, markup::EscapeHtml(own));
  return line;
}

}  // namespace

clHTMLInfo::clHTMLInfo()
    : title_(version::kProductName),
      logoPath_(LibraryFolder() + ResText(res::kLogoImage)),
      scriptPath_(LibraryFolder() + ResText(res::kInfoScript)) {}

bool clHTMLInfo::Init(const std::string& strResourcePath) {
  if (!strResourcePath.empty()) {
    logoPath_ = strResourcePath + ResText(res::kLogoImage);
    scriptPath_ = strResourcePath + ResText(res::kInfoScript);
  }
  state_ = 1;
  return true;
}

std::string clHTMLInfo::GetNext() {
  if (state_ == 0) return "Initialisierung<br>";
  if (state_ >= 3) {
    state_ = 4;
    return "";
  }
  std::string html;
  try {
    html = state_ == 1 ? TitleBar() : Information();
    ++state_;
  } catch (const RuntimeError& e) {
    SetError(msg::kProgramError, "[clHTMLInfo].[GetNext]", e.Number(), e.Description());
  } catch (const std::exception& e) {
    SetError(msg::kProgramError, "[clHTMLInfo].[GetNext]", 0, e.what());
  }
  return html;
}

namespace {

// The info page's fixed-width tables.
std::string InfoTable() {
  return ResText(res::kTable, ResText(res::kWidth, 320) + ResText(res::kTableTight));
}

}  // namespace

std::string clHTMLInfo::TitleBar() const {
  std::string html = markup::ScriptInclude(scriptPath_);
  html += InfoTable() + ResText(res::kRow) +
          ResText(res::kCell, ResText(res::kClass, ResText(res::kInfoTitleClass)));
  html += ResText(res::kImage,
                  ResText(res::kSrc, logoPath_) + ResText(res::kAlign, ResText(res::kAbsMiddle))) +
          title_;
  html += ResText(res::kCellEnd) + ResText(res::kRowEnd) + ResText(res::kTableEnd);
  return html;
}

std::string clHTMLInfo::Information() const {
  const std::string br = ResText(res::kBreak);
  std::string html;
  html += InfoTable() + ResText(res::kRow) +
          ResText(res::kCell, ResText(res::kClass, ResText(res::kInfoTextClass)));
  // The version resource's texts and the library's path are values like any other: page text.
  using markup::EscapeHtml;
  const std::string webAddress = EscapeHtml(version::kWebAddress);
  html += ResText(res::kVersion, EscapeHtml(VersionText())) + br;
  html += ResText(res::kCopyright, EscapeHtml(version::kCopyright)) + br;
  html += ResText(res::kProducedBy, EscapeHtml(version::kCompanyName)) + br;
  html += ResText(res::kInternet) +
          ResText(res::kAnchor, ResText(res::kHref, "http://" + webAddress)) + webAddress +
          ResText(res::kAnchorEnd) + br;
  html += ResText(res::kProtocolHandler, EscapeHtml(LibraryFileInProgramFolder())) + br;
  html += DebugLogLine() + br;
  html += ResText(res::kCellEnd) + ResText(res::kRowEnd) + ResText(res::kTableEnd);
  return html;
}

void clHTMLInfo::SetError(int id, const std::string& zusatz, long failureNumber,
                          const std::string& failureDescription) {
  errNumber_ = id;
  const std::string row = ResText(res::kRow, ResText(res::kValign, ResText(res::kTop)));
  const std::string cell = ResText(res::kClass, ResText(res::kErrorTextClass));
  auto valueRow = [&](const std::string& a, const std::string& b) {
    return row + markup::Cell(cell, a) + markup::Cell(cell, b) + ResText(res::kRowEnd);
  };
  std::string html = markup::FullWidthTable(0, 2, 0);
  html +=
      ResText(res::kRow) +
      markup::Cell(ResText(res::kColspan, 2) + ResText(res::kClass, ResText(res::kErrorTitleClass)),
                   ResText(res::kBold, ResText(res::kNoticeFromClass, "clHTMLInfo"))) +
      ResText(res::kRowEnd);
  html += valueRow(ResText(res::kNumberCaption), ResText(res::kDescriptionCaption));
  html += valueRow(std::to_string(id), ResText(id, zusatz));
  html += valueRow(std::to_string(failureNumber), failureDescription);
  html += ResText(res::kTableEnd);
  errDescription_ = std::move(html);
}

}  // namespace vn
