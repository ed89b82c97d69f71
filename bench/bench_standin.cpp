// The ACT! stand-in per automation call against reading and parsing its file for every call (what
// a call would cost without the kept model), as a ratio. The operation is a field read of the
// current contact the way a page makes it: the window search, the application object, the views,
// the active view, its type and the field. The file is left alone until it is settled, as it is
// while a page is made.
// Then the automation calls of one page's ACT! commands, for one placeholder and for ten: each
// command taking its own look at ACT! (running, database, view, field) against the page's one
// snapshot, with the application objects and window lists each way and the time a page takes.
//   bench_standin [--runs N] [--operations N]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/act_snapshot.h"
#include "act/act_standin.h"
#include "bench_support.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  int runs = 7;
  int operations = 2000;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.runs = vn::bench::IntOption(argc, argv, "--runs", options.runs, 3);
  options.operations = vn::bench::IntOption(argc, argv, "--operations", options.operations, 1);
  return options;
}

// Counts the calls that reach the stand-in, so that the peer does as many reads.
class CountingObject : public vn::clAutomationObject {
 public:
  CountingObject(vn::AutoObject inner, long& calls) : inner_(std::move(inner)), calls_(calls) {}
  vn::AutoValue Invoke(const std::string& member, std::vector<vn::AutoValue>& args) override {
    return Wrap(inner_->Invoke(member, args));
  }
  vn::AutoValue GetProperty(const std::string& member) override {
    return Wrap(inner_->GetProperty(member));
  }
  void PutProperty(const std::string& member, const vn::AutoValue& value) override {
    ++calls_;
    inner_->PutProperty(member, value);
  }

 private:
  vn::AutoValue Wrap(vn::AutoValue value) {
    ++calls_;
    if (auto object = value.Object())
      return vn::AutoObject(std::make_shared<CountingObject>(object, calls_));
    return value;
  }
  vn::AutoObject inner_;
  long& calls_;
};

class CountingHost : public vn::clAutomationHost {
 public:
  CountingHost(std::shared_ptr<vn::clAutomationHost> inner, long& calls, long& objects)
      : inner_(std::move(inner)), calls_(calls), objects_(objects) {}
  vn::AutoObject CreateObject(const std::string& progId) override {
    ++calls_;
    ++objects_;
    return std::make_shared<CountingObject>(inner_->CreateObject(progId), calls_);
  }
  void DoEvents() override { inner_->DoEvents(); }

 private:
  std::shared_ptr<vn::clAutomationHost> inner_;
  long& calls_;
  long& objects_;
};

class CountingWindows : public vn::clWindowList {
 public:
  CountingWindows(std::shared_ptr<vn::clWindowList> inner, long& calls, long& lists)
      : inner_(std::move(inner)), calls_(calls), lists_(lists) {}
  std::vector<vn::WindowHandle> EnumWindows() override {
    ++calls_;
    ++lists_;
    return inner_->EnumWindows();
  }
  bool IsWindowVisible(vn::WindowHandle hwnd) override { return inner_->IsWindowVisible(hwnd); }
  bool IsWindow(vn::WindowHandle hwnd) override { return inner_->IsWindow(hwnd); }
  std::string GetClassName(vn::WindowHandle hwnd) override { return inner_->GetClassName(hwnd); }
  int GetWindowTextLength(vn::WindowHandle hwnd) override {
    return inner_->GetWindowTextLength(hwnd);
  }
  std::string GetWindowText(vn::WindowHandle hwnd) override { return inner_->GetWindowText(hwnd); }

 private:
  std::shared_ptr<vn::clWindowList> inner_;
  long& calls_;
  long& lists_;
};

// The field reads of a page; what they read is summed so that no work is left out.
size_t ReadFields(const vn::clACTApplication& act, int operations) {
  size_t length = 0;
  for (int i = 0; i < operations; ++i) length += act.getFeldwert(25, 1, false).size();
  return length;
}

// What a call would cost without a kept model: the file read and parsed.
size_t ParseFile(const std::string& path, long reads) {
  size_t size = 0;
  for (long i = 0; i < reads; ++i) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    size += nlohmann::json::parse(buffer.str()).size();
  }
  return size;
}

// A page's texts: one placeholder, or ten of three fields over a menu text, a title, a
// connection string and a query.
const std::vector<std::string> kOnePlaceholder = {"SELECT * FROM k WHERE nr = '{!kontakt,25}'"};
const std::vector<std::string> kTenPlaceholders = {
    "Kunde {!kontakt,25}", "{!kontakt,3} ({!kontakt,25})",
    "Provider=SQLite;Data Source=/srv/{!kontakt,25}.db",
    "SELECT '{!kontakt,2}', '{!kontakt,3}', '{!kontakt,25}' FROM k WHERE a = '{!kontakt,25}' "
    "AND b = '{!kontakt,2}' AND c = '{!kontakt,3}'"};

