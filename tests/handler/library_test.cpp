// The library as a browser reaches it: a copy of the built program folder, loaded with dlopen
// and driven only through its exported entry points.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

class LibraryTest : public ::testing::Test {
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
  std::vector<std::string> TempFilesLeft() const { return FilesIn(folder_->Tmp()); }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
};

TEST_F(LibraryTest, InfoPageShowsVersionMakerAndTheLibraryPath) {
  Response r = Get(*library_, "varnolis://info");
  const std::string res = program_ + "/ResourceHTML/";
  const std::string table =
      "<TABLE  WIDTH=\"320\"border=\"0\" cellpadding=\"0\" cellspacing=\"0\">";
  const std::string page =
      ExpectedHead(program_) + "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" + res +
      "clhtmlinfo.vbs\"></SCRIPT>" + table + "<TR><TD  CLASS=\"infotitle\"><IMG  SRC=\"" + res +
      "qxlogo.gif\" ALIGN=\"absmiddle\">Varnolis</TD></TR></TABLE>\r\n" + table +
      "<TR><TD  CLASS=\"infotext\">Version 1.0.0.1<BR>Copyright (c) 2026 Varnolis Software<BR>"
      "Produziert von Varnolis Software<BR>Internet <A  HREF=\"http://www.varnolis.example\">"
      "www.varnolis.example</A><BR>Protokoll Handler " +
      program_ + "/libvarnolis.so<BR>Debug-Log " + program_ + "/debug.log (sonst " +
      folder_->Root() +
      "/home/.local/state/varnolis/debug.log)<BR>"
      "</TD></TR></TABLE>\r\n"
      "\r\n" +  // the third piece is empty
      ExpectedEnd();
  EXPECT_EQ(r.bytes, Padded(page, 4096));
  EXPECT_EQ(r.reads.size(), 3 + Padded(page, 4096).size() / 4096 + 1);
  EXPECT_EQ(r.calls[1], "ReportProgress 2 Info: info ");
}

TEST_F(LibraryTest, PageFileIsPrivateWhileItExistsAndGoneAfterTerminateOrAbort) {
  for (bool abort : {false, true}) {
    RecordingSink sink;
    IInternetProtocol* p = library_->Create();
    const int fdsBefore = OpenDescriptors();
    ASSERT_EQ(p->Start("varnolis://test", &sink, nullptr, 0, 0), S_OK);
    auto files = TempFilesLeft();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].substr(0, 3), "~HT");
    EXPECT_EQ(files[0].size(), 11u);  // ~HT + four hex digits + .tmp
    EXPECT_EQ(files[0].substr(7), ".tmp");
    struct stat st {};
    ASSERT_EQ(stat((folder_->Tmp() + "/" + files[0]).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    char buffer[512];
    ULONG count = 0;
    EXPECT_EQ(p->Read(buffer, sizeof buffer, &count), E_PENDING);
    EXPECT_EQ(p->Read(buffer, sizeof buffer, &count), S_OK);  // streaming: the read file is open
    EXPECT_EQ(OpenDescriptors(), fdsBefore + 1);
    EXPECT_EQ(abort ? p->Abort(E_FAIL, 0) : p->Terminate(0), S_OK);
    EXPECT_EQ(OpenDescriptors(), fdsBefore);
    EXPECT_TRUE(TempFilesLeft().empty());
    // After the end of the request there is nothing more to read.
    EXPECT_EQ(p->Read(buffer, sizeof buffer, &count), E_UNEXPECTED);
    p->Release();
    EXPECT_EQ(sink.references, 1u);
  }
}

// The page file is open for reading only from the moment the page is complete: a process that
// dies while the page is streamed leaves no customer data in the temporary folder.
TEST_F(LibraryTest, PageFileHasNoNameOnceThePageIsCompleteAndStillStreamsWhole) {
  RecordingSink sink;
  IInternetProtocol* p = library_->Create();
  ASSERT_EQ(p->Start("varnolis://test", &sink, nullptr, 0, 0), S_OK);
  EXPECT_EQ(TempFilesLeft().size(), 1u);  // being built
  std::vector<char> buffer(1000);
  ULONG count = 0;
  ASSERT_EQ(p->Read(buffer.data(), 1000, &count), E_PENDING);  // complete now
  EXPECT_TRUE(TempFilesLeft().empty());
  std::string bytes;
  HRESULT hr = S_OK;
  while ((hr = p->Read(buffer.data(), 1000, &count)) == S_OK) bytes.append(buffer.data(), count);
  EXPECT_EQ(hr, S_FALSE);
  EXPECT_EQ(
      bytes,
      Padded(ExpectedHead(program_) + "<b>Testbefehl von Varnolis</b>\r\n" + ExpectedEnd(), 1000));
  p->Terminate(0);
  p->Release();

  // A page ended by an error block in Start is complete at once.
  p = library_->Create();
  ASSERT_EQ(p->Start("varnolis://foo", &sink, nullptr, 0, 0), S_OK);
  EXPECT_TRUE(TempFilesLeft().empty());
  p->Terminate(0);
  p->Release();
}

