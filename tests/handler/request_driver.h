// Test support: a request driven as a browser drives it, without the library's component
// interfaces. A sink records every call, one line each, as the host's --trace writes them;
// Fetch starts a request, reads until it ends and terminates it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "handler/request.h"
#include "platform/urlmon.h"

namespace vn::test {

class RecordingRequestSink final : public RequestSink {
 public:
  virtual ~RecordingRequestSink() = default;

  void ReportProgress(BindStatus status, const char* text) override {
    calls.push_back("ReportProgress " + std::to_string(static_cast<std::uint32_t>(status)) + " " +
                    text);
  }
  void ReportData(DataNotification flags, std::uint32_t progress,
                  std::uint32_t progressMax) override {
    calls.push_back("ReportData " + std::to_string(static_cast<std::uint32_t>(flags)) + " " +
                    std::to_string(progress) + " " + std::to_string(progressMax));
  }
  void ReportResult(RequestResult result, std::uint32_t error, const char* text) override {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result));
    calls.push_back(std::string("ReportResult ") + hex + " " + std::to_string(error) + " " + text);
  }

  std::vector<std::string> calls;
};

// What a browser received for one URL: the results of Start and of every Read, the bytes and
// counts delivered, and the sink's calls.
struct Response {
  HRESULT start = S_OK;
  std::string bytes;
  std::vector<HRESULT> reads;
  std::vector<ULONG> counts;
  std::vector<std::string> calls;
};

// Start, Read with buffers of `cb` bytes until kFinished (or a failure), Terminate; `afterRead`
// (when given) is called after every Read with the sink's calls so far.
inline Response Fetch(const std::string& url, std::uint32_t cb = 4096,
                      const std::function<void(const std::vector<std::string>&)>& afterRead = {}) {
  Response r;
  RecordingRequestSink sink;
  {
    Request request;
    r.start = static_cast<HRESULT>(request.Start(url.c_str(), &sink));
    if (r.start == S_OK) {
      std::vector<char> buffer(cb);
      for (int guard = 0; guard < 100000; ++guard) {
        std::uint32_t count = 0;
        const RequestResult result = request.Read(buffer.data(), cb, count);
        r.reads.push_back(static_cast<HRESULT>(result));
        r.counts.push_back(count);
        r.bytes.append(buffer.data(), count);
        if (afterRead) afterRead(sink.calls);
        if (result != RequestResult::kOk && result != RequestResult::kPending) break;
      }
    }
    EXPECT_EQ(request.Terminate(0), RequestResult::kOk);
  }
  r.calls = sink.calls;
  return r;
}

}  // namespace vn::test
