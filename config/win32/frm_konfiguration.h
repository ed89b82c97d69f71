// frmKonfiguration: the configuration program's main window on Windows, plain Win32 and the
// common controls. It creates the controls of the core's layout table, shows what the core
// (KonfigurationWindow) decides through the view interface, and passes the user's presses, keys
// and edits to it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "config/core/konfiguration_window.h"
#include "config/win32/handles.h"
#include "config/win32/twips.h"
#include "config/win32/window_dialogs.h"

namespace vn::config::win32 {

class frmKonfiguration : private KonfigurationView {
 public:
  // Creates the window (hidden) with every control. `dpi` 0 takes the window's own dots per
  // inch; tests pass one. The program ends its message loop when the window is destroyed if
  // `quitOnDestroy`.
  frmKonfiguration(HINSTANCE instance, bool debug, Prompts& prompts, WindowDialogs& dialogs,
                   int dpi = 0, bool quitOnDestroy = false);
  ~frmKonfiguration() override;
  frmKonfiguration(const frmKonfiguration&) = delete;
  frmKonfiguration& operator=(const frmKonfiguration&) = delete;

  HWND Handle() const { return window_; }
  KonfigurationWindow& Core() { return core_; }

  // The window's load step: its size, then the core's.
  void Load();

  // A control by its name in the layout table ("StatusBar", "Tooltips" and "mnuAnsicht"'s
  // entries are not controls); nullptr for an unknown name.
  HWND Control(const std::string& name) const;
  // The name of a control or of the control a child window belongs to; "" when none.
  std::string NameOf(HWND control) const;

  // The context menu's command identifiers, in the order of the core's menu items.
  static constexpr int kFirstMenuCommand = 40001;

 private:
  // KonfigurationView.
  void ShowField(const std::string& control, const std::string& text) override;
  void ShowListRow(const std::string& control, int row) override;
  void ShowList(const std::string& control, const std::vector<LookupRow>& rows) override;
  std::string FieldText(const std::string& control) const override;
  void ShowState(const WindowState& state) override;
  void ShowTab(int tab) override;
  void ShowTree(const std::vector<TreeNode>& nodes, int selected) override;
  int SelectedTreeNode() const override;
  void Focus(const std::string& control) override;
  std::string FocusedControl() const override;
  bool Shown() const override;
  void WriteDebugLine(const std::string& text) override;
  void ClearDebugBox() override;
  void ShowAbout() override;
  int TwipsPerPixelY() const override { return twips_.PerPixelY(); }
  void MoveDownPixels(const std::string& control, int pixels) override;
  void ShowResize(const FieldResize& resize) override;
  void ShowBusy(bool busy) override;
  void LetMessagesRun() override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A control's key or character message; true when the window took it.
  bool ControlKey(HWND control, UINT message, WPARAM wParam);
  // A key of the keyboard table, pressed with the shift state held now; true when it pressed
  // its button. In a text or list field (`inField`) only the keys the core answers there.
  bool TableKey(WPARAM key, bool inField);
  // The focus on the control that had it when the window was left, else the first enabled
  // control, unless a control has it.
  void FocusOnOpen();
  // Visible and enabled, its containers too.
  bool Usable(HWND control) const;
  // The bit of a key message's lParam that says Alt is held.
  static constexpr LPARAM kAltHeld = 1 << 29;

  void BuildWindow();
  HWND BuildControl(const ControlPlace& place);
  void BuildStatusBar();
  void BuildTooltips();
  void BuildTree();
  void SetPlace(HWND control, const TwipsRect& rect);
  // The buttons of the window's client area lie over the tab strip and the panels.
  void RaiseWindowButtons();

  void ControlNotification(HWND control, int code);
  void Notify(const NMHDR& header);
  void FieldChanged(const std::string& name);
  void UserSelectsTab(int index);
  void MoveFocus(bool backwards);
  bool Mnemonic(wchar_t key);
  bool IsTextOrListField(HWND control) const;
  void OpenTreeMenu();
  void MenuCommand(int command);
  void SetSizeLimits(MINMAXINFO& limits) const;
  int StatusBarHeight() const;

  HINSTANCE instance_;
  WindowDialogs& dialogs_;
  bool quitOnDestroy_;
  KonfigurationWindow core_;
  HWND window_ = nullptr;
  Twips twips_;
  int fixedDpi_;
  bool loaded_ = false;
  bool showingTab_ = false;
  // Set while the window changes a field's text itself: its change reaches the core once, by
  // the window's own call.
  int settingText_ = 0;
  SIZE minimumSize_{0, 0};
  std::string lastFocus_;  // the control that had the focus when the window was left

  std::map<std::string, HWND> controls_;
  std::map<HWND, std::string> names_;
  std::vector<std::string> tabOrder_;
  HWND tabStrip_ = nullptr;
  std::vector<HWND> frTab_;  // the tabs' panels in order
  HWND statusBar_ = nullptr;
  HWND tooltips_ = nullptr;
  HWND tree_ = nullptr;
  HWND txbStatus_ = nullptr;
  std::vector<HTREEITEM> treeItems_;  // in the order the nodes were added
  UniqueFont font_;
  UniqueFont boldFont_;
  UniqueImageList treeImages_;
  std::vector<UniqueIcon> icons_;
  UniqueMenu menu_;
};

}  // namespace vn::config::win32
