// `varnolis parse` as an administrator runs it: the host copied into a program folder of the
// test's own, with the stand-in file and the link products' INI files written by the test.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>

#include "act_fixture.h"

namespace {

#ifdef _WIN32
constexpr const char* kHost = "/varnolis.exe";
#else
constexpr const char* kHost = "/varnolis";
#endif

class ParseCommandTest : public vn::test::ActFixture {
 protected:
  void SetUp() override {
    ActFixture::SetUp();
    host_ = ProgramFolder() + kHost;
    std::filesystem::copy_file(std::string(VARNOLIS_PROGRAM_DIR) + kHost, host_);
  }
  struct Result {
    std::string output;
    int status;
  };
  Result Run(const std::string& text) {
#ifdef _WIN32
    // cmd.exe runs the line: the host as Windows names it, the text in double quotes.
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    quoted += "\"";
    FILE* pipe = _popen(
        (vn::test::TestActProcess::WindowsPath(host_) + " parse " + quoted + " 2>&1").c_str(),
        "rb");
#else
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    FILE* pipe = popen((host_ + " parse " + quoted + " 2>&1").c_str(), "r");
#endif
    Result result{{}, -1};
    if (pipe == nullptr) return result;
    char buffer[512];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
#ifdef _WIN32
    result.status = _pclose(pipe);
#else
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return result;
  }
  std::string host_;
};

TEST_F(ParseCommandTest, WithoutStandInEveryCommandFailsWith122) {
  for (const char* text : {"{!kontakt, 25}", "{!foo}", "{!tessaran, odbc}"}) {
    Result r = Run(text);
    EXPECT_EQ(r.output,
              "122: Der Zugriff auf die ACT!-Daten ist nich möglich, weil kein ACT! gestartet "
              "wurde.\n");
    EXPECT_EQ(r.status, 1);
  }
  Result plain = Run("  select 1  ");
  EXPECT_EQ(plain.output, "select 1\n");
  EXPECT_EQ(plain.status, 0);
}

TEST_F(ParseCommandTest, PrintsTheReplacedTextForTheCurrentContact) {
  WriteRunningAct(1, R"({"25": "A;B;C", "57": "O'Neil"})");
  EXPECT_EQ(Run("{!kontakt, 25, 2, 59}").output, "B\n");
  EXPECT_EQ(Run("{!kontakt, 25, 4, 59}").output, "4\n");
  EXPECT_EQ(Run("{!KONTAKT, 26, Keine Angabe}").output, "keine angabe\n");
  // The value as ACT! holds it: the tool shows the contact's values, not a query's quoting.
  EXPECT_EQ(Run("SELECT * FROM k WHERE name = '{!k, 57}'").output,
            "SELECT * FROM k WHERE name = 'O'Neil'\n");
  Result error = Run("{!kontakt, 25");
  EXPECT_EQ(error.output,
            "161: Im ACT!-Quellenkommando '{!kontakt, 25' fehlt eine geschlossene geschweifte "
            "Klammer.\n");
  EXPECT_EQ(error.status, 1);
}

TEST_F(ParseCommandTest, LinkProductFilesAreFoundBesideTheHost) {
  WriteRunningAct(1, R"({"58": "M01.dat"})");
  std::filesystem::create_directories(dir_ + "/PCK");
  WriteFile(dir_ + "/PCK/M01.dat", "");
  WriteFile(ProgramFolder() + "/BRIMLOW.ini",
            "[Brimlow]\nID_Mandant=58|Mandant\nPCKpfad=" + dir_ + "/PCK/\n");
  WriteFile(ProgramFolder() + "/Tessaran.ini", "[Tessaran]\nODBC=\"ODBC;DSN=OL\"\n");
  EXPECT_EQ(Run("{!brimlow, mandant}").output, dir_ + "/PCK/M01.dat\n");
  EXPECT_EQ(Run("{!tessaran, odbc}").output, "DSN=OL\n");
}

#ifdef _WIN32
TEST_F(ParseCommandTest, TheTestActServesNothingAfterAParseWindows) {
  WriteRunningAct(1, R"({"25": "A;B;C"})", R"("group": {"25": "G"})");
  EXPECT_EQ(Run("{!kontakt, 25, 2, 59} {!gruppe, 25}").output,
            "124: Für das ACT!-Quellenkommando 'gruppe, 25' ist in ACT! die falsche Ansicht "
            "aktiv.\n");
  EXPECT_EQ(testAct_.LiveCount(), 0);
}
#endif

// The stand-in file is the window list too on Linux; the test ACT! shows no window for it.
TEST_F(ParseCommandTest, AMalformedStandInFileIsPrintedWithItsNumberLinux) {
  WriteAct("{\"windows\": [}");
  Result r = Run("{!kontakt, 25}");
  EXPECT_EQ(r.output.rfind(
                "ACT! automation error -2147467259: " + ActPath() + ": line 1, column 14: ", 0),
            0u)
      << r.output;
  EXPECT_EQ(r.status, 1);
}

TEST_F(ParseCommandTest, AutomationErrorsArePrintedWithTheirNumber) {
  WriteRunningAct(1, "{}", R"("fail": {"GetOpenDBName": {"number": 7, "description": "kaputt"}})");
  Result r = Run("{!kontakt, 25}");
  EXPECT_EQ(r.output,
            "Varnolis: Fehler in Klasse ACTApplication Eigenschaft ACTDatenbank\n"
            "Fehlernummer: 7\nFehlerbeschreibung: kaputt\n"
            "123: Der Zugriff auf die ACT!-Daten ist nich möglich, weil keine ACT!-Datenbank "
            "geöffnet ist.\n");
}

}  // namespace

namespace {

TEST_F(ParseCommandTest, AStandInNumberOutOfRangeIsReportedNotAbortedLinux) {
  WriteAct(
      "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT!\"}],\n"
      " \"activeView\": 1e400}");
  Result r = Run("{!kontakt, 25}");
  EXPECT_EQ(r.output, "ACT! automation error -2147467259: " + ActPath() +
                          ": line 2, column 16: number out of range: 1e400\n");
  EXPECT_EQ(r.status, 1);
}

}  // namespace
