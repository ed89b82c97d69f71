// Benchmark of a customer's rubric of five data entries on PostgreSQL (the server that
// .ci/postgres.sh starts, reached as VARNOLIS_TEST_PG_ODBC says; 20 000 customers, 200 000
// invoices, indexed, password authentication), printed as the ratios the pages are held to:
//  (a) the first page of a fresh process (`varnolis get`) against `psql` running the same five
//      queries in one session, both whole processes; and the 1-entry page against psql with its
//      one query; beside them a process that runs the same queries through the ODBC driver
//      manager and nothing else (bench_odbc_session), the floor for a page that reaches its
//      database through ODBC;
//  (b) 200 pages in one process, driven through the library's exported entry points as a browser
//      tab does on every contact change, against a libpq client of ours that keeps one
//      connection and runs the five queries 200 times; and against the same client through the
//      PostgreSQL ODBC driver (what any ODBC client pays for the driver and the driver manager).
// Every measurement is made with the connection pool and with it switched off for the entries
// (`OLE DB Services=-2`), which is how every entry connected before there was a pool.
//
//   bench_pool [--runs N] [--pages N]
#include <dlfcn.h>
#include <sys/resource.h>
#include <libpq-fe.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/connection_string.h"
#include "platform/urlmon.h"

#include "bench/bench_support.h"
#include "bench/odbc_client.h"

