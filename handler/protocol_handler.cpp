#include "handler/protocol_handler.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

#include "handler/module_lock.h"
#include "handler/parse_url.h"
#include "platform/debug_log.h"
#include "platform/file_io.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "resources/res_text.h"

namespace vn {
namespace {

// The errors Visual Basic raises when a file cannot be opened or read.
constexpr long kPathFileAccessError = 75;
constexpr long kDeviceIoError = 57;

// Trace lines must never decide whether a request works where no failure path exists
// (object creation, destruction, Terminate, Abort and the unimplemented methods).
void QuietDPrint(const std::string& text) noexcept {
  try {
    DPrint(text);
  } catch (...) {
  }
}

std::string Address(const void* p) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(p));
}

// A URL or command typed by anyone goes into the page as text, never as markup.
std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

ProtocolHandler::ProtocolHandler() {
  ModuleLockIncrement();
  SetDebugSwitch(DebugSettingIsOn(GetSetting("Varnolis", "Optionen", "Debug", "0")));
  QuietDPrint("Class_Initialize");
}

ProtocolHandler::~ProtocolHandler() {
  ReleaseObjects();
  CloseReadFile();
  // A browser that drops the request without Terminate must not leave customer data behind.
  DeleteTempFile();
  if (sink_ != nullptr) sink_->Release();
  QuietDPrint("Class_Terminate");
  ModuleLockDecrement();
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
  if (pOIProtSink != nullptr) pOIProtSink->AddRef();
  if (sink_ != nullptr) sink_->Release();
  sink_ = pOIProtSink;
  try {
    // No page exists yet to report a log that cannot be written.
    QuietDPrint("IInternetProtocol_Start(" + Address(szUrl) + ")");
    return StartRequest(szUrl != nullptr ? szUrl : "");
  } catch (...) {
    // Only reached when no page can be written at all.
    FailRequest();
    return INET_E_DOWNLOAD_FAILURE;
  }
}

