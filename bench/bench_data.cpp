// Benchmark of the data access layer against the sqlite3 shell running the same statements:
// a 100 000-row flat result read through a recordset and a clone taken before the first move
// (as the hierarchical renderer reads), and a 10 000-parent x 10-child shape; the flat read
// also without the command timeout's clock, for its cost. Also measures the peak memory of
// reading a million rows that way (--million).
//
//   bench_data [--runs N] [--million]
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/field.h"
#include "data/recordset.h"
#include "data/sqlite_handles.h"

#include "bench/bench_support.h"

namespace {

using vn::bench::MedianSeconds;
using vn::bench::PeakOfChild;
using vn::bench::Shell;

const char* kFlat = "SELECT id, name, amount, day FROM flat ORDER BY id";
const char* kParents = "SELECT id, name FROM parent ORDER BY id";
const char* kChildren = "SELECT parent_id, pos, article, price FROM child ORDER BY parent_id, pos";

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::cerr << "bench_data: " << (error ? error : "error") << '\n';
    std::exit(1);
  }
}

void MakeDatabase(const std::string& path, long flatRows, long parents, long childrenEach) {
  vn::data::SqliteDatabase owner;
  vn::data::OpenSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, owner);
  sqlite3* db = owner.get();
  Exec(db,
       "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
       "CREATE TABLE flat (id INTEGER PRIMARY KEY, name VARCHAR(40), amount CURRENCY, day DATE);"
       "CREATE TABLE parent (id INTEGER PRIMARY KEY, name VARCHAR(40));"
       "CREATE TABLE child (parent_id INTEGER, pos INTEGER, article VARCHAR(40), price DOUBLE);");
  Exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(flatRows) +
               ") INSERT INTO flat SELECT i, 'Kunde Nr. ' || i || ' Müller', i * 1.25, "
               "date('2000-01-01', '+' || (i % 9000) || ' days') FROM n;");
  Exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(parents) + ") INSERT INTO parent SELECT i, 'Kunde ' || i FROM n;");
  Exec(db, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(parents * childrenEach - 1) + ") INSERT INTO child SELECT i / " +
               std::to_string(childrenEach) + " + 1, i % " + std::to_string(childrenEach) +
               ", 'Artikel ' || i, i * 0.5 FROM n;");
  Exec(db, "COMMIT;");
}

// Reads every value of every row as the renderer does; returns the number of values.
long WalkFlat(const std::string& path, const char* sql, const std::string& options = {}) {
  vn::data::Connection c;
  c.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=" + path + options);
  vn::data::Recordset rs;
  rs.Open(sql, c, vn::data::adOpenForwardOnly, vn::data::adLockUnspecified, -1);
  auto clone = rs.Clone();
  long values = 0;
  while (!clone->Eof()) {
    for (int i = 0; i < clone->FieldCount(); ++i) {
      values += clone->Fields(i).Value().IsNull() ? 0 : 1;
    }
    clone->MoveNext();
  }
  return values;
}

long WalkShape(const std::string& path) {
  vn::data::Connection c;
  c.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=" + path);
  vn::data::Recordset rs;
  rs.Open(std::string("SHAPE {") + kParents + "}  AS p APPEND ({" + kChildren +
              "}  AS c RELATE id TO parent_id) AS c",
          c);
  auto clone = rs.Clone();
  long values = 0;
  while (!clone->Eof()) {
    values += 2;
    auto child = clone->Fields(2).Value().As<std::shared_ptr<vn::data::Recordset>>()->Clone();
    while (!child->Eof()) {
      for (int i = 0; i < child->FieldCount(); ++i)
        values += child->Fields(i).Value().IsNull() ? 0 : 1;
      child->MoveNext();
    }
    clone->MoveNext();
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  bool million = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--million") == 0) million = true;
  }
  std::string folder =
      std::filesystem::temp_directory_path() / ("vn-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::string db = folder + "/bench.db";

  if (million) {
    std::string big = folder + "/million.db";
    MakeDatabase(big, 1000000, 1, 1);
    long baseline = PeakOfChild([&] {
      vn::data::Connection c;
      c.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=" + big);
      vn::data::Recordset rs;
      rs.Open(kFlat, c);
      auto clone = rs.Clone();
      std::printf("first row: %s\n", clone->Fields(1).Value().DebugText().c_str());
    });
    long peak = PeakOfChild([&] { std::printf("values read: %ld\n", WalkFlat(big, kFlat)); });
    std::printf(
        "million rows (recordset + clone before the first move, walked forward):\n"
        "  peak RSS after Open+Clone only: %ld kB\n  peak RSS after reading all rows: %ld kB\n",
        baseline, peak);
  }

  MakeDatabase(db, 100000, 10000, 10);
  bool haveShell = std::system("command -v sqlite3 >/dev/null 2>&1") == 0;
  long flatValues = 0, shapeValues = 0;
  double flat = MedianSeconds(runs, [&] { flatValues = WalkFlat(db, kFlat); });
  double shape = MedianSeconds(runs, [&] { shapeValues = WalkShape(db); });
  std::printf(
      "data layer: flat 100000 rows %.4f s (%ld values), shape 10000 x 10 %.4f s (%ld values)\n",
      flat, flatValues, shape, shapeValues);
  double untimed = MedianSeconds(runs, [&] { WalkFlat(db, kFlat, ";Command Timeout=0"); });
  std::printf("flat without a command timeout %.4f s: ratio (with / without) %.2f\n", untimed,
              flat / untimed);
  if (haveShell) {
    std::string flatCommand = "sqlite3 " + db + " \"" + kFlat + "\" > /dev/null";
    std::string shapeCommand =
        "sqlite3 " + db + " \"" + kParents + "; " + kChildren + "\" > /dev/null";
    double shellFlat = MedianSeconds(runs, [&] { Shell(flatCommand); });
    double shellShape = MedianSeconds(runs, [&] { Shell(shapeCommand); });
    std::printf("sqlite3 shell: flat %.4f s, shape statements %.4f s\n", shellFlat, shellShape);
    std::printf("ratio (data layer / sqlite3 shell): flat %.2f, shape %.2f\n", flat / shellFlat,
                shape / shellShape);
    std::printf("peer commands:\n  %s\n  %s\n", flatCommand.c_str(), shapeCommand.c_str());
  } else {
    std::printf("sqlite3 shell not found: no ratio\n");
  }
  std::filesystem::remove_all(folder);
  return 0;
}
