#include "handler/sink_calls.h"

#include <cstddef>
#include <utility>

namespace vn {

namespace {

constexpr std::size_t kCompactAfter = 64;

}  // namespace

void SinkCalls::ReportProgress(BindStatus status, std::string text) {
  calls_.push_back(
      {Method::kReportProgress, static_cast<std::uint32_t>(status), 0, 0, std::move(text)});
}

void SinkCalls::ReportStaticProgress(BindStatus status, const char* text) {
  calls_.push_back({Method::kReportProgress, static_cast<std::uint32_t>(status), 0, 0, {}, text});
}

void SinkCalls::ReportData(DataNotification flags, std::uint32_t progress,
                           std::uint32_t progressMax) {
  calls_.push_back(
      {Method::kReportData, static_cast<std::uint32_t>(flags), progress, progressMax, {}});
}

void SinkCalls::ReportResult(RequestResult result, std::uint32_t error, std::string text) {
  calls_.push_back(
      {Method::kReportResult, static_cast<std::uint32_t>(result), error, 0, std::move(text)});
}

bool SinkCalls::MakeNext(RequestSink& sink) {
  if (next_ == calls_.size()) {
    Clear();
    return false;
  }
  // Taken out before the call: the sink may queue or clear calls while it runs.
  const Call call = std::move(calls_[next_++]);
  if (next_ == calls_.size()) {
    Clear();
  } else if (next_ >= kCompactAfter) {
    // A sink that keeps queueing calls from inside its calls never lets the queue run empty:
    // the calls already made go, so that the queue holds only what is still to be made.
    calls_.erase(calls_.begin(), calls_.begin() + static_cast<std::ptrdiff_t>(next_));
    next_ = 0;
  }
  switch (call.method) {
    case Method::kReportProgress:
      sink.ReportProgress(static_cast<BindStatus>(call.first),
                          call.staticText != nullptr ? call.staticText : call.text.c_str());
      break;
    case Method::kReportData:
      sink.ReportData(static_cast<DataNotification>(call.first), call.second, call.third);
      break;
    case Method::kReportResult:
      sink.ReportResult(static_cast<RequestResult>(call.first), call.second, call.text.c_str());
      break;
  }
  return true;
}

}  // namespace vn
