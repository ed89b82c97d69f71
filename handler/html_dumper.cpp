#include "handler/html_dumper.h"

#include "platform/codepage.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
#include "platform/vb_errors.h"
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
    : stylesheetPath_(LibraryFolder() + ResText(902)),
      pollingScriptPath_(LibraryFolder() + ResText(906)),
      plusMinusScriptPath_(LibraryFolder() + ResText(909)),
      plusImagePath_(LibraryFolder() + ResText(903)),
      minusImagePath_(LibraryFolder() + ResText(904)) {}

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
    stylesheetPath_ = sResourcePath + ResText(902);
    pollingScriptPath_ = sResourcePath + ResText(906);
    plusMinusScriptPath_ = sResourcePath + ResText(909);
    plusImagePath_ = sResourcePath + ResText(903);
    minusImagePath_ = sResourcePath + ResText(904);
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
  if (!file_.IsOpen()) {
    throw RuntimeError(kErrBadFileNameOrNumber, kTextBadFileNameOrNumber, "clHTMLDumper.Dump");
  }
  pending_ += Utf8ToCp1252(text, Unmappable::kCharacterReference);
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
  if (divWindoStarted_) Dump(ResText(318));
  for (int i = 0; i < 100; ++i) {
    Dump(AuthorMetaLine());
    Dump(KeywordsMetaLine());
  }
  Dump(ResText(307));
  Dump(ResText(302));
  // Closed whatever happens: after DumpEnd nothing more is written.
  FileHandle file = std::move(file_);
  file.WriteAll(pending_.data(), pending_.size());
  pending_.clear();
  file.Close();
}

}  // namespace vn
