#include "config/win32/preview_window.h"

#include <commctrl.h>

#include "config/core/texts.h"
#include "config/win32/window_class.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"frmVorschau";
constexpr int kMargin = 8;
constexpr int kLinesHeight = 96;
constexpr int kBarHeight = 24;
constexpr int kCancelWidth = 96;
constexpr int kCancelId = 1;

std::wstring W(const std::string& utf8) { return vn::win32::Widen(utf8); }

// A child control of the window in the dialog font.
HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id) {
  HWND control = ::CreateWindowExW(
      0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  return control;
}

}  // namespace

frmVorschau::frmVorschau(HINSTANCE instance, HWND owner)
    : owner_(owner), control_(std::make_unique<PreviewControl>(static_cast<PreviewView&>(*this))) {
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  RegisterWindowClass(instance, kWindowClass, WindowProc, COLOR_BTNFACE);
  window_ = ::CreateWindowExW(0, kWindowClass, W(texts::kPreviewCaption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              720, 480, owner, nullptr, instance, this);
  lines_ = Child(window_, WC_EDITW, L"",
                 WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
                     ES_AUTOVSCROLL,
                 0);
  busy_ = Child(window_, PROGRESS_CLASSW, L"", PBS_MARQUEE, 0);
  ::ShowWindow(busy_, SW_HIDE);
  cancel_ = Child(window_, WC_BUTTONW, W(texts::kPreviewCancel).c_str(), BS_PUSHBUTTON | WS_TABSTOP,
                  kCancelId);
  ::EnableWindow(cancel_, FALSE);
  grid_ = Child(window_, WC_LISTVIEWW, L"",
                WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0);
  ::SendMessageW(grid_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  Arrange();
}

frmVorschau::~frmVorschau() {
  control_.reset();  // the worker ends before the window it wakes
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

LRESULT CALLBACK frmVorschau::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* created = static_cast<frmVorschau*>(create->lpCreateParams);
    created->window_ = window;  // before CreateWindowExW returns: its messages need it
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<frmVorschau*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT frmVorschau::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPreviewReady:
      if (control_) control_->Deliver();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId && HIWORD(wParam) == BN_CLICKED && control_) {
        control_->Cancel();
      }
      return 0;
    case WM_SIZE:
      Arrange();
      return 0;
    case WM_CLOSE:
      // Closed, the window only hides: the next preview shows in it again. A query still
      // running is stopped.
      if (control_) control_->Cancel();
      ::ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

void frmVorschau::Arrange() {
  if (grid_ == nullptr) return;
  RECT client{};
  ::GetClientRect(window_, &client);
  const int width = client.right - 2 * kMargin;
  int top = kMargin;
  ::MoveWindow(lines_, kMargin, top, width, kLinesHeight, TRUE);
  top += kLinesHeight + kMargin;
  ::MoveWindow(busy_, kMargin, top, width - kCancelWidth - kMargin, kBarHeight, TRUE);
  ::MoveWindow(cancel_, client.right - kMargin - kCancelWidth, top, kCancelWidth, kBarHeight, TRUE);
  top += kBarHeight + kMargin;
  ::MoveWindow(grid_, kMargin, top, width, client.bottom - top - kMargin, TRUE);
}

void frmVorschau::ClearGrid() {
  ::SendMessageW(grid_, LVM_DELETEALLITEMS, 0, 0);
  while (::SendMessageW(grid_, LVM_DELETECOLUMN, 0, 0) != FALSE) {
  }
}

void frmVorschau::ShowPreviewRunning(const std::string& caption) {
  ::SetWindowTextW(window_, W(caption).c_str());
  ::SetWindowTextW(lines_, W(texts::kPreviewRunning).c_str());
  ClearGrid();
  ::ShowWindow(busy_, SW_SHOW);
  ::SendMessageW(busy_, PBM_SETMARQUEE, TRUE, 50);
  ::EnableWindow(cancel_, TRUE);
  if (!placed_ && owner_ != nullptr) {
    // Beside the configuration window, the first time it opens; later where the user put it.
    RECT frame{};
    ::GetWindowRect(owner_, &frame);
    ::SetWindowPos(window_, nullptr, frame.right + kMargin, frame.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
  }
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

void frmVorschau::ShowPreviewResult(const PreviewResult& result) {
  ::SetWindowTextW(window_, W(result.caption).c_str());
  std::string lines;
  for (const std::string& line : PreviewLines(result)) {
    if (!lines.empty()) lines += "\r\n";
    // The edit control breaks lines only at CR LF.
    for (char c : line) {
      if (c == '\n') {
        lines += "\r\n";
      } else {
        lines += c;
      }
    }
  }
  ::SetWindowTextW(lines_, W(lines).c_str());
  ::SendMessageW(busy_, PBM_SETMARQUEE, FALSE, 0);
  ::ShowWindow(busy_, SW_HIDE);
  ::EnableWindow(cancel_, FALSE);

  ClearGrid();
  for (size_t c = 0; c < result.columns.size(); ++c) {
    std::wstring caption = W(result.columns[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = 100;
    column.iSubItem = static_cast<int>(c);
    ::SendMessageW(grid_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  for (size_t r = 0; r < result.rows.size(); ++r) {
    const auto& row = result.rows[r];
    for (size_t c = 0; c < row.size(); ++c) {
      std::wstring text = W(row[c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = text.data();
      if (c == 0) {
        ::SendMessageW(grid_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      } else {
        ::SendMessageW(grid_, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      }
    }
  }
  for (size_t c = 0; c < result.columns.size(); ++c) {
    ::SendMessageW(grid_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
  }
}

void frmVorschau::WakePreview() {
  // On the worker's thread: the result is taken on the window's.
  ::PostMessageW(window_, kPreviewReady, 0, 0);
}

}  // namespace vn::config::win32
