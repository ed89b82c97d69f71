// The browser, and Wine's urlmon, call back into the handler from inside its own sink calls:
// Read from ReportData, UnlockRequest, Terminate and the last Release from ReportResult. The
// page must arrive whole and in order, and no freed object may be touched (the sanitizer
// build watches the latter).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

// What the sink does from inside its calls.
struct Behaviour {
  bool readInReportData = false;      // reads at once, until S_FALSE
  bool stopAtPending = false;         // ... or until E_PENDING, as urlmon's readers do
  bool readInReportProgress = false;  // also from inside ReportProgress (so during Start)
  bool unlockInReportData = false;
  bool endInReportResult = false;  // Terminate and Release, dropping the last reference
  int endAtReportData = 0;         // Terminate and Release at this ReportData (1 = the first)
  int abortAtReportData = 0;       // Abort at this ReportData
};

class CallingBackSink final : public IInternetProtocolSink {
 public:
  CallingBackSink(IInternetProtocol* protocol, std::string& bytes, ULONG cb, Behaviour behaviour)
      : protocol_(protocol), bytes_(bytes), buffer_(cb), behaviour_(behaviour) {}
  virtual ~CallingBackSink() = default;

  HRESULT QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }

  HRESULT ReportProgress(ULONG status, LPCWSTR text) override {
    Nested nested(*this);
    calls.push_back("ReportProgress " + std::to_string(status) + " " + text);
    if (behaviour_.readInReportProgress) ReadNow();
    return S_OK;
  }
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG progressMax) override {
    Nested nested(*this);
    calls.push_back("ReportData " + std::to_string(flags) + " " + std::to_string(progress) + " " +
                    std::to_string(progressMax));
    ++dataCalls;
    if (behaviour_.unlockInReportData && !ended) {
      EXPECT_EQ(protocol_->UnlockRequest(), E_NOTIMPL);
    }
    if (dataCalls == behaviour_.abortAtReportData) {
      EXPECT_EQ(protocol_->Abort(E_FAIL, 0), S_OK);
      aborted_ = true;  // nothing more to read
    }
    if (dataCalls == behaviour_.endAtReportData) End();
    if (behaviour_.readInReportData) ReadNow();
    return S_OK;
  }
  HRESULT ReportResult(HRESULT result, DWORD, LPCWSTR) override {
    Nested nested(*this);
    calls.push_back("ReportResult " + std::to_string(result));
    if (behaviour_.endInReportResult) End();
    return S_OK;
  }

  std::vector<std::string> calls;
  ULONG references = 1;
  int dataCalls = 0;
  int maxDepth = 0;
  bool ended = false;  // the sink gave up the handler; nobody may call it any more

 private:
  struct Nested {
    explicit Nested(CallingBackSink& s) : sink(s) {
      sink.maxDepth = std::max(sink.maxDepth, ++sink.depth_);
    }
    ~Nested() { --sink.depth_; }
    CallingBackSink& sink;
  };

  void ReadNow() {
    for (int guard = 0; guard < 100000 && !ended && !aborted_; ++guard) {
      ULONG count = 0;
      const HRESULT hr = protocol_->Read(buffer_.data(), static_cast<ULONG>(buffer_.size()), &count);
      bytes_.append(buffer_.data(), count);
      if (hr == S_FALSE || (hr == E_PENDING && behaviour_.stopAtPending)) return;
      if (hr != S_OK && hr != E_PENDING) {
        ADD_FAILURE() << "Read from inside a sink call: " << hr;
        return;
      }
    }
  }
  void End() {
    if (ended) return;
    ended = true;
    EXPECT_EQ(protocol_->Terminate(0), S_OK);
    protocol_->Release();  // the last reference
  }

  IInternetProtocol* protocol_;
  std::string& bytes_;
  std::vector<char> buffer_;
  Behaviour behaviour_;
  int depth_ = 0;
  bool aborted_ = false;
};

struct Outcome {
  HRESULT start = S_OK;
  std::string bytes;  // in the order the callers received them
  std::vector<std::string> calls;
  int maxDepth = 0;
};

class ReentrancyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->CopyProgramFolder();
    library_ = std::make_unique<Library>(program_);
  }
  void TearDown() override {
    library_.reset();
    folder_.reset();
  }

  // Start, then the browser's own Read loop, with a sink that calls back as told; Terminate
  // and Release unless the sink did so itself.
  Outcome Fetch(const std::string& url, Behaviour behaviour, ULONG cb = 4096) {
    Outcome o;
    IInternetProtocol* protocol = library_->Create();
    CallingBackSink sink(protocol, o.bytes, cb, behaviour);
    o.start = protocol->Start(url.c_str(), &sink, nullptr, 0, 0);
    std::vector<char> buffer(cb);
    for (int guard = 0; guard < 100000 && !sink.ended && o.start == S_OK; ++guard) {
      ULONG count = 0;
      const HRESULT hr = protocol->Read(buffer.data(), cb, &count);
      o.bytes.append(buffer.data(), count);
      if (hr != S_OK && hr != E_PENDING) break;
    }
    if (!sink.ended) {
      EXPECT_EQ(protocol->Terminate(0), S_OK);
      protocol->Release();
    }
    EXPECT_EQ(sink.references, 1u) << "every reference to the sink is given back";
    EXPECT_EQ(library_->canUnloadNow(), S_OK) << "the handler is gone";
    EXPECT_TRUE(FilesIn(folder_->Tmp()).empty());
    o.calls = sink.calls;
    o.maxDepth = sink.maxDepth;
    return o;
  }

  std::string TestPage() const {
    return ExpectedHead(program_) + "<b>Testbefehl von Varnolis</b>\r\n" + ExpectedEnd();
  }
  // An unknown command long enough for several chunks; its page is complete after Start.
  std::string LongCommand() const { return std::string(3 * 4096, 'x'); }
  std::string LongCommandPage() const {
    return ExpectedHead(program_) +
           ExpectedErrorBlock(program_, 153, "Unbekannter Befehl '" + LongCommand() + "'", true) +
           ExpectedEnd();
  }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
};

