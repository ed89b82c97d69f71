// Sends a fuzzed URL through a whole request of the exported entry points, as a browser does
// (DllGetClassObject, CreateInstance, Start, Read until the end, Terminate), over a program
// folder with a configuration, a data database and a running stand-in ACT!. The first byte
// picks a prefix so that the fuzzer reaches the commands without guessing the scheme.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/module_path.h"
#include "platform/urlmon.h"
#include "tests/sqlite_script.h"

extern "C" vn::HRESULT DllGetClassObject(const vn::CLSID* rclsid, const vn::IID* riid, void** ppv);

namespace {

using namespace vn;

void Exec(const std::string& database, const std::string& sql) {
  if (!vn::test::RunSqliteScript(database, sql).empty()) {
    std::abort();  // the fixture itself is broken
  }
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  char pattern[] = "/tmp/vn-fuzz-request-XXXXXX";
  static const std::string root = mkdtemp(pattern);
  std::atexit([] { std::filesystem::remove_all(root); });
  for (const char* sub : {"home", "config", "run", "tmp", "Varnolis/databases"}) {
    std::filesystem::create_directories(root + "/" + sub);
  }
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  setenv("VARNOLIS_ACT", (root + "/act.json").c_str(), 1);
  const std::string program = root + "/Varnolis";
  OverrideLibraryFolder(program);

  const std::string config = program + "/databases/config.mdb";
  Exec(config, FileText(VARNOLIS_SOURCE_DIR "/databases/schema.sql"));
  Exec(config, FileText(VARNOLIS_SOURCE_DIR "/databases/formate.sql"));
  const std::string data = root + "/kunden.db";
  Exec(data,
       "CREATE TABLE kunden (nr TEXT, name TEXT, umsatz REAL);"
       "INSERT INTO kunden VALUES ('K1', 'Meier', 12.5), ('K2', '<b>O''Neil</b>', NULL);"
       "CREATE TABLE auftraege (nr INTEGER, kunde TEXT);"
       "INSERT INTO auftraege VALUES (1, 'K1'), (2, 'K1');");
  const std::string connection = "Provider=SQLite;Data Source=" + data;
  Exec(config,
       "INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES "
       "(1, 'Kunde', 'Kunde', 'Kunden', 'x'), (2, 'Leer', 'Leer', 'L', '');"
       "INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES "
       "('Karte', 2, '" +
           connection +
           "', 'SELECT * FROM kunden WHERE nr = ''{!kontakt,25}'''),"
           "('Liste', 1, '" +
           connection +
           "', 'SELECT nr, name FROM kunden'),"
           "('Baum', 0, '" +
           connection +
           "', 'SHAPE {SELECT * FROM kunden} APPEND "
           "({SELECT * FROM auftraege} RELATE nr TO kunde) AS a'),"
           "('Info', 3, '', '');"
           "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (1, 1, 1), (1, 2, 2), (1, "
           "3, 3), "
           "(1, 4, 4);");
  std::ofstream(root + "/act.json")
      << R"({"windows": [{"class": "act3.0frameclass", "title": "ACT! - Fuzz"}],
             "database": "Fuzz.dbf", "activeView": 1, "contact": {"1": "C1", "25": "K1"}})";
}

// The browser's side; it lives on the stack and only checks the protocol's balance.
class Sink final : public IInternetProtocolSink {
 public:
  virtual ~Sink() = default;
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IInternetProtocolSink) {
      *ppv = static_cast<IInternetProtocolSink*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  HRESULT ReportProgress(ULONG, const char*) override { return S_OK; }
  HRESULT ReportData(DWORD, ULONG, ULONG) override { return S_OK; }
  HRESULT ReportResult(HRESULT, DWORD, const char*) override { return S_OK; }

  ULONG references = 1;
};

std::string Url(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0:
      return rest;
    case 1:
      return "varnolis://" + rest;
    case 2:
      return "varnolis://rubrik/" + rest;
    default:
      return "varnolis://rubrik/Kunde" + rest;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Prepare();
  const std::string url = Url(data, size);
  IClassFactory* factory = nullptr;
  if (DllGetClassObject(&CLSID_ProtocolHandler, &IID_IClassFactory,
                        reinterpret_cast<void**>(&factory)) != S_OK) {
    std::abort();
  }
  IInternetProtocol* protocol = nullptr;
  if (factory->CreateInstance(nullptr, IID_IInternetProtocol,
                              reinterpret_cast<void**>(&protocol)) != S_OK) {
    std::abort();
  }
  factory->Release();
  Sink sink;
  if (protocol->Start(url.c_str(), &sink, nullptr, 0, 0) == S_OK) {
    std::vector<char> buffer(4096);
    for (int guard = 0;; ++guard) {
      if (guard == 100000) std::abort();  // a page never ends
      ULONG count = 0;
      const HRESULT hr = protocol->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &count);
      if (count > buffer.size()) std::abort();
      if (hr != S_OK && hr != E_PENDING) break;
    }
  }
  if (protocol->Terminate(0) != S_OK) std::abort();
  protocol->Release();
  if (sink.references != 1) std::abort();  // Terminate gives the sink back
  return 0;
}