namespace {

using vn::bench::MedianTimesAlternating;
using vn::bench::Shell;

namespace fs = std::filesystem;

constexpr int kCustomer = 4711;

// The rubric's five queries; `customer` is what stands in their text for the customer number.
std::vector<std::string> Queries(const std::string& customer) {
  return {
      "SELECT name AS \"Name\", city AS \"Ort\" FROM bench_customers WHERE id = " + customer,
      "SELECT no AS \"right_Nr\", day AS \"formatdd*mm*yyyy_Datum\", amount AS "
      "\"right_format#,##0.00_Betrag\" FROM bench_invoices WHERE customer_id = " +
          customer + " ORDER BY no",
      "SELECT count(*) AS \"Anzahl\", sum(amount) AS \"right_format#,##0.00_Summe\" FROM "
      "bench_invoices WHERE customer_id = " +
          customer,
      "SELECT max(day) AS \"formatdd*mm*yyyy_Letzte\" FROM bench_invoices WHERE customer_id = " +
          customer,
      "SELECT no AS \"right_Nr\", amount AS \"right_format#,##0.00_Betrag\" FROM bench_invoices "
      "WHERE customer_id = " +
          customer + " AND amount > 100 ORDER BY amount DESC LIMIT 5"};
}

// The customer tables, made once per server.
constexpr const char* kTables =
    "CREATE TABLE IF NOT EXISTS bench_customers (id integer PRIMARY KEY, name text, city text);"
    "CREATE TABLE IF NOT EXISTS bench_invoices (customer_id integer, no integer, day date, "
    "amount numeric(12,2));"
    "INSERT INTO bench_customers SELECT i, 'Kunde ' || i, 'Ort ' || (i % 97) FROM "
    "generate_series(1, 20000) i WHERE NOT EXISTS (SELECT 1 FROM bench_customers);"
    "INSERT INTO bench_invoices SELECT 1 + i % 20000, 1 + i / 20000, date '2020-01-01' + i % "
    "1500, (i % 9973) * 1.25 FROM generate_series(0, 199999) i WHERE NOT EXISTS (SELECT 1 FROM "
    "bench_invoices);"
    "CREATE INDEX IF NOT EXISTS bench_invoices_customer ON bench_invoices (customer_id);"
    "ANALYZE bench_customers; ANALYZE bench_invoices;";

fs::path ExecutableFolder() { return fs::canonical("/proc/self/exe").parent_path(); }

fs::path SourceFolder() {
  const fs::path file = __FILE__;
  return (file.is_absolute() ? file : ExecutableFolder() / file).parent_path();
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The configuration database: rubrics "Kunde" (the five entries) and "Kunde1" (the first one),
// and the same as "KundeOhne" and "Kunde1Ohne" with pooling switched off.
void MakeConfig(const fs::path& path, const std::string& connection) {
  std::string sql = ReadText(SourceFolder().parent_path() / "databases/schema.sql") +
                    ReadText(SourceFolder().parent_path() / "databases/formate.sql") +
                    "INSERT INTO Rubriken (ID_Rubrik, Rang, Rubrik, Menuetext, Titel, Bemerkung) "
                    "VALUES (1, 1, 'Kunde', 'Kunde', 'Kunde', ''), (2, 2, 'Kunde1', 'Kunde1', "
                    "'Kunde1', ''), (3, 3, 'KundeOhne', 'KundeOhne', 'KundeOhne', ''), (4, 4, "
                    "'Kunde1Ohne', 'Kunde1Ohne', 'Kunde1Ohne', '');";
  const std::vector<std::string> queries = Queries("{!kontakt,25}");
  int id = 0;
  for (int rubric = 1; rubric <= 4; ++rubric) {
    const bool pooled = rubric <= 2;
    const size_t entries = rubric % 2 == 1 ? queries.size() : 1;
    for (size_t e = 0; e < entries; ++e) {
      ++id;
      sql +=
          "INSERT INTO Daten (ID_Daten, Titel, Format_ID, Datenquelle, Abfrage) VALUES (" +
          std::to_string(id) + ", 'Eintrag " + std::to_string(e + 1) + "', 1, " +
          Quoted(connection + (pooled ? "" : ";OLE DB Services=-2")) + ", " + Quoted(queries[e]) +
          ");" + "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (" +
          std::to_string(rubric) + ", " + std::to_string(id) + ", " + std::to_string(e + 1) + ");";
    }
  }
  fs::remove(path);
  const fs::path script = path.parent_path() / "config.sql";
  std::ofstream(script) << sql;
  Shell("sqlite3 " + path.string() + " < " + script.string());
}

// The library as a browser tab holds it: loaded once, a protocol object per page.
class Library {
 public:
  explicit Library(const fs::path& file) {
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
      std::cerr << "bench_pool: " << dlerror() << '\n';
      std::exit(1);
    }
    getClassObject_ =
        reinterpret_cast<vn::DllGetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
    canUnloadNow_ = reinterpret_cast<vn::DllCanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
  }
  ~Library() {
    canUnloadNow_();  // as COM asks before it lets the library go
    dlclose(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // The page of `url`, read in the browser's chunks.
  std::string Page(const std::string& url) {
    vn::IClassFactory* factory = nullptr;
    getClassObject_(&vn::CLSID_ProtocolHandler, &vn::IID_IClassFactory,
                    reinterpret_cast<void**>(&factory));
    vn::IInternetProtocol* protocol = nullptr;
    factory->CreateInstance(nullptr, vn::IID_IInternetProtocol,
                            reinterpret_cast<void**>(&protocol));
    factory->Release();
    std::string page;
    if (protocol->Start(url.c_str(), nullptr, nullptr, 0, 0) == vn::S_OK) {
      char buffer[65536];
      for (;;) {
        vn::ULONG count = 0;
        const vn::HRESULT hr = protocol->Read(buffer, sizeof buffer, &count);
        page.append(buffer, count);
        if (hr != vn::S_OK && hr != vn::E_PENDING) break;
      }
    }
    protocol->Terminate(0);
    protocol->Release();
    return page;
  }

 private:
  void* handle_ = nullptr;
  vn::DllGetClassObjectFn getClassObject_ = nullptr;
  vn::DllCanUnloadNowFn canUnloadNow_ = nullptr;
};

// The floor: one libpq connection kept, the five queries run `pages` times, every value read.
void LibpqClient(const std::string& conninfo, int pages) {
  PGconn* connection = PQconnectdb(conninfo.c_str());
  if (PQstatus(connection) != CONNECTION_OK) {
    std::cerr << "bench_pool: " << PQerrorMessage(connection);
    std::exit(1);
  }
  const std::vector<std::string> queries = Queries(std::to_string(kCustomer));
  size_t bytes = 0;
  for (int page = 0; page < pages; ++page) {
    for (const std::string& sql : queries) {
      PGresult* result = PQexec(connection, sql.c_str());
      if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        std::cerr << "bench_pool: " << PQresultErrorMessage(result);
        std::exit(1);
      }
      for (int row = 0; row < PQntuples(result); ++row) {
        for (int column = 0; column < PQnfields(result); ++column) {
          bytes += std::strlen(PQgetvalue(result, row, column));
        }
      }
      PQclear(result);
    }
  }
  PQfinish(connection);
  if (bytes == 0) std::exit(1);
}

// The driver's floor: the libpq client's work through the ODBC driver manager and the
// PostgreSQL ODBC driver.
void OdbcClient(const std::string& connectionString, int pages) {
  vn::bench::OdbcClient client(connectionString, "bench_pool");
  const std::vector<std::string> queries = Queries(std::to_string(kCustomer));
  size_t bytes = 0;
  for (int page = 0; page < pages; ++page) {
    for (const std::string& sql : queries) bytes += client.Run(sql);
  }
  if (bytes == 0) std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  int pages = 200;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--pages") == 0 && i + 1 < argc) pages = std::atoi(argv[++i]);
  }
  const char* odbc = std::getenv("VARNOLIS_TEST_PG_ODBC");
  if (odbc == nullptr) {
    std::cerr << "bench_pool: VARNOLIS_TEST_PG_ODBC is not set: 'source .ci/postgres.sh' first\n";
    return 1;
  }
  const vn::data::ConnectionString server(odbc);
  const std::string conninfo = "host=" + server.Get("Server") + " port=" + server.Get("Port") +
                               " dbname=" + server.Get("Database") + " user=" + server.Get("UID") +
                               " password=" + server.Get("PWD");
  setenv("PGPASSWORD", server.Get("PWD").c_str(), 1);
  // The client itself, not Debian's wrapper script, whose start would be measured with it.
  std::string psqlProgram = "psql";
  for (const auto& version : fs::directory_iterator("/usr/lib/postgresql")) {
    if (fs::exists(version.path() / "bin/psql"))
      psqlProgram = (version.path() / "bin/psql").string();
  }
  const std::string psql = psqlProgram + " -X -q -h " + server.Get("Server") + " -p " +
                           server.Get("Port") + " -U " + server.Get("UID") + " -d " +
                           server.Get("Database");

  // A world of its own: settings, temporary files, the ACT! stand-in and the program folder.
  const fs::path folder = fs::temp_directory_path() / ("vn-bench-pool-" + std::to_string(getpid()));
  for (const char* sub : {"config", "tmp", "prog/databases"}) fs::create_directories(folder / sub);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  setenv("TMPDIR", (folder / "tmp").c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  unsetenv("LC_ALL");
  const fs::path act = folder / "act.json";
  std::ofstream(act) << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - B\", "
                        "\"visible\": true}], \"database\": \"B.dbf\", \"activeView\": 1, "
                        "\"contact\": {\"25\": \""
                     << kCustomer << "\"}}";
  setenv("VARNOLIS_ACT", act.c_str(), 1);
  const fs::path built = ExecutableFolder().parent_path() / "Varnolis";
  for (const char* file : {"varnolis", "libvarnolis.so"}) {
    fs::copy_file(built / file, folder / "prog" / file);
  }
  // As an ADO connection string names ODBC: through MSDASQL.
  MakeConfig(folder / "prog/databases/config.mdb", std::string("Provider=MSDASQL;") + odbc);

  const fs::path tables = folder / "tables.sql";
  std::ofstream(tables) << kTables;
  Shell(psql + " -v ON_ERROR_STOP=1 -f " + tables.string() + " >/dev/null 2>&1");
  const fs::path five = folder / "five.sql";
  const fs::path one = folder / "one.sql";
  {
    const std::vector<std::string> queries = Queries(std::to_string(kCustomer));
    std::ofstream out(five);
    for (const std::string& sql : queries) out << sql << ";\n";
    std::ofstream(one) << queries[0] << ";\n";
  }

  // Each page must be whole, without an error block, before it is timed.
  const std::string out = (folder / "tmp/out.html").string();
  auto host = [&](const std::string& rubric) {
    return (folder / "prog/varnolis").string() + " get --cb 65536 -o " + out +
           " varnolis://rubrik/" + rubric;
  };
  for (const char* rubric : {"Kunde", "Kunde1", "KundeOhne", "Kunde1Ohne"}) {
    Shell(host(rubric));
    const std::string page = ReadText(out);
    if (page.find("errortitle") != std::string::npos || page.find("</HTML>") == std::string::npos ||
        page.find("Kunde 4711") == std::string::npos) {
      std::cerr << "bench_pool: rubric " << rubric << " did not render without an error:\n"
                << page << '\n';
      return 1;
    }
  }

  // (a) whole processes, alternating so that all peers meet the same load.
  const std::string odbcSession = (ExecutableFolder() / "bench_odbc_session").string() + " ";
  const auto first = MedianTimesAlternating(
      runs, {[&] { Shell(host("Kunde")); }, [&] { Shell(host("KundeOhne")); },
             [&] { Shell(psql + " -f " + five.string() + " >/dev/null"); },
             [&] { Shell(host("Kunde1")); }, [&] { Shell(host("Kunde1Ohne")); },
             [&] { Shell(psql + " -f " + one.string() + " >/dev/null"); },
             [&] { Shell(odbcSession + five.string()); },
             [&] { Shell(odbcSession + one.string()); }});

  // (b) pages in one process against the libpq floor.
  const fs::path library = folder / "prog/libvarnolis.so";
  auto pagesOf = [&](const std::string& rubric) {
    Library varnolis(library);
    for (int page = 0; page < pages; ++page) {
      if (varnolis.Page("varnolis://rubrik/" + rubric).find("Kunde 4711") == std::string::npos) {
        std::cerr << "bench_pool: a page of " << rubric << " is not whole\n";
        std::exit(1);
      }
    }
  };
  if (std::getenv("VN_BENCH_POOLED_PAGES_ONLY") != nullptr) {  // for a profiler
    // The stand-in reads its file afresh until the file is two seconds old (it cannot tell a
    // later write in the same tick of the file system's clock otherwise); the first-page runs
    // give it that time in the whole benchmark.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    // The processor time of this process as well: on a loaded machine it varies less than the
    // wall time.
    auto cpu = [] {
      rusage usage{};
      getrusage(RUSAGE_SELF, &usage);
      return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const double startCpu = cpu();
      pagesOf("Kunde");
      const auto pooled = std::chrono::steady_clock::now();
      const double pooledCpu = cpu();
      LibpqClient(conninfo, pages);
      const auto libpq = std::chrono::steady_clock::now();
      const double libpqCpu = cpu();
      OdbcClient(odbc, pages);
      const std::chrono::duration<double> ours = pooled - start;
      const std::chrono::duration<double> floor = libpq - pooled;
      const std::chrono::duration<double> driver = std::chrono::steady_clock::now() - libpq;
      std::printf(
          "%d pooled pages %.4f s (cpu %.4f s), libpq client %.4f s (cpu %.4f s), ODBC client "
          "%.4f s (cpu %.4f s), ratio %.2f (to the ODBC client %.2f)\n",
          pages, ours.count(), pooledCpu - startCpu, floor.count(), libpqCpu - pooledCpu,
          driver.count(), cpu() - libpqCpu, ours.count() / floor.count(),
          ours.count() / driver.count());
    }
    if (std::getenv("VN_BENCH_KEEP") == nullptr) fs::remove_all(folder);
    return 0;
  }
  const int inProcessRuns = std::max(3, runs / 3);
  const auto loop = MedianTimesAlternating(
      inProcessRuns, {[&] { pagesOf("Kunde"); }, [&] { pagesOf("KundeOhne"); },
                      [&] { LibpqClient(conninfo, pages); }, [&] { OdbcClient(odbc, pages); }});

  std::printf("first page, whole processes (medians of %d, wall s):\n", runs);
  std::printf("  5 entries: pooled %.4f, pool off %.4f; psql, 5 queries in one session %.4f\n",
              first[0].wall, first[1].wall, first[2].wall);
  std::printf("  1 entry:   pooled %.4f, pool off %.4f; psql, 1 query %.4f\n", first[3].wall,
              first[4].wall, first[5].wall);
  std::printf("  a bare ODBC client process, the same queries in one session: 5 %.4f, 1 %.4f\n",
              first[6].wall, first[7].wall);
  std::printf("%d pages in one process (medians of %d, wall s):\n", pages, inProcessRuns);
  std::printf("  pooled %.4f, pool off %.4f; libpq, one connection, %d x 5 queries %.4f\n",
              loop[0].wall, loop[1].wall, pages, loop[2].wall);
  std::printf("  the same client through the ODBC driver %.4f\n", loop[3].wall);
  std::printf("ratios:\n");
  std::printf("  (a) first 5-entry page / psql: pooled %.2f (target <= 1.0), pool off %.2f\n",
              first[0].wall / first[2].wall, first[1].wall / first[2].wall);
  std::printf("      first 1-entry page / psql: pooled %.2f, pool off %.2f (pooled / off %.2f)\n",
              first[3].wall / first[5].wall, first[4].wall / first[5].wall,
              first[3].wall / first[4].wall);
  std::printf("      the bare ODBC client process / psql: 5 queries %.2f, 1 query %.2f; first "
              "5-entry page (pooled) / the bare ODBC client process %.2f\n",
              first[6].wall / first[2].wall, first[7].wall / first[5].wall,
              first[0].wall / first[6].wall);
  std::printf("  (b) %d pages / libpq client: pooled %.2f (target <= 1.5), pool off %.2f\n", pages,
              loop[0].wall / loop[2].wall, loop[1].wall / loop[2].wall);
  std::printf("      the ODBC client / libpq client %.2f; pooled pages / ODBC client %.2f\n",
              loop[3].wall / loop[2].wall, loop[0].wall / loop[3].wall);
  std::printf("peer commands:\n  %s\n  %s -f five.sql\n", host("Kunde").c_str(), psql.c_str());
  if (std::getenv("VN_BENCH_KEEP") == nullptr) fs::remove_all(folder);
  return 0;
}
