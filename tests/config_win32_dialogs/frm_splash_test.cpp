// The splash window of the Windows front: its labels from the core's texts and the version
// information, no caption, and how it goes (a key, a click, its owner).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/core/version_texts.h"
#include "config/win32/dialogs/frm_splash.h"
#include "platform/win32/wide.h"
#include "resources/version.h"

namespace {

using vn::config::win32::frmSplash;

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return vn::win32::Narrow(text);
}

TEST(FrmSplashWindowsTest, ShowsProductSubtitleVersionCompanyAndCopyright) {
  frmSplash splash(::GetModuleHandleW(nullptr));
  HWND window = splash.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), "");
  // A border, but no caption bar (WS_CAPTION is the border and the dialog frame).
  EXPECT_NE(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmSplash::kIdProductName)), "Varnolis");
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmSplash::kIdUntertitel)), "Konfiguration");
  // Major, minor and revision, as the about window's text is not.
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmSplash::kIdVersion)),
            "Version " + std::to_string(vn::version::kMajor) + "." +
                std::to_string(vn::version::kMinor) + "." + std::to_string(vn::version::kRevision));
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmSplash::kIdCompany)), vn::version::kCompanyName);
  EXPECT_EQ(TextOf(::GetDlgItem(window, frmSplash::kIdCopyright)), vn::version::kCopyright);
}

TEST(FrmSplashWindowsTest, AKeyAClickOrItsOwnerClosesIt) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  {
    frmSplash splash(instance);
    HWND window = splash.Handle();
    ::SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(splash.Handle(), nullptr);
  }
  {
    frmSplash splash(instance);
    HWND window = splash.Handle();
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(::IsWindow(window));
  }
  HWND window = nullptr;
  {
    std::unique_ptr<vn::config::win32::SplashWindow> splash =
        vn::config::win32::ShowSplash(instance);
    window = static_cast<frmSplash*>(splash.get())->Handle();
    EXPECT_TRUE(::IsWindow(window));
  }
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
