// The window's construction from the core's layout table (controls, captions, pictures,
// tooltips and their places in twips), its messages, and the view the core shows itself
// through.
#include "config/win32/frm_konfiguration.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <utility>

#include "config/core/layout.h"
#include "config/core/texts.h"
#include "config/win32/pictures.h"
#include "config/win32/window_class.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"frmKonfiguration";
constexpr wchar_t kPanelClass[] = L"VarnolisKonfigurationPanel";
constexpr UINT_PTR kSubclassId = 1;

std::wstring W(const std::string& utf8) { return vn::win32::Widen(utf8); }

std::wstring WindowText(HWND control) {
  const int length = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

// A caret in UTF-16 units as a byte offset of the UTF-8 text, and back.
int Utf8Offset(const std::wstring& text, int caret) {
  return static_cast<int>(
      vn::win32::Narrow(std::wstring_view(text).substr(0, static_cast<size_t>(caret))).size());
}
int Utf16Offset(const std::string& text, int caret) {
  return static_cast<int>(W(text.substr(0, static_cast<size_t>(caret))).size());
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  return ::lstrcmpiW(className, name) == 0;
}

}  // namespace

frmKonfiguration::frmKonfiguration(HINSTANCE instance, bool debug, Prompts& prompts,
                                   WindowDialogs& dialogs, int dpi, bool quitOnDestroy)
    : instance_(instance),
      dialogs_(dialogs),
      quitOnDestroy_(quitOnDestroy),
      core_(debug, *this, prompts),
      twips_(dpi > 0 ? dpi : 96, dpi > 0 ? dpi : 96),
      fixedDpi_(dpi) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES |
                                                      ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  RegisterWindowClass(instance_, kWindowClass, WindowProc, COLOR_BTNFACE);
  RegisterWindowClass(instance_, kPanelClass, PanelProc, COLOR_BTNFACE);
  const std::wstring caption = W(texts::kWindowCaption);
  window_ = ::CreateWindowExW(
      WS_EX_CONTROLPARENT, kWindowClass, caption.c_str(),
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
      CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance_, this);
  if (fixedDpi_ == 0) twips_ = Twips::ForWindow(window_);
  BuildWindow();
}

frmKonfiguration::~frmKonfiguration() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