TEST_F(LibraryTest, AHostKilledWhileStreamingLeavesNoPageFile) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t host = fork();
  ASSERT_GE(host, 0);
  if (host == 0) {
    // The host: the page is built and its first chunk read; then it waits to be killed.
    RecordingSink sink;
    IInternetProtocol* p = library_->Create();
    char buffer[512];
    ULONG count = 0;
    const bool streaming = p->Start("varnolis://test", &sink, nullptr, 0, 0) == S_OK &&
                           p->Read(buffer, sizeof buffer, &count) == E_PENDING &&
                           p->Read(buffer, sizeof buffer, &count) == S_OK;
    const char state = streaming ? 's' : 'x';
    if (write(ready[1], &state, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char state = 0;
  ASSERT_EQ(read(ready[0], &state, 1), 1);
  close(ready[0]);
  EXPECT_EQ(state, 's');
  kill(host, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(host, &status, 0), host);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(LibraryTest, UnimplementedMethodsAndEarlyTerminate) {
  RecordingSink sink;
  IInternetProtocol* p = library_->Create();
  EXPECT_EQ(p->Seek(0, 0, nullptr), E_NOTIMPL);
  EXPECT_EQ(p->LockRequest(0), E_NOTIMPL);
  EXPECT_EQ(p->UnlockRequest(), E_NOTIMPL);
  EXPECT_EQ(p->Continue(nullptr), E_NOTIMPL);
  EXPECT_EQ(p->Suspend(), E_NOTIMPL);
  EXPECT_EQ(p->Resume(), E_NOTIMPL);
  ASSERT_EQ(p->Start("varnolis://test", &sink, nullptr, 0, 0), S_OK);
  EXPECT_EQ(p->Terminate(0), S_OK);
  EXPECT_TRUE(TempFilesLeft().empty());
  EXPECT_EQ(library_->canUnloadNow(), S_FALSE);
  p->Release();
  EXPECT_EQ(library_->canUnloadNow(), S_OK);
}

TEST_F(LibraryTest, ClassObjectOnlyForTheProtocolHandler) {
  void* object = reinterpret_cast<void*>(1);
  CLSID other = CLSID_ProtocolHandler;
  other.Data1 ^= 1;
  EXPECT_EQ(library_->getClassObject(&other, &IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(library_->getClassObject(&CLSID_ProtocolHandler, &IID_IInternetProtocolSink, &object),
            E_NOINTERFACE);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(library_->getClassObject(&CLSID_ProtocolHandler, &IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(factory->LockServer(1), S_OK);
  factory->Release();
  EXPECT_EQ(library_->canUnloadNow(), S_FALSE);
  ASSERT_EQ(library_->getClassObject(&CLSID_ProtocolHandler, &IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  void* instance = nullptr;
  EXPECT_EQ(factory->CreateInstance(factory, IID_IInternetProtocol, &instance),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(instance, nullptr);
  factory->Release();
  EXPECT_EQ(library_->canUnloadNow(), S_OK);
}

TEST_F(LibraryTest, RegistrationWritesAndRemovesTheClassKeysOnly) {
  const std::string file = folder_->ConfigFolder() + "/classes.ini";
  WriteFile(file, "[CLSID\\{00000000-0000-0000-0000-000000000001}]\n@=Other.Class\n");
  ASSERT_EQ(library_->registerServer(), S_OK);
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("[CLSID\\{00000000-0000-0000-0000-000000000001}]\n@=Other.Class\n"),
            std::string::npos);
  EXPECT_NE(text.find("[CLSID\\{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}\\InprocServer32]\n@=" +
                      program_ + "/libvarnolis.so\nThreadingModel=Apartment\n"),
            std::string::npos);
  EXPECT_NE(
      text.find("[Varnolis.ProtocolHandler\\Clsid]\n@={D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}\n"),
      std::string::npos);
  EXPECT_NE(text.find("[TypeLib\\{2268AD97-008F-4EBE-B25D-1A0A88E43C89}\\1.0]\n"
                      "@=Pluggable Protocol Handler von Varnolis\n"),
            std::string::npos);
  EXPECT_NE(text.find("[Interface\\{5A9CB00E-FF5C-4CEF-AE8E-CAF47620356B}]\n@=_ProtocolHandler\n"),
            std::string::npos);
  // Registering twice keeps one set of keys.
  ASSERT_EQ(library_->registerServer(), S_OK);
  EXPECT_EQ(ReadFile(file), text);

  ASSERT_EQ(library_->unregisterServer(), S_OK);
  EXPECT_EQ(ReadFile(file), "[CLSID\\{00000000-0000-0000-0000-000000000001}]\n@=Other.Class\n\n");
  std::filesystem::remove(file);
  ASSERT_EQ(library_->registerServer(), S_OK);
  ASSERT_EQ(library_->unregisterServer(), S_OK);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(library_->unregisterServer(), S_OK);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

TEST_F(LibraryTest, AThousandRequestsLeaveNoFilesDescriptorsOrGrowth) {
  folder_->SetDebug("0");
  auto request = [&](int i) {
    RecordingSink sink;
    IInternetProtocol* p = library_->Create();
    const char* urls[] = {"varnolis://test", "varnolis://info", "varnolis://foo", "varnolis://%FF"};
    ASSERT_EQ(p->Start(urls[i % 4], &sink, nullptr, 0, 0), S_OK);
    char buffer[4096];
    ULONG count = 0;
    // Every fifth request is dropped in the middle, by Abort or by Terminate.
    const int stopAfter = i % 5 == 0 ? 2 : 1000;
    for (int n = 0; n < stopAfter; ++n) {
      if (p->Read(buffer, sizeof buffer, &count) == S_FALSE) break;
    }
    if (i % 10 == 0) p->Abort(E_FAIL, 0);
    p->Terminate(0);
    p->Release();
  };
  for (int i = 0; i < 100; ++i) request(i);  // warm-up: allocator pools settle
  const int fds = OpenDescriptors();
  const long rss = ResidentKilobytes();
  for (int i = 0; i < 1000; ++i) request(i);
  EXPECT_EQ(OpenDescriptors(), fds);
  EXPECT_TRUE(TempFilesLeft().empty());
  EXPECT_EQ(library_->canUnloadNow(), S_OK);
  // AddressSanitizer keeps freed memory in quarantine, so its resident size grows by design;
  // its leak checker watches that build instead.
  if (!kAddressSanitizer) {
    EXPECT_LT(ResidentKilobytes() - rss, 1024) << "memory grows with the number of requests";
  }
}

// The browser, and Wine's urlmon, call back into the handler from inside its own sink calls:
// Read from ReportData, UnlockRequest, Terminate and the last Release from ReportResult. The
// page must arrive whole and in order, and no freed object may be touched (the sanitizer
// build watches the latter).

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

  HRESULT ReportProgress(ULONG status, const char* text) override {
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
  HRESULT ReportResult(HRESULT result, DWORD, const char*) override {
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
      const HRESULT hr =
          protocol_->Read(buffer_.data(), static_cast<ULONG>(buffer_.size()), &count);
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

class ReentrancyTest : public LibraryTest {
 protected:
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
    EXPECT_TRUE(TempFilesLeft().empty());
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
};

const std::vector<std::string> kEnd = {"ReportData 4 100 100", "ReportProgress 6 ",
                                       "ReportResult 0"};

TEST_F(ReentrancyTest, ReadingInsideReportDataDeliversThePageWholeAndInOrder) {
  for (bool stopAtPending : {false, true}) {
    for (bool unlock : {false, true}) {
      SCOPED_TRACE(std::string(stopAtPending ? "until E_PENDING" : "until S_FALSE") +
                   (unlock ? ", with UnlockRequest" : ""));
      Behaviour b{
          .readInReportData = true, .stopAtPending = stopAtPending, .unlockInReportData = unlock};
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
