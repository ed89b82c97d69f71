// Benchmark of whole rubric pages, printed as the ratios the pages are held to:
//  (a) the flat 100 000-row page against `sqlite3 -html` on the same query, both as whole
//      processes writing to a file (`varnolis get --cb 65536 -o FILE`), and in-process
//      (ProtocolHandler's Start/Read/Terminate as a browser drives it) for reference;
//  (b) the 10 000-parent x 10-child SHAPE page against the page of the flat join of the same
//      rows;
//  (c) with --million, the peak memory of a 1 000 000-row page against a 1 000-row page.
// With --instructions, (a) is also counted in instructions under valgrind's callgrind, a
// measure that the other work on a shared machine does not disturb.
//
//   bench_page [--runs N] [--rows N] [--million] [--instructions]
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/sqlite_handles.h"
#include "handler/posix/protocol_handler.h"
#include "platform/module_path.h"

#include "bench/bench_support.h"

namespace {

using vn::bench::MedianSeconds;
using vn::bench::MedianTimesAlternating;
using vn::bench::PeakOfChild;
using vn::bench::Shell;

namespace fs = std::filesystem;

const char* kFlat =
    "SELECT id AS hide_ID, name AS Name, amount AS [right_format#,##0.00_Betrag], day AS "
    "[formatdd*mm*yyyy_Tag] FROM flat ORDER BY id";
const char* kFlatShell = "SELECT id, name, amount, day FROM flat ORDER BY id";
const char* kShape =
    "SHAPE {SELECT id AS hide_ID, name AS Name FROM parent ORDER BY id} AS p APPEND ({SELECT "
    "parent_id AS hide_P, pos AS [right_Pos], article AS Artikel, price AS "
    "[right_format#,##0.00_Preis] FROM child ORDER BY parent_id, pos} RELATE hide_ID TO hide_P) "
    "AS c";
// The shape's rows as one flat page (every parent followed by its children), with the same
// captions and formats.
const char* kJoin =
    "SELECT p.id AS hide_ID, p.name AS Name, c.pos AS [right_Pos], c.article AS Artikel, c.price "
    "AS [right_format#,##0.00_Preis] FROM parent p JOIN child c ON c.parent_id = p.id ORDER BY "
    "p.id, c.pos";

// This program's own folder (the build's bench folder).
fs::path ExecutableFolder() { return fs::canonical("/proc/self/exe").parent_path(); }

// A source file's folder; the compiler may have recorded the path relative to the build folder.
fs::path SourceFolder() {
  const fs::path file = __FILE__;
  return (file.is_absolute() ? file : ExecutableFolder() / file).parent_path();
}

void Exec(const std::string& path, const std::string& sql) {
  vn::data::SqliteDatabase db;
  vn::data::OpenSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db);
  char* error = nullptr;
  if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::cerr << "bench_page: " << (error ? error : "error") << " in " << path << '\n';
    std::exit(1);
  }
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void MakeData(const std::string& path, long flatRows, long parents, long childrenEach) {
  fs::remove(path);
  Exec(path,
       "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
       "CREATE TABLE flat (id INTEGER PRIMARY KEY, name VARCHAR(40), amount CURRENCY, day DATE);"
       "CREATE TABLE parent (id INTEGER PRIMARY KEY, name VARCHAR(40));"
       "CREATE TABLE child (parent_id INTEGER, pos INTEGER, article VARCHAR(40), price DOUBLE);"
       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(flatRows) +
           ") INSERT INTO flat SELECT i, 'Kunde Nr. ' || i || ' Müller', i * 1.25, "
           "date('2000-01-01', '+' || (i % 9000) || ' days') FROM n;"
           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(parents) + ") INSERT INTO parent SELECT i, 'Kunde ' || i FROM n;" +
           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(parents * childrenEach - 1) + ") INSERT INTO child SELECT i / " +
           std::to_string(childrenEach) + " + 1, i % " + std::to_string(childrenEach) +
           ", 'Artikel ' || i, i * 0.5 FROM n; COMMIT;");
}

