#include "test_act_process.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include "platform/win32/wide.h"
#include "tests/windows/test_act/control.h"

namespace vn::test {
namespace {

HWND Control() { return ::FindWindowExW(HWND_MESSAGE, nullptr, kTestActControlClass, nullptr); }

DWORD_PTR Send(UINT message) {
  DWORD_PTR answer = 0;
  HWND control = Control();
  if (control != nullptr) {
    ::SendMessageTimeoutW(control, message, 0, 0, SMTO_ABORTIFHUNG, 30000, &answer);
  }
  return answer;
}

}  // namespace

void TestActProcess::Sync(const std::string& state) {
  if (Running()) {
    Send(kTestActReload);
    return;
  }
  Close();
  // One left behind by a test that did not end it would answer instead of this one.
  if (Control() != nullptr) Send(kTestActQuit);
  for (int i = 0; i < 500 && Control() != nullptr; ++i) ::Sleep(10);
  std::wstring command =
      L"\"" + win32::Widen(WindowsPath(VARNOLIS_TEST_ACT)) + L"\" \"" + win32::Widen(state) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
      << "cannot start " << VARNOLIS_TEST_ACT;
  ::CloseHandle(process.hThread);
  process_ = process.hProcess;
  // It answers once its control window is there.
  for (int i = 0; i < 3000 && Control() == nullptr && Running(); ++i) ::Sleep(10);
  ASSERT_NE(Control(), nullptr) << "the test ACT! did not start";
}

long TestActProcess::LiveCount() { return Running() ? static_cast<long>(Send(kTestActCount)) : -1; }

long TestActProcess::Calls() { return Running() ? static_cast<long>(Send(kTestActCalls)) : -1; }

void TestActProcess::Stop() {
  if (Running()) {
    Send(kTestActQuit);
    if (::WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 1);
  }
  Close();
}

std::string TestActProcess::WindowsPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

void TestActProcess::EnterApartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

void TestActProcess::LeaveApartment() { ::CoUninitialize(); }

bool TestActProcess::Running() const {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void TestActProcess::Close() {
  if (process_ != nullptr) ::CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace vn::test
