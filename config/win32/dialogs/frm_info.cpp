#include "config/win32/dialogs/frm_info.h"

#include <commctrl.h>

#include <string>

#include "config/core/scroll_text.h"
#include "config/core/texts.h"
#include "config/core/version_texts.h"
#include "config/win32/window_class.h"
#include "platform/win32/wide.h"
#include "resources/version.h"

namespace vn::config::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnolisFrmInfo";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTickMilliseconds = 40;
constexpr UINT_PTR kLinkSubclass = 1;
// Layout at 96 dots per inch.
constexpr int kClientWidth = 340;
constexpr int kClientHeight = 272;
constexpr int kMargin = 20;
constexpr int kBoxWidth = 300;
constexpr int kBoxHeight = 120;
constexpr int kLineHeight = 20;
constexpr COLORREF kLinkColour = RGB(0x1f, 0x4e, 0x8c);

HWND Label(HWND parent, HINSTANCE instance, int id, const std::string& text, DWORD style, int top,
           int height, HFONT font) {
  HWND label = ::CreateWindowExW(
      0, L"STATIC", vn::win32::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style,
      ScalePixels(kMargin), ScalePixels(top), ScalePixels(kBoxWidth), ScalePixels(height), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (font != nullptr) ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

}  // namespace

frmInfo::frmInfo(HWND owner, clShellExecute& shell)
    : owner_(owner),
      shell_(shell),
      productFont_(MessageFont(4, true, false)),
      textFont_(MessageFont(0, false, false)),
      linkFont_(MessageFont(0, false, false)),
      underlinedFont_(MessageFont(0, false, true)),
      scrollBoldFont_(MessageFont(0, true, false)) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, kClassName, &frmInfo::WindowProc, COLOR_BTNFACE);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, ScalePixels(kClientWidth), ScalePixels(kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred over the owner, or on the screen without one.
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (owner_ != nullptr) ::GetWindowRect(owner_, &area);
  ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, vn::win32::Widen(texts::kInfoCaption).c_str(),
                    style, area.left + (area.right - area.left - width) / 2,
                    area.top + (area.bottom - area.top - height) / 2, width, height, owner_,
                    nullptr, instance, this);
  if (window_ == nullptr) return;
  CreateControls(instance);
  // The scroll offset starts at 0 and the timer runs.
  offset_ = 0;
  ::SetTimer(window_, kTimer1, kTickMilliseconds, nullptr);
  ::ShowWindow(window_, SW_SHOW);
  ::SetFocus(window_);
}

frmInfo::~frmInfo() {
  if (window_ != nullptr) Close();
}

void frmInfo::CreateControls(HINSTANCE instance) {
  Label(window_, instance, kIdProduct,
        std::string(vn::version::kProductName) + " - " + texts::kSubtitle, SS_LEFT, 14, 26,
        productFont_.Get());
  // Labels without SS_NOTIFY let clicks through to the window, which closes on them.
  Label(window_, instance, kIdVersion,
        InfoVersionText(vn::version::kMajor, vn::version::kMinor, vn::version::kRevision), SS_LEFT,
        46, 18, textFont_.Get());
  Label(window_, instance, kIdCopyright, vn::version::kCopyright, SS_LEFT, 66, 18, textFont_.Get());
  Label(window_, instance, kIdScrollText, "", SS_OWNERDRAW | WS_BORDER, 94, kBoxHeight, nullptr);
  link_ = Label(window_, instance, kIdQX, vn::version::kWebAddress, SS_LEFT | SS_NOTIFY, 230, 20,
                linkFont_.Get());
  ::SetWindowSubclass(link_, &frmInfo::LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));

  HWND tooltip =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
  std::wstring tip = vn::win32::Widen(texts::kWebLinkTooltip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(link_);
  tool.lpszText = tip.data();
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

int frmInfo::ScrollBoxHeight() const { return ScalePixels(kBoxHeight); }

int frmInfo::ScrollPictureHeight() const {
  // Blank space of one box height above and below lets the text enter and leave the box.
  return ScalePixels(kBoxHeight * 2 + texts::kScrollLineCount * kLineHeight);
}

void frmInfo::Tick() {
  if (window_ != nullptr) ::InvalidateRect(::GetDlgItem(window_, kIdScrollText), nullptr, FALSE);
  ++offset_;
  if (offset_ > ScrollPictureHeight() - ScrollBoxHeight() - 1) offset_ = 0;
}

void frmInfo::PaintScrollText(const DRAWITEMSTRUCT& item) const {
  // The section of the scroll picture that begins `offset_` below its top.
  HDC dc = item.hDC;
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kLinkColour);
  const int lineHeight = ScalePixels(kLineHeight);
  for (int i = 0; i < texts::kScrollLineCount; ++i) {
    RECT line = item.rcItem;
    line.top = item.rcItem.top + ScrollBoxHeight() + i * lineHeight - offset_;
    line.bottom = line.top + lineHeight;
    if (line.bottom < item.rcItem.top || line.top > item.rcItem.bottom) continue;
    HGDIOBJ previous = ::SelectObject(dc, i == 0 ? scrollBoldFont_.Get() : textFont_.Get());
    std::wstring text = vn::win32::Widen(texts::kScrollLines[i]);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, previous);
  }
}

void frmInfo::SetLinkUnderline(bool on) {
  if (underlined_ == on || link_ == nullptr) return;
  underlined_ = on;
  ::SendMessageW(link_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(on ? underlinedFont_.Get() : linkFont_.Get()), TRUE);
}

void frmInfo::Close() {
  // The owner is enabled again before the window goes, so that it, not another program, is
  // activated.
  if (modal_ && owner_ != nullptr) ::EnableWindow(owner_, TRUE);
  modal_ = false;
  if (window_ != nullptr) ::DestroyWindow(window_);
}

void frmInfo::RunModal() {
  if (window_ == nullptr) return;
  modal_ = true;
  if (owner_ != nullptr) ::EnableWindow(owner_, FALSE);
  MSG message;
  while (window_ != nullptr) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT belongs to the program's own loop.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (window_ != nullptr) Close();
  if (owner_ != nullptr) ::SetActiveWindow(owner_);
}

LRESULT frmInfo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer1) Tick();
      return 0;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(kIdScrollText)) {
        PaintScrollText(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      SetLinkUnderline(false);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdQX && HIWORD(wParam) == STN_CLICKED) {
        // No window given: the desktop window is the shell's owner.
        shell_.LaunchURL(std::string("https://") + vn::version::kWebAddress);
        // Closed once the link's click is over: the link is still inside its own handler.
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CLOSE:
      Close();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkMode(dc, TRANSPARENT);
      if (reinterpret_cast<HWND>(lParam) == link_) ::SetTextColor(dc, kLinkColour);
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DESTROY:
      ::KillTimer(window_, kTimer1);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK frmInfo::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<frmInfo*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<frmInfo*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->link_ = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT CALLBACK frmInfo::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
  auto* self = reinterpret_cast<frmInfo*>(data);
  switch (message) {
    case WM_MOUSEMOVE: {
      // The link takes the move itself (the window's own moves take the underline away) and
      // asks to hear when the mouse leaves it.
      self->SetLinkUnderline(true);
      TRACKMOUSEEVENT track{};
      track.cbSize = sizeof track;
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = link;
      ::TrackMouseEvent(&track);
      return 0;
    }
    case WM_MOUSELEAVE:
      self->SetLinkUnderline(false);
      return 0;
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(link, &frmInfo::LinkProc, kLinkSubclass);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(link, message, wParam, lParam);
}

}  // namespace vn::config::win32
