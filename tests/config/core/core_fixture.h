// The configuration window's core over a configuration database of its own (the shipped
// scripts' demo configuration in a private program folder), shown on a view that records what
// it is told and behaves as a front's controls do (a changed text or list reports back), and
// asked through prompts that answer from a script.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/core/data_env.h"
#include "config/core/data_env_events.h"
#include "config/core/konfiguration_window.h"
#include "config/core/prompts.h"
#include "config/core/view.h"
#include "tests/config/database_file_helpers.h"

namespace vn::config::testing {

struct Shown {
  std::string text;
  MsgIcon icon;
  MsgButtons buttons;
};

class ScriptedPrompts : public Prompts {
 public:
  std::vector<Shown> shown;
  std::deque<MsgResult> answers;  // for Yes/No questions; "No" when empty
  std::function<void()> whileShown;
  // The chooser's answers (nothing: cancelled), and the start each was opened at.
  std::optional<std::string> folder;
  std::optional<std::string> file;
  std::vector<std::string> chooserStarts;
  MsgResult Message(const std::string& text, MsgIcon icon, MsgButtons buttons) override {
    shown.push_back({text, icon, buttons});
    if (whileShown) whileShown();
    if (buttons == MsgButtons::kOk) return MsgResult::kOk;
    if (answers.empty()) return MsgResult::kNo;
    const MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string& start) override {
    chooserStarts.push_back(start);
    return folder;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string& start) override {
    chooserStarts.push_back(start);
    return file;
  }
};

class RecordingView : public KonfigurationView {
 public:
  KonfigurationWindow* core = nullptr;
  std::map<std::string, std::string> fields;
  std::map<std::string, int> listRows;
  std::map<std::string, std::vector<LookupRow>> lists;
  WindowState state;
  int tab = 1;
  std::vector<TreeNode> tree;
  int selectedNode = 0;
  std::string focus;
  bool shown = false;
  std::vector<std::string> debugLines;
  int aboutShown = 0;
  std::vector<std::pair<std::string, int>> movedDown;  // control, pixels
  std::vector<FieldResize> resizes;

  // Typing: the focus in the field, the new text, and the change reported as a control would.
  void Type(const std::string& control, const std::string& text) {
    focus = control;
    SetText(control, text);
  }
  void Pick(const std::string& control, int row) {
    focus = control;
    ShowListRow(control, row);
  }

  void ShowField(const std::string& control, const std::string& text) override {
    if (fields[control] == text) return;  // an unchanged control reports nothing
    SetText(control, text);
  }
  void ShowListRow(const std::string& control, int row) override {
    if (listRows.count(control) != 0 && listRows[control] == row) return;
    listRows[control] = row;
    if (core != nullptr) core->ListChanged(control, row);
  }
  void ShowList(const std::string& control, const std::vector<LookupRow>& rows) override {
    lists[control] = rows;
    listRows[control] = -1;
  }
  std::string FieldText(const std::string& control) const override {
    const auto found = fields.find(control);
    return found == fields.end() ? std::string() : found->second;
  }
  void ShowState(const WindowState& newState) override { state = newState; }
  void ShowTab(int index) override { tab = index; }
  void ShowTree(const std::vector<TreeNode>& nodes, int selected) override {
    tree = nodes;
    selectedNode = selected;
  }
  int SelectedTreeNode() const override { return selectedNode; }
  void Focus(const std::string& control) override { focus = control; }
  std::string FocusedControl() const override { return focus; }
  bool Shown() const override { return shown; }
  void WriteDebugLine(const std::string& text) override { debugLines.push_back(text); }
  void ClearDebugBox() override { debugLines.clear(); }
  void ShowAbout() override { ++aboutShown; }
  int TwipsPerPixelY() const override { return 15; }
  void MoveDownPixels(const std::string& control, int pixels) override {
    movedDown.emplace_back(control, pixels);
  }
  void ShowResize(const FieldResize& resize) override { resizes.push_back(resize); }
  void ShowBusy(bool) override {}
  void LetMessagesRun() override {}

