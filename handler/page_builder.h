// PageBuilder: writes the page of one varnolis request into its temporary file. It writes the
// page head, prepares the URL's command, and then performs one building step at a time: for a
// rubric the menu's pieces, then the pieces of the generator each data entry's format selects;
// for the info page its pieces; for the test command its line. The page end completes the page,
// or an error block ends it early; the complete page is then read back for delivery. Progress is
// reported through the request's sink calls.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "handler/sink_calls.h"
#include "platform/file_handle.h"
#include "platform/temp_file.h"
#include "resources/html_error.h"

namespace vn {

class PageGenerator;
class clACTApplication;
class clACTDataParser;
class clACTSnapshot;
class clHTMLDumper;
class clHTMLMenu;
struct clDaten;

class PageBuilder {
 public:
  explicit PageBuilder(SinkCalls& sink);
  // Releases the page writer, the generator, the menu, the ACT! source parser, the page's look
  // at ACT!, the ACT! bridge and the error block, in this order, and deletes the page file.
  ~PageBuilder();
  PageBuilder(const PageBuilder&) = delete;
  PageBuilder& operator=(const PageBuilder&) = delete;

  // Creates the error block and the page file and writes the page head; false when no page file
  // can be created. Throws RuntimeError when the head cannot be written.
  bool Open();

  // Parses `url` and prepares its command, reporting what it found; a URL or a command that
  // cannot be served ends the page with its error block. Throws on an unexpected failure.
  void Prepare(const std::string& url);

  // One building step of the command; the last one completes the page, a failing one ends it
  // with its error block; nothing once the page is complete. Throws on an unexpected failure.
  void Step();

  // Ends the page with message 199 for an unexpected failure in `where`; false when the page
  // can take nothing more.
  bool WriteFailure(const char* where, const PendingFailure& failure) noexcept;

  // True once the page end is written and the page file is open for reading.
  bool Complete() const { return complete_; }
  // The next bytes of the complete page into `buffer`; fewer than `size` only at its end.
  // Throws RuntimeError when the file cannot be read.
  std::size_t Read(char* buffer, std::size_t size);
  // Closes the page file once it is read to its end.
  void CloseRead() { readFile_ = FileHandle(); }

 private:
  struct GeneratorKind;
  static const GeneratorKind* KindOfFormat(int format);

  bool IsCommand(int commandId) const { return commandId_ == commandId; }
  bool ParseURL(const std::string& url);
  void PrepareRubric();
  void BuildInfoStep();
  void BuildRubricStep();
  // One step of the current entry's generator, of the kind its format asks for.
  void EntryStep(const clDaten& entry, const GeneratorKind& kind);
  // Writes the generator's next piece into the page.
  void DumpNextPiece();
  // Moves on to the next data entry, or completes the page after the last one.
  void Advance();

  // Ends the page with the error block of message `id` and releases the page writer.
  void WriteError(int id, const std::string& detail,
                  const std::optional<PendingFailure>& failure = std::nullopt);
  // Writes the page end and opens the page file for reading.
  void CompletePage();

  SinkCalls& sink_;
  TempFile pageFile_;
  FileHandle readFile_;  // the complete page, which lives as long as this handle
  bool complete_ = false;
  std::string command_;
  int commandId_ = 0;  // the command::Id the command matches, or 0
  std::string parameter_;
  std::unique_ptr<clHTMLDumper> dumper_;
  // The info page of the command info, or the generator of the current data entry: created
  // when its entry is reached and released when it is ready.
  std::unique_ptr<PageGenerator> generator_;
  std::string piece_;  // the generator's current piece, its capacity kept for the next
  std::unique_ptr<clHTMLMenu> menu_;
  std::unique_ptr<clACTDataParser> parser_;
  std::unique_ptr<clACTApplication> act_;
  std::unique_ptr<clACTSnapshot> snapshot_;  // what this page knows of ACT!, over act_
  std::unique_ptr<clHTMLError> error_;
  int currentEntry_ = 0;
};

}  // namespace vn