// The page's commands, each asking the bridge on its own, after the page's own checks.
size_t PagePerCommand(vn::clACTApplication& act, const std::vector<std::string>& texts) {
  size_t length = act.ACTgestartet() + act.ACTDatenbank().size();
  for (const std::string& text : texts) {
    for (size_t open = text.find("{!"); open != std::string::npos;
         open = text.find("{!", open + 1)) {
      vn::clACTDataParser parser;
      parser.Init(&act, "");
      length +=
          parser.Parse(text.substr(open, text.find('}', open) + 1 - open), vn::ParsedText::kAsRead)
              .size();
    }
  }
  return length;
}

// The page's texts answered from one snapshot, the page's checks included.
size_t PageSnapshot(const vn::clACTApplication& act, const std::vector<std::string>& texts) {
  vn::clACTSnapshot snapshot(act);
  size_t length = snapshot.ACTgestartet() + snapshot.ACTDatenbank().size();
  vn::clACTDataParser parser;
  parser.InitPage(&snapshot, "");
  for (const std::string& text : texts) parser.Expect(text);
  for (const std::string& text : texts)
    length += parser.Parse(text, vn::ParsedText::kAsRead).size();
  return length;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  const fs::path folder =
      fs::temp_directory_path() / ("vn-bench-standin-" + std::to_string(getpid()));
  fs::create_directories(folder / "config");
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  const fs::path act = folder / "act.json";
  std::ofstream(act) << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - B\", "
                        "\"visible\": true}], \"database\": \"B.dbf\", \"activeView\": 1, "
                        "\"userName\": \"Chris Miller\", \"contact\": {\"1\": \"SI0000000001\", "
                        "\"2\": \"Miller GmbH\", \"3\": \"Chris Miller\", \"25\": \"K-10427\"}}";
  setenv("VARNOLIS_ACT", act.c_str(), 1);
  // A file written a moment ago is read at every call until it has settled.
  std::this_thread::sleep_for(std::chrono::milliseconds(2200));

  // Every automation call; of them the application objects created (one per bridge operation
  // that reaches ACT!) and the window lists taken (two per search for ACT!'s window).
  long calls = 0;
  long objects = 0;
  long lists = 0;
  const vn::ACTAutomation plain = vn::StandInAutomation();
  vn::clACTApplication counted(
      vn::ACTAutomation{std::make_shared<CountingWindows>(plain.windows, calls, lists),
                        std::make_shared<CountingHost>(plain.host, calls, objects)});
  if (counted.getFeldwert(25, 1, false) != "K-10427") {
    std::fprintf(stderr, "bench_standin: the stand-in does not give the field\n");
    return 1;
  }
  const long callsPerOperation = calls;

  vn::clACTApplication application(plain);
  size_t sink = 0;
  const auto times = vn::bench::MedianTimesAlternating(
      options.runs,
      {[&] { sink += ReadFields(application, options.operations); },
       [&] { sink += ParseFile(act.string(), callsPerOperation * options.operations); }});
  const double perCall =
      times[0].wall / static_cast<double>(callsPerOperation * options.operations);
  const double perParse =
      times[1].wall / static_cast<double>(callsPerOperation * options.operations);
  std::printf("stand-in calls per field read: %ld\n", callsPerOperation);
  std::printf("stand-in call:        %8.0f ns\n", perCall * 1e9);
  std::printf("file read and parsed: %8.0f ns\n", perParse * 1e9);
  std::printf("ratio (call / parse): %8.3f\n", perCall / perParse);

  for (const auto& [name, texts] : {std::pair{"one placeholder", &kOnePlaceholder},
                                    std::pair{"ten placeholders", &kTenPlaceholders}}) {
    struct Count {
      long calls, objects, lists;
    };
    auto count = [&](auto page) {
      calls = objects = lists = 0;
      page();
      return Count{calls, objects, lists};
    };
    const Count perCommand = count([&] { PagePerCommand(counted, *texts); });
    const Count snapshot = count([&] { PageSnapshot(counted, *texts); });
    const auto pages = vn::bench::MedianTimesAlternating(
        options.runs, {[&] {
                         for (int i = 0; i < options.operations / 10; ++i)
                           sink += PagePerCommand(application, *texts);
                       },
                       [&] {
                         for (int i = 0; i < options.operations / 10; ++i)
                           sink += PageSnapshot(application, *texts);
                       }});
    std::printf(
        "page of %s: automation calls %ld per command, %ld with the snapshot; application "
        "objects %ld / %ld; window lists %ld / %ld; time ratio (snapshot / per command) %.3f\n",
        name, perCommand.calls, snapshot.calls, perCommand.objects, snapshot.objects,
        perCommand.lists, snapshot.lists, pages[1].wall / pages[0].wall);
  }
  std::printf("(checksum %zu)\n", sink);
  fs::remove_all(folder);
  return 0;
}
