#include "handler/posix/protocol_handler.h"

namespace vn {
namespace {

constexpr HRESULT Result(RequestResult result) { return static_cast<HRESULT>(result); }

static_assert(Result(RequestResult::kOk) == S_OK && Result(RequestResult::kFinished) == S_FALSE &&
              Result(RequestResult::kPending) == E_PENDING &&
              Result(RequestResult::kNotImplemented) == E_NOTIMPL &&
              Result(RequestResult::kUnexpected) == E_UNEXPECTED &&
              Result(RequestResult::kInvalidArgument) == E_INVALIDARG &&
              Result(RequestResult::kDownloadFailure) == INET_E_DOWNLOAD_FAILURE);

}  // namespace

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

// The calls that may reach the sink, or end the request from inside one of its calls, hold a
// reference of their own: a sink call may drop the browser's last one.

HRESULT ProtocolHandler::Start(const char* szUrl, IInternetProtocolSink* pOIProtSink,
                               IInternetBindInfo* /*pOIBindInfo*/, DWORD /*grfPI*/,
                               HANDLE_PTR /*dwReserved*/) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  sink_ = ComPtr<IInternetProtocolSink>::Share(pOIProtSink);
  return Result(request_.Start(szUrl, sink_ ? this : nullptr));
}

HRESULT ProtocolHandler::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  ULONG ignored = 0;
  return Result(request_.Read(pv, cb, pcbRead != nullptr ? *pcbRead : ignored));
}

HRESULT ProtocolHandler::Terminate(DWORD dwOptions) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  const RequestResult result = request_.Terminate(dwOptions);
  sink_.reset();
  return Result(result);
}

HRESULT ProtocolHandler::Abort(HRESULT hrReason, DWORD dwOptions) {
  return Result(request_.Abort(hrReason, dwOptions));
}

HRESULT ProtocolHandler::Continue(PROTOCOLDATA* /*pProtocolData*/) {
  return Result(request_.Continue());
}

HRESULT ProtocolHandler::Suspend() { return Result(request_.Suspend()); }

HRESULT ProtocolHandler::Resume() { return Result(request_.Resume()); }

HRESULT ProtocolHandler::Seek(std::int64_t /*dlibMove*/, DWORD /*dwOrigin*/,
                              std::uint64_t* /*plibNewPosition*/) {
  return Result(request_.Seek());
}

HRESULT ProtocolHandler::LockRequest(DWORD /*dwOptions*/) { return Result(request_.LockRequest()); }

HRESULT ProtocolHandler::UnlockRequest() { return Result(request_.UnlockRequest()); }

// Each sink call holds the sink for its duration: a Terminate inside it lets go of the
// handler's own reference.

void ProtocolHandler::ReportProgress(BindStatus status, const char* text) {
  if (const auto sink = sink_) sink->ReportProgress(static_cast<ULONG>(status), text);
}

void ProtocolHandler::ReportData(DataNotification flags, std::uint32_t progress,
                                 std::uint32_t progressMax) {
  if (const auto sink = sink_) sink->ReportData(static_cast<DWORD>(flags), progress, progressMax);
}

void ProtocolHandler::ReportResult(RequestResult result, std::uint32_t error, const char* text) {
  if (const auto sink = sink_) sink->ReportResult(Result(result), error, text);
}

}  // namespace vn