HWND frmKonfiguration::Control(const std::string& name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

std::string frmKonfiguration::NameOf(HWND control) const {
  for (HWND w = control; w != nullptr && w != window_; w = ::GetParent(w)) {
    const auto found = names_.find(w);
    if (found != names_.end()) return found->second;
  }
  return {};
}

// Construction -------------------------------------------------------------------------------

void frmKonfiguration::SetPlace(HWND control, const TwipsRect& rect) {
  const RECT pixels = twips_.ToPixels(rect);
  ::SetWindowPos(control, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                 pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND frmKonfiguration::BuildControl(const ControlPlace& place) {
  const std::string name = place.name;
  HWND parent = place.container[0] == '\0' ? window_ : Control(place.container);
  const std::wstring caption = W(place.caption);
  const wchar_t* className = WC_BUTTONW;
  // Overlapping controls (an enlarged field over the ones above it) draw in their order.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (place.kind) {
    case ControlKind::kTabStrip:
      className = WC_TABCONTROLW;
      style |= WS_CLIPSIBLINGS | WS_TABSTOP;
      break;
    case ControlKind::kTabPanel:
    case ControlKind::kPanel:
      className = kPanelClass;
      exStyle = WS_EX_CONTROLPARENT;
      style |= WS_CLIPCHILDREN;
      break;
    case ControlKind::kLabel:
      className = WC_STATICW;
      style |= SS_LEFT | SS_CENTERIMAGE;
      break;
    case ControlKind::kTextField:
      className = WC_EDITW;
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kLongText:
      className = WC_EDITW;
      style |= WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kList:
    case ControlKind::kEditList:
      className = WC_COMBOBOXW;
      style |=
          WS_TABSTOP | WS_VSCROLL |
          (place.kind == ControlKind::kList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
      break;
    case ControlKind::kBarButton:
      style |= WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;
      break;
    case ControlKind::kButton:
      style |= WS_TABSTOP | BS_PUSHBUTTON | (place.picture != Picture::kNone ? BS_ICON : 0);
      break;
    case ControlKind::kTree:
      className = WC_TREEVIEWW;
      style |= WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kDebugBox:
      className = WC_EDITW;
      style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
  }
  HWND control = ::CreateWindowExW(exStyle, className, caption.c_str(), style, 0, 0, 0, 0, parent,
                                   nullptr, instance_, nullptr);
  const HFONT font = place.font == ControlFont::kBold ? boldFont_.Get() : font_.Get();
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  controls_[name] = control;
  names_[control] = name;
  if (place.kind == ControlKind::kTabStrip) tabStrip_ = control;
  if (place.kind == ControlKind::kTabPanel) frTab_.push_back(control);
  if (place.kind == ControlKind::kTree) tree_ = control;
  if (place.kind == ControlKind::kDebugBox) txbStatus_ = control;

  TwipsRect rect = Rect(name);
  rect.top -= place.pixelsUp * twips_.PerPixelY();
  // A list's height is that of its drop-down part as well.
  if (place.kind == ControlKind::kList || place.kind == ControlKind::kEditList)
    rect.height = place.height * 8;
  SetPlace(control, rect);
  if (place.kind == ControlKind::kList || place.kind == ControlKind::kEditList)
    ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                   twips_.ToPixelsY(place.height) - 6);
  if (place.picture != Picture::kNone) {
    // A bar button's picture fills it but for a margin, another button's its height.
    const int size = place.kind == ControlKind::kBarButton ? twips_.ToPixelsX(place.width) - 8
                                                           : twips_.ToPixelsY(place.height) - 6;
    icons_.emplace_back(MakePictureIcon(place.picture, size));
    ::SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons_.back().Get()));
  }
  ::SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (place.kind == ControlKind::kEditList) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (::GetComboBoxInfo(control, &info) && info.hwndItem != nullptr)
      ::SetWindowSubclass(info.hwndItem, ControlProc, kSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
  }
  if (place.kind != ControlKind::kTabStrip && place.kind != ControlKind::kTabPanel &&
      place.kind != ControlKind::kPanel && place.kind != ControlKind::kLabel &&
      place.kind != ControlKind::kDebugBox)
    tabOrder_.push_back(name);
  return control;
}