 private:
  void SetText(const std::string& control, const std::string& text) {
    fields[control] = text;
    if (core == nullptr) return;
    if (auto fix = core->TextChanged(control, text, static_cast<int>(text.size())))
      SetText(control, fix->text);
  }
};

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string pattern =
        (std::filesystem::temp_directory_path() / "vn-core-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    folder = buffer.data();
    std::filesystem::create_directories(std::filesystem::path(folder) / "databases");
    path = DataEnv::DatabasePath(folder);
    Execute(ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/schema.sql") +
            ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/formate.sql") +
            ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/demo_config.sql") +
            // The demo without its Notizen entry: a rubric without assignments, five data
            // entries.
            "DELETE FROM Zuordnungen WHERE Rubrik_ID = 5; DELETE FROM Daten WHERE ID_Daten = 6;"
            "UPDATE sqlite_sequence SET seq = 5 WHERE name = 'Daten';"
            "UPDATE sqlite_sequence SET seq = 6 WHERE name = 'Zuordnungen';");
  }

  void TearDown() override {
    lock_.Release();
    MakeWritable();
    window.reset();
    events.reset();
    dataEnv.reset();
    std::error_code ignored;  // a folder a test left read-only is the test's failure, not ours
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
  }

  void Open(bool debug = false) {
    dataEnv = std::make_unique<DataEnv>();
    dataEnv->DataEnvironment_Initialize(folder);
    window = std::make_unique<KonfigurationWindow>(debug, view, prompts);
    view.core = window.get();
    events = std::make_unique<DataEnvEvents>(*window);
    window->SetRecordEvents(events.get());
    window->SetTableRecords(dataEnv->rstabRubriken(), dataEnv->rstabDaten(),
                            dataEnv->rstabZuordnungen());
    window->SetLookupSource(dataEnv.get());
    window->SetConfigStore(dataEnv.get());
    window->Load();
    view.shown = true;
  }

  void Execute(const std::string& sql) { ExecuteSql(path, sql); }

  // The first column of the first row of `sql`, read by a connection of its own.
  std::string Scalar(const std::string& sql) { return vn::test::SqliteScalar(path, sql); }

  // Another program's write transaction on the database, until released.
  void LockFromAnotherProgram() { lock_.Take(path); }
  void ReleaseLock() { lock_.Release(); }

  // Makes the database file unwritable (permissions, and for root the immutable flag where the
  // file system has one); false when it stays writable here.
  bool MakeReadOnly() {
    std::filesystem::permissions(std::filesystem::path(path),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read);
    readOnly_ = true;
#ifdef __linux__
    if (geteuid() == 0) immutable_ = SetImmutable(path, true);
#endif
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (file == nullptr) return true;
    std::fclose(file);
    return false;
  }
  void MakeWritable() {
    if (!readOnly_) return;
#ifdef __linux__
    if (immutable_) SetImmutable(path, false);
    immutable_ = false;
#endif
    std::filesystem::permissions(
        std::filesystem::path(path),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    readOnly_ = false;
  }

  std::string folder;
  std::string path;
  RecordingView view;
  ScriptedPrompts prompts;
  std::unique_ptr<DataEnv> dataEnv;
  std::unique_ptr<KonfigurationWindow> window;
  std::unique_ptr<DataEnvEvents> events;

 private:
#ifdef __linux__
  bool immutable_ = false;
#endif
  bool readOnly_ = false;
  WriteLock lock_;
};

// The enabled state of the bar's eight buttons, left to right, as "10110011".
inline std::string BarState(const WindowState& s) {
  std::string bar;
  for (bool on : {s.moveFirst, s.movePrevious, s.moveNext, s.moveLast, s.deleteRecord, s.addNew,
                  s.cancel, s.ok})
    bar += on ? '1' : '0';
  return bar;
}

}  // namespace vn::config::testing
