// The Windows front's window over the core tests' configuration database, shown (on Wine's
// null display), with messages to it as a user's actions arrive: text set and its change
// notification, a button's click, a list's pick, a tab's selection, a key.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "config/win32/frm_konfiguration.h"
#include "platform/win32/wide.h"
#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {

class RecordingDialogs : public win32::WindowDialogs {
 public:
  int infoShown = 0;
  void ShowInfo(HWND) override { ++infoShown; }
};

class KonfigurationWindowsTest : public CoreTest {
 protected:
  void TearDown() override {
    if (frm) frm->Core().SetTableRecords(nullptr, nullptr, nullptr);
    frm.reset();
    frmEvents.reset();
    CoreTest::TearDown();
  }

  void OpenWindow(int dpi = 96, bool debug = false) {
    dataEnv = std::make_unique<DataEnv>();
    dataEnv->DataEnvironment_Initialize(folder);
    frm = std::make_unique<win32::frmKonfiguration>(::GetModuleHandleW(nullptr), debug, prompts,
                                                    dialogs, dpi);
    frmEvents = std::make_unique<DataEnvEvents>(frm->Core());
    frm->Core().SetRecordEvents(frmEvents.get());
    frm->Core().SetTableRecords(dataEnv->rstabRubriken(), dataEnv->rstabDaten(),
                                dataEnv->rstabZuordnungen());
    frm->Core().SetLookupSource(dataEnv.get());
    frm->Core().SetConfigStore(dataEnv.get());
    frm->Load();
    ::ShowWindow(frm->Handle(), SW_SHOW);
    ::SetForegroundWindow(frm->Handle());
  }

  HWND C(const std::string& name) { return frm->Control(name); }
  std::string NameOf(HWND control) { return frm->NameOf(control); }

  std::string Text(const std::string& name) {
    HWND control = C(name);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return vn::win32::Narrow(text);
  }

  // The notification a control sends its parent.
  void Notify(HWND control, int code) {
    ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                   reinterpret_cast<LPARAM>(control));
  }
  void Click(const std::string& name) { Notify(C(name), BN_CLICKED); }
  void Pick(const std::string& name, int row) {
    ::SetFocus(C(name));
    ::SendMessageW(C(name), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    Notify(C(name), CBN_SELCHANGE);
  }
  // Characters typed into a field with the focus, one WM_CHAR each, as the keyboard sends them.
  void Keys(const std::string& name, const std::wstring& characters) {
    for (wchar_t c : characters) ::SendMessageW(C(name), WM_CHAR, c, 1);
  }
  void Caret(const std::string& name, int position) {
    ::SetFocus(C(name));
    ::SendMessageW(C(name), EM_SETSEL, static_cast<WPARAM>(position), position);
  }
  int CaretOf(const std::string& name) {
    DWORD start = 0;
    ::SendMessageW(C(name), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
  }
  void SelectTab(int tab) {
    HWND strip = C("TabStrip");
    ::SendMessageW(strip, TCM_SETCURSEL, static_cast<WPARAM>(tab - 1), 0);
    NMHDR header{strip, static_cast<UINT_PTR>(::GetDlgCtrlID(strip)),
                 static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(::GetParent(strip), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
  // A key pressed on the control with the focus, with Ctrl and Shift held or not.
  void Key(HWND control, WPARAM key, bool ctrl = false, bool shift = false) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::SendMessageW(control, WM_KEYDOWN, key, 1);
    state[VK_CONTROL] = 0;
    state[VK_SHIFT] = 0;
    ::SetKeyboardState(state);
  }
  std::string StatusPanel(int part) {
    wchar_t text[256] = {};
    ::SendMessageW(C("StatusBar"), SB_GETTEXTW, static_cast<WPARAM>(part),
                   reinterpret_cast<LPARAM>(text));
    std::string shown = vn::win32::Narrow(text);
    return !shown.empty() && shown[0] == '\t' ? shown.substr(1) : shown;
  }
  // A control's place relative to its container, in pixels.
  RECT Place(const std::string& name) {
    RECT place{};
    ::GetWindowRect(C(name), &place);
    ::MapWindowPoints(nullptr, ::GetParent(C(name)), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }

  // The tree view's nodes: an item's text, the next item of a kind, the node `text` below the
  // node `parent`, and a node selected.
  std::string ItemText(HTREEITEM item) {
    wchar_t text[128] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = 128;
    ::SendMessageW(C("tvZuordnungen"), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return vn::win32::Narrow(text);
  }
  HTREEITEM Next(HTREEITEM item, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(C("tvZuordnungen"), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }
  // The node `text` below the node `parent` ("" for the root's children).
  HTREEITEM Find(const std::string& parent, const std::string& text) {
    HTREEITEM root = Next(nullptr, TVGN_ROOT);
    for (HTREEITEM rubric = Next(root, TVGN_CHILD); rubric != nullptr;
         rubric = Next(rubric, TVGN_NEXT)) {
      if (parent.empty() && ItemText(rubric) == text) return rubric;
      if (ItemText(rubric) != parent) continue;
      for (HTREEITEM entry = Next(rubric, TVGN_CHILD); entry != nullptr;
           entry = Next(entry, TVGN_NEXT))
        if (ItemText(entry) == text) return entry;
    }
    return nullptr;
  }
  void Select(HTREEITEM item) {
    ::SendMessageW(C("tvZuordnungen"), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }

  RecordingDialogs dialogs;
  std::unique_ptr<win32::frmKonfiguration> frm;
  std::unique_ptr<DataEnvEvents> frmEvents;
};

}  // namespace vn::config::testing
