#include "handler/html_dumper.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
#include "resources/markup.h"
#include "resources/res_text.h"
#include "resources/version.h"

namespace vn {
namespace {

// The errors Visual Basic raises for a file that is not open and for a failed write.
constexpr long kBadFileNameOrNumber = 52;
constexpr long kDeviceIoError = 57;

const std::string kCrLf = "\r\n";

std::string AuthorMetaLine() {
  return std::string("<meta name=\"author\" content=\"") + version::kAuthor + "\" />";
}

std::string KeywordsMetaLine() {
  return std::string("<meta name=\"keywords\" content=\"Varnolis, ") + version::kCompanyName +
         ", " + version::kWebAddress + "\" />";
}

}  // namespace

clHTMLDumper::clHTMLDumper()
    : stylesheetPath_(LibraryFolder() + ResText(res::kStylesheet)),
      pollingScriptPath_(LibraryFolder() + ResText(res::kPollingScript)),
      plusMinusScriptPath_(LibraryFolder() + ResText(res::kPlusMinusScript)),
      plusImagePath_(LibraryFolder() + ResText(res::kPlusImage)),
      minusImagePath_(LibraryFolder() + ResText(res::kMinusImage)) {}

clHTMLDumper::~clHTMLDumper() {
  if (file_ != nullptr) std::fclose(file_);
}

bool clHTMLDumper::Init(const std::string& HTMLDatei, const std::string& sResourcePath) {
  bool createdHere = false;
  if (!HTMLDatei.empty()) {
    fileName_ = HTMLDatei;
  } else {
    auto created = CreateTempFile(TempPath(), "~HTM");
    if (!created) return false;
    fileName_ = *created;
    createdHere = true;
  }
  if (!sResourcePath.empty()) {
    stylesheetPath_ = sResourcePath + ResText(res::kStylesheet);
    pollingScriptPath_ = sResourcePath + ResText(res::kPollingScript);
    plusMinusScriptPath_ = sResourcePath + ResText(res::kPlusMinusScript);
    plusImagePath_ = sResourcePath + ResText(res::kPlusImage);
    minusImagePath_ = sResourcePath + ResText(res::kMinusImage);
  }
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(fileName_.c_str(), "wbe");
  if (file_ == nullptr) {
    // The page may hold customer data: a file made for it must not outlive a failed start.
    if (createdHere) ::unlink(fileName_.c_str());
    return false;
  }
  return true;
}

void clHTMLDumper::DumpHeader(const std::string& Titel) {
  Dump(ResText(res::kHtml));
  Dump(ResText(res::kHead));
  Dump(ResText(res::kTitle, Titel));
  Dump(ResText(res::kLink, ResText(res::kStylesheetLink, stylesheetPath_)));
  // Each Dump is a line of its own: the polling script's element spans two.
  Dump(ResText(res::kScript, ResText(res::kLanguage, ResText(res::kVBScript)) +
                                 ResText(res::kSrc, pollingScriptPath_)));
  Dump(ResText(res::kScriptEnd));
  Dump(ResText(res::kScript, ResText(res::kLanguage, ResText(res::kVBScript))) + kCrLf);
  Dump(ResText(res::kPlusImageVariable, plusImagePath_) + kCrLf);
  Dump(ResText(res::kMinusImageVariable, minusImagePath_) + kCrLf);
  Dump(ResText(res::kScriptEnd) + kCrLf);
  Dump(markup::ScriptInclude(plusMinusScriptPath_) + kCrLf);
  Dump(ResText(res::kHeadEnd));
  Dump(ResText(res::kBody, ResText(res::kClass, ResText(res::kBodyStyleClass))));
  Dump("<a name=\"Start\"></a>");
}

void clHTMLDumper::Dump(const std::string& text) {
  if (file_ == nullptr) {
    throw RuntimeError(kBadFileNameOrNumber, "Bad file name or number", "clHTMLDumper.Dump");
  }
  const std::string bytes = Utf8ToCp1252(text, Unmappable::kCharacterReference) + kCrLf;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw RuntimeError(kDeviceIoError, fileName_ + ": " + std::strerror(errno),
                       "clHTMLDumper.Dump");
  }
}

void clHTMLDumper::DumpEnd() {
  if (divWindoStarted_) Dump(ResText(res::kDivEnd));
  for (int i = 0; i < 100; ++i) {
    Dump(AuthorMetaLine());
    Dump(KeywordsMetaLine());
  }
  Dump(ResText(res::kBodyEnd));
  Dump(ResText(res::kHtmlEnd));
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) {
    throw RuntimeError(kDeviceIoError, fileName_ + ": " + std::strerror(errno),
                       "clHTMLDumper.DumpEnd");
  }
}

}  // namespace vn
