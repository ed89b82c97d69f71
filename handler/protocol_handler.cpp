#include "handler/protocol_handler.h"

#include <cstring>
#include <exception>
#include <new>

#include "handler/parse_url.h"
#include "platform/debug_log.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "platform/vb_errors.h"
#include "render/hierarchical_spreadsheet.h"
#include "render/html_info.h"
#include "render/html_list.h"
#include "render/regional_settings.h"
#include "resources/markup.h"
#include "resources/res_text.h"

namespace vn {
namespace {

std::string Address(const void* p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

template <typename Generator>
std::unique_ptr<PageGenerator> Create() {
  return std::make_unique<Generator>();
}

}  // namespace

// How the handler drives the generator of an entry format: its class in the trace lines, the
// message that reports its failure and the progress text of each piece. A renderer shows a
// query: the entry's texts and its end are traced as well.
struct ProtocolHandler::GeneratorKind {
  const char* name;
  bool renderer;
  int errorId;
  const char* progress;
  std::unique_ptr<PageGenerator> (*create)();
};

// Format_ID 0 and 1: hierarchical table, 2: record card, 3: info block; null for any other.
const ProtocolHandler::GeneratorKind* ProtocolHandler::KindOfFormat(int format) {
  static const GeneratorKind hierarchical{"clHierachicalSpreadSheet", true, 152,
                                          "Creating Table ...", &Create<clHierachicalSpreadSheet>};
  static const GeneratorKind list{"clHTMLList", true, 152, "Creating Table ...",
                                  &Create<clHTMLList>};
  static const GeneratorKind info{"clHTMLInfo", false, 154, "Creating Info ...",
                                  &Create<clHTMLInfo>};
  switch (format) {
    case 0:
    case 1:
      return &hierarchical;
    case 2:
      return &list;
    case 3:
      return &info;
    default:
      return nullptr;
  }
}

ProtocolHandler::ProtocolHandler() {
  SetDebugSwitch(DebugSettingIsOn(GetSetting("Varnolis", "Optionen", "Debug", "0")));
  DPrint("Class_Initialize");
}

// The owners of the read file, the page file and the sink follow the trace line: a browser that
// drops the request without Terminate leaves no customer data behind.
ProtocolHandler::~ProtocolHandler() {
  ReleaseObjects();
  DPrint("Class_Terminate");
}

HRESULT ProtocolHandler::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IInternetProtocolRoot || riid == IID_IInternetProtocol) {
    *ppvObject = static_cast<IInternetProtocol*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG ProtocolHandler::AddRef() { return ++references_; }

ULONG ProtocolHandler::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

// ---- Start -------------------------------------------------------------------------------

HRESULT ProtocolHandler::Start(LPCWSTR szUrl, IInternetProtocolSink* pOIProtSink,
                               IInternetBindInfo* /*pOIBindInfo*/, DWORD /*grfPI*/,
                               HANDLE_PTR /*dwReserved*/) {
  // A sink call may drop the browser's last reference: the object lives until this call ends.
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  sink_ = ComPtr<IInternetProtocolSink>::Share(pOIProtSink);
  HRESULT result = S_OK;
  try {
    DPrint("IInternetProtocol_Start(" + Address(szUrl) + ")");
    result = StartRequest(szUrl != nullptr ? szUrl : "");
  } catch (...) {
    // Only reached when no page can be written at all.
    FailRequest();
    result = INET_E_DOWNLOAD_FAILURE;
  }
  MakeSinkCalls();
  return result;
}

HRESULT ProtocolHandler::StartRequest(const std::string& url) {
  // A second Start on the same object begins a new request.
  EndRequest();
  sinkCalls_.Clear();
  pageComplete_ = false;
  downloadFinished_ = false;
  started_ = true;
  command_.clear();
  parameter_.clear();
  commandId_ = 0;

  error_ = std::make_unique<clHTMLError>();
  error_->Init("clProtocolHandler", "");
  dumper_ = std::make_unique<clHTMLDumper>();
  if (!dumper_->Init("", "")) {
    dumper_.reset();
    started_ = false;
    ReportResult(INET_E_DOWNLOAD_FAILURE, 0, "0");
    return INET_E_DOWNLOAD_FAILURE;
  }
  pageFile_ = TempFile(dumper_->TempFile());
  dumper_->DumpHeader("Varnolis");

  try {
    if (ParseURL(url)) {
      ReportProgress(BINDSTATUS_FINDINGRESOURCE, "Info: FINDINGRESOURCE");
      ReportProgress(BINDSTATUS_CONNECTING, "Info: " + command_ + " " + parameter_);
      if (IsCommand(1101) || IsCommand(1102)) {
        PrepareCommand();
      } else if (!IsCommand(1103)) {
        WriteError(153, markup::EscapeHtml(command_));
      }
    } else {
      ReportProgress(BINDSTATUS_FINDINGRESOURCE, "Info: Invalid URL");
      ReportProgress(BINDSTATUS_CONNECTING, "Info: Invalid URL " + url);
      WriteError(151, markup::EscapeHtml(url));
    }
  } catch (const RuntimeError& e) {
    if (!ReportFailure("[clProtocolHandler].[IInternetProtocol_Start]", e.Number(),
                       e.Description())) {
      return INET_E_DOWNLOAD_FAILURE;
    }
  } catch (const std::exception& e) {
    if (!ReportFailure("[clProtocolHandler].[IInternetProtocol_Start]", 0, e.what())) {
      return INET_E_DOWNLOAD_FAILURE;
    }
  }

  ReportProgress(BINDSTATUS_MIMETYPEAVAILABLE, "text/html");
  ReportProgress(BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE, "text/html");
  ReportProgress(BINDSTATUS_BEGINDOWNLOADDATA, "");
  return S_OK;
}

void ProtocolHandler::Trace(const std::string& text) {
  // The log never fails: a line that no folder takes is dropped, and the page is built as with
  // the log off.
  DPrint(text);
}

bool ProtocolHandler::ParseURL(const std::string& url) {
  Trace("ParseURL(" + url + ")");
  ParsedUrl parsed;
  if (!vn::ParseURL(url, parsed)) return false;
  command_ = std::move(parsed.command);
  parameter_ = std::move(parsed.parameter);
  // Matched once: every Read asks, and a string-table look-up reads the environment.
  commandId_ = 0;
  for (int id : {1101, 1102, 1103}) {
    if (EqualsIgnoringCase(command_, ResText(id))) commandId_ = id;
  }
  Trace("Kommando:" + command_);
  Trace("Parameter:" + parameter_);
  return true;
}

bool ProtocolHandler::IsCommand(int commandId) const { return commandId_ == commandId; }

// ---- Page assembly ---------------------------------------------------------------------

void ProtocolHandler::PrepareCommand() {
  Trace("Verarbeite Kommando:" + command_);
  if (IsCommand(1101)) {
    generator_ = std::make_unique<clHTMLInfo>();
    generator_->Init(GeneratorEntry{});
    return;
  }
  PrepareRubric();
}

void ProtocolHandler::PrepareRubric() {
  // The user may have changed the decimal sign or the date form since the last page.
  RefreshUserRegionalSettings();
  currentEntry_ = 0;
  currentQuery_.clear();
  currentTitle_.clear();
  currentConnection_.clear();
  act_ = std::make_unique<clACTApplication>();
  if (!act_->ACTgestartet()) {
    act_.reset();
    WriteError(122, "");
    return;
  }
  const std::string database = act_->ACTDatenbank();
  Trace("ACT! Application - Database: " + database);
  if (database.empty()) {
    act_.reset();
    WriteError(123, "");
    return;
  }
  Trace("Init ACTDataparser");
  parser_ = std::make_unique<clACTDataParser>();
  // A parser without its bridge still reports each failing command in the entry that uses it.
  parser_->Init(act_.get(), "");
  Trace("Init clHTMLMenu");
  menu_ = std::make_unique<clHTMLMenu>();
  if (!menu_->Init(parameter_, parser_.get(), "", "")) {
    const std::string description = menu_->ErrDescription();
    Trace("HTMLMenu Initialisierung fehlgeschlagen!");
    Trace("HTMLMenu.ErrDescription" + description);
    menu_.reset();
    WriteError(155, description);
    return;
  }
  Trace("Anzahl daten:" + std::to_string(menu_->AnzahlDaten()));
}

void ProtocolHandler::BuildStep() {
  if (IsCommand(1101) && generator_) {
    DumpNextPiece();
    ReportStaticProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Tabledata ...");
    // A generator that failed stays in its state; without this the page would never end.
    if (generator_->Failed()) {
      WriteError(154, generator_->ErrDescription());
      return;
    }
    if (generator_->Ready()) CompletePage();
    return;
  }
  if (IsCommand(1102) && menu_) {
    BuildRubricStep();
    return;
  }
  // Only reachable when the preparation left nothing to build from.
  WriteError(153, markup::EscapeHtml(command_));
}

void ProtocolHandler::BuildRubricStep() {
  if (!menu_->Ready()) {
    if (menu_->ErrNumber() != clHTMLError::kNoError) {
      WriteError(155, menu_->ErrDescription());
      return;
    }
    dumper_->Dump(menu_->GetNext());
    ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Menu ...");
    return;
  }

  if (!dumper_->DIVWindoStarted()) {
    dumper_->Dump(ResText(317, {ResText(409, {ResText(621)}) + ResText(412, {ResText(622)})}));
    dumper_->SetDIVWindoStarted(true);
  }
  if (menu_->ErrNumber() != clHTMLError::kNoError) {
    WriteError(155, menu_->ErrDescription());
    return;
  }
  if (menu_->AnzahlDaten() == 0) {
    // The rubric name comes from the URL, which anyone can type.
    WriteError(182, markup::EscapeHtml(parameter_));
    return;
  }
  const clDaten* entry = menu_->Daten(currentEntry_);
  if (entry == nullptr) {
    WriteError(155, menu_->ErrDescription());
    return;
  }
  const GeneratorKind* kind = KindOfFormat(entry->Format);
  if (kind == nullptr) {
    WriteError(156, std::to_string(entry->Format));
    return;
  }
  EntryStep(*entry, *kind);
}

void ProtocolHandler::EntryStep(const clDaten& entry, const GeneratorKind& kind) {
  if (!generator_) {
    const std::string n = std::to_string(currentEntry_);
    Trace(std::string("Init ") + kind.name + " (" + n + ")");
    generator_ = kind.create();
    if (kind.renderer) {
      currentQuery_ = entry.Abfrage;
      currentConnection_ = entry.DatenQuelle;
      currentTitle_ = entry.Titel;
      Trace("SQL:" + currentQuery_);
      Trace("Connection:" + currentConnection_);
      Trace("Titel:" + currentTitle_);
    }
    if (!generator_->Init(GeneratorEntry{entry.Titel, entry.DatenQuelle, entry.Abfrage,
                                         parser_.get(), "/resourcehtml/qxlogo.gif", "", n + "_"})) {
      WriteError(kind.errorId, generator_->ErrDescription());
      return;
    }
  }
  if (generator_->Ready()) {
    if (kind.renderer) {
      Trace(std::string("Ready ") + kind.name + " (" + std::to_string(currentEntry_) + ")");
    }
    generator_.reset();
    Advance();
    return;
  }
  if (generator_->Failed()) {
    WriteError(kind.errorId, generator_->ErrDescription());
    return;
  }
  DumpNextPiece();
  ReportStaticProgress(BINDSTATUS_DOWNLOADINGDATA, kind.progress);
}

void ProtocolHandler::DumpNextPiece() {
  // The piece is built in a buffer that keeps its capacity from row to row.
  piece_.clear();
  generator_->AppendNext(piece_);
  dumper_->Dump(piece_);
}

void ProtocolHandler::Advance() {
  if (menu_->AnzahlDaten() == currentEntry_ + 1) {
    CompletePage();
  } else {
    ++currentEntry_;
  }
}

// ---- Read --------------------------------------------------------------------------------

HRESULT ProtocolHandler::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  // A sink call may drop the browser's last reference: the object lives until this call ends.
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  ULONG ignored = 0;
  if (pcbRead == nullptr) pcbRead = &ignored;
  HRESULT result = S_OK;
  try {
    result = ReadRequest(pv, cb, pcbRead);
  } catch (...) {
    // Only reached when neither the chunk nor the failure could be delivered.
    *pcbRead = 0;
    FailRequest();
    result = INET_E_DOWNLOAD_FAILURE;
  }
  MakeSinkCalls();
  return result;
}

HRESULT ProtocolHandler::ReadRequest(void* pv, ULONG cb, ULONG* pcbRead) {
  const ULONG countOnEntry = *pcbRead;
  if (!started_) {
    *pcbRead = 0;
    return E_UNEXPECTED;
  }
  std::optional<std::pair<long, std::string>> failure;
  try {
    // A page of many thousand rows takes a Read per row: the line is built only for the log.
    if (DebugSwitch()) {
      Trace("Read(" + Address(pv) + "," + std::to_string(cb) + "," + std::to_string(countOnEntry) +
            ")");
    }
    if (pageComplete_ && downloadFinished_) {
      Trace("Read: Tempfile downloaded.");
      *pcbRead = 0;
      return S_FALSE;
    }
    if (pageComplete_) return StreamChunk(pv, cb, pcbRead);

    if (IsCommand(1103)) {
      dumper_->Dump("<b>Testbefehl von Varnolis</b>");
      ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Tabledata ...");
      CompletePage();
    } else if (IsCommand(1101) || IsCommand(1102)) {
      // A step that ends the page with an error block goes on as any other step: the browser
      // is told to come back, and its next Read streams the page. (An empty S_OK here would
      // end the download for urlmon's stream readers, which take it as the stream's end, and
      // the browser would show an empty page.)
      BuildStep();
    }
    ReportData(BSCF_INTERMEDIATEDATANOTIFICATION, 0, 0);
    *pcbRead = 0;
    return E_PENDING;
  } catch (const RuntimeError& e) {
    failure.emplace(e.Number(), e.Description());
  } catch (const std::exception& e) {
    failure.emplace(0, e.what());
  }
  *pcbRead = 0;
  if (pageComplete_) {
    // The page writer is gone: the failure has nowhere to go but to the browser.
    FailRequest();
    return INET_E_DOWNLOAD_FAILURE;
  }
  if (!ReportFailure("[clProtocolHandler].[IInternetProtocol_Read]", failure->first,
                     failure->second)) {
    return INET_E_DOWNLOAD_FAILURE;
  }
  // As after a step that ends the page with its error block: an empty S_OK would be the end of
  // the page for urlmon's readers, and the browser would show nothing instead of the block.
  ReportData(BSCF_INTERMEDIATEDATANOTIFICATION, 0, 0);
  return E_PENDING;
}

HRESULT ProtocolHandler::StreamChunk(void* pv, ULONG cb, ULONG* pcbRead) {
  // A zero-sized (or missing) buffer can never reach the end of the file; refusing it keeps a
  // caller from asking forever.
  if (cb == 0 || pv == nullptr) {
    *pcbRead = 0;
    return E_INVALIDARG;
  }
  Trace("Read: Tempfile downloading..");
  // The chunk is announced before it is read. A browser that reads from inside ReportData so
  // takes the chunks in their order, and this Read goes on after the last one it took; no
  // chunk waits in this caller's buffer while another caller receives the next.
  ReportData(BSCF_INTERMEDIATEDATANOTIFICATION, 0, 0);
  MakeSinkCalls();
  if (downloadFinished_) {
    Trace("Read: Tempfile downloaded.");
    *pcbRead = 0;
    return S_FALSE;
  }
  if (!started_) {  // ended from inside the sink call
    *pcbRead = 0;
    return E_UNEXPECTED;
  }
  // Straight from the file into the caller's buffer; blanks fill what the file cannot.
  auto* buffer = static_cast<char*>(pv);
  const std::size_t filled = readFile_.ReadUpTo(buffer, cb);
  std::memset(buffer + filled, ' ', cb - filled);
  *pcbRead = cb;
  const bool endOfFile = filled < cb;
  Trace(std::string("Read: Check EOF ") + (endOfFile ? "True" : "False"));
  if (endOfFile) {
    Trace("Read: Tempfile EOF");
    downloadFinished_ = true;
    readFile_ = FileHandle();
    ReportData(BSCF_LASTDATANOTIFICATION, 100, 100);
    ReportProgress(BINDSTATUS_ENDDOWNLOADDATA, "");
    ReportResult(S_OK, 0, "0");
  } else {
    Trace("Read: NO EOF");
  }
  return S_OK;
}

// ---- Ending the page ---------------------------------------------------------------------

void ProtocolHandler::WriteError(int id, const std::string& detail,
                                 const std::optional<PendingFailure>& failure) {
  DPrint("WriteError(" + std::to_string(id) + "," + detail + ")");
  error_->SetError(id, {detail}, failure);
  dumper_->Dump(error_->Description());
  CompletePage();
  dumper_.reset();
}

void ProtocolHandler::CompletePage() {
  dumper_->DumpEnd();
  // From here the page file lives as long as its read handle: nothing is left behind when the
  // process dies while the page is streamed.
  readFile_ = pageFile_.OpenForFinalRead();
  pageComplete_ = true;
  Trace("Read: Tempfile erstellt.");
}

bool ProtocolHandler::ReportFailure(const std::string& where, long number,
                                    const std::string& description) {
  try {
    if (!error_ || !dumper_) throw RuntimeError(kErrPathFileAccess, "no page");
    WriteError(199, where, PendingFailure{number, description});
    return true;
  } catch (...) {
    FailRequest();
    return false;
  }
}

void ProtocolHandler::FailRequest() {
  EndRequest();
  pageComplete_ = true;
  downloadFinished_ = true;
  try {
    ReportResult(INET_E_DOWNLOAD_FAILURE, 0, "0");
  } catch (...) {
    // Only queueing the call can fail (no memory left): the request is given up already, and
    // nothing else is left to tell the browser.
  }
}

void ProtocolHandler::ReleaseObjects() {
  dumper_.reset();
  // The info page, or a renderer: the renderers share the parser and hold their data
  // connections open; they go before it, so that a request ended mid-entry closes its
  // connection at Terminate.
  generator_.reset();
  menu_.reset();
  parser_.reset();
  act_.reset();
  error_.reset();
}

void ProtocolHandler::EndRequest() {
  ReleaseObjects();
  readFile_ = FileHandle();
  pageFile_.Delete();
}

// ---- Terminate, Abort and the rest -------------------------------------------------------

HRESULT ProtocolHandler::Terminate(DWORD dwOptions) {
  // Letting the sink go may drop the browser's last reference.
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  DPrint("IInternetProtocol_Terminate(" + std::to_string(dwOptions) + ")");
  EndRequest();
  started_ = false;
  sinkCalls_.Clear();
  sink_.reset();
  return S_OK;
}

HRESULT ProtocolHandler::Abort(HRESULT hrReason, DWORD dwOptions) {
  DPrint("IInternetProtocol_Abort(" + std::to_string(hrReason) + "," + std::to_string(dwOptions) +
         ")");
  EndRequest();
  started_ = false;
  sinkCalls_.Clear();  // an aborted request has nothing more to tell the browser
  return S_OK;
}

HRESULT ProtocolHandler::Continue(PROTOCOLDATA* /*pProtocolData*/) {
  DPrint("Continue");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::Suspend() { return E_NOTIMPL; }

HRESULT ProtocolHandler::Resume() {
  DPrint("Resume");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::Seek(std::int64_t /*dlibMove*/, DWORD /*dwOrigin*/,
                              std::uint64_t* /*plibNewPosition*/) {
  DPrint("Seek");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::LockRequest(DWORD /*dwOptions*/) {
  DPrint("LockRequest");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::UnlockRequest() { return E_NOTIMPL; }

// ---- Sink ------------------------------------------------------------------------------

void ProtocolHandler::ReportProgress(ULONG status, const std::string& text) {
  sinkCalls_.ReportProgress(status, text);
}

void ProtocolHandler::ReportStaticProgress(ULONG status, const char* text) {
  sinkCalls_.ReportStaticProgress(status, text);
}

void ProtocolHandler::ReportData(DWORD flags, ULONG progress, ULONG progressMax) {
  sinkCalls_.ReportData(flags, progress, progressMax);
}

void ProtocolHandler::ReportResult(HRESULT result, DWORD error, const std::string& text) {
  sinkCalls_.ReportResult(result, error, text);
}

void ProtocolHandler::MakeSinkCalls() {
  // From inside a sink call: the loop below, further up, makes what this call queued.
  if (makingSinkCalls_) return;
  struct Making {
    bool& flag;
    explicit Making(bool& f) : flag(f) { flag = true; }
    ~Making() { flag = false; }
  } making(makingSinkCalls_);
  while (true) {
    // Held for the call: Terminate inside it lets go of the handler's own reference.
    const ComPtr<IInternetProtocolSink> sink = sink_;
    if (!sink) {
      sinkCalls_.Clear();
      return;
    }
    if (!sinkCalls_.MakeNext(*sink.get())) return;
  }
}

}  // namespace vn
