// An administrator at the installed configuration program, played from another process the way
// a user's keyboard and mouse reach it: a picture button's click, the access keys (Alt+letter)
// of its labels, tabs and buttons, a text set into the field that has the focus with its change
// notification, the window closed.
// Every message box the program shows on the way is written out and answered (Yes where it
// asks, OK otherwise).
//
//   konfiguration_driver PROGRAM TITLE
//     Starts PROGRAM (varnolis-konfiguration.exe) and waits for its main window. On the tab
//     Rubriken: "Nächster Datensatz", then Alt+U and Alt+T put the focus on Rubrik and Titel; the
//     Titel of that rubric becomes TITLE. Alt+S changes to the tab Startoptionen (the change is
//     saved on leaving the tab), Alt+D presses "Startdateien erstellen"; then the window is closed.
//     Writes on standard output, one line each (UTF-8): rubrik=, titel= (the old one),
//     startrubrik= and netlinks= (as the tab shows them), message= for every message box, and
//     exit= with the program's exit status. Exit status 0, or 2 when a step could not be done.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/wide.h"

namespace {

using vn::win32::Narrow;
using vn::win32::UniqueHandle;

constexpr auto kWait = std::chrono::seconds(120);

void Line(const std::string& key, const std::wstring& value) {
  std::printf("%s=%s\n", key.c_str(), Narrow(value).c_str());
  std::fflush(stdout);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

// Asked across processes: WM_GETTEXT is carried over by the system.
std::wstring TextOf(HWND window) {
  std::wstring text(1024, L'\0');
  const LRESULT length =
      ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Both kinds of window list are taken whole first: the callbacks (CALLBACK, as the 32-bit
// system calls them) only collect.
struct WindowSearch {
  DWORD process = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && ::IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<WindowSearch*>(data)->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD process) {
  WindowSearch search;
  search.process = process;
  ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
  WindowSearch search;
  ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Writes out and answers the message boxes the process shows; true when there was one.
bool AnswerMessageBoxes(DWORD process) {
  bool answered = false;
  for (HWND window : TopWindowsOf(process)) {
    if (ClassOf(window) != L"#32770") continue;
    std::wstring text;
    for (HWND child : Descendants(window))
      if (ClassOf(child) == L"Static" && TextOf(child).size() > text.size()) text = TextOf(child);
    Line("message", text);
    const int answer = ::GetDlgItem(window, IDYES) != nullptr ? IDYES : IDOK;
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, answer)));
    answered = true;
  }
  if (answered) std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return answered;
}

// Sends a message and waits for the program to have handled it, answering the message boxes it
// shows meanwhile (the sending thread waits inside SendMessage until the box is gone).
bool SendAnswering(DWORD process, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::atomic<bool> done{false};
  std::thread sender([&] {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                          static_cast<UINT>(std::chrono::milliseconds(kWait).count()), &result);
    done = true;
  });
  const auto until = std::chrono::steady_clock::now() + kWait;
  while (!done && std::chrono::steady_clock::now() < until) {
    AnswerMessageBoxes(process);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  sender.join();
  return done;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                                : nullptr;
}

// An access key as the keyboard delivers it with Alt held.
bool AccessKey(DWORD process, HWND window, wchar_t key) {
  return SendAnswering(process, window, WM_SYSCHAR, key, 1 << 29);
}

// The button bar's picture buttons have no text; they stand left to right in the order
// first, previous, next, last, delete, new, cancel, OK (cmdInfo, the other one, right of them).
bool ClickBarButton(DWORD process, HWND window, size_t index) {
  std::vector<std::pair<LONG, HWND>> bar;
  for (HWND child : Descendants(window)) {
    RECT place{};
    if (ClassOf(child) == L"Button" && ::IsWindowVisible(child) && TextOf(child).empty() &&
        ::GetWindowRect(child, &place))
      bar.emplace_back(place.left, child);
  }
  if (bar.size() < 8) return false;
  std::sort(bar.begin(), bar.end());
  HWND button = bar[index].second;
  return SendAnswering(process, ::GetParent(button), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
}

// The started program; one the driver leaves running (a step failed) is ended, so that no
// process holds the installed files.
class RunningProgram {
 public:
  explicit RunningProgram(HANDLE process) : process_(process) {}
  ~RunningProgram() {
    if (::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 99);
      ::WaitForSingleObject(process_.Get(), 10000);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  HANDLE Get() const { return process_.Get(); }

 private:
  UniqueHandle process_;
};

int Fail(const char* what) {
  std::fprintf(stderr, "konfiguration_driver: %s\n", what);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return Fail("usage: konfiguration_driver PROGRAM TITLE");
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof(start);
  // The program's manifest asks for an administrator: ShellExecuteEx is what elevates.
  start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  start.lpFile = argv[1];
  start.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&start) || start.hProcess == nullptr) return Fail("cannot start PROGRAM");
  RunningProgram program(start.hProcess);
  const DWORD process = ::GetProcessId(program.Get());

  HWND konfiguration = nullptr;
  const auto until = std::chrono::steady_clock::now() + kWait;
  while (konfiguration == nullptr && std::chrono::steady_clock::now() < until) {
    if (::WaitForSingleObject(program.Get(), 0) == WAIT_OBJECT_0) break;
    AnswerMessageBoxes(process);
    for (HWND window : TopWindowsOf(process))
      if (ClassOf(window) == L"frmKonfiguration" && TextOf(window) == L"Varnolis - Konfiguration")
        konfiguration = window;
    if (konfiguration == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  if (konfiguration == nullptr) return Fail("no window \"Varnolis - Konfiguration\"");

  // The first record is read-only (its panel takes no focus): the next one.
  if (!ClickBarButton(process, konfiguration, 2)) return Fail("no button \"Nächster Datensatz\"");
  if (!AccessKey(process, konfiguration, L'u') || FocusOf(konfiguration) == nullptr)
    return Fail("Alt+U put the focus nowhere");
  Line("rubrik", TextOf(FocusOf(konfiguration)));
  if (!AccessKey(process, konfiguration, L't')) return Fail("Alt+T was not handled");
  HWND titel = FocusOf(konfiguration);
  if (titel == nullptr || ClassOf(titel) != L"Edit") return Fail("Alt+T put the focus nowhere");
  Line("titel", TextOf(titel));
  ::SendMessageW(titel, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
  // An edit's own EN_CHANGE on WM_SETTEXT is not to be relied on (a multi-line one sends none):
  // the notification goes to the panel as well, and the program takes both as the one change.
  SendAnswering(process, ::GetParent(titel), WM_COMMAND,
                MAKEWPARAM(::GetDlgCtrlID(titel), EN_CHANGE), reinterpret_cast<LPARAM>(titel));

  if (!AccessKey(process, konfiguration, L's')) return Fail("Alt+S was not handled");
  for (HWND child : Descendants(konfiguration))
    if (ClassOf(child) == L"ComboBox" && ::IsWindowVisible(child))
      Line("startrubrik", TextOf(child));
  if (FocusOf(konfiguration) != nullptr) Line("netlinks", TextOf(FocusOf(konfiguration)));
  if (!AccessKey(process, konfiguration, L'd')) return Fail("Alt+D was not handled");

  if (!SendAnswering(process, konfiguration, WM_CLOSE, 0, 0))
    return Fail("WM_CLOSE was not handled");
  const auto closing = std::chrono::steady_clock::now() + kWait;
  while (::WaitForSingleObject(program.Get(), 100) == WAIT_TIMEOUT) {
    if (std::chrono::steady_clock::now() > closing) return Fail("the program does not end");
    AnswerMessageBoxes(process);
  }
  DWORD status = 0;
  ::GetExitCodeProcess(program.Get(), &status);
  std::printf("exit=%lu\n", static_cast<unsigned long>(status));
  return 0;
}
