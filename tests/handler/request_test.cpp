// The request as a browser drives it, without the library's component interfaces: the pages of
// the commands test and unknown ones, the chunks of the finished page, the sink's calls, the
// debug log and the page file, over a program folder of each test's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <thread>

#include "handler/request.h"
#include "tests/handler/request_fixture.h"

namespace vn::test {
namespace {

using RequestTest = RequestFixture;

TEST_F(RequestTest, TestPageIsHeadTestLineAndPageEndPaddedToTheBuffer) {
  Response r = Fetch("varnolis://TEST");
  ASSERT_EQ(r.start, S_OK);
  const std::string page =
      ExpectedHead(program_) + "<b>Testbefehl von Varnolis</b>\r\n" + ExpectedEnd();
  EXPECT_EQ(r.bytes, Padded(page, 4096));
  EXPECT_TRUE(TempFilesLeft().empty());

  // Every sink call of the request, in order.
  std::vector<std::string> expected = {"ReportProgress 1 Info: FINDINGRESOURCE",
                                       "ReportProgress 2 Info: TEST ",
                                       "ReportProgress 13 text/html",
                                       "ReportProgress 22 text/html",
                                       "ReportProgress 4 ",
                                       "ReportProgress 5 Creating Tabledata ...",
                                       "ReportData 2 0 0"};
  const size_t chunks = Padded(page, 4096).size() / 4096;
  for (size_t i = 0; i < chunks; ++i) expected.push_back("ReportData 2 0 0");
  expected.insert(expected.end(),
                  {"ReportData 4 100 100", "ReportProgress 6 ", "ReportResult 0x00000000 0 0"});
  EXPECT_EQ(r.calls, expected);

  std::vector<HRESULT> reads = {E_PENDING};
  reads.insert(reads.end(), chunks, S_OK);
  reads.push_back(S_FALSE);
  EXPECT_EQ(r.reads, reads);
}

// The page's length follows the length of an unknown command, which the error block names
// once; so a command can make the page exactly as long as a test needs.
TEST_F(RequestTest, LastChunkIsPaddedAndAnExactMultipleEndsWithAChunkOfBlanks) {
  auto pageFor = [&](const std::string& command) {
    return ExpectedHead(program_) +
           ExpectedErrorBlock(program_, 153, "Unbekannter Befehl '" + command + "'", true) +
           ExpectedEnd();
  };
  const size_t base = pageFor("").size();
  ASSERT_LT(base, 4u * 4096u);

  // 4 * 4096 + 1808 bytes, so the fifth chunk ends in 2288 blanks.
  const std::string command1(4 * 4096 + 1808 - base, 'x');
  Response r = Fetch("varnolis://" + command1);
  ASSERT_EQ(pageFor(command1).size(), 4u * 4096u + 1808u);
  EXPECT_EQ(r.bytes, pageFor(command1) + std::string(2288, ' '));
  EXPECT_EQ(r.counts, (std::vector<ULONG>{4096, 4096, 4096, 4096, 4096, 0}));
  EXPECT_EQ(r.reads, (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_OK, S_OK, S_FALSE}));

