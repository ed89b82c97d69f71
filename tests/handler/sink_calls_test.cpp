// The queue of sink calls: made in the order they were queued, also when the sink queues
// further calls from inside its own calls for a long time (a browser that reads from inside
// ReportData), and texts of either kind arrive as they were given.
#include "handler/sink_calls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vn {
namespace {

// Notification flags the request itself never sends: the queue passes any value on.
constexpr auto kFirst = static_cast<DataNotification>(1);
constexpr auto kFullyAvailable = static_cast<DataNotification>(8);

class RecordingSink final : public RequestSink {
 public:
  virtual ~RecordingSink() = default;

  void ReportProgress(BindStatus status, const char* text) override {
    made.push_back("P" + std::to_string(static_cast<std::uint32_t>(status)) + " " + text);
  }
  void ReportData(DataNotification flags, std::uint32_t progress, std::uint32_t) override {
    made.push_back("D" + std::to_string(static_cast<std::uint32_t>(flags)) + " " +
                   std::to_string(progress));
    // From inside: two more calls for each one, as a Read inside ReportData queues them.
    if (queue != nullptr && progress < lastProgress) {
      queue->ReportStaticProgress(BindStatus::kDownloadingData, "Creating Table ...");
      queue->ReportData(kFirst, progress + 1, 0);
    }
  }
  void ReportResult(RequestResult result, std::uint32_t, const char* text) override {
    made.push_back("R" + std::to_string(static_cast<std::int32_t>(result)) + " " + text);
    if (queue != nullptr && clearOnResult) {
      queue->Clear();
      queue->ReportData(kFullyAvailable, 100, 100);
    }
  }

  SinkCalls* queue = nullptr;
  std::uint32_t lastProgress = 0;
  bool clearOnResult = false;
  std::vector<std::string> made;
};

TEST(SinkCallsTest, CallsQueuedFromInsideCallsAreMadeInOrderAcrossAThousandSteps) {
  SinkCalls calls;
  RecordingSink sink;
  sink.queue = &calls;
  sink.lastProgress = 1000;
  std::string dynamic = "Info: rubrik Kunden";
  calls.ReportProgress(BindStatus::kConnecting, dynamic);
  dynamic = "changed after queueing";
  calls.ReportStaticProgress(BindStatus::kDownloadingData, "Creating Menu ...");
  calls.ReportData(kFirst, 0, 0);
  calls.ReportData(kFirst, 990, 0);
  while (calls.MakeNext(sink)) {
  }
  std::vector<std::string> expected = {"P2 Info: rubrik Kunden", "P5 Creating Menu ...", "D1 0"};
  // The second ReportData was queued before the calls the first one queues from inside.
  expected.push_back("D1 990");
  for (std::uint32_t step = 1, late = 991; step <= 1000; ++step) {
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
  calls.ReportResult(RequestResult::kOk, 0, "0");
  calls.ReportData(kFirst, 5, 0);
  calls.ReportData(kFirst, 6, 0);
  while (calls.MakeNext(sink)) {
  }
  EXPECT_EQ(sink.made, (std::vector<std::string>{"R0 0", "D8 100"}));
}

}  // namespace
}  // namespace vn
