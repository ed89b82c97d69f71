#include "handler/page_builder.h"

#include <iterator>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/act_snapshot.h"
#include "act/act_standin.h"
#include "handler/html_dumper.h"
#include "handler/html_menu.h"
#include "handler/parse_url.h"
#include "platform/debug_log.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "platform/vb_errors.h"
#include "render/hierarchical_spreadsheet.h"
#include "render/html_info.h"
#include "render/html_list.h"
#include "render/page_generator.h"
#include "render/regional_settings.h"
#include "resources/markup.h"
#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {
namespace {

template <typename Generator>
std::unique_ptr<PageGenerator> Create() {
  return std::make_unique<Generator>();
}

}  // namespace

// How the page is built for an entry format: the generator's class in the trace lines, the
// message that reports its failure and the progress text of each piece. A renderer shows a
// query: the entry's texts and its end are traced as well.
struct PageBuilder::GeneratorKind {
  const char* name;
  bool renderer;
  int errorId;
  const char* progress;
  std::unique_ptr<PageGenerator> (*create)();
};

// The entry formats (Format_ID of the configuration database) and what shows them; any other
// format has no generator.
const PageBuilder::GeneratorKind* PageBuilder::KindOfFormat(int format) {
  struct Format {
    int id;
    GeneratorKind kind;
  };
  static const Format kFormats[] = {
      {0,
       {"clHierachicalSpreadSheet", true, msg::kTableFailed, "Creating Table ...",
        &Create<clHierachicalSpreadSheet>}},
      {1,
       {"clHierachicalSpreadSheet", true, msg::kTableFailed, "Creating Table ...",
        &Create<clHierachicalSpreadSheet>}},
      {2, {"clHTMLList", true, msg::kTableFailed, "Creating Table ...", &Create<clHTMLList>}},
      {3, {"clHTMLInfo", false, msg::kInfoFailed, "Creating Info ...", &Create<clHTMLInfo>}},
  };
  for (const Format& row : kFormats) {
    if (row.id == format) return &row.kind;
  }
  return nullptr;
}

PageBuilder::PageBuilder(SinkCalls& sink) : sink_(sink) {}

PageBuilder::~PageBuilder() {
  dumper_.reset();
  // The info page, or a renderer: the renderers share the parser and hold their data
  // connections open; they go before it, so that a request ended mid-entry closes its
  // connection at once.
  generator_.reset();
  menu_.reset();
  parser_.reset();
  snapshot_.reset();
  act_.reset();
  error_.reset();
}

bool PageBuilder::Open() {
  error_ = std::make_unique<clHTMLError>();
  error_->Init("clProtocolHandler", "");
  dumper_ = std::make_unique<clHTMLDumper>();
  if (!dumper_->Init("", "")) {
    dumper_.reset();
    return false;
  }
  pageFile_ = TempFile(dumper_->TempFile());
  dumper_->DumpHeader("Varnolis");
  return true;
}

void PageBuilder::Prepare(const std::string& url) {
  if (!ParseURL(url)) {
    sink_.ReportStaticProgress(BindStatus::kFindingResource, "Info: Invalid URL");
    sink_.ReportProgress(BindStatus::kConnecting, "Info: Invalid URL " + url);
    WriteError(msg::kBadUrl, markup::EscapeHtml(url));
    return;
  }
  sink_.ReportStaticProgress(BindStatus::kFindingResource, "Info: FINDINGRESOURCE");
  sink_.ReportProgress(BindStatus::kConnecting, "Info: " + command_ + " " + parameter_);
  if (IsCommand(command::kTest)) return;
  if (!IsCommand(command::kInfo) && !IsCommand(command::kRubrik)) {
    WriteError(msg::kUnknownCommand, markup::EscapeHtml(command_));
    return;
  }
  DPrint("Verarbeite Kommando:" + command_);
  if (IsCommand(command::kInfo)) {
    generator_ = std::make_unique<clHTMLInfo>();
    generator_->Init(GeneratorEntry{});
    return;
  }
  PrepareRubric();
}