  // Exactly 5 * 4096 bytes: a sixth chunk of blanks ends the download.
  const std::string command2(5 * 4096 - base, 'y');
  r = Fetch("varnolis://" + command2);
  EXPECT_EQ(r.bytes, pageFor(command2) + std::string(4096, ' '));
  EXPECT_EQ(r.counts, (std::vector<ULONG>{4096, 4096, 4096, 4096, 4096, 4096, 0}));
  EXPECT_EQ(r.bytes.substr(5 * 4096), std::string(4096, ' '));
}

TEST_F(RequestTest, EmptyAndUnknownCommandsShowMessage153InTheUserLanguage) {
  for (const char* url : {"varnolis://", "varnolis:", "varnolis:///"}) {
    Response r = Fetch(url);
    EXPECT_EQ(r.bytes, Padded(ExpectedHead(program_) +
                                  ExpectedErrorBlock(program_, 153, "Unbekannter Befehl ''", true) +
                                  ExpectedEnd(),
                              4096))
        << url;
    // WriteError in Start: the first Read already streams.
    EXPECT_EQ(r.reads.front(), S_OK);
  }
  Response r = Fetch("varnolis://foo/bar");
  EXPECT_EQ(r.bytes,
            Padded(ExpectedHead(program_) +
                       ExpectedErrorBlock(program_, 153, "Unbekannter Befehl 'foo'", true) +
                       ExpectedEnd(),
                   4096));

  TestFolder::SetLanguage("en_US.UTF-8");
  r = Fetch("varnolis://foo/bar");
  EXPECT_EQ(r.bytes, Padded(ExpectedHead(program_) +
                                ExpectedErrorBlock(program_, 153, "Unknown command 'foo'", false) +
                                ExpectedEnd(),
                            4096));
}

TEST_F(RequestTest, GermanTextIsWindows1252AndMarkupInACommandStaysText) {
  Response r = Fetch("varnolis://f%C3%BCr");
  EXPECT_NE(r.bytes.find("Unbekannter Befehl 'f\xFCr'</TD>"), std::string::npos);
  EXPECT_EQ(r.bytes.find("\xC3\xBC"), std::string::npos);
  // A character outside Windows-1252 becomes a character reference.
  r = Fetch("varnolis://%E2%82%AC%E2%9C%93");
  EXPECT_NE(r.bytes.find("Unbekannter Befehl '\x80&#10003;'</TD>"), std::string::npos);

  r = Fetch("varnolis://%3Cb%20onclick=%22x()%22%3E&amp;");
  EXPECT_NE(r.bytes.find("Unbekannter Befehl '&lt;b onclick=&quot;x()&quot;&gt;&amp;amp;'</TD>"),
            std::string::npos);
  EXPECT_EQ(r.bytes.find("<b onclick"), std::string::npos);
}

TEST_F(RequestTest, RubricUrlIsParsedAndNeedsARunningAct) {
  Response r = Fetch("varnolis://rubrik/Offene%20Posten/");
  EXPECT_EQ(r.calls[1], "ReportProgress 2 Info: rubrik Offene Posten");
  EXPECT_EQ(r.bytes,
            Padded(ExpectedHead(program_) +
                       ExpectedErrorBlock(program_, 122,
                                          "Der Zugriff auf die ACT!-Daten ist nich m\xF6glich, "
                                          "weil kein ACT! gestartet wurde.",
                                          true) +
                       ExpectedEnd(),
                   4096));
}

TEST_F(RequestTest, AnEscapedByteWithoutACharacterGivesMessage151WithTheUrl) {
  const std::string url = "varnolis://rubrik/%FF%81x";
  Response r = Fetch(url);
  EXPECT_EQ(r.calls[0], "ReportProgress 1 Info: Invalid URL");
  EXPECT_EQ(r.calls[1], "ReportProgress 2 Info: Invalid URL " + url);
  EXPECT_EQ(r.bytes,
            Padded(ExpectedHead(program_) +
                       ExpectedErrorBlock(program_, 151,
                                          "Die URL '" + url + "' hat eine falsche Syntax.", true) +
                       ExpectedEnd(),
                   4096));
}

TEST_F(RequestTest, DebugSettingSwitchesTheLogByItsLeadingNumber) {
  const std::string log = program_ + "/debug.log";
  for (const char* on : {"1", "2", "1x"}) {
    folder_->SetDebug(on);
    std::filesystem::remove(log);
    Fetch("varnolis://test");
    const std::string text = ReadFile(log);
    ASSERT_FALSE(text.empty()) << on;
    // hh-mm-ss: Class_Initialize, CR LF
    ASSERT_GE(text.size(), 28u);
    EXPECT_EQ(text.substr(2, 1) + text.substr(5, 1) + text.substr(8, 2), "--: ") << text;
    EXPECT_EQ(text.substr(10, 18), "Class_Initialize\r\n");
    EXPECT_NE(text.find(": Kommando:test\r\n"), std::string::npos);
    EXPECT_NE(text.find(": Parameter:\r\n"), std::string::npos);
    EXPECT_NE(text.find(": Read: Tempfile EOF\r\n"), std::string::npos);
    EXPECT_NE(text.find(": IInternetProtocol_Terminate(0)\r\n"), std::string::npos);
    EXPECT_NE(text.find(": Class_Terminate\r\n"), std::string::npos);
  }
  for (const char* off : std::initializer_list<const char*>{"0", "", "ja", "x1", nullptr}) {
    folder_->SetDebug(off);
    std::filesystem::remove(log);
    Fetch("varnolis://test");
    EXPECT_FALSE(std::filesystem::exists(log)) << (off ? off : "(missing)");
  }
  std::filesystem::remove(folder_->ConfigFolder() + "/Varnolis.conf");
  Fetch("varnolis://test");
  EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(RequestTest, LogLinesAreAppendedAndKeepTheirText) {
  folder_->SetDebug("1");
  WriteFile(program_ + "/debug.log", "old line\r\n");
  Fetch("varnolis://f%C3%BCr%0D%0Ax");
  const std::string text = ReadFile(program_ + "/debug.log");
  EXPECT_EQ(text.rfind("old line\r\n", 0), 0u);
  // Windows-1252 in the log, and a CR LF inside a text breaks its line.
  EXPECT_NE(text.find(": Kommando:f\xFCr\r\nx\r\n"), std::string::npos);
}

// A standard user switches the log on but cannot write the program folder (debug.log is a
// folder there: that stops root too). The pages are those of the log off, the lines are in the
// user's state folder.
TEST_F(RequestTest, ALogThatCannotBeWrittenBesideTheLibraryChangesNoPage) {
  const std::vector<std::string> urls = {"varnolis://test", "varnolis://info",
                                         "varnolis://gibtsnicht", "varnolis://rubrik/%81"};
  folder_->SetDebug("0");
  std::vector<Response> off;
  for (const std::string& url : urls) off.push_back(Fetch(url));

  folder_->SetDebug("1");
  std::filesystem::create_directory(program_ + "/debug.log");
  for (size_t i = 0; i < urls.size(); ++i) {
    Response on = Fetch(urls[i]);
    EXPECT_EQ(on.start, off[i].start) << urls[i];
    EXPECT_EQ(on.bytes, off[i].bytes) << urls[i];
    EXPECT_EQ(on.reads, off[i].reads) << urls[i];
    EXPECT_EQ(on.calls, off[i].calls) << urls[i];
  }
  const std::string text = ReadFile(folder_->Root() + "/home/.local/state/varnolis/debug.log");
  EXPECT_EQ(text.substr(8, 20), ": Class_Initialize\r\n");
  EXPECT_NE(text.find(": Kommando:gibtsnicht\r\n"), std::string::npos);
  EXPECT_NE(text.find(": WriteError(151,varnolis://rubrik/%81)\r\n"), std::string::npos);
  EXPECT_EQ(Count(text, ": Class_Terminate\r\n"), urls.size());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(RequestTest, MissingOrUnwritableTemporaryFolderFailsTheStart) {
  WriteFile(folder_->Root() + "/plainfile", "x");
  for (std::string tmp :
       {folder_->Root() + "/missing", folder_->Root() + "/plainfile", std::string("/proc")}) {
    setenv("TMPDIR", tmp.c_str(), 1);
    Response r = Fetch("varnolis://test");
    EXPECT_EQ(r.start, INET_E_DOWNLOAD_FAILURE) << tmp;
    EXPECT_EQ(r.calls, (std::vector<std::string>{"ReportResult 0x800C0008 0 0"})) << tmp;
  }
  EXPECT_FALSE(std::filesystem::exists(folder_->Root() + "/missing"));
}

TEST_F(RequestTest, ZeroSizedReadIsRefusedWithoutLosingThePage) {
  RecordingRequestSink sink;
  Request request;
  ASSERT_EQ(request.Start("varnolis://test", &sink), RequestResult::kOk);
  char buffer[65536];
  std::uint32_t count = 99;
  // Building does not depend on the buffer.
  EXPECT_EQ(request.Read(buffer, 0, count), RequestResult::kPending);
  EXPECT_EQ(count, 0u);
  count = 99;
  EXPECT_EQ(request.Read(buffer, 0, count), RequestResult::kInvalidArgument);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(request.Read(nullptr, 16, count), RequestResult::kInvalidArgument);
  // The request goes on normally with a real buffer.
  EXPECT_EQ(request.Read(buffer, sizeof buffer, count), RequestResult::kOk);
  EXPECT_EQ(count, sizeof buffer);
  EXPECT_EQ(std::string(buffer, 6), "<HTML>");
  EXPECT_EQ(request.Read(buffer, sizeof buffer, count), RequestResult::kFinished);
  EXPECT_EQ(request.Terminate(0), RequestResult::kOk);
}

TEST_F(RequestTest, DebugSwitchBelongsToTheThreadThatCreatedTheRequest) {
  const std::string log = program_ + "/debug.log";
  folder_->SetDebug("1");
  auto mine = std::make_unique<Request>();  // this thread's switch: on
  folder_->SetDebug("0");
  std::filesystem::remove(log);
  std::thread([&] {
    Request other;  // that thread's switch: off
    other.Seek();
  }).join();
  EXPECT_FALSE(std::filesystem::exists(log));
  mine->Seek();
  EXPECT_NE(ReadFile(log).find(": Seek\r\n"), std::string::npos);
  mine.reset();
}

}  // namespace
}  // namespace vn::test
