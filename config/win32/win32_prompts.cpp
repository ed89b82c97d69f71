#include "config/win32/win32_prompts.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "config/core/texts.h"
#include "config/win32/handles.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

namespace {

// The folder browser opens at the start folder.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0)
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

// Frees what the shell allocated for an item list.
struct ItemList {
  PIDLIST_ABSOLUTE items = nullptr;
  ~ItemList() {
    if (items != nullptr) ::CoTaskMemFree(items);
  }
};

// The system writes a message box's buttons in its own language; the program's questions are
// German, and so are their answers. The hook names the buttons of each box as it is activated.
LRESULT CALLBACK NameButtons(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    ::GetClassNameW(box, className, 16);
    if (::lstrcmpW(className, L"#32770") == 0) {
      for (const auto& [id, caption] : {std::pair{IDYES, texts::kButtonYes},
                                        std::pair{IDNO, texts::kButtonNo},
                                        std::pair{IDOK, texts::kButtonOk}})
        if (HWND button = ::GetDlgItem(box, id))
          ::SetWindowTextW(button, vn::win32::Widen(caption).c_str());
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MsgResult Win32Prompts::Message(const std::string& text, MsgIcon icon, MsgButtons buttons) {
  // Modal over the window; without one (the start's error) over the whole program.
  UINT flags = owner_ != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
  switch (icon) {
    case MsgIcon::kNone:
      break;
    case MsgIcon::kInformation:
      flags |= MB_ICONINFORMATION;
      break;
    case MsgIcon::kQuestion:
      flags |= MB_ICONQUESTION;
      break;
    case MsgIcon::kExclamation:
      flags |= MB_ICONEXCLAMATION;
      break;
  }
  flags |= buttons == MsgButtons::kYesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
  const std::wstring wideText = vn::win32::Widen(text);
  const std::wstring title = vn::win32::Widen(kProgramTitle);
  const UniqueHook hook(::SetWindowsHookExW(WH_CBT, NameButtons, nullptr, ::GetCurrentThreadId()));
  const int pressed = ::MessageBoxW(owner_, wideText.c_str(), title.c_str(), flags);
  if (buttons == MsgButtons::kOk) return MsgResult::kOk;
  return pressed == IDYES ? MsgResult::kYes : MsgResult::kNo;
}

std::optional<std::string> Win32Prompts::ChooseFolder(const std::string& title,
                                                      const std::string& start) {
  const std::wstring wideTitle = vn::win32::Widen(title);
  const std::wstring wideStart = vn::win32::Widen(start);
  BROWSEINFOW info{};
  info.hwndOwner = owner_;
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = wideStart.empty() ? 0 : reinterpret_cast<LPARAM>(wideStart.c_str());
  ItemList chosen;
  chosen.items = ::SHBrowseForFolderW(&info);
  if (chosen.items == nullptr) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.items, path)) return std::nullopt;
  return vn::win32::Narrow(path);
}

std::optional<std::string> Win32Prompts::ChooseFile(const std::string& title,
                                                    const std::string& start) {
  const std::wstring wideTitle = vn::win32::Widen(title);
  std::wstring wideStart = vn::win32::Widen(start);
  // A start naming a file preselects it; a folder is where the dialog opens.
  const DWORD attributes = ::GetFileAttributesW(wideStart.c_str());
  const bool isFolder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::vector<wchar_t> file(32768, L'\0');
  if (!isFolder) wideStart.copy(file.data(), std::min(wideStart.size(), file.size() - 1));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = isFolder ? wideStart.c_str() : nullptr;
  dialog.lpstrTitle = wideTitle.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return vn::win32::Narrow(file.data());
}

}  // namespace vn::config::win32