HRESULT ProtocolHandler::StartRequest(const std::string& url) {
  // A second Start on the same object begins a new request.
  ReleaseObjects();
  CloseReadFile();
  DeleteTempFile();
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
  tempFile_ = dumper_->TempFile();
  dumper_->DumpHeader("Varnolis");

  try {
    if (ParseURL(url)) {
      ReportProgress(BINDSTATUS_FINDINGRESOURCE, "Info: FINDINGRESOURCE");
      ReportProgress(BINDSTATUS_CONNECTING, "Info: " + command_ + " " + parameter_);
      if (IsCommand(1101) || IsCommand(1102)) {
        PrepareCommand();
      } else if (!IsCommand(1103)) {
        WriteError(153, EscapeHtml(command_));
      }
    } else {
      ReportProgress(BINDSTATUS_FINDINGRESOURCE, "Info: Invalid URL");
      ReportProgress(BINDSTATUS_CONNECTING, "Info: Invalid URL " + url);
      WriteError(151, EscapeHtml(url));
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
  // While the page is being built, a log that cannot be written is reported in the page
  // (message 199). Once the page is complete, or while an error is being reported, there is no
  // place left to report it, and the request must not fail for its trace.
  if (dumper_ && !pageComplete_) {
    DPrint(text);
  } else {
    QuietDPrint(text);
  }
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
    info_ = std::make_unique<clHTMLInfo>();
    info_->Init("");
    return;
  }
  PrepareRubric();
}

void ProtocolHandler::PrepareRubric() {
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

bool ProtocolHandler::BuildStep() {
  if (IsCommand(1101) && info_) {
    dumper_->Dump(info_->GetNext());
    ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Tabledata ...");
    // A generator that failed stays in its state; without this the page would never end.
    if (info_->ErrNumber() != 100) {
      WriteError(154, info_->ErrDescription());
      return false;
    }
    if (info_->Ready()) CompletePage();
    return true;
  }
  if (IsCommand(1102) && menu_) return BuildRubricStep();
  // Only reachable when the preparation left nothing to build from.
  WriteError(153, EscapeHtml(command_));
  return false;
}

bool ProtocolHandler::BuildRubricStep() {
  if (!menu_->Ready()) {
    if (menu_->ErrNumber() != 100) {
      WriteError(155, menu_->ErrDescription());
      return false;
    }
    dumper_->Dump(menu_->GetNext());
    ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Menu ...");
    return true;
  }

  if (!dumper_->DIVWindoStarted()) {
    dumper_->Dump(ResText(317, {ResText(409, {ResText(621)}) + ResText(412, {ResText(622)})}));
    dumper_->SetDIVWindoStarted(true);
  }
  if (menu_->ErrNumber() != 100) {
    WriteError(155, menu_->ErrDescription());
    return false;
  }
  if (menu_->AnzahlDaten() == 0) {
    // The rubric name comes from the URL, which anyone can type.
    WriteError(182, EscapeHtml(parameter_));
    return false;
  }
  const clDaten* entry = menu_->Daten(currentEntry_);
  if (entry == nullptr) {
    WriteError(155, menu_->ErrDescription());
    return false;
  }
  switch (entry->Format) {
    case 0:
    case 1:
      return RendererStep(hierarchical_, *entry, "clHierachicalSpreadSheet");
    case 2:
      return RendererStep(list_, *entry, "clHTMLList");
    case 3:
      return InfoStep();
    default:
      WriteError(156, std::to_string(entry->Format));
      return false;
  }
}

template <typename Renderer>
bool ProtocolHandler::RendererStep(std::unique_ptr<Renderer>& renderer, const clDaten& entry,
                                   const char* name) {
  const std::string n = std::to_string(currentEntry_);
  if (!renderer) {
    Trace(std::string("Init ") + name + " (" + n + ")");
    renderer = std::make_unique<Renderer>();
    currentQuery_ = entry.Abfrage;
    currentConnection_ = entry.DatenQuelle;
    currentTitle_ = entry.Titel;
    Trace("SQL:" + currentQuery_);
    Trace("Connection:" + currentConnection_);
    Trace("Titel:" + currentTitle_);
    if (!renderer->Init(currentTitle_, currentConnection_, currentQuery_, parser_.get(),
                        "/resourcehtml/qxlogo.gif", "", n + "_")) {
      WriteError(152, renderer->ErrDescription());
      return false;
    }
  }
  if (renderer->Ready()) {
    Trace(std::string("Ready ") + name + " (" + n + ")");
    renderer.reset();
    Advance();
    return true;
  }
  if (renderer->ErrNumber() != 100) {
    WriteError(152, renderer->ErrDescription());
    return false;
  }
  dumper_->Dump(renderer->GetNext());
  ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Table ...");
  return true;
}

bool ProtocolHandler::InfoStep() {
  if (!info_) {
    Trace("Init clHTMLInfo (" + std::to_string(currentEntry_) + ")");
    info_ = std::make_unique<clHTMLInfo>();
    info_->Init("");
  }
  if (info_->Ready()) {
    info_.reset();
    Advance();
    return true;
  }
  if (info_->ErrNumber() != 100) {
    WriteError(154, info_->ErrDescription());
    return false;
  }
  dumper_->Dump(info_->GetNext());
  ReportProgress(BINDSTATUS_DOWNLOADINGDATA, "Creating Info ...");
  return true;
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
  ULONG ignored = 0;
  if (pcbRead == nullptr) pcbRead = &ignored;
  try {
    return ReadRequest(pv, cb, pcbRead);
  } catch (...) {
    // Only reached when neither the chunk nor the failure could be delivered.
    *pcbRead = 0;
    FailRequest();
    return INET_E_DOWNLOAD_FAILURE;
  }
}

HRESULT ProtocolHandler::ReadRequest(void* pv, ULONG cb, ULONG* pcbRead) {
  const ULONG countOnEntry = *pcbRead;
  if (!started_) {
    *pcbRead = 0;
    return E_UNEXPECTED;
  }
  std::optional<std::pair<long, std::string>> failure;
  try {
    Trace("Read(" + Address(pv) + "," + std::to_string(cb) + "," + std::to_string(countOnEntry) +
           ")");
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
      if (!BuildStep()) {
        *pcbRead = 0;
        return S_OK;
      }
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
  return S_OK;
}

HRESULT ProtocolHandler::StreamChunk(void* pv, ULONG cb, ULONG* pcbRead) {
  // A zero-sized (or missing) buffer can never reach the end of the file; refusing it keeps a
  // caller from asking forever.
  if (cb == 0 || pv == nullptr) {
    *pcbRead = 0;
    return E_INVALIDARG;
  }
  Trace("Read: Tempfile downloading..");
  auto* buffer = static_cast<char*>(pv);
  std::memset(buffer, ' ', cb);
  ULONG filled = 0;
  while (filled < cb) {
    ssize_t got = ::read(readFile_, buffer + filled, cb - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      throw RuntimeError(kDeviceIoError, tempFile_ + ": " + std::strerror(errno),
                         "ProtocolHandler.Read");
    }
    if (got == 0) break;
    filled += static_cast<ULONG>(got);
  }
  *pcbRead = cb;
  ReportData(BSCF_INTERMEDIATEDATANOTIFICATION, 0, 0);
  const bool endOfFile = filled < cb;
  Trace(std::string("Read: Check EOF ") + (endOfFile ? "True" : "False"));
  if (endOfFile) {
    Trace("Read: Tempfile EOF");
    ReportData(BSCF_LASTDATANOTIFICATION, 100, 100);
    ReportProgress(BINDSTATUS_ENDDOWNLOADDATA, "");
    ReportResult(S_OK, 0, "0");
    downloadFinished_ = true;
    CloseReadFile();
  } else {
    Trace("Read: NO EOF");
  }
  return S_OK;
}

// ---- Ending the page ---------------------------------------------------------------------

void ProtocolHandler::WriteError(int id, const std::string& detail,
                                 const std::optional<PendingFailure>& failure) {
  QuietDPrint("WriteError(" + std::to_string(id) + "," + detail + ")");
  error_->SetError(id, {detail}, failure);
  dumper_->Dump(error_->Description());
  CompletePage();
  dumper_.reset();
}

void ProtocolHandler::CompletePage() {
  dumper_->DumpEnd();
  readFile_ = OpenFileForReading(tempFile_);
  if (readFile_ < 0) {
    throw RuntimeError(kPathFileAccessError, tempFile_ + ": " + std::strerror(errno),
                       "ProtocolHandler");
  }
  pageComplete_ = true;
  Trace("Read: Tempfile erstellt.");
}

bool ProtocolHandler::ReportFailure(const std::string& where, long number,
                                    const std::string& description) {
  try {
    if (!error_ || !dumper_) throw RuntimeError(kPathFileAccessError, "no page");
    WriteError(199, where, PendingFailure{number, description});
    return true;
  } catch (...) {
    FailRequest();
    return false;
  }
}

void ProtocolHandler::FailRequest() {
  ReleaseObjects();
  CloseReadFile();
  DeleteTempFile();
  pageComplete_ = true;
  downloadFinished_ = true;
  try {
    ReportResult(INET_E_DOWNLOAD_FAILURE, 0, "0");
  } catch (...) {
  }
}

void ProtocolHandler::ReleaseObjects() {
  dumper_.reset();
  info_.reset();
  // The renderers share the parser and hold their data connections open; they go before it,
  // so that a request ended mid-entry closes its connection at Terminate.
  list_.reset();
  hierarchical_.reset();
  menu_.reset();
  parser_.reset();
  act_.reset();
  error_.reset();
}

void ProtocolHandler::CloseReadFile() {
  if (readFile_ >= 0) {
    ::close(readFile_);
    readFile_ = -1;
  }
}

void ProtocolHandler::DeleteTempFile() {
  if (!tempFile_.empty()) {
    RemoveFile(tempFile_);
    tempFile_.clear();
  }
}

// ---- Terminate, Abort and the rest -------------------------------------------------------

HRESULT ProtocolHandler::Terminate(DWORD dwOptions) {
  QuietDPrint("IInternetProtocol_Terminate(" + std::to_string(dwOptions) + ")");
  ReleaseObjects();
  CloseReadFile();
  DeleteTempFile();
  started_ = false;
  if (sink_ != nullptr) {
    sink_->Release();
    sink_ = nullptr;
  }
  return S_OK;
}

HRESULT ProtocolHandler::Abort(HRESULT hrReason, DWORD dwOptions) {
  QuietDPrint("IInternetProtocol_Abort(" + std::to_string(hrReason) + "," +
              std::to_string(dwOptions) + ")");
  ReleaseObjects();
  CloseReadFile();
  DeleteTempFile();
  started_ = false;
  return S_OK;
}

HRESULT ProtocolHandler::Continue(PROTOCOLDATA* /*pProtocolData*/) {
  QuietDPrint("Continue");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::Suspend() { return E_NOTIMPL; }

HRESULT ProtocolHandler::Resume() {
  QuietDPrint("Resume");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::Seek(std::int64_t /*dlibMove*/, DWORD /*dwOrigin*/,
                              std::uint64_t* /*plibNewPosition*/) {
  QuietDPrint("Seek");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::LockRequest(DWORD /*dwOptions*/) {
  QuietDPrint("LockRequest");
  return E_NOTIMPL;
}

HRESULT ProtocolHandler::UnlockRequest() { return E_NOTIMPL; }

// ---- Sink ------------------------------------------------------------------------------

void ProtocolHandler::ReportProgress(ULONG status, const std::string& text) {
  if (sink_ != nullptr) sink_->ReportProgress(status, text.c_str());
}

void ProtocolHandler::ReportData(DWORD flags, ULONG progress, ULONG progressMax) {
  if (sink_ != nullptr) sink_->ReportData(flags, progress, progressMax);
}

void ProtocolHandler::ReportResult(HRESULT result, DWORD error, const std::string& text) {
  if (sink_ != nullptr) sink_->ReportResult(result, error, text.c_str());
}

}  // namespace vn
