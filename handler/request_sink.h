// What a request tells the browser while it runs, and the results it gives back, in plain
// types: numbers with the values the browser's protocol interfaces give them, texts in UTF-8.
// A platform's component class turns them into its interfaces' types.
#pragma once

#include <cstdint>

namespace vn {

// The results of a request's methods, also the result a request reports at its end.
enum class RequestResult : std::int32_t {
  kOk = 0,
  kFinished = 1,  // the page is delivered: nothing more to read
  kPending = static_cast<std::int32_t>(0x8000000Au),
  kNotImplemented = static_cast<std::int32_t>(0x80004001u),
  kUnexpected = static_cast<std::int32_t>(0x8000FFFFu),
  kInvalidArgument = static_cast<std::int32_t>(0x80070057u),
  kDownloadFailure = static_cast<std::int32_t>(0x800C0008u),
};

// What ReportProgress says the request is doing.
enum class BindStatus : std::uint32_t {
  kFindingResource = 1,
  kConnecting = 2,
  kBeginDownloadData = 4,
  kDownloadingData = 5,
  kEndDownloadData = 6,
  kMimeTypeAvailable = 13,
  kVerifiedMimeTypeAvailable = 22,
};

// What ReportData says of the data.
enum class DataNotification : std::uint32_t {
  kIntermediate = 2,
  kLast = 4,
};

// The browser's side of a request.
class RequestSink {
 public:
  virtual void ReportProgress(BindStatus status, const char* text) = 0;
  virtual void ReportData(DataNotification flags, std::uint32_t progress,
                          std::uint32_t progressMax) = 0;
  virtual void ReportResult(RequestResult result, std::uint32_t error, const char* text) = 0;

 protected:
  ~RequestSink() = default;
};

}  // namespace vn