bool PageBuilder::ParseURL(const std::string& url) {
  DPrint("ParseURL(" + url + ")");
  ParsedUrl parsed;
  if (!vn::ParseURL(url, parsed)) return false;
  command_ = std::move(parsed.command);
  parameter_ = std::move(parsed.parameter);
  // Matched once: every step asks, and a string-table look-up reads the environment.
  for (int id : {command::kInfo, command::kRubrik, command::kTest}) {
    if (EqualsIgnoringCase(command_, ResText(id))) commandId_ = id;
  }
  DPrint("Kommando:" + command_);
  DPrint("Parameter:" + parameter_);
  return true;
}

void PageBuilder::PrepareRubric() {
  // The user may have changed the decimal sign or the date form since the last page.
  RefreshUserRegionalSettings();
  act_ = std::make_unique<clACTApplication>(PageACTAutomation());
  // The page's one look at ACT!: the checks here and every source command of the page.
  snapshot_ = std::make_unique<clACTSnapshot>(*act_);
  if (!snapshot_->ACTgestartet()) {
    snapshot_.reset();
    act_.reset();
    WriteError(msg::kActNotRunning, "");
    return;
  }
  const std::string database = snapshot_->ACTDatenbank();
  DPrint("ACT! Application - Database: " + database);
  if (database.empty()) {
    snapshot_.reset();
    act_.reset();
    WriteError(msg::kNoActDatabase, "");
    return;
  }
  DPrint("Init ACTDataparser");
  parser_ = std::make_unique<clACTDataParser>();
  // A parser without its bridge still reports each failing command in the entry that uses it.
  parser_->InitPage(snapshot_.get(), "");
  DPrint("Init clHTMLMenu");
  menu_ = std::make_unique<clHTMLMenu>();
  if (!menu_->Init(parameter_, parser_.get(), "", "")) {
    const std::string description = menu_->ErrDescription();
    DPrint("HTMLMenu Initialisierung fehlgeschlagen!");
    DPrint("HTMLMenu.ErrDescription" + description);
    menu_.reset();
    WriteError(msg::kMenuFailed, description);
    return;
  }
  DPrint("Anzahl daten:" + std::to_string(menu_->AnzahlDaten()));
  // The entries' fields are read with the page's first field, be it in the menu: one contact.
  for (int i = 0; i < menu_->AnzahlDaten(); ++i) {
    const clDaten* entry = menu_->Daten(i);
    parser_->Expect(entry->DatenQuelle);
    parser_->Expect(entry->Abfrage);
  }
}

void PageBuilder::Step() {
  if (complete_) return;
  if (IsCommand(command::kTest)) {
    dumper_->Dump("<b>Testbefehl von Varnolis</b>");
    sink_.ReportStaticProgress(BindStatus::kDownloadingData, "Creating Tabledata ...");
    CompletePage();
  } else if (IsCommand(command::kInfo) && generator_) {
    BuildInfoStep();
  } else if (IsCommand(command::kRubrik) && menu_) {
    BuildRubricStep();
  } else {
    // Only reachable when the preparation left nothing to build from.
    WriteError(msg::kUnknownCommand, markup::EscapeHtml(command_));
  }
}

void PageBuilder::BuildInfoStep() {
  DumpNextPiece();
  sink_.ReportStaticProgress(BindStatus::kDownloadingData, "Creating Tabledata ...");
  // A generator that failed stays in its state; without this the page would never end.
  if (generator_->Failed()) {
    WriteError(msg::kInfoFailed, generator_->ErrDescription());
    return;
  }
  if (generator_->Ready()) CompletePage();
}

