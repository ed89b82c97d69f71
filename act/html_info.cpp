#include "act/html_info.h"

#include <exception>

#include "platform/module_path.h"
#include "platform/path_separator.h"
#include "platform/runtime_error.h"
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

}  // namespace

clHTMLInfo::clHTMLInfo()
    : title_(version::kProductName),
      logoPath_(LibraryFolder() + ResText(905)),
      scriptPath_(LibraryFolder() + ResText(908)) {}

bool clHTMLInfo::Init(const std::string& strResourcePath) {
  if (!strResourcePath.empty()) {
    logoPath_ = strResourcePath + ResText(905);
    scriptPath_ = strResourcePath + ResText(908);
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
    SetError(199, "[clHTMLInfo].[GetNext]", e.Number(), e.Description());
  } catch (const std::exception& e) {
    SetError(199, "[clHTMLInfo].[GetNext]", 0, e.what());
  }
  return html;
}

std::string clHTMLInfo::TitleBar() const {
  const std::string table = ResText(308, ResText(404, 320) + ResText(706));
  std::string html;
  html += ResText(314, ResText(411, ResText(607)) + ResText(402, scriptPath_)) + ResText(315);
  html += table + ResText(310) + ResText(312, ResText(412, ResText(615)));
  html += ResText(316, ResText(402, logoPath_) + ResText(406, ResText(609))) + title_;
  html += ResText(313) + ResText(311) + ResText(309);
  return html;
}

std::string clHTMLInfo::Information() const {
  const std::string table = ResText(308, ResText(404, 320) + ResText(706));
  const std::string br = ResText(320);
  std::string html;
  html += table + ResText(310) + ResText(312, ResText(412, ResText(616)));
  html += ResText(806, VersionText()) + br;
  html += ResText(804, version::kCopyright) + br;
  html += ResText(803, version::kCompanyName) + br;
  html += ResText(807) + ResText(326, ResText(413, std::string("http://") + version::kWebAddress)) +
          version::kWebAddress + ResText(327) + br;
  html += ResText(810, LibraryFileInProgramFolder()) + br;
  html += ResText(313) + ResText(311) + ResText(309);
  return html;
}

void clHTMLInfo::SetError(int id, const std::string& zusatz, long failureNumber,
                          const std::string& failureDescription) {
  errNumber_ = id;
  const std::string row = ResText(310, ResText(407, ResText(601)));
  const std::string cell = ResText(312, ResText(412, ResText(617)));
  auto valueRow = [&](const std::string& a, const std::string& b) {
    return row + cell + a + ResText(313) + cell + b + ResText(313) + ResText(311);
  };
  std::string html = ResText(308, ResText(709, 0, 2, 0) + ResText(404, "100%"));
  html += ResText(310) + ResText(312, ResText(408, 2) + ResText(412, ResText(610))) +
          ResText(321, ResText(203, "clHTMLInfo")) + ResText(313) + ResText(311);
  html += valueRow(ResText(201), ResText(202));
  html += valueRow(std::to_string(id), ResText(id, zusatz));
  html += valueRow(std::to_string(failureNumber), failureDescription);
  html += ResText(309);
  errDescription_ = std::move(html);
}

}  // namespace vn
