// The Windows front's tree view, keyboard commands, focus order, access keys and debug box,
// driven through tree view, key and notification messages.
#include <string>

#include "tests/config_win32/window_fixture.h"

namespace vn::config::testing {
namespace {

class TreeAndKeysWindowsTest : public KonfigurationWindowsTest {
 protected:
  // The tree as it shows, one line per node, indented by its depth.
  std::string Outline(HTREEITEM item, int depth = 0) {
    std::string lines;
    for (; item != nullptr; item = Next(item, TVGN_NEXT)) {
      lines += std::string(static_cast<size_t>(depth) * 2, ' ') + ItemText(item) + "\n";
      lines += Outline(Next(item, TVGN_CHILD), depth + 1);
    }
    return lines;
  }
  void DoubleClick() {
    HWND tree = C("tvZuordnungen");
    NMHDR header{tree, static_cast<UINT_PTR>(::GetDlgCtrlID(tree)), static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageW(::GetParent(tree), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
};

TEST_F(TreeAndKeysWindowsTest, TheTreeShowsTheCoresNodesAndItsActionsOpenTheRecords) {
  OpenWindow();
  SelectTab(4);
  EXPECT_EQ(Outline(Next(nullptr, TVGN_ROOT)),
            "Zuordnungen\n"
            "  Start\n"
            "    Kundenstammdaten\n"
            "    Ansprechpartner\n"
            "  Rechnungen\n"
            "    Rechnungen\n"
            "  Offene_Posten\n"
            "    Kundenstammdaten\n"
            "    Offene Posten\n"
            "  Info\n"
            "    Über Varnolis\n"
            "  Notizen\n"
            "    <<Leer>>\n");
  EXPECT_EQ(NameOf(::GetFocus()), "tvZuordnungen");

  Select(Find("", "Info"));
  DoubleClick();
  EXPECT_EQ(frm->Core().SelectedTab(), 1);
  EXPECT_EQ(Text("txbRubrikenRubrik"), "Info");
  EXPECT_EQ(StatusPanel(0), "4. Datensatz von 5");

  SelectTab(4);
  Select(Find("Offene_Posten", "Offene Posten"));
  // "Zeige &Daten", the menu's second entry.
  ::SendMessageW(frm->Handle(), WM_COMMAND, win32::frmKonfiguration::kFirstMenuCommand + 1, 0);
  EXPECT_EQ(frm->Core().SelectedTab(), 2);
  EXPECT_EQ(Text("txbDatenTitel"), "Offene Posten");

  SelectTab(4);
  Select(Find("Notizen", "<<Leer>>"));
  DoubleClick();  // the empty marker: nothing
  EXPECT_EQ(frm->Core().SelectedTab(), 4);
  Select(Next(nullptr, TVGN_ROOT));
  DoubleClick();
  EXPECT_EQ(frm->Core().SelectedTab(), 3);
}

TEST_F(TreeAndKeysWindowsTest, KeysOutsideTheFieldsPressTheBarsButtons) {
  OpenWindow();
  HWND info = C("cmdInfo");
  ::SetFocus(info);
  Key(info, VK_END);
  EXPECT_EQ(StatusPanel(0), "5. Datensatz von 5");
  Key(info, VK_UP, true, true);
  EXPECT_EQ(StatusPanel(0), "4. Datensatz von 5");
  Key(info, VK_UP, true);
  EXPECT_EQ(StatusPanel(0), "1. Datensatz von 5");
  Key(info, VK_NEXT);
  EXPECT_EQ(StatusPanel(0), "2. Datensatz von 5");
  Key(info, VK_DOWN, true);
  EXPECT_EQ(StatusPanel(0), "5. Datensatz von 5");
  Key(info, VK_HOME);
  EXPECT_EQ(StatusPanel(0), "1. Datensatz von 5");
  // In a text field the keys are the field's.
  ::SetFocus(C("txbRubrikenTitel"));
  Key(C("txbRubrikenTitel"), VK_END);
  EXPECT_EQ(StatusPanel(0), "1. Datensatz von 5");
  EXPECT_EQ(dialogs.infoShown, 0);
  Click("cmdInfo");
  EXPECT_EQ(dialogs.infoShown, 1);
}

TEST_F(TreeAndKeysWindowsTest, TabGoesThroughTheFieldsInOrderAndAccessKeysFindTheirTarget) {
  OpenWindow();
  Click("cmdMoveNext");  // the first record is read-only: its panel takes no focus
  ::SetFocus(C("txbRubrikenRubrik"));
  ASSERT_EQ(NameOf(::GetFocus()), "txbRubrikenRubrik");
  Key(C("txbRubrikenRubrik"), VK_TAB);
  EXPECT_EQ(NameOf(::GetFocus()), "txbRubrikenRang");
  Key(C("txbRubrikenRang"), VK_TAB, false, true);
  EXPECT_EQ(NameOf(::GetFocus()), "txbRubrikenRubrik");
  // Alt+T: the label "&Titel" of the panel in view; Alt+D: the tab "&Daten".
  ::SendMessageW(C("txbRubrikenRubrik"), WM_SYSCHAR, L't', 1 << 29);
  EXPECT_EQ(NameOf(::GetFocus()), "txbRubrikenTitel");
  ::SendMessageW(C("txbRubrikenTitel"), WM_SYSCHAR, L'd', 1 << 29);
  EXPECT_EQ(frm->Core().SelectedTab(), 2);
  Click("cmdMoveNext");
  ::SendMessageW(C("TabStrip"), WM_SYSCHAR, L't', 1 << 29);
  EXPECT_EQ(NameOf(::GetFocus()), "txbDatenTitel");
}

TEST_F(TreeAndKeysWindowsTest, TheDebugBoxShowsTraceLinesWhenDebuggingIsOn) {
  OpenWindow(96, true);
  RECT client{};
  ::SetFocus(C("cmdInfo"));
  Click("cmdReset");
  Click("cmdMoveNext");
  Click("cmdLine");
  EXPECT_EQ(Text("txbStatus"),
            "Aktuell Falsches Control: txbRubrikenRubrik/cmdInfo\r\n"
            "Aktuell Falsches Control: txbRubrikenRang/cmdInfo\r\n"
            "Aktuell Falsches Control: txbRubrikenTitel/cmdInfo\r\n"
            "Aktuell Falsches Control: txbRubrikenMenueText/cmdInfo\r\n"
            "Aktuell Falsches Control: txbRubrikenBemerkung/cmdInfo\r\n"
            "rstabRubriken Record Moved - Reason: MoveNext\r\n---------------\r\n");
  ::GetClientRect(frm->Handle(), &client);
  EXPECT_GE(client.bottom, Place("txbStatus").bottom);
  Click("cmdReset");
  EXPECT_EQ(Text("txbStatus"), "");
}

}  // namespace
}  // namespace vn::config::testing
