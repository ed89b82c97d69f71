// The shell launcher on Windows: which ShellExecuteEx call each operation makes (recorded), the
// shell's results as the operations return them, and the system's shell under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/win32/dialogs/shell_execute.h"
#include "dialog_closer.h"
#include "platform/win32/com_apartment.h"

namespace {

using vn::config::win32::clShellExecute;

struct Call {
  ULONG mask;
  HWND window;
  std::wstring verb;  // "(none)" for no verb
  std::wstring file;
  std::wstring parameters;
  std::wstring folder;
  int show;
};

class ShellExecuteWindowsTest : public ::testing::Test {
 protected:
  // A shell that records the call and answers with `result` (as hInstApp) and `process`.
  clShellExecute Recording() {
    return clShellExecute([this](SHELLEXECUTEINFOW& info) {
      auto text = [](const wchar_t* s) { return s == nullptr ? std::wstring(L"(none)") : s; };
      calls.push_back({info.fMask, info.hwnd, text(info.lpVerb), text(info.lpFile),
                       text(info.lpParameters), text(info.lpDirectory), info.nShow});
      info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(result));
      info.hProcess = process;
      return result > 32 ? TRUE : FALSE;
    });
  }

  std::vector<Call> calls;
  long result = 42;
  HANDLE process = nullptr;
};

TEST_F(ShellExecuteWindowsTest, EachOperationMakesTheShellCallItStandsFor) {
  clShellExecute shell = Recording();
  HWND desktop = ::GetDesktopWindow();
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  EXPECT_EQ(shell.LaunchURL("https://www.varnolis.example"), -1);
  EXPECT_EQ(shell.LaunchEmail(window, "info@varnolis.example"), -1);
  EXPECT_EQ(shell.Explore(window, "C:\\Daten"), -1);
  EXPECT_EQ(shell.LaunchFolder(window, "C:\\Daten"), -1);
  EXPECT_EQ(shell.PrintDocument(window, "C:\\Daten\\brief.txt"), -1);
  EXPECT_EQ(shell.LaunchDocument(window, "C:\\Daten\\brief.txt", "C:\\Daten", SW_MAXIMIZE), -1);
  EXPECT_EQ(shell.LaunchProgram("notepad.exe", nullptr, "%TEMP%\\a.txt"), -1);

  const std::vector<std::vector<std::wstring>> expected = {
      {L"(none)", L"https://www.varnolis.example", L"(none)", L"(none)"},
      {L"(none)", L"mailto:info@varnolis.example", L"(none)", L"(none)"},
      {L"explore", L"C:\\Daten", L"(none)", L"(none)"},
      {L"open", L"C:\\Daten", L"(none)", L"(none)"},
      {L"print", L"C:\\Daten\\brief.txt", L"(none)", L"(none)"},
      {L"Open", L"C:\\Daten\\brief.txt", L"(none)", L"C:\\Daten"},
      {L"Open", L"notepad.exe", L"%TEMP%\\a.txt", L"(none)"},
  };
  ASSERT_EQ(calls.size(), expected.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ((std::vector<std::wstring>{calls[i].verb, calls[i].file, calls[i].parameters,
                                         calls[i].folder}),
              expected[i]);
    // Only the two launches that keep the process ask for its handle and expand variables.
    EXPECT_EQ(calls[i].mask, i >= 5 ? 0x240u : 0u);
  }
  // Without a window the URL and the program go to the desktop window.
  EXPECT_EQ(calls[0].window, desktop);
  EXPECT_EQ(calls[1].window, window);
  EXPECT_EQ(calls[6].window, desktop);
  EXPECT_EQ(calls[4].show, SW_HIDE);
  EXPECT_EQ(calls[5].show, SW_MAXIMIZE);
  EXPECT_EQ(calls[6].show, SW_SHOWNORMAL);
}

TEST_F(ShellExecuteWindowsTest, AFailureReturnsTheShellsValueAndAnExtendedLaunchKeepsItsResult) {
  clShellExecute shell = Recording();
  EXPECT_EQ(shell.InstanceResult(), 0);
  EXPECT_EQ(shell.ProcessHandle(), nullptr);
  EXPECT_FALSE(shell.StillExecuting());

  result = SE_ERR_NOASSOC;
  EXPECT_EQ(shell.LaunchURL("unbekannt:adresse"), SE_ERR_NOASSOC);
  result = SE_ERR_FNF;
  EXPECT_EQ(shell.LaunchDocument(nullptr, "C:\\fehlt.txt", ""), SE_ERR_FNF);
  EXPECT_EQ(shell.InstanceResult(), SE_ERR_FNF);
  EXPECT_FALSE(shell.StillExecuting());

  // A process that still runs: this one.
  result = 42;
  process = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, ::GetCurrentProcessId());
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(shell.LaunchProgram("test.exe"), -1);
  EXPECT_EQ(shell.InstanceResult(), 42);
  EXPECT_EQ(shell.ProcessHandle(), process);
  EXPECT_TRUE(shell.StillExecuting());
}

TEST_F(ShellExecuteWindowsTest, TheSystemsShellUnderWine) {
  vn::win32::ComApartment apartment;
  clShellExecute shell;
  {
    // An address that no program handles: the shell says so in a box of its own, as
    // ShellExecute does, and returns its error value.
    DialogCloser acknowledge(IDOK);
    const long unhandled = shell.LaunchURL("varnolis-unbekannt:adresse");
    EXPECT_NE(unhandled, -1);
    EXPECT_LT(unhandled, 33);
  }

  // A program that ends at once: running no longer once it has ended.
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::string cmd = vn::win32::Narrow(system) + "\\cmd.exe";
  ASSERT_EQ(shell.LaunchProgram(cmd, nullptr, "/c exit 3", "", SW_HIDE), -1);
  ASSERT_NE(shell.ProcessHandle(), nullptr);
  EXPECT_EQ(::WaitForSingleObject(shell.ProcessHandle(), 30000), WAIT_OBJECT_0);
  EXPECT_FALSE(shell.StillExecuting());
}

}  // namespace
