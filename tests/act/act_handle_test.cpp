#include "act/act_handle.h"

#include <gtest/gtest.h>

#include "act/act_application.h"
#include "act/act_standin.h"
#include "act_fixture.h"

namespace {

using vn::WindowHandle;

// A desktop of windows given by the test; a handle that is gone answers as Windows would.
class FakeWindows : public vn::clWindowList {
 public:
  struct Window {
    bool visible;
    std::string className;
    std::string title;
    bool gone = false;
  };
  std::vector<Window> windows;

  std::vector<WindowHandle> EnumWindows() override {
    std::vector<WindowHandle> handles;
    for (size_t i = 0; i < windows.size(); ++i) handles.push_back(i + 1);
    return handles;
  }
  bool IsWindowVisible(WindowHandle h) override { return !At(h).gone && At(h).visible; }
  bool IsWindow(WindowHandle h) override { return !At(h).gone; }
  std::string GetClassName(WindowHandle h) override { return At(h).className; }
  int GetWindowTextLength(WindowHandle h) override {
    return At(h).gone ? 0 : static_cast<int>(At(h).title.size());
  }
  std::string GetWindowText(WindowHandle h) override { return At(h).title; }

 private:
  Window& At(WindowHandle h) { return windows.at(h - 1); }
};

TEST(ActHandleTest, OnlyVisibleWindowsWithTheClassPartCountAndTheLastMatchWins) {
  FakeWindows desktop;
  desktop.windows = {{true, "ACT3.0FrameClass", "ACT! - Erste"},
                     {false, "act3.0frameclass", "ACT! - versteckt"},
                     {true, "Notepad", "ACT! Notizen"},
                     {true, "xACT3.0FRAMECLASSx", "ACT! - Zweite"},
                     {true, "act3.0frameclass", "Kundenmanager"}};
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "act3.0frameclass", "ACT"), 4u);
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "act3.0frameclass", "*"), 5u);
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "", "Notizen"), 3u);
  // The class part is compared with the lower-cased class name as it is given.
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "ACT3.0FrameClass", "ACT"), 0u);
  // The title part is case-sensitive.
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "act3.0frameclass", "kundenmanager"), 0u);
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "act3.0frameclass", "versteckt"), 0u);
}

TEST(ActHandleTest, TitleRules) {
  FakeWindows desktop;
  desktop.windows = {{true, "c", ""},
                     {true, "c", "   ACT! mit Blanks vorn"},
                     {true, "c", std::string(50, 'x') + "ACT"},
                     {true, "c", std::string("AB\0CD", 5)},
                     {true, "c", "ACT", true}};
  EXPECT_EQ(vn::modACTHandle::FensterText(desktop, 1), "NoText");
  EXPECT_EQ(vn::modACTHandle::FensterText(desktop, 2), "ACT! mit Blanks vorn");
  EXPECT_EQ(vn::modACTHandle::FensterText(desktop, 3), std::string(50, 'x'));
  EXPECT_EQ(vn::modACTHandle::FensterText(desktop, 4), "AB");
  EXPECT_EQ(vn::modACTHandle::FensterText(desktop, 5), "");
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "c", "NoText"), 1u);
  // "ACT" beyond the 50th character is not part of the title.
  EXPECT_EQ(vn::modACTHandle::FindeFenster(desktop, "c", "xACT"), 0u);
}

// The bridge over a desktop given by the test, with no automation object behind it.
class ActRunningTest : public vn::test::ActFixture {};

TEST_F(ActRunningTest, ActRunsOnlyWithAVisibleFrameWindowTitledKundenmanagerOrACT) {
  auto running = [&](const std::string& windows) {
    WriteAct(R"({"windows": )" + windows + "}");
    vn::clACTApplication act;
    return act.ACTgestartet();
  };
  EXPECT_FALSE(running(R"([{"class": "act3.0frameclass", "title": "act"}])"));
  EXPECT_FALSE(
      running(R"([{"class": "act3.0frameclass", "title": "ACT! - Demo", "visible": false}])"));
  EXPECT_FALSE(running(R"([{"class": "actframe", "title": "ACT! - Demo"}])"));
  EXPECT_FALSE(running(R"([])"));
  EXPECT_TRUE(running(R"([{"class": "ACT3.0FRAMECLASS", "title": "  ACT! - Demo"}])"));
  EXPECT_TRUE(running(R"([{"class": "act3.0frameclass", "title": "Kundenmanager - Demo"}])"));
  EXPECT_TRUE(running(R"([{"class": "act3.0frameclass", "title": "act", "visible": true},
                          {"class": "act3.0frameclass", "title": "ACT"}])"));
}

#ifdef _WIN32
// The test ACT!'s windows are the desktop's, listed in the state's order: the last match wins.
TEST_F(ActRunningTest, TheTestActsWindowsAreListedInTheStatesOrderWindows) {
  WriteAct(R"({"windows": [{"class": "act3.0frameclass", "title": "ACT 1"},
                           {"class": "act3.0frameclass", "title": "ACT 2"},
                           {"class": "act3.0frameclass", "title": "ACT 3", "visible": false}]})");
  vn::ACTAutomation desktop = vn::DefaultACTAutomation();
  WindowHandle found = vn::modACTHandle::FindeFenster(*desktop.windows, "act3.0frameclass", "*");
  EXPECT_EQ(vn::modACTHandle::FensterText(*desktop.windows, found), "ACT 2");
}
#endif

}  // namespace
