#include "handler/request.h"

#include <cstring>
#include <string>

#include "handler/page_builder.h"
#include "platform/debug_log.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"

namespace vn {
namespace {

// Where an unexpected failure happened, as its error block names the place.
constexpr const char* kInStart = "[clProtocolHandler].[IInternetProtocol_Start]";
constexpr const char* kInRead = "[clProtocolHandler].[IInternetProtocol_Read]";

std::string Address(const void* p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

}  // namespace

Request::Request() {
  SetDebugSwitch(DebugSettingIsOn(GetSetting("Varnolis", "Optionen", "Debug", "0")));
  DPrint("Class_Initialize");
}

Request::~Request() {
  // A browser that drops the request without Terminate leaves no customer data behind.
  page_.reset();
  DPrint("Class_Terminate");
}

// ---- Start -------------------------------------------------------------------------------

RequestResult Request::Start(const char* url, RequestSink* sink) {
  sink_ = sink;
  RequestResult result = RequestResult::kOk;
  try {
    DPrint("IInternetProtocol_Start(" + Address(url) + ")");
    result = StartRequest(url != nullptr ? url : "");
  } catch (...) {
    // Only reached when no page can be written at all.
    FailRequest();
    result = RequestResult::kDownloadFailure;
  }
  MakeSinkCalls();
  return result;
}

RequestResult Request::StartRequest(const char* url) {
  // A second Start begins a new request.
  EndRequest();
  sinkCalls_.Clear();
  downloadFinished_ = false;
  started_ = true;
  page_ = std::make_unique<PageBuilder>(sinkCalls_);
  if (!page_->Open()) {
    page_.reset();
    started_ = false;
    sinkCalls_.ReportResult(RequestResult::kDownloadFailure, 0, "0");
    return RequestResult::kDownloadFailure;
  }
  try {
    page_->Prepare(url);
  } catch (const std::exception& e) {
    if (!ReportFailure(kInStart, e)) return RequestResult::kDownloadFailure;
  }
  sinkCalls_.ReportStaticProgress(BindStatus::kMimeTypeAvailable, "text/html");
  sinkCalls_.ReportStaticProgress(BindStatus::kVerifiedMimeTypeAvailable, "text/html");
  sinkCalls_.ReportStaticProgress(BindStatus::kBeginDownloadData, "");
  return RequestResult::kOk;
}

// ---- Read --------------------------------------------------------------------------------

RequestResult Request::Read(void* buffer, std::uint32_t size, std::uint32_t& count) {
  RequestResult result = RequestResult::kOk;
  try {
    result = ReadRequest(buffer, size, count);
  } catch (...) {
    // Only reached when neither the chunk nor the failure could be delivered.
    count = 0;
    FailRequest();
    result = RequestResult::kDownloadFailure;
  }
  MakeSinkCalls();
  return result;
}

RequestResult Request::ReadRequest(void* buffer, std::uint32_t size, std::uint32_t& count) {
  const std::uint32_t countOnEntry = count;
  count = 0;
  if (!started_) return RequestResult::kUnexpected;
  try {
    // A page of many thousand rows takes a Read per row: the line is built only for the log.
    if (DebugSwitch()) {
      DPrint("Read(" + Address(buffer) + "," + std::to_string(size) + "," +
             std::to_string(countOnEntry) + ")");
    }
    if (downloadFinished_) {
      DPrint("Read: Tempfile downloaded.");
      return RequestResult::kFinished;
    }
    if (page_->Complete()) return StreamChunk(buffer, size, count);
    // A step that ends the page with an error block goes on as any other step: the browser is
    // told to come back, and its next Read streams the page. (An empty kOk here would end the
    // download for urlmon's stream readers, which take it as the stream's end, and the browser
    // would show an empty page.)
    page_->Step();
  } catch (const std::exception& e) {
    count = 0;
    if (!page_ || page_->Complete()) {
      // The page writer is gone: the failure has nowhere to go but to the browser.
      FailRequest();
      return RequestResult::kDownloadFailure;
    }
    if (!ReportFailure(kInRead, e)) return RequestResult::kDownloadFailure;
  }
  sinkCalls_.ReportData(DataNotification::kIntermediate, 0, 0);
  return RequestResult::kPending;
}

RequestResult Request::StreamChunk(void* buffer, std::uint32_t size, std::uint32_t& count) {
  // A zero-sized (or missing) buffer can never reach the end of the file; refusing it keeps a
  // caller from asking forever.
  if (size == 0 || buffer == nullptr) return RequestResult::kInvalidArgument;
  DPrint("Read: Tempfile downloading..");
  // The chunk is announced before it is read. A browser that reads from inside ReportData so
  // takes the chunks in their order, and this Read goes on after the last one it took; no
  // chunk waits in this caller's buffer while another caller receives the next.
  sinkCalls_.ReportData(DataNotification::kIntermediate, 0, 0);
  MakeSinkCalls();
  if (downloadFinished_) {
    DPrint("Read: Tempfile downloaded.");
    return RequestResult::kFinished;
  }
  if (!started_) return RequestResult::kUnexpected;  // ended from inside the sink call
  // Straight from the file into the caller's buffer; blanks fill what the file cannot.
  auto* bytes = static_cast<char*>(buffer);
  const std::size_t filled = page_->Read(bytes, size);
  std::memset(bytes + filled, ' ', size - filled);
  count = size;
  const bool endOfFile = filled < size;
  DPrint(std::string("Read: Check EOF ") + (endOfFile ? "True" : "False"));
  if (endOfFile) {
    DPrint("Read: Tempfile EOF");
    downloadFinished_ = true;
    page_->CloseRead();
    sinkCalls_.ReportData(DataNotification::kLast, 100, 100);
    sinkCalls_.ReportStaticProgress(BindStatus::kEndDownloadData, "");
    sinkCalls_.ReportResult(RequestResult::kOk, 0, "0");
  } else {
    DPrint("Read: NO EOF");
  }
  return RequestResult::kOk;
}

// ---- Ending the request ------------------------------------------------------------------

bool Request::ReportFailure(const char* where, const std::exception& failure) {
  const auto* error = dynamic_cast<const RuntimeError*>(&failure);
  const PendingFailure shown = error != nullptr
                                   ? PendingFailure{error->Number(), error->Description()}
                                   : PendingFailure{0, failure.what()};
  if (page_ && page_->WriteFailure(where, shown)) return true;
  FailRequest();
  return false;
}

void Request::FailRequest() {
  EndRequest();
  downloadFinished_ = true;
  try {
    sinkCalls_.ReportResult(RequestResult::kDownloadFailure, 0, "0");
  } catch (...) {
    // Only queueing the call can fail (no memory left): the request is given up already, and
    // nothing else is left to tell the browser.
  }
}

void Request::EndRequest() { page_.reset(); }

RequestResult Request::Terminate(std::uint32_t options) {
  DPrint("IInternetProtocol_Terminate(" + std::to_string(options) + ")");
  EndRequest();
  started_ = false;
  sinkCalls_.Clear();
  sink_ = nullptr;
  return RequestResult::kOk;
}

RequestResult Request::Abort(std::int32_t reason, std::uint32_t options) {
  DPrint("IInternetProtocol_Abort(" + std::to_string(reason) + "," + std::to_string(options) + ")");
  EndRequest();
  started_ = false;
  sinkCalls_.Clear();  // an aborted request has nothing more to tell the browser
  return RequestResult::kOk;
}

// ---- What the protocol does not offer ----------------------------------------------------

RequestResult Request::Continue() {
  DPrint("Continue");
  return RequestResult::kNotImplemented;
}

RequestResult Request::Suspend() { return RequestResult::kNotImplemented; }

RequestResult Request::Resume() {
  DPrint("Resume");
  return RequestResult::kNotImplemented;
}

RequestResult Request::Seek() {
  DPrint("Seek");
  return RequestResult::kNotImplemented;
}

RequestResult Request::LockRequest() {
  DPrint("LockRequest");
  return RequestResult::kNotImplemented;
}

RequestResult Request::UnlockRequest() { return RequestResult::kNotImplemented; }

// ---- Sink --------------------------------------------------------------------------------

void Request::MakeSinkCalls() {
  // From inside a sink call: the loop below, further up, makes what this call queued.
  if (makingSinkCalls_) return;
  struct Making {
    bool& flag;
    explicit Making(bool& f) : flag(f) { flag = true; }
    ~Making() { flag = false; }
  } making(makingSinkCalls_);
  // A Terminate from inside a call lets the sink go; what is queued then goes with it.
  while (sink_ != nullptr && sinkCalls_.MakeNext(*sink_)) {
  }
  if (sink_ == nullptr) sinkCalls_.Clear();
}

}  // namespace vn
