// SinkCalls: the calls a request makes to the browser's sink, kept in order until the request
// has finished the step that made them. A browser calls back into the request from inside these
// calls (Read from ReportData, Terminate and the last Release from ReportResult); made only
// between steps, such a call never finds a step half done, and a browser that reads from inside
// ReportData drives the page in a loop instead of an ever deeper recursion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "handler/request_sink.h"

namespace vn {

class SinkCalls {
 public:
  void ReportProgress(BindStatus status, std::string text);
  // `text` lives as long as the program (a literal): the call keeps only the pointer, so a
  // page that reports its progress at every row allocates nothing for it.
  void ReportStaticProgress(BindStatus status, const char* text);
  void ReportData(DataNotification flags, std::uint32_t progress, std::uint32_t progressMax);
  void ReportResult(RequestResult result, std::uint32_t error, std::string text);

  // Takes the oldest call off the queue and makes it on `sink`; false when none is queued.
  // Calls queued or cleared while the sink runs are seen by the next MakeNext.
  bool MakeNext(RequestSink& sink);
  void Clear() {
    calls_.clear();
    next_ = 0;
  }

 private:
  enum class Method { kReportProgress, kReportData, kReportResult };
  struct Call {
    Method method;
    std::uint32_t first;
    std::uint32_t second;
    std::uint32_t third;
    std::string text;
    const char* staticText = nullptr;  // instead of `text` when set
  };

  // The queue: calls_[next_] is the oldest call not yet made. A vector that is emptied
  // whenever every call is made keeps its storage, so a step's calls allocate nothing.
  std::vector<Call> calls_;
  std::size_t next_ = 0;
};

}  // namespace vn
