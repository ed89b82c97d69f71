#include "config/win32/dialogs/frm_splash.h"

#include "config/core/texts.h"
#include "config/core/version_texts.h"
#include "config/win32/window_class.h"
#include "platform/win32/wide.h"
#include "resources/version.h"

namespace vn::config::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnolisFrmSplash";
constexpr int kWidth = 420;
constexpr int kHeight = 260;

}  // namespace

frmSplash::frmSplash(HINSTANCE instance)
    : productFont_(MessageFont(13, true, false)),
      subtitleFont_(MessageFont(5, false, false)),
      textFont_(MessageFont(0, false, false)) {
  RegisterWindowClass(instance, kClassName, &frmSplash::WindowProc, COLOR_WINDOW);
  const int width = ScalePixels(kWidth);
  const int height = ScalePixels(kHeight);
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP | WS_BORDER,
                    work.left + (work.right - work.left - width) / 2,
                    work.top + (work.bottom - work.top - height) / 2, width, height, nullptr,
                    nullptr, instance, this);
  if (window_ == nullptr) return;
  CreateLabels(instance);
  ::ShowWindow(window_, SW_SHOW);
  ::UpdateWindow(window_);
  ::SetFocus(window_);
}

frmSplash::~frmSplash() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

void frmSplash::CreateLabels(HINSTANCE instance) {
  struct Line {
    int id;
    std::string text;
    HFONT font;
    int top;
    int height;
  };
  const Line lines[] = {
      {kIdProductName, vn::version::kProductName, productFont_.Get(), 28, 40},
      {kIdUntertitel, texts::kSubtitle, subtitleFont_.Get(), 70, 26},
      {kIdVersion,
       SplashVersionText(vn::version::kMajor, vn::version::kMinor, vn::version::kRevision),
       textFont_.Get(), 140, 20},
      {kIdCompany, vn::version::kCompanyName, textFont_.Get(), 166, 20},
      {kIdCopyright, vn::version::kCopyright, textFont_.Get(), 192, 20},
  };
  for (const Line& line : lines) {
    // Without SS_NOTIFY a label lets clicks through to the window, which closes on them.
    HWND label = ::CreateWindowExW(
        0, L"STATIC", vn::win32::Widen(line.text).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
        ScalePixels(36), ScalePixels(line.top), ScalePixels(kWidth - 72), ScalePixels(line.height),
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(line.id)), instance, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(line.font), FALSE);
  }
}

LRESULT CALLBACK frmSplash::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<frmSplash*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<frmSplash*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ::DestroyWindow(window);
      return 0;
    case WM_CTLCOLORSTATIC:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_NCDESTROY:
      if (self != nullptr) self->window_ = nullptr;
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::unique_ptr<SplashWindow> ShowSplash(HINSTANCE instance) {
  return std::make_unique<frmSplash>(instance);
}

}  // namespace vn::config::win32
