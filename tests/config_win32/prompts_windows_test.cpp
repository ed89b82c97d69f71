// The Windows prompts, driven by messages: the program's questions are German, and so are the
// buttons of their message boxes, whatever language the system (here Wine's) writes its own in;
// the choosers open with the program's title. Each box is read and answered by a timer of the
// test's thread while it is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "config/win32/win32_prompts.h"

namespace vn::config::testing {
namespace {

struct SeenBox {
  std::wstring caption;
  std::wstring yes;
  std::wstring no;
  std::wstring ok;
  WORD answer = IDNO;
};
SeenBox seen;

BOOL CALLBACK ReadBox(HWND window, LPARAM) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  auto text = [window](int id) {
    wchar_t caption[64] = {};
    if (HWND button = ::GetDlgItem(window, id)) ::GetWindowTextW(button, caption, 64);
    return std::wstring(caption);
  };
  wchar_t caption[128] = {};
  ::GetWindowTextW(window, caption, 128);
  seen.caption = caption;
  seen.yes = text(IDYES);
  seen.no = text(IDNO);
  seen.ok = text(IDOK);
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED), 0);
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) {
  if (seen.caption.empty())
    ::EnumThreadWindows(::GetCurrentThreadId(), &ReadBox, 0);
}

TEST(MessageBoxWindowsTest, AQuestionsButtonsAreGerman) {
  win32::Win32Prompts prompts;
  seen = SeenBox{};
  seen.answer = IDNO;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &LookForBox);
  const MsgResult answer =
      prompts.Message("Soll die Datei konvertiert werden?", MsgIcon::kQuestion, MsgButtons::kYesNo);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(answer, MsgResult::kNo);
  EXPECT_EQ(seen.yes, L"&Ja");
  EXPECT_EQ(seen.no, L"&Nein");

  seen = SeenBox{};
  seen.answer = IDOK;
  const UINT_PTR again = ::SetTimer(nullptr, 0, 50, &LookForBox);
  EXPECT_EQ(prompts.Message("Fertig.", MsgIcon::kInformation, MsgButtons::kOk), MsgResult::kOk);
  ::KillTimer(nullptr, again);
  EXPECT_EQ(seen.ok, L"OK");
}

// Cancelled, each chooser gives nothing back and changes nothing.
TEST(MessageBoxWindowsTest, TheChoosersOpenWithTheirTitleAndACancelGivesNothing) {
  win32::Win32Prompts prompts;
  seen = SeenBox{};
  seen.answer = IDCANCEL;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &LookForBox);
  EXPECT_EQ(prompts.ChooseFolder("Netlinks-Ordner", "C:\\"), std::nullopt);
  ::KillTimer(nullptr, timer);
  EXPECT_FALSE(seen.caption.empty());

  seen = SeenBox{};
  seen.answer = IDCANCEL;
  timer = ::SetTimer(nullptr, 0, 50, &LookForBox);
  EXPECT_EQ(prompts.ChooseFile("Datenbankdatei wählen", "C:\\k.db"), std::nullopt);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(seen.caption, L"Datenbankdatei wählen");
}

}  // namespace
}  // namespace vn::config::testing