// The configuration database with rubric "Flach" (the flat entry) and "Baum" (the shape).
void MakeConfig(const std::string& path, const std::string& data) {
  fs::remove(path);
  const fs::path source = SourceFolder().parent_path() / "databases";
  Exec(path, ReadText(source / "schema.sql"));
  Exec(path, ReadText(source / "formate.sql"));
  auto quoted = [](const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
  };
  const std::string connection = quoted("Provider=SQLite;Data Source=" + data);
  Exec(path,
       "INSERT INTO Rubriken (ID_Rubrik, Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES "
       "(1, 1, 'Flach', 'Flach', 'Flache Tabelle', ''), (2, 2, 'Baum', 'Baum', 'Baum', ''), "
       "(3, 3, 'Verbund', 'Verbund', 'Verbund', '');"
       "INSERT INTO Daten (ID_Daten, Titel, Format_ID, Datenquelle, Abfrage) VALUES "
       "(1, 'Flach', 1, " +
           connection + ", " + quoted(kFlat) +
           "), "
           "(2, 'Baum', 1, " +
           connection + ", " + quoted(kShape) +
           "), "
           "(3, 'Verbund', 1, " +
           connection + ", " + quoted(kJoin) +
           ");"
           "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (1, 1, 1), (2, 2, 1), "
           "(3, 3, 1);");
}

// Builds and streams the page of `url` as a browser does; returns its length.
size_t RenderPage(const std::string& url, std::string* page = nullptr) {
  using vn::HRESULT, vn::ULONG, vn::S_OK, vn::E_PENDING;
  auto* handler = new vn::ProtocolHandler();
  size_t bytes = 0;
  if (handler->Start(url.c_str(), nullptr, nullptr, 0, 0) == S_OK) {
    std::vector<char> buffer(65536);
    for (;;) {
      ULONG count = 0;
      HRESULT hr = handler->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &count);
      bytes += count;
      if (page != nullptr) page->append(buffer.data(), count);
      if (hr != S_OK && hr != E_PENDING) break;
    }
  }
  handler->Terminate(0);
  handler->Release();
  return bytes;
}

