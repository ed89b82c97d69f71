// The queue of sink calls: made in the order they were queued, also when the sink queues
// further calls from inside its own calls for a long time (a browser that reads from inside
// ReportData), and texts of either kind arrive as they were given.
#include "handler/sink_calls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

class RecordingSink final : public IInternetProtocolSink {
 public:
  virtual ~RecordingSink() = default;

  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT Switch(PROTOCOLDATA*) override { return S_OK; }
  HRESULT ReportProgress(ULONG status, LPCWSTR text) override {
    made.push_back("P" + std::to_string(status) + " " + text);
    return S_OK;
  }
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG) override {
    made.push_back("D" + std::to_string(flags) + " " + std::to_string(progress));
    // From inside: two more calls for each one, as a Read inside ReportData queues them.
    if (queue != nullptr && progress < lastProgress) {
      queue->ReportStaticProgress(5, "Creating Table ...");
      queue->ReportData(1, progress + 1, 0);
    }
    return S_OK;
  }
  HRESULT ReportResult(HRESULT result, DWORD, LPCWSTR text) override {
    made.push_back("R" + std::to_string(result) + " " + text);
    if (queue != nullptr && clearOnResult) {
      queue->Clear();
      queue->ReportData(8, 100, 100);
    }
    return S_OK;
  }

  SinkCalls* queue = nullptr;
  ULONG lastProgress = 0;
  bool clearOnResult = false;
  std::vector<std::string> made;
};

TEST(SinkCallsTest, CallsQueuedFromInsideCallsAreMadeInOrderAcrossAThousandSteps) {
  SinkCalls calls;
  RecordingSink sink;
  sink.queue = &calls;
  sink.lastProgress = 1000;
  std::string dynamic = "Info: rubrik Kunden";
  calls.ReportProgress(2, dynamic);
  dynamic = "changed after queueing";
  calls.ReportStaticProgress(5, "Creating Menu ...");
  calls.ReportData(1, 0, 0);
  calls.ReportData(1, 990, 0);
  while (calls.MakeNext(sink)) {
  }
  std::vector<std::string> expected = {"P2 Info: rubrik Kunden", "P5 Creating Menu ...", "D1 0"};
  // The second ReportData was queued before the calls the first one queues from inside.
  expected.push_back("D1 990");
  for (ULONG step = 1, late = 991; step <= 1000; ++step) {
    expected.push_back("P5 Creating Table ...");
    expected.push_back("D1 " + std::to_string(step));
    if (late <= 1000) {
      expected.push_back("P5 Creating Table ...");
      expected.push_back("D1 " + std::to_string(late++));
    }
  }
  ASSERT_EQ(sink.made.size(), expected.size());
  EXPECT_EQ(sink.made, expected);
  EXPECT_FALSE(calls.MakeNext(sink));
}

TEST(SinkCallsTest, ClearFromInsideACallDropsWhatIsQueuedAndTheQueueWorksOn) {
  RecordingSink sink;
  SinkCalls calls;
  sink.queue = &calls;
  sink.clearOnResult = true;
  calls.ReportResult(0, 0, "0");
  calls.ReportData(1, 5, 0);
  calls.ReportData(1, 6, 0);
  while (calls.MakeNext(sink)) {
  }
  EXPECT_EQ(sink.made, (std::vector<std::string>{"R0 0", "D8 100"}));
}

}  // namespace
}  // namespace vn
