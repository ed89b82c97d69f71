#include "handler/win32/protocol_handler.h"

#include <new>
#include <string>

#include "platform/win32/wide.h"

namespace vn::win32 {
namespace {

constexpr HRESULT Result(RequestResult result) { return static_cast<HRESULT>(result); }

static_assert(Result(RequestResult::kOk) == S_OK && Result(RequestResult::kFinished) == S_FALSE &&
              Result(RequestResult::kPending) == E_PENDING &&
              Result(RequestResult::kNotImplemented) == E_NOTIMPL &&
              Result(RequestResult::kUnexpected) == E_UNEXPECTED &&
              Result(RequestResult::kInvalidArgument) == E_INVALIDARG &&
              Result(RequestResult::kDownloadFailure) == INET_E_DOWNLOAD_FAILURE);

constexpr ULONG Status(BindStatus status) { return static_cast<ULONG>(status); }

static_assert(Status(BindStatus::kFindingResource) == BINDSTATUS_FINDINGRESOURCE &&
              Status(BindStatus::kConnecting) == BINDSTATUS_CONNECTING &&
              Status(BindStatus::kBeginDownloadData) == BINDSTATUS_BEGINDOWNLOADDATA &&
              Status(BindStatus::kDownloadingData) == BINDSTATUS_DOWNLOADINGDATA &&
              Status(BindStatus::kEndDownloadData) == BINDSTATUS_ENDDOWNLOADDATA &&
              Status(BindStatus::kMimeTypeAvailable) == BINDSTATUS_MIMETYPEAVAILABLE &&
              Status(BindStatus::kVerifiedMimeTypeAvailable) ==
                  BINDSTATUS_VERIFIEDMIMETYPEAVAILABLE);
static_assert(static_cast<DWORD>(DataNotification::kIntermediate) ==
                  BSCF_INTERMEDIATEDATANOTIFICATION &&
              static_cast<DWORD>(DataNotification::kLast) == BSCF_LASTDATANOTIFICATION);

// A text for the browser; with no memory left for it, an empty one (the texts only inform).
std::wstring Wide(const char* text) noexcept {
  try {
    return Widen(text != nullptr ? text : "");
  } catch (const std::bad_alloc&) {
    return std::wstring();
  }
}

}  // namespace

HRESULT ProtocolHandler::Create(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  try {
    return ComPtr<ProtocolHandler>::Adopt(new ProtocolHandler())->QueryInterface(riid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // No exception may leave a component call: the browser learns the failure from the result.
    return E_FAIL;
  }
}

STDMETHODIMP ProtocolHandler::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IInternetProtocolRoot) ||
      IsEqualIID(riid, IID_IInternetProtocol)) {
    *object = static_cast<::IInternetProtocol*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ProtocolHandler::AddRef() { return static_cast<ULONG>(++references_); }

STDMETHODIMP_(ULONG) ProtocolHandler::Release() {
  LONG left = --references_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// The calls that may reach the sink, or end the request from inside one of its calls, hold a
// reference of their own: the browser may drop its last one from inside a sink call.

STDMETHODIMP ProtocolHandler::Start(LPCWSTR szUrl, ::IInternetProtocolSink* pOIProtSink,
                                    ::IInternetBindInfo* /*pOIBindInfo*/, DWORD /*grfPI*/,
                                    HANDLE_PTR /*dwReserved*/) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  try {
    const std::string url = szUrl != nullptr ? Narrow(szUrl) : std::string();
    sink_ = ComPtr<::IInternetProtocolSink>::Share(pOIProtSink);
    return Result(request_.Start(url.c_str(), sink_ ? this : nullptr));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP ProtocolHandler::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  std::uint32_t count = 0;
  const HRESULT hr = Result(request_.Read(pv, cb, count));
  if (pcbRead != nullptr) *pcbRead = count;
  return hr;
}

STDMETHODIMP ProtocolHandler::Terminate(DWORD dwOptions) {
  const auto self = ComPtr<ProtocolHandler>::Share(this);
  const RequestResult result = request_.Terminate(dwOptions);
  sink_.reset();
  return Result(result);
}

STDMETHODIMP ProtocolHandler::Abort(HRESULT hrReason, DWORD dwOptions) {
  return Result(request_.Abort(hrReason, dwOptions));
}

STDMETHODIMP ProtocolHandler::Continue(PROTOCOLDATA* /*pProtocolData*/) {
  return Result(request_.Continue());
}

STDMETHODIMP ProtocolHandler::Suspend() { return Result(request_.Suspend()); }

STDMETHODIMP ProtocolHandler::Resume() { return Result(request_.Resume()); }

STDMETHODIMP ProtocolHandler::Seek(LARGE_INTEGER /*dlibMove*/, DWORD /*dwOrigin*/,
                                   ULARGE_INTEGER* /*plibNewPosition*/) {
  return Result(request_.Seek());
}

STDMETHODIMP ProtocolHandler::LockRequest(DWORD /*dwOptions*/) {
  return Result(request_.LockRequest());
}

STDMETHODIMP ProtocolHandler::UnlockRequest() { return Result(request_.UnlockRequest()); }

// Each sink call holds the sink for its duration: a Terminate inside it lets go of the
// handler's own reference.

void ProtocolHandler::ReportProgress(BindStatus status, const char* text) {
  if (const auto sink = sink_) sink->ReportProgress(Status(status), Wide(text).c_str());
}

void ProtocolHandler::ReportData(DataNotification flags, std::uint32_t progress,
                                 std::uint32_t progressMax) {
  if (const auto sink = sink_) sink->ReportData(static_cast<DWORD>(flags), progress, progressMax);
}

void ProtocolHandler::ReportResult(RequestResult result, std::uint32_t error, const char* text) {
  if (const auto sink = sink_) sink->ReportResult(Result(result), error, Wide(text).c_str());
}

}  // namespace vn::win32