// The instructions `command` (a shell command line whose first word is the program) executes,
// counted by callgrind; -1 when they cannot be counted.
long long Instructions(const std::string& command, const std::string& folder) {
  const std::string log = folder + "/tmp/callgrind.log";
  const std::string counted =
      "valgrind --tool=callgrind --callgrind-out-file=/dev/null --log-file=" + log + " " + command;
  if (std::system(counted.c_str()) != 0) return -1;
  const std::string text = ReadText(log);
  const std::string mark = "Collected : ";
  const size_t at = text.find(mark);
  if (at == std::string::npos) return -1;
  return std::atoll(text.c_str() + at + mark.size());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  long rows = 100000;
  bool million = false;
  bool instructions = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--instructions") == 0) instructions = true;
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc) rows = std::atol(argv[++i]);
    if (std::strcmp(argv[i], "--million") == 0) million = true;
  }

  // A world of its own: settings, temporary files, the ACT! stand-in and the program folder.
  const std::string folder =
      fs::temp_directory_path() / ("vn-bench-page-" + std::to_string(getpid()));
  for (const char* sub : {"config", "tmp", "prog/databases"})
    fs::create_directories(folder + "/" + sub);
  setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  setenv("TMPDIR", (folder + "/tmp").c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  unsetenv("LC_ALL");
  const std::string act = folder + "/act.json";
  std::ofstream(act) << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - B\", "
                        "\"visible\": true}], \"database\": \"B.dbf\", \"activeView\": 1, "
                        "\"contact\": {\"25\": \"1\"}}";
  setenv("VARNOLIS_ACT", act.c_str(), 1);
  vn::OverrideLibraryFolder(folder + "/prog");
  // The host and the library beside it, for the whole-process measurement.
  const fs::path built = ExecutableFolder().parent_path() / "Varnolis";
  const bool haveHost = fs::exists(built / "varnolis") && fs::exists(built / "libvarnolis.so");
  if (haveHost) {
    for (const char* file : {"varnolis", "libvarnolis.so"}) {
      fs::copy_file(built / file, fs::path(folder) / "prog" / file);
    }
  }
  const std::string config = folder + "/prog/databases/config.mdb";
  const std::string data = folder + "/data.db";

  std::vector<long> peaks;
  if (million) {
    for (long n : {1000L, 1000000L}) {
      MakeData(data, n, 1, 1);
      MakeConfig(config, data);
      size_t bytes = 0;
      long peak = PeakOfChild([&] { bytes = RenderPage("varnolis://rubrik/Flach"); });
      long baseline = PeakOfChild([&] { RenderPage("varnolis://test"); });
      std::printf("page of %7ld rows: peak RSS %ld kB (a test page: %ld kB)\n", n, peak, baseline);
      peaks.push_back(peak);
    }
  }

  MakeData(data, rows, rows / 10, 10);
  MakeConfig(config, data);
  // A page that ends in an error block would measure the wrong thing.
  for (const char* url :
       {"varnolis://rubrik/Flach", "varnolis://rubrik/Baum", "varnolis://rubrik/Verbund"}) {
    std::string page;
    RenderPage(url, &page);
    if (page.find("errortitle") != std::string::npos || page.find("</HTML>") == std::string::npos) {
      std::cerr << "bench_page: " << url << " did not render without an error\n";
      return 1;
    }
  }
  const bool haveShell = std::system("command -v sqlite3 >/dev/null 2>&1") == 0;
  size_t flatBytes = 0, shapeBytes = 0, joinBytes = 0;
  const double flat =
      MedianSeconds(runs, [&] { flatBytes = RenderPage("varnolis://rubrik/Flach"); });
  const auto shapeAndJoin =
      MedianTimesAlternating(runs, {[&] { shapeBytes = RenderPage("varnolis://rubrik/Baum"); },
                                    [&] { joinBytes = RenderPage("varnolis://rubrik/Verbund"); }});
  const double shape = shapeAndJoin[0].wall;
  const double join = shapeAndJoin[1].wall;
  std::printf(
      "in process: flat %ld rows %.4f s (%zu bytes), shape %ld x 10 %.4f s (%zu bytes), "
      "flat join of the shape %.4f s (%zu bytes)\n",
      rows, flat, flatBytes, rows / 10, shape, shapeBytes, join, joinBytes);
  const std::string out = folder + "/tmp/out.html";
  const std::string hostCommand =
      folder + "/prog/varnolis get --cb 65536 -o " + out + " varnolis://rubrik/Flach";
  const std::string shellCommand = "sqlite3 -html " + data + " \"" + kFlatShell + "\" > " + out;
  double host = 0, shell = 0, hostCpu = 0, shellCpu = 0;
  if (haveHost && haveShell) {
    // Alternating, so that both peers meet the same load.
    const auto times =
        MedianTimesAlternating(runs, {[&] { Shell(hostCommand); }, [&] { Shell(shellCommand); }});
    host = times[0].wall;
    hostCpu = times[0].processor;
    shell = times[1].wall;
    shellCpu = times[1].processor;
    Shell(hostCommand);
    std::printf("host process: flat %.4f s, processor %.4f s (%ju bytes)\n", host, hostCpu,
                static_cast<uintmax_t>(fs::file_size(out)));
    Shell(shellCommand);
    std::printf("sqlite3 -html: flat %.4f s, processor %.4f s (%ju bytes)\n", shell, shellCpu,
                static_cast<uintmax_t>(fs::file_size(out)));
  }
  std::printf("ratios (medians of %d):\n", runs);
  if (haveHost && haveShell) {
    std::printf(
        "  (a) flat page / sqlite3 -html, whole processes: %.2f (processor time: %.2f; "
        "page in process: %.2f)\n",
        host / shell, hostCpu / shellCpu, flat / shell);
  } else {
    std::printf("  (a) not measured: %s not found\n", haveShell ? "the host" : "sqlite3");
  }
  if (instructions && haveHost && haveShell) {
    if (std::system("command -v valgrind >/dev/null 2>&1") != 0) {
      std::printf("  (a) in instructions: not measured, valgrind not found\n");
    } else {
      const long long hostCount = Instructions(hostCommand, folder);
      const long long shellCount = Instructions(shellCommand, folder);
      if (hostCount > 0 && shellCount > 0) {
        std::printf("  (a) in instructions: %.2f (%lld against %lld)\n",
                    static_cast<double>(hostCount) / static_cast<double>(shellCount), hostCount,
                    shellCount);
      } else {
        std::printf("  (a) in instructions: not measured, callgrind failed\n");
      }
    }
  }
  std::printf("  (b) shape page / flat join page: %.2f\n", shape / join);
  if (peaks.size() == 2 && peaks[0] > 0) {
    std::printf("  (c) peak memory 1 000 000 rows / 1 000 rows: %.2f\n",
                static_cast<double>(peaks[1]) / static_cast<double>(peaks[0]));
  } else {
    std::printf("  (c) not measured: run with --million\n");
  }
  std::printf("peer commands:\n  %s\n  %s\n", hostCommand.c_str(), shellCommand.c_str());
  fs::remove_all(folder);
  return 0;
}