const std::vector<std::string> kEnd = {"ReportData 4 100 100", "ReportProgress 6 ",
                                       "ReportResult 0"};

TEST_F(ReentrancyTest, ReadingInsideReportDataDeliversThePageWholeAndInOrder) {
  for (bool stopAtPending : {false, true}) {
    for (bool unlock : {false, true}) {
      SCOPED_TRACE(std::string(stopAtPending ? "until E_PENDING" : "until S_FALSE") +
                   (unlock ? ", with UnlockRequest" : ""));
      Behaviour b{.readInReportData = true, .stopAtPending = stopAtPending, .unlockInReportData = unlock};
      Outcome o = Fetch("varnolis://test", b);
      EXPECT_EQ(o.bytes, Padded(TestPage(), 4096));
      // The sink is never called from inside one of its own calls: no recursion, however long
      // the page.
      EXPECT_EQ(o.maxDepth, 1);
      ASSERT_GE(o.calls.size(), 3u);
      EXPECT_EQ(std::vector<std::string>(o.calls.end() - 3, o.calls.end()), kEnd);
      EXPECT_EQ(std::count(o.calls.begin(), o.calls.end(), "ReportResult 0"), 1);

      // A page that is complete after Start: the browser's first Read already streams.
      o = Fetch("varnolis://" + LongCommand(), b);
      EXPECT_EQ(o.bytes, Padded(LongCommandPage(), 4096));
      EXPECT_EQ(o.maxDepth, 1);
      EXPECT_EQ(std::count(o.calls.begin(), o.calls.end(), "ReportResult 0"), 1);
    }
  }
}

TEST_F(ReentrancyTest, ReadingInsideTheProgressCallsOfStartFindsTheRequestPrepared) {
  Behaviour b{.readInReportData = true, .readInReportProgress = true};
  Outcome o = Fetch("varnolis://info", b);
  ASSERT_EQ(o.start, S_OK);
  // The info page, not an unknown-command page built before the command was prepared.
  EXPECT_NE(o.bytes.find("CLASS=\"infotitle\""), std::string::npos);
  EXPECT_EQ(o.bytes.find("errortitle"), std::string::npos);
  EXPECT_EQ(o.bytes.substr(o.bytes.rfind("</HTML>\r\n") + 9).find_first_not_of(' '),
            std::string::npos);
  EXPECT_EQ(o.maxDepth, 1);

  o = Fetch("varnolis://test", b);
  EXPECT_EQ(o.bytes, Padded(TestPage(), 4096));
}

TEST_F(ReentrancyTest, TerminateAndLastReleaseInsideReportResult) {
  for (bool readInside : {false, true}) {
    SCOPED_TRACE(readInside ? "reading inside ReportData" : "reading outside");
    Behaviour b{.readInReportData = readInside, .endInReportResult = true};
    Outcome o = Fetch("varnolis://test", b);
    EXPECT_EQ(o.bytes, Padded(TestPage(), 4096));
    EXPECT_EQ(std::vector<std::string>(o.calls.end() - 3, o.calls.end()), kEnd);

    o = Fetch("varnolis://" + LongCommand(), b, 1000);
    EXPECT_EQ(o.bytes, Padded(LongCommandPage(), 1000));
  }
}

TEST_F(ReentrancyTest, EndingTheRequestInsideReportDataLeavesNothingBehind) {
  // While the page is built, and while it is streamed; by Terminate with the last Release, or
  // by Abort (the browser then still calls Terminate).
  for (int at : {1, 2, 4}) {
    SCOPED_TRACE(at);
    Outcome o = Fetch("varnolis://info", Behaviour{.endAtReportData = at});
    EXPECT_EQ(std::count(o.calls.begin(), o.calls.end(), "ReportResult 0"), 0);
    o = Fetch("varnolis://info", Behaviour{.readInReportData = true, .endAtReportData = at});
    o = Fetch("varnolis://" + LongCommand(), Behaviour{.abortAtReportData = at});
    EXPECT_EQ(std::count(o.calls.begin(), o.calls.end(), "ReportResult 0"), 0);
    o = Fetch("varnolis://info", Behaviour{.readInReportData = true, .abortAtReportData = at});
  }
}

}  // namespace
}  // namespace vn::test
