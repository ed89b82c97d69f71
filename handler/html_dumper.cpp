#include "handler/html_dumper.h"

#include "platform/codepage.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
#include "platform/text.h"
#include "platform/vb_errors.h"
#include "resources/markup.h"
#include "resources/res_text.h"
#include "resources/version.h"

namespace vn {
namespace {

// A page of many thousand rows goes to the file in blocks of this size, not a write per line.
constexpr std::size_t kBlockSize = 256 * 1024;

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

clHTMLDumper::~clHTMLDumper() { FlushQuietly(); }

bool clHTMLDumper::Init(const std::string& HTMLDatei, const std::string& sResourcePath) {
  // The page may hold customer data: a file made for it must not outlive a failed start.
  vn::TempFile created;
  if (!HTMLDatei.empty()) {
    fileName_ = HTMLDatei;
  } else {
    auto path = CreateTempFile(TempPath(), "~HTM");
    if (!path) return false;
    fileName_ = *path;
    created = vn::TempFile(*path);
  }
  if (!sResourcePath.empty()) {
    stylesheetPath_ = sResourcePath + ResText(res::kStylesheet);
    pollingScriptPath_ = sResourcePath + ResText(res::kPollingScript);
    plusMinusScriptPath_ = sResourcePath + ResText(res::kPlusMinusScript);
    plusImagePath_ = sResourcePath + ResText(res::kPlusImage);
    minusImagePath_ = sResourcePath + ResText(res::kMinusImage);
  }
  FlushQuietly();
  file_ = FileHandle();
  try {
    file_ = FileHandle::OpenForWriting(fileName_);
  } catch (const RuntimeError&) {
    return false;  // the caller learns it from the result; `created` deletes a fresh file
  }
  created.Release();  // the caller owns the page file from here
  return true;
}

void clHTMLDumper::DumpHeader(const std::string& Titel) {
  // The paths hold the program folder's name, which may hold any character a file name can:
  // in an attribute they are page text, in the VBScript block a string literal (raw text,
  // where a character reference stays as written, and a double quote is doubled).
  using markup::EscapeHtml;
  auto vbString = [](const std::string& path) { return ReplaceAll(path, "\"", "\"\""); };
  Dump(ResText(res::kHtml));
  Dump(ResText(res::kHead));
  Dump(ResText(res::kTitle, Titel));
  Dump(ResText(res::kLink, ResText(res::kStylesheetLink, EscapeHtml(stylesheetPath_))));
  // Each Dump is a line of its own: the polling script's element spans two.
  Dump(ResText(res::kScript, ResText(res::kLanguage, ResText(res::kVBScript)) +
                                 ResText(res::kSrc, EscapeHtml(pollingScriptPath_))));
  Dump(ResText(res::kScriptEnd));
  Dump(ResText(res::kScript, ResText(res::kLanguage, ResText(res::kVBScript))) + kCrLf);
  Dump(ResText(res::kPlusImageVariable, vbString(plusImagePath_)) + kCrLf);
  Dump(ResText(res::kMinusImageVariable, vbString(minusImagePath_)) + kCrLf);
  Dump(ResText(res::kScriptEnd) + kCrLf);
  Dump(markup::ScriptInclude(EscapeHtml(plusMinusScriptPath_)) + kCrLf);
  Dump(ResText(res::kHeadEnd));
  Dump(ResText(res::kBody, ResText(res::kClass, ResText(res::kBodyStyleClass))));
  Dump("<a name=\"Start\"></a>");
}

void clHTMLDumper::Dump(std::string_view text) {
  if (!file_.IsOpen()) {
    throw RuntimeError(kErrBadFileNameOrNumber, kTextBadFileNameOrNumber, "clHTMLDumper.Dump");
  }
  AppendUtf8AsAnsi(pending_, text, Unmappable::kCharacterReference);
  pending_ += kCrLf;
  if (pending_.size() >= kBlockSize) Flush();
}

void clHTMLDumper::Flush() {
  file_.WriteAll(pending_.data(), pending_.size());
  pending_.clear();
}

void clHTMLDumper::FlushQuietly() noexcept {
  // A writer given up before DumpEnd still leaves what it was handed in its file.
  try {
    if (file_.IsOpen()) Flush();
  } catch (const RuntimeError&) {
    // Ignored: nobody is left to report it to (the writer is going, or starting on another
    // file), and a page given up is not shown.
  }
  pending_.clear();
}

void clHTMLDumper::DumpEnd() {
  if (divWindoStarted_) Dump(ResText(res::kDivEnd));
  for (int i = 0; i < 100; ++i) {
    Dump(AuthorMetaLine());
    Dump(KeywordsMetaLine());
  }
  Dump(ResText(res::kBodyEnd));
  Dump(ResText(res::kHtmlEnd));
  // Closed whatever happens: after DumpEnd nothing more is written.
  FileHandle file = std::move(file_);
  file.WriteAll(pending_.data(), pending_.size());
  pending_.clear();
  file.Close();
}

}  // namespace vn