void frmKonfiguration::BuildWindow() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW logFont{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    logFont = metrics.lfMessageFont;
  else
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
  // Eight points at the window's dots per inch.
  logFont.lfHeight = -::MulDiv(8, 1440 / twips_.PerPixelY(), 72);
  font_.Reset(::CreateFontIndirectW(&logFont));
  logFont.lfWeight = FW_BOLD;
  boldFont_.Reset(::CreateFontIndirectW(&logFont));

  icons_.emplace_back(MakePictureIcon(Picture::kProgram, 32));
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_.back().Get()));
  icons_.emplace_back(MakePictureIcon(Picture::kProgram, 16));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.back().Get()));

  for (const ControlPlace& place : LayoutTable()) BuildControl(place);

  int index = 0;
  for (const char* tabCaption : TabCaptions()) {
    std::wstring text = W(tabCaption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(tabStrip_, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                   reinterpret_cast<LPARAM>(&item));
  }

  BuildStatusBar();
  BuildTooltips();
  BuildTree();

  // The debug box lies behind everything; the info button over the tab strip.
  ::SetWindowPos(txbStatus_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Before the load step the tab Rubriken is in view.
  for (size_t i = 1; i < frTab_.size(); ++i) {
    ::ShowWindow(frTab_[i], SW_HIDE);
    ::EnableWindow(frTab_[i], FALSE);
  }
  ::SetWindowPos(frTab_.front(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RaiseWindowButtons();
}

void frmKonfiguration::RaiseWindowButtons() {
  for (const ControlPlace& place : LayoutTable())
    if (place.kind == ControlKind::kButton && place.container[0] == '\0')
      ::SetWindowPos(Control(place.name), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmKonfiguration::BuildStatusBar() {
  statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 window_, nullptr, instance_, nullptr);
  ::SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  controls_["StatusBar"] = statusBar_;
  names_[statusBar_] = "StatusBar";
}

void frmKonfiguration::BuildTooltips() {
  tooltips_ =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  controls_["Tooltips"] = tooltips_;
  for (const ControlPlace& place : LayoutTable()) {
    if (place.tooltip[0] == '\0') continue;
    std::wstring text = W(place.tooltip);
    HWND control = Control(place.name);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    ::SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void frmKonfiguration::SetSizeLimits(MINMAXINFO& limits) const {
  if (minimumSize_.cx == 0) return;
  // As wide as the tab strip allows, no narrower and no wider; never so low that the button
  // bar and the status bar are cut off.
  limits.ptMinTrackSize.x = minimumSize_.cx;
  limits.ptMaxTrackSize.x = minimumSize_.cx;
  limits.ptMinTrackSize.y = minimumSize_.cy;
}

int frmKonfiguration::StatusBarHeight() const {
  RECT bar{};
  ::GetWindowRect(statusBar_, &bar);
  return bar.bottom - bar.top;
}

void frmKonfiguration::Load() {
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const TwipsRect client =
      LoadClientArea(Rect("TabStrip"), Rect("picDatenSteuerung"),
                     twips_.ToTwipsX(frame.right - frame.left), twips_.ToTwipsY(StatusBarHeight()));
  RECT outer{0, 0, twips_.ToPixelsX(client.width), twips_.ToPixelsY(client.height)};
  ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  minimumSize_ = {outer.right - outer.left, outer.bottom - outer.top};
  ::SetWindowPos(window_, nullptr, 0, 0, minimumSize_.cx, minimumSize_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  core_.Load();
  loaded_ = true;
}

// Messages -----------------------------------------------------------------------------------

LRESULT CALLBACK frmKonfiguration::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<frmKonfiguration*>(create->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<frmKonfiguration*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

// The panels pass their controls' notifications on to the window.
LRESULT CALLBACK frmKonfiguration::PanelProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return ::SendMessageW(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK frmKonfiguration::ControlProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<frmKonfiguration*>(data);
  switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
      if (self->ControlKey(window, message, wParam)) return 0;
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, ControlProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT frmKonfiguration::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) >= kFirstMenuCommand) {
        MenuCommand(LOWORD(wParam));
        return 0;
      }
      if (lParam != 0) ControlNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      Notify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Keys reach the window itself when no control has the focus (then as "system" keys,
      // without Alt) or when it has it: the keyboard table is the window's there too.
      if ((message == WM_KEYDOWN || (lParam & kAltHeld) == 0) &&
          TableKey(wParam, IsTextOrListField(::GetFocus())))
        return 0;
      break;
    case WM_SYSCHAR:
      if ((lParam & kAltHeld) != 0 && Mnemonic(static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_ACTIVATE:
      // Away, the focused control is noted; back (or opened), it gets the focus again, or the
      // first enabled control does, so that the keyboard works before any click.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = NameOf(::GetFocus());
        return 0;
      }
      if (HIWORD(wParam) == 0) FocusOnOpen();
      return 0;
    case WM_SIZE:
      if (statusBar_ != nullptr) {
        ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
        RECT client{};
        ::GetClientRect(window_, &client);
        int parts[2] = {client.right - twips_.ToPixelsX(layout::kEditPanelWidth), -1};
        ::SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
      }
      return 0;
    case WM_GETMINMAXINFO:
      SetSizeLimits(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_CLOSE:
      // A refused save keeps the window open with the error shown.
      if (core_.Close()) ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void frmKonfiguration::ControlNotification(HWND control, int code) {
  // Only the layout's controls speak to the core (not the status bar or the tooltips).
  const ControlPlace* place = FindPlace(NameOf(control));
  if (place == nullptr) return;
  const std::string name = place->name;
  if (code == BN_CLICKED && IsClass(control, WC_BUTTONW)) {
    core_.Press(place->command);
    return;
  }
  if (control == txbStatus_) return;
  const ControlKind kind = place->kind;
  if (code == EN_CHANGE && settingText_ == 0 &&
      (kind == ControlKind::kTextField || kind == ControlKind::kLongText))
    FieldChanged(name);
  else if (code == CBN_SELCHANGE && kind == ControlKind::kList)
    FieldChanged(name);
}

void frmKonfiguration::Notify(const NMHDR& header) {
  if (header.hwndFrom == tabStrip_ && header.code == TCN_SELCHANGE) {
    if (showingTab_) return;
    const int index = static_cast<int>(::SendMessageW(tabStrip_, TCM_GETCURSEL, 0, 0)) + 1;
    if (!loaded_) {
      ShowTab(index);
      return;
    }
    core_.SelectTab(index);
    return;
  }
  if (header.hwndFrom == tree_) {
    if (header.code == NM_DBLCLK) {
      core_.tvZuordnungen_DblClick();
    } else if (header.code == NM_RCLICK) {
      // The right button selects the node under it, then the menu opens over the selection.
      TVHITTESTINFO hit{};
      const DWORD position = ::GetMessagePos();
      hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
      ::ScreenToClient(tree_, &hit.pt);
      const auto item = reinterpret_cast<HTREEITEM>(
          ::SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (item != nullptr)
        ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      OpenTreeMenu();
    }
  }
}

// Bound fields -------------------------------------------------------------------------------

void frmKonfiguration::FieldChanged(const std::string& name) {
  HWND control = Control(name);
  if (Place(name).kind == ControlKind::kList) {
    core_.ListChanged(name, static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0)));
    return;
  }
  const std::wstring text = WindowText(control);
  DWORD start = 0;
  ::SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const std::string utf8 = vn::win32::Narrow(text);
  if (auto fix = core_.TextChanged(name, utf8, Utf8Offset(text, static_cast<int>(start)))) {
    // The correction is shown; its change reaches the core as any other.
    ++settingText_;
    ::SetWindowTextW(control, W(fix->text).c_str());
    --settingText_;
    const int caret = Utf16Offset(fix->text, fix->caret);
    ::SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(caret), caret);
    FieldChanged(name);
  }
}

// The view -----------------------------------------------------------------------------------

void frmKonfiguration::ShowField(const std::string& control, const std::string& text) {
  HWND field = Control(control);
  if (field == nullptr) return;
  const std::wstring shown = W(text);
  // An unchanged control reports nothing, as a control whose text stays.
  if (WindowText(field) == shown) return;
  ++settingText_;
  ::SetWindowTextW(field, shown.c_str());
  --settingText_;
  const ControlKind kind = Place(control).kind;
  if (kind == ControlKind::kTextField || kind == ControlKind::kLongText) FieldChanged(control);
}

void frmKonfiguration::ShowListRow(const std::string& control, int row) {
  HWND list = Control(control);
  if (list == nullptr) return;
  if (static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)) == row) return;
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  FieldChanged(control);
}

void frmKonfiguration::ShowList(const std::string& control, const std::vector<LookupRow>& rows) {
  HWND list = Control(control);
  if (list == nullptr) return;
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const LookupRow& row : rows)
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(row.text).c_str()));
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

std::string frmKonfiguration::FieldText(const std::string& control) const {
  HWND field = Control(control);
  return field == nullptr ? std::string() : vn::win32::Narrow(WindowText(field));
}

void frmKonfiguration::ShowState(const WindowState& state) {
  for (const auto& [name, enabled] : state.Buttons()) ::EnableWindow(Control(name), enabled);
  ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(state.status).c_str()));
  // A leading tab centres the panel's text.
  ::SendMessageW(statusBar_, SB_SETTEXTW, 1,
                 reinterpret_cast<LPARAM>((L"\t" + W(state.edit)).c_str()));
  for (size_t i = 0; i < frTab_.size(); ++i) ::EnableWindow(frTab_[i], state.panelEnabled[i]);
}

void frmKonfiguration::ShowTab(int tab) {
  showingTab_ = true;
  ::SendMessageW(tabStrip_, TCM_SETCURSEL, static_cast<WPARAM>(tab - 1), 0);
  showingTab_ = false;
  for (size_t i = 0; i < frTab_.size(); ++i) {
    if (static_cast<int>(i) == tab - 1) {
      ::SetWindowPos(frTab_[i], HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
      ::ShowWindow(frTab_[i], SW_HIDE);
    }
  }
  RaiseWindowButtons();
}

void frmKonfiguration::Focus(const std::string& control) {
  if (HWND field = Control(control)) ::SetFocus(field);
}

std::string frmKonfiguration::FocusedControl() const { return NameOf(::GetFocus()); }

bool frmKonfiguration::Shown() const { return window_ != nullptr && ::IsWindowVisible(window_); }

void frmKonfiguration::WriteDebugLine(const std::string& text) {
  // The window grows to show the debug box under the button bar.
  RECT box{};
  ::GetWindowRect(txbStatus_, &box);
  ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
  const int clientHeight = box.bottom + 2 * StatusBarHeight();
  RECT client{};
  ::GetClientRect(window_, &client);
  if (client.bottom != clientHeight) {
    RECT outer{0, 0, client.right, clientHeight};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int end = ::GetWindowTextLengthW(txbStatus_);
  ::SendMessageW(txbStatus_, EM_SETSEL, static_cast<WPARAM>(end), end);
  ::SendMessageW(txbStatus_, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>((W(text) + L"\r\n").c_str()));
}

void frmKonfiguration::ClearDebugBox() { ::SetWindowTextW(txbStatus_, L""); }

void frmKonfiguration::ShowAbout() { dialogs_.ShowInfo(window_); }

void frmKonfiguration::MoveDownPixels(const std::string& control, int pixels) {
  HWND moved = Control(control);
  RECT place{};
  ::GetWindowRect(moved, &place);
  ::MapWindowPoints(nullptr, ::GetParent(moved), reinterpret_cast<POINT*>(&place), 2);
  ::SetWindowPos(moved, nullptr, place.left, place.top + pixels, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmKonfiguration::ShowBusy(bool busy) {
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void frmKonfiguration::LetMessagesRun() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the program's own loop.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Keyboard -----------------------------------------------------------------------------------

bool frmKonfiguration::IsTextOrListField(HWND control) const {
  for (HWND w = control; w != nullptr && w != window_; w = ::GetParent(w)) {
    if (w == txbStatus_) return true;
    if (IsClass(w, WC_EDITW) || IsClass(w, WC_COMBOBOXW)) return true;
  }
  return false;
}

bool frmKonfiguration::ControlKey(HWND control, UINT message, WPARAM wParam) {
  if (message == WM_SYSCHAR) return Mnemonic(static_cast<wchar_t>(wParam));
  if (message == WM_CHAR) {
    // The tab character of a Tab press is not typed into a field.
    return wParam == L'\t';
  }
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  if (wParam == VK_TAB && !ctrl && !alt) {
    MoveFocus(shift);
    return true;
  }
  return TableKey(wParam, IsTextOrListField(control));
}

bool frmKonfiguration::TableKey(WPARAM wParam, bool inField) {
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  static constexpr std::pair<WPARAM, Key> kKeys[] = {
      {VK_ESCAPE, Key::kEscape}, {VK_END, Key::kEnd},       {VK_HOME, Key::kHome},
      {VK_UP, Key::kUp},         {VK_PRIOR, Key::kPageUp},  {VK_DOWN, Key::kDown},
      {VK_NEXT, Key::kPageDown}, {VK_INSERT, Key::kInsert}, {VK_DELETE, Key::kDelete},
      {VK_RETURN, Key::kEnter},  {VK_F5, Key::kF5},
  };
  for (const auto& [virtualKey, key] : kKeys) {
    if (wParam != virtualKey) continue;
    if (inField) return core_.FieldKeyPressed(key);
    return core_.KeyPressed(key, ctrl && !shift && !alt);
  }
  return false;
}

void frmKonfiguration::FocusOnOpen() {
  HWND focus = ::GetFocus();
  if (focus != nullptr && focus != window_ && ::IsChild(window_, focus)) return;
  HWND last = Control(lastFocus_);
  if (last != nullptr && Usable(last)) {
    ::SetFocus(last);
    return;
  }
  MoveFocus(false);
}

bool frmKonfiguration::Usable(HWND control) const {
  bool usable = ::IsWindowVisible(control) != FALSE;
  for (HWND w = control; usable && w != nullptr && w != window_; w = ::GetParent(w))
    usable = ::IsWindowEnabled(w) != FALSE;
  return usable;
}

void frmKonfiguration::MoveFocus(bool backwards) {
  const std::string current = FocusedControl();
  auto at = std::find(tabOrder_.begin(), tabOrder_.end(), current);
  const int count = static_cast<int>(tabOrder_.size());
  int index = at == tabOrder_.end() ? (backwards ? 0 : count - 1)
                                    : static_cast<int>(at - tabOrder_.begin());
  for (int step = 0; step < count; ++step) {
    index = (index + (backwards ? count - 1 : 1)) % count;
    HWND candidate = Control(tabOrder_[static_cast<size_t>(index)]);
    if (!Usable(candidate)) continue;
    ::SetFocus(candidate);
    // A field entered by Tab shows its whole text selected, as in a dialog.
    if (IsClass(candidate, WC_EDITW)) ::SendMessageW(candidate, EM_SETSEL, 0, -1);
    return;
  }
}

bool frmKonfiguration::Mnemonic(wchar_t key) {
  const wchar_t wanted = static_cast<wchar_t>(std::towlower(key));
  auto marks = [wanted](const char* caption) {
    const std::wstring text = W(caption);
    const size_t amp = text.find(L'&');
    return amp != std::wstring::npos && amp + 1 < text.size() &&
           static_cast<wchar_t>(std::towlower(text[amp + 1])) == wanted;
  };
  // The labels and buttons of the panel in view first, then the tabs.
  for (const ControlPlace& place : LayoutTable()) {
    if (place.kind != ControlKind::kLabel && place.kind != ControlKind::kButton) continue;
    if (!marks(place.caption)) continue;
    HWND control = Control(place.name);
    if (!::IsWindowVisible(control) || !::IsWindowEnabled(::GetParent(control))) continue;
    if (place.kind == ControlKind::kLabel) {
      ::SetFocus(Control(place.buddy));
    } else if (::IsWindowEnabled(control)) {
      ::SetFocus(control);
      ::SendMessageW(control, BM_CLICK, 0, 0);
    }
    return true;
  }
  int index = 1;
  for (const char* caption : TabCaptions()) {
    if (marks(caption)) {
      UserSelectsTab(index);
      return true;
    }
    ++index;
  }
  return false;
}

void frmKonfiguration::UserSelectsTab(int index) {
  ::SetFocus(tabStrip_);
  ::SendMessageW(tabStrip_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
  NMHDR header{tabStrip_, static_cast<UINT_PTR>(::GetDlgCtrlID(tabStrip_)),
               static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageW(window_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// Size buttons -------------------------------------------------------------------------------

void frmKonfiguration::ShowResize(const FieldResize& resize) {
  SetPlace(Control(resize.field), resize.fieldRect);
  SetPlace(Control(resize.label), resize.labelRect);
  ::SetWindowTextW(Control(resize.sizeButton), W(resize.caption).c_str());
  for (const auto& [name, rect] : resize.buttons) SetPlace(Control(name), rect);
  for (const std::string& name : resize.raise)
    ::SetWindowPos(Control(name), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::InvalidateRect(::GetParent(Control(resize.field)), nullptr, TRUE);
  ::SetFocus(Control(resize.field));
}

}  // namespace vn::config::win32
