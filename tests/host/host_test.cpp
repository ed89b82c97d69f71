// The built host `varnolis`, run from a copy of the program folder as a newcomer would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

struct HostRun {
  int status = -1;
  std::string out;
  std::string err;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->CopyProgramFolder();
  }

  // Runs the host with the arguments (single-quoted for the shell).
  HostRun Host(const std::string& arguments) {
    HostRun r;
    const std::string outFile = folder_->Root() + "/stdout";
    const std::string errFile = folder_->Root() + "/stderr";
    const std::string command = "'" + program_ + "/varnolis' " + arguments + " >'" + outFile +
                                "' 2>'" + errFile + "' </dev/null";
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(outFile);
    r.err = ReadFile(errFile);
    return r;
  }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
};

TEST_F(HostTest, GetDeliversTheTestPageWithEveryChunkPadded) {
  HostRun r = Host("get varnolis://TEST");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      Padded(ExpectedHead(program_) + "<b>Testbefehl von Varnolis</b>\r\n" + ExpectedEnd(), 4096));
  EXPECT_TRUE(FilesIn(folder_->Tmp()).empty());
}

TEST_F(HostTest, TraceShowsEverySinkCallAndResult) {
  HostRun r = Host("get --cb 8192 --trace -o '" + folder_->Root() + "/page.html' varnolis://test");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  const std::string page =
      ExpectedHead(program_) + "<b>Testbefehl von Varnolis</b>\r\n" + ExpectedEnd();
  EXPECT_EQ(ReadFile(folder_->Root() + "/page.html"), Padded(page, 8192));
  std::string expected =
      "ReportProgress 1 Info: FINDINGRESOURCE\n"
      "ReportProgress 2 Info: test \n"
      "ReportProgress 13 text/html\n"
      "ReportProgress 22 text/html\n"
      "ReportProgress 4 \n"
      "Start 0x00000000\n"
      "ReportProgress 5 Creating Tabledata ...\n"
      "ReportData 2 0 0\n"
      "Read 0x8000000A 0\n";
  const size_t chunks = Padded(page, 8192).size() / 8192;
  for (size_t i = 1; i < chunks; ++i) expected += "ReportData 2 0 0\nRead 0x00000000 8192\n";
  expected +=
      "ReportData 2 0 0\n"
      "ReportData 4 100 100\n"
      "ReportProgress 6 \n"
      "ReportResult 0x00000000 0 0\n"
      "Read 0x00000000 8192\n"
      "Read 0x00000001 0\n";
  EXPECT_EQ(r.err, expected);
}

TEST_F(HostTest, ChunksOfTheRequestedSize) {
  // An unknown command of the right length makes the page 4 * 4096 + 1808 bytes long.
  auto pageFor = [&](const std::string& command) {
    return ExpectedHead(program_) +
           ExpectedErrorBlock(program_, 153, "Unbekannter Befehl '" + command + "'", true) +
           ExpectedEnd();
  };
  const std::string command(4 * 4096 + 1808 - pageFor("").size(), 'z');
  HostRun r = Host("get --cb 4096 --trace varnolis://" + command);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, pageFor(command) + std::string(2288, ' '));
  size_t fullChunks = 0;
  for (size_t pos = 0; (pos = r.err.find("Read 0x00000000 4096\n", pos)) != std::string::npos;
       ++pos)
    ++fullChunks;
  EXPECT_EQ(fullChunks, 5u);
}

TEST_F(HostTest, LanguageDecidesTheMessageAndTheFileIsWindows1252) {
  HostRun r = Host("get varnolis://foo/bar");
  EXPECT_NE(r.out.find("<TD  CLASS=\"errortext\">Unbekannter Befehl 'foo'</TD>"),
            std::string::npos);
  setenv("LANG", "en_US.UTF-8", 1);
  r = Host("get varnolis://foo/bar");
  EXPECT_EQ(r.out, Padded(ExpectedHead(program_) +
                              ExpectedErrorBlock(program_, 153, "Unknown command 'foo'", false) +
                              ExpectedEnd(),
                          4096));
  setenv("LANG", "de_DE.UTF-8", 1);
  r = Host("get 'varnolis://f%C3%BCr'");
  EXPECT_NE(r.out.find("Befehl 'f\xFCr'"), std::string::npos);
}

TEST_F(HostTest, InfoPageNamesTheLibraryInTheProgramFolder) {
  HostRun r = Host("get varnolis://info");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Version 1.0.0.1<BR>"), std::string::npos);
  EXPECT_NE(r.out.find("Protokoll Handler " + program_ + "/libvarnolis.so<BR>"), std::string::npos);
}

TEST_F(HostTest, DebugLogBesideTheLibrary) {
  folder_->SetDebug("1");
  Host("get varnolis://test");
  const std::string log = ReadFile(program_ + "/debug.log");
  EXPECT_EQ(log.substr(8, 20), ": Class_Initialize\r\n");
  EXPECT_NE(log.find(": Kommando:test\r\n"), std::string::npos);
}

TEST_F(HostTest, FailedStartExitsWithStatus2) {
  setenv("TMPDIR", (folder_->Root() + "/missing").c_str(), 1);
  HostRun r = Host("get --trace varnolis://test");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "ReportResult 0x800C0008 0 0\nStart 0x800C0008\n");
}

TEST_F(HostTest, ZeroSizedBufferEndsWithAFailureInsteadOfRunningForever) {
  HostRun r = Host("get --cb 0 varnolis://test");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Read failed: 0x80070057"), std::string::npos);
  EXPECT_TRUE(FilesIn(folder_->Tmp()).empty());
}

TEST_F(HostTest, LibraryFromAnotherPlaceAndUsageErrors) {
  const std::string other = folder_->CopyProgramFolder("Other");
  HostRun r = Host("get --library '" + other + "/libvarnolis.so' varnolis://info");
  EXPECT_NE(r.out.find("Protokoll Handler " + other + "/libvarnolis.so<BR>"), std::string::npos);
  r = Host("get --library '" + folder_->Root() + "/none.so' varnolis://info");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("none.so"), std::string::npos);
  EXPECT_EQ(Host("get").status, 1);
  EXPECT_EQ(Host("get --cb x varnolis://test").status, 1);
  EXPECT_EQ(Host("get --bogus varnolis://test").status, 1);
}

TEST_F(HostTest, RegisterAndUnregister) {
  const std::string file = folder_->ConfigFolder() + "/classes.ini";
  HostRun r = Host("register");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(file).find("@=" + program_ + "/libvarnolis.so\nThreadingModel=Apartment\n"),
            std::string::npos);
  r = Host("unregister");
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace vn::test
