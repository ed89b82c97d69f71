// How a test reaches the running test ACT!: its message-only control window and the messages it
// answers (shared by test_act.exe and the tests that start it).
#pragma once

#include <windows.h>

namespace vn::test {

inline constexpr wchar_t kTestActControlClass[] = L"VarnolisTestActControl";
// Makes the windows afresh from the state; answered once they are there.
inline constexpr UINT kTestActReload = WM_APP + 1;
// Answers the number of served objects not yet released.
inline constexpr UINT kTestActCount = WM_APP + 2;
// Ends the test ACT! after the answer.
inline constexpr UINT kTestActQuit = WM_APP + 3;
// Answers the automation calls served since the last time it was asked (objects created, member
// calls and property reads), and starts counting afresh.
inline constexpr UINT kTestActCalls = WM_APP + 4;

}  // namespace vn::test
