// Real key messages at the top-level window right after it opens: the first record is the
// protected one, so no field can take the focus, and the keyboard must work all the same. The
// keys are posted and reach the window through its message queue, as a key press does.
#include <gtest/gtest.h>

#include "tests/config_win32/window_fixture.h"

namespace vn::config::testing {
namespace {

class KeyboardWindowsTest : public KonfigurationWindowsTest {
 protected:
  // The posted messages delivered, as the program's message loop would.
  static void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  void Post(UINT message, WPARAM key, bool ctrl = false) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::PostMessageW(frm->Handle(), message, key, message == WM_KEYDOWN ? 1 : 1 | (1 << 29));
    Pump();
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
  }
};

TEST_F(KeyboardWindowsTest, AtStartTheWindowHasAFocusedControlAndTakesTheKeysItself) {
  OpenWindow();
  Pump();
  HWND focus = ::GetFocus();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(::IsChild(frm->Handle(), focus)) << NameOf(focus);
  EXPECT_TRUE(::IsWindowEnabled(focus));

  // With no control focused the keys come to the window.
  ::SetFocus(frm->Handle());
  Post(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(StatusPanel(0), "2. Datensatz von 5");
  Post(WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(StatusPanel(0), "3. Datensatz von 5");
  Post(WM_KEYDOWN, VK_DOWN, true);
  EXPECT_EQ(StatusPanel(0), "5. Datensatz von 5");
  // Without a focused control Alt+D comes as a "system" character: the tab Daten.
  Post(WM_SYSCHAR, L'd');
  EXPECT_EQ(frm->Core().SelectedTab(), 2);
  ::SetFocus(frm->Handle());
  Post(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(StatusPanel(0), "2. Datensatz von 5");
  Post(WM_SYSCHAR, L't');
  EXPECT_EQ(NameOf(::GetFocus()), "txbDatenTitel");
  // In a text field, Down is the field's.
  Post(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(StatusPanel(0), "2. Datensatz von 5");
}

}  // namespace
}  // namespace vn::config::testing
