// Test support for the preview of a data entry: a private root with the ACT! stand-in (contact
// K1 current), German regional settings, a customer database built by the test, a view that
// records what the preview window is told, and the page's own generators for the same entry as
// the oracle the preview's cells are held against.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/act_standin.h"
#include "config/core/preview.h"
#include "config/core/preview_control.h"
#include "data/call_cancel.h"
#include "platform/module_path.h"
#include "render/hierarchical_spreadsheet.h"
#include "render/html_list.h"
#include "resources/markup.h"
#include "tests/config/database_file_helpers.h"

namespace vn::config::testing {

// The ACT! stand-in of VARNOLIS_ACT on both systems (on Windows a page asks ACT! itself).
inline ACTAutomation PreviewStandIn() { return StandInAutomation(); }

// What the preview window was told, and a wait for the worker's wake-up.
class RecordingPreviewView : public PreviewView {
 public:
  std::vector<std::string> running;
  std::vector<PreviewResult> results;

  void ShowPreviewRunning(const std::string& caption) override { running.push_back(caption); }
  void ShowPreviewResult(const PreviewResult& result) override { results.push_back(result); }
  void WakePreview() override {
    std::lock_guard lock(mutex_);
    ++wakes_;
    woken_.notify_all();
  }
  // Waits until the worker has woken the window `count` times in all; false after a minute.
  bool WaitForWake(int count = 1) {
    std::unique_lock lock(mutex_);
    return woken_.wait_for(lock, std::chrono::minutes(1), [&] { return wakes_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  int wakes_ = 0;
};

// Environment variables set for one test and put back as they were after it, so that the
// tests after it find their own temporary folder, home and language.
class EnvironmentOverride {
 public:
  EnvironmentOverride() = default;
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;
  ~EnvironmentOverride() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }
  void Set(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class PreviewFixture : public ::testing::Test {
 protected:
  static ACTAutomation StandIn() { return PreviewStandIn(); }

  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vn_preview_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    for (const char* sub : {"home", "config", "run", "tmp", "prog/databases", "data"}) {
      std::filesystem::create_directories(root_ / sub);
    }
    environment_.Set("HOME", (root_ / "home").string());
    environment_.Set("XDG_CONFIG_HOME", (root_ / "config").string());
    environment_.Set("XDG_RUNTIME_DIR", (root_ / "run").string());
#ifdef _WIN32
    // Setting TMPDIR sets these as well there (posix_compat.h): they are put back too.
    environment_.Set("TMP", (root_ / "tmp").string());
    environment_.Set("TEMP", (root_ / "tmp").string());
#endif
    environment_.Set("TMPDIR", (root_ / "tmp").string());
    environment_.Set("VARNOLIS_ACT", (root_ / "act.json").string());
    environment_.Set("LC_ALL", "de_DE.UTF-8");
    environment_.Set("LANG", "de_DE.UTF-8");
    vn::OverrideLibraryFolder((root_ / "prog").string());
    WriteActContact("\"25\": \"K1\"");
    Exec(
        "CREATE TABLE Kunden (KundenNr VARCHAR(10), Name VARCHAR(80), Umsatz CURRENCY, "
        "Seit DATE);"
        "INSERT INTO Kunden VALUES ('K1', 'Müller & <Söhne>', 48250.75, '2015-03-01'),"
        "  ('K2', 'Weiß KG', 1200, '2020-12-24');"
        "CREATE TABLE Rechnungen (Nr INTEGER, KundenNr VARCHAR(10), Datum DATE, "
        "Betrag CURRENCY);"
        "INSERT INTO Rechnungen VALUES (7, 'K1', '2024-02-14', 1785),"
        "  (8, 'K1', '2024-06-03', 2541.3), (9, 'K2', '2024-11-20', 969.85);"
        "CREATE TABLE Positionen (Nr INTEGER, Pos INTEGER, Artikel VARCHAR(40));"
        "INSERT INTO Positionen VALUES (7, 1, 'Schrauben'), (7, 2, 'Muttern'), "
        "  (8, 1, 'Dübel');");
  }

  void TearDown() override {
    vn::OverrideLibraryFolder("");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The ACT! stand-in with a running ACT!, an open database and these contact fields.
  void WriteActContact(const std::string& contactFields) {
    std::ofstream out(root_ / "act.json", std::ios::binary);
    out << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
           "\"visible\": true}], \"database\": \"Test.dbf\", \"activeView\": 1, "
           "\"contact\": {"
        << contactFields << "}}";
  }
  void RemoveAct() { std::filesystem::remove(root_ / "act.json"); }

  std::string Database() const { return (root_ / "data/kunden.db").string(); }
  std::string Connection() const { return "Provider=SQLite;Data Source=" + Database(); }

  void Exec(const std::string& sql) const { ExecuteSql(Database(), sql); }

  static PreviewResult Preview(const PreviewEntry& entry) {
    data::CallCancel cancel;
    return RunPreview(ResolvePreview(entry, StandIn()), cancel);
  }

  // The page's own markup for `entry` (a record card for format 2, else a table), built by the
  // page's generators with a parser on the same ACT! stand-in.
  std::string PageOf(const PreviewEntry& entry) {
    clACTApplication act(StandIn());
    clACTDataParser parser;
    parser.Init(&act, "");
    const GeneratorEntry page{entry.title, entry.connection, entry.query, &parser, "", "", "1_"};
    std::unique_ptr<PageGenerator> generator;
    if (entry.format == 2) {
      generator = std::make_unique<clHTMLList>();
    } else {
      generator = std::make_unique<clHierachicalSpreadSheet>();
    }
    if (!generator->Init(page)) return generator->ErrDescription();
    std::string html;
    for (int i = 0; i < 1000 && !generator->Ready() && !generator->Failed(); ++i) {
      html += generator->GetNext();
    }
    return html;
  }

  // Whether the page shows `value` as the whole text of a cell.
  static bool PageShowsCell(const std::string& html, const std::string& value) {
    return html.find(">" + markup::EscapeHtml(value) + "</td>") != std::string::npos ||
           html.find(">" + markup::EscapeHtml(value) + "</TD>") != std::string::npos;
  }

  std::filesystem::path root_;
  EnvironmentOverride environment_;
};

}  // namespace vn::config::testing
