// Test fixture for the ACT! integration: a private temporary folder with its own environment,
// program folder and ACT! stand-in file, and a message receiver that records the warnings. On
// Windows the state file is played by the test ACT! over COM, in the test's own apartment.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/module_path.h"
#include "test_act_process.h"

namespace vn::test {

struct ShownMessage {
  std::string title;
  std::string text;
};

class RecordingMessageBox : public clMessageBox {
 public:
  void ShowWarning(const std::string& title, const std::string& text) override {
    shown.push_back({title, text});
  }
  std::vector<ShownMessage> shown;
};

class ActFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-act-XXXXXX";
    dir_ = mkdtemp(pattern);
    std::filesystem::create_directories(dir_ + "/home");
    std::filesystem::create_directories(dir_ + "/config");
    std::filesystem::create_directories(dir_ + "/runtime");
    std::filesystem::create_directories(dir_ + "/tmp");
    std::filesystem::create_directories(ProgramFolder());
    setenv("HOME", (dir_ + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (dir_ + "/runtime").c_str(), 1);
    setenv("TMPDIR", (dir_ + "/tmp").c_str(), 1);
    setenv("VARNOLIS_ACT", ActPath().c_str(), 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LC_NUMERIC");
    setenv("LANG", "de_DE.UTF-8", 1);
    OverrideLibraryFolder(ProgramFolder());
    previousBox_ = SetMessageBox(&messages_);
#ifdef _WIN32
    TestActProcess::EnterApartment();
#endif
  }
  void TearDown() override {
#ifdef _WIN32
    testAct_.Stop();
    TestActProcess::LeaveApartment();
#endif
    SetMessageBox(previousBox_);
    OverrideLibraryFolder("");
    std::filesystem::remove_all(dir_);
  }

  std::string ActPath() const { return dir_ + "/act.json"; }
  std::string ProgramFolder() const { return dir_ + "/Varnolis"; }

  void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  void WriteAct(const std::string& json) {
    WriteFile(ActPath(), json);
#ifdef _WIN32
    testAct_.Sync(ActPath());
#endif
  }
  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string content(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    return content;
  }

  // A running ACT! with a database open, the given active view and extra members.
  void WriteRunningAct(int activeView, const std::string& contact, const std::string& extra = "") {
    WriteAct(
        R"({"windows": [{"class": "ACT3.0FrameClass", "title": "ACT! - Demo", "visible": true}],
                 "database": "Demo.dbf", "activeView": )" +
        std::to_string(activeView) + R"(, "contact": )" + contact +
        (extra.empty() ? "" : ", " + extra) + "}");
  }

  std::string dir_;
  RecordingMessageBox messages_;
  clMessageBox* previousBox_ = nullptr;
#ifdef _WIN32
  TestActProcess testAct_;
#endif
};

}  // namespace vn::test
