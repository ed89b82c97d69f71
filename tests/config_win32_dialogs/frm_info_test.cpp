// The about window of the Windows front, driven through messages: its texts, the web link's
// hover underline and click (recorded at the shell), the scrolling text, and how it closes,
// modally over its owner too.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "config/core/texts.h"
#include "config/win32/dialogs/dialogs.h"
#include "config/win32/dialogs/frm_info.h"
#include "platform/win32/wide.h"
#include "resources/version.h"

namespace {

using vn::config::win32::clShellExecute;
using vn::config::win32::frmInfo;

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return vn::win32::Narrow(text);
}

bool Underlined(HWND control) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  return font != nullptr && ::GetObjectW(font, sizeof description, &description) > 0 &&
         description.lfUnderline != 0;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

class FrmInfoWindowsTest : public ::testing::Test {
 protected:
  struct Call {
    HWND window;
    ULONG mask;
    bool verb;
    std::wstring file;
  };
  std::vector<Call> calls;
  clShellExecute shell{[this](SHELLEXECUTEINFOW& info) {
    calls.push_back({info.hwnd, info.fMask, info.lpVerb != nullptr, info.lpFile});
    info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    return TRUE;
  }};
};

TEST_F(FrmInfoWindowsTest, ShowsCaptionVersionCopyrightAndTheLinkWithItsTooltip) {
  frmInfo info(nullptr, shell);
  HWND window = info.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), "Informationen über das Programm");
  // A literal 0 as third number, unlike the splash window.
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmInfo::kIdVersion)),
            "Version " + std::to_string(vn::version::kMajor) + "." +
                std::to_string(vn::version::kMinor) + ".0." +
                std::to_string(vn::version::kRevision));
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmInfo::kIdCopyright)), vn::version::kCopyright);
  HWND link = ::GetDlgItem(window, frmInfo::kIdQX);
  EXPECT_EQ(TextOf(link), vn::version::kWebAddress);

  HWND tooltip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tooltip != nullptr && ::GetWindow(tooltip, GW_OWNER) != window)
    tooltip = ::FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[128] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(link);
  tool.lpszText = text;
  ::SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(vn::win32::Narrow(text), "Besuchen Sie uns im Internet...");
}

TEST_F(FrmInfoWindowsTest, TheLinkIsUnderlinedWhileTheMouseIsOverIt) {
  frmInfo info(nullptr, shell);
  HWND link = ::GetDlgItem(info.Handle(), frmInfo::kIdQX);
  EXPECT_FALSE(Underlined(link));
  ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(Underlined(link));
  ::SendMessageW(info.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_FALSE(Underlined(link));
  ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  ::SendMessageW(link, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(Underlined(link));
}

TEST_F(FrmInfoWindowsTest, AClickOnTheLinkOpensTheWebAddressAndClosesTheWindow) {
  frmInfo info(nullptr, shell);
  HWND link = ::GetDlgItem(info.Handle(), frmInfo::kIdQX);
  ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  PumpMessages();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file, L"https://www.varnolis.example");
  EXPECT_EQ(calls[0].window, ::GetDesktopWindow());
  EXPECT_FALSE(calls[0].verb);
  EXPECT_EQ(calls[0].mask, 0u);
  EXPECT_EQ(info.Handle(), nullptr);
}

TEST_F(FrmInfoWindowsTest, AnyOtherClickOrKeyClosesItWithoutTheShell) {
  for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN}) {
    frmInfo info(nullptr, shell);
    ::SendMessageW(info.Handle(), message, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(info.Handle(), nullptr) << message;
  }
  EXPECT_TRUE(calls.empty());
}

TEST_F(FrmInfoWindowsTest, TheTextScrollsUpwardsAndStartsAgain) {
  frmInfo info(nullptr, shell);
  EXPECT_EQ(info.ScrollOffset(), 0);
  info.Tick();
  info.Tick();
  EXPECT_EQ(info.ScrollOffset(), 2);
  const int last = info.ScrollPictureHeight() - info.ScrollBoxHeight() - 1;
  while (info.ScrollOffset() < last) info.Tick();
  info.Tick();  // beyond the picture's end: back to its top
  EXPECT_EQ(info.ScrollOffset(), 0);
}

// ShowInfo runs the window modally: the owner is disabled until the window closes.
struct ModalCheck {
  HWND owner = nullptr;
  bool ownerDisabled = false;
  bool sawWindow = false;
};
ModalCheck modal;

BOOL CALLBACK PressKey(HWND window, LPARAM) {
  if (::GetWindow(window, GW_OWNER) != modal.owner || !::IsWindowVisible(window)) return TRUE;
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (std::wstring(className) == TOOLTIPS_CLASSW) return TRUE;
  modal.sawWindow = true;
  modal.ownerDisabled = !::IsWindowEnabled(modal.owner);
  ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  return FALSE;
}

void CALLBACK CloseInfo(HWND, UINT, UINT_PTR, DWORD) {
  if (!modal.sawWindow) ::EnumThreadWindows(::GetCurrentThreadId(), &PressKey, 0);
}

TEST_F(FrmInfoWindowsTest, ShowInfoIsModalOverItsOwner) {
  modal = {};
  modal.owner = ::CreateWindowExW(0, L"STATIC", L"Hauptfenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(modal.owner, nullptr);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseInfo);
  vn::config::win32::ShowInfo(modal.owner);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(modal.sawWindow);
  EXPECT_TRUE(modal.ownerDisabled);
  EXPECT_TRUE(::IsWindowEnabled(modal.owner));
  ::DestroyWindow(modal.owner);
}

}  // namespace
