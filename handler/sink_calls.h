// SinkCalls: the calls the protocol handler makes to the browser's sink, kept in order until
// the handler has finished the step that made them. A browser calls back into the handler from
// inside these calls (Read from ReportData, Terminate and the last Release from ReportResult);
// made only between steps, such a call never finds a step half done, and a browser that reads
// from inside ReportData drives the page in a loop instead of an ever deeper recursion.
#pragma once

#include <cstdint>
#include <vector>
#include <string>

#include "platform/urlmon.h"

namespace vn {

class SinkCalls {
 public:
  void ReportProgress(ULONG status, std::string text);
  // `text` lives as long as the program (a literal): the call keeps only the pointer, so a
  // page that reports its progress at every row allocates nothing for it.
  void ReportStaticProgress(ULONG status, const char* text);
  void ReportData(DWORD flags, ULONG progress, ULONG progressMax);
  void ReportResult(HRESULT result, DWORD error, std::string text);

  // Takes the oldest call off the queue and makes it on `sink`; false when none is queued.
  // Calls queued or cleared while the sink runs are seen by the next MakeNext.
  bool MakeNext(IInternetProtocolSink& sink);
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
