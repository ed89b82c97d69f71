#include "handler/posix/protocol_handler.h"

namespace vn {

static_assert(ProtocolHandler::Result(RequestResult::kOk) == S_OK &&
              ProtocolHandler::Result(RequestResult::kFinished) == S_FALSE &&
              ProtocolHandler::Result(RequestResult::kPending) == E_PENDING &&
              ProtocolHandler::Result(RequestResult::kNotImplemented) == E_NOTIMPL &&
              ProtocolHandler::Result(RequestResult::kUnexpected) == E_UNEXPECTED &&
              ProtocolHandler::Result(RequestResult::kInvalidArgument) == E_INVALIDARG &&
              ProtocolHandler::Result(RequestResult::kDownloadFailure) == INET_E_DOWNLOAD_FAILURE);

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
