#include "handler/html_dumper.h"

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
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
    : stylesheetPath_(LibraryFolder() + ResText(902)),
      pollingScriptPath_(LibraryFolder() + ResText(906)),
      plusMinusScriptPath_(LibraryFolder() + ResText(909)),
      plusImagePath_(LibraryFolder() + ResText(903)),
      minusImagePath_(LibraryFolder() + ResText(904)) {}

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
    stylesheetPath_ = sResourcePath + ResText(902);
    pollingScriptPath_ = sResourcePath + ResText(906);
    plusMinusScriptPath_ = sResourcePath + ResText(909);
    plusImagePath_ = sResourcePath + ResText(903);
    minusImagePath_ = sResourcePath + ResText(904);
  }
  if (file_ != nullptr) std::fclose(file_);
  file_ = OpenFileForWriting(fileName_);
  if (file_ == nullptr) {
    // The page may hold customer data: a file made for it must not outlive a failed start.
    if (createdHere) RemoveFile(fileName_);
    return false;
  }
  return true;
}

void clHTMLDumper::DumpHeader(const std::string& Titel) {
  Dump(ResText(301));
  Dump(ResText(303));
  Dump(ResText(305, Titel));
  Dump(ResText(319, ResText(701, stylesheetPath_)));
  Dump(ResText(314, ResText(411, ResText(607)) + ResText(402, pollingScriptPath_)));
  Dump(ResText(315));
  Dump(ResText(314, ResText(411, ResText(607))) + kCrLf);
  Dump(ResText(707, plusImagePath_) + kCrLf);
  Dump(ResText(708, minusImagePath_) + kCrLf);
  Dump(ResText(315) + kCrLf);
  Dump(ResText(314, ResText(411, ResText(607)) + ResText(402, plusMinusScriptPath_)) +
       ResText(315) + kCrLf);
  Dump(ResText(304));
  Dump(ResText(306, ResText(412, ResText(623))));
  Dump("<a name=\"Start\"></a>");
}

void clHTMLDumper::Dump(const std::string& text) {
  if (file_ == nullptr) {
    throw RuntimeError(kBadFileNameOrNumber, "Bad file name or number", "clHTMLDumper.Dump");
  }
  const std::string bytes = Utf8ToAnsi(text, Unmappable::kCharacterReference) + kCrLf;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw RuntimeError(kDeviceIoError, fileName_ + ": " + std::strerror(errno),
                       "clHTMLDumper.Dump");
  }
}

void clHTMLDumper::DumpEnd() {
  if (divWindoStarted_) Dump(ResText(318));
  for (int i = 0; i < 100; ++i) {
    Dump(AuthorMetaLine());
    Dump(KeywordsMetaLine());
  }
  Dump(ResText(307));
  Dump(ResText(302));
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) {
    throw RuntimeError(kDeviceIoError, fileName_ + ": " + std::strerror(errno),
                       "clHTMLDumper.DumpEnd");
  }
}

}  // namespace vn