void PageBuilder::BuildRubricStep() {
  if (!menu_->Ready()) {
    if (menu_->ErrNumber() != msg::kNoError) {
      WriteError(msg::kMenuFailed, menu_->ErrDescription());
      return;
    }
    dumper_->Dump(menu_->GetNext());
    sink_.ReportStaticProgress(BindStatus::kDownloadingData, "Creating Menu ...");
    return;
  }

  if (!dumper_->DIVWindoStarted()) {
    dumper_->Dump(ResText(res::kDiv, {ResText(res::kIdAttribute, {ResText(res::kWindowId)}) +
                                      ResText(res::kClass, {ResText(res::kWindowClass)})}));
    dumper_->SetDIVWindoStarted(true);
  }
  if (menu_->ErrNumber() != msg::kNoError) {
    WriteError(msg::kMenuFailed, menu_->ErrDescription());
    return;
  }
  if (menu_->AnzahlDaten() == 0) {
    // The rubric name comes from the URL, which anyone can type.
    WriteError(msg::kNoAssignments, markup::EscapeHtml(parameter_));
    return;
  }
  const clDaten* entry = menu_->Daten(currentEntry_);
  if (entry == nullptr) {
    WriteError(msg::kMenuFailed, menu_->ErrDescription());
    return;
  }
  const GeneratorKind* kind = KindOfFormat(entry->Format);
  if (kind == nullptr) {
    WriteError(msg::kUnknownFormat, std::to_string(entry->Format));
    return;
  }
  EntryStep(*entry, *kind);
}

void PageBuilder::EntryStep(const clDaten& entry, const GeneratorKind& kind) {
  const std::string n = std::to_string(currentEntry_);
  if (!generator_) {
    DPrint(std::string("Init ") + kind.name + " (" + n + ")");
    generator_ = kind.create();
    if (kind.renderer) {
      DPrint("SQL:" + entry.Abfrage);
      DPrint("Connection:" + entry.DatenQuelle);
      DPrint("Titel:" + entry.Titel);
    }
    if (!generator_->Init(GeneratorEntry{entry.Titel, entry.DatenQuelle, entry.Abfrage,
                                         parser_.get(), "/resourcehtml/qxlogo.gif", "", n + "_"})) {
      WriteError(kind.errorId, generator_->ErrDescription());
      return;
    }
  }
  if (generator_->Ready()) {
    if (kind.renderer) DPrint(std::string("Ready ") + kind.name + " (" + n + ")");
    generator_.reset();
    Advance();
    return;
  }
  if (generator_->Failed()) {
    WriteError(kind.errorId, generator_->ErrDescription());
    return;
  }
  DumpNextPiece();
  sink_.ReportStaticProgress(BindStatus::kDownloadingData, kind.progress);
}

void PageBuilder::DumpNextPiece() {
  // The piece is built in a buffer that keeps its capacity from row to row.
  piece_.clear();
  generator_->AppendNext(piece_);
  dumper_->Dump(piece_);
}

void PageBuilder::Advance() {
  if (menu_->AnzahlDaten() == currentEntry_ + 1) {
    CompletePage();
  } else {
    ++currentEntry_;
  }
}

void PageBuilder::WriteError(int id, const std::string& detail,
                             const std::optional<PendingFailure>& failure) {
  DPrint("WriteError(" + std::to_string(id) + "," + detail + ")");
  error_->SetError(id, {detail}, failure);
  dumper_->Dump(error_->Description());
  CompletePage();
  dumper_.reset();
}

bool PageBuilder::WriteFailure(const char* where, const PendingFailure& failure) noexcept {
  try {
    if (!error_ || !dumper_) throw RuntimeError(kErrPathFileAccess, "no page");
    WriteError(msg::kProgramError, where, failure);
    return true;
  } catch (...) {
    // The page cannot take the block: the caller gives the request up.
    return false;
  }
}

void PageBuilder::CompletePage() {
  dumper_->DumpEnd();
  // From here the page file lives as long as its read handle: nothing is left behind when the
  // process dies while the page is streamed.
  readFile_ = pageFile_.OpenForFinalRead();
  complete_ = true;
  DPrint("Read: Tempfile erstellt.");
}

std::size_t PageBuilder::Read(char* buffer, std::size_t size) {
  return readFile_.ReadUpTo(buffer, size);
}

}  // namespace vn
