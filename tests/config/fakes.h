// Test doubles for the window's services: message boxes answered from a queue, fixed look-up
// lists, a connection probe and a data-link prompt with prepared results.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "config/core/connection_probe.h"
#include "config/core/data_link.h"
#include "config/core/lookups.h"
#include "config/qt/message_box.h"
#include "platform/runtime_error.h"

namespace vn::config::testing {

struct ShownMessage {
  QString text;
  MsgIcon icon;
  MsgButtons buttons;
};

// Answers both the Qt front's message boxes and the core's prompts.
class FakeMessages : public MessageBoxes, public Prompts {
 public:
  MsgResult Message(const std::string& text, MsgIcon icon, MsgButtons buttons) override {
    return Show(nullptr, QString::fromStdString(text), icon, buttons);
  }
  // The choosers' answers (nothing: cancelled).
  std::optional<std::string> folder;
  std::optional<std::string> file;
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return folder;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
    return file;
  }
  std::vector<ShownMessage> shown;
  std::deque<MsgResult> answers;     // for Yes/No questions; "No" when empty
  std::function<void()> whileShown;  // runs while each box is open
  MsgResult Show(QWidget*, const QString& text, MsgIcon icon, MsgButtons buttons) override {
    shown.push_back({text, icon, buttons});
    if (whileShown) whileShown();
    if (buttons == MsgButtons::kOk) return MsgResult::kOk;
    if (answers.empty()) return MsgResult::kNo;
    MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class FakeProbe : public ConnectionProbe {
 public:
  std::optional<std::string> failure;  // description of the failure, or success
  std::vector<std::string> probed;
  void Probe(const std::string& connectionString) override {
    probed.push_back(connectionString);
    if (failure) throw vn::RuntimeError(-2147467259, *failure);
  }
};

class FakeDataLink : public DataLinkPrompt {
 public:
  std::optional<std::string> newResult;
  std::optional<std::string> editResult;
  int newCalls = 0;
  std::vector<std::string> edited;
  std::optional<std::string> PromptNew() override {
    ++newCalls;
    return newResult;
  }
  std::optional<std::string> PromptEdit(const std::string& cs) override {
    edited.push_back(cs);
    return editResult;
  }
};

}  // namespace vn::config::testing
