// Test support: a private temporary folder with its own HOME, XDG folders, TMPDIR, ACT!
// stand-in path and language, a copy of the built program folder in it, and a recording
// protocol sink.
#pragma once

#ifndef _WIN32
#include <dlfcn.h>
#endif
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "platform/urlmon.h"
#include "tests/handler/request_driver.h"
#include "tests/sqlite_script.h"
#ifdef _WIN32
#include "platform/module_path.h"
#endif

namespace vn::test {

namespace fs = std::filesystem;

inline std::string ReadFile(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
  }
  return text;
}

inline void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Runs `sql` (several statements) on the SQLite file at `path`, a configuration database.
inline void ExecSql(const std::string& path, const std::string& sql) {
  EXPECT_EQ(RunSqliteScript(path, sql), "");
}

// `text` as an SQL string literal.
inline std::string SqlQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}
// The configuration database at `config` made afresh from the shipped schema and display
// formats.
inline void CreateConfig(const std::string& config) {
  fs::create_directories(fs::path(config).parent_path());
  for (const char* script : {"/databases/schema.sql", "/databases/formate.sql"}) {
    ExecSql(config, ReadFile(std::string(VARNOLIS_SOURCE_DIR) + script));
  }
}

// A rubric of the configuration database as a test adds it, and one of its data entries.
struct ConfigRubric {
  int rank = 1;
  std::string name;
  std::string menuText;
  std::string title;
  std::string remark;
};
struct ConfigEntry {
  int format = 2;
  std::string title;
  std::string connection;
  std::string query;
};

// Adds `rubric` to the configuration database at `config` and assigns it `entries` in the
// order given.
inline void AddRubric(const std::string& config, const ConfigRubric& rubric,
                      const std::vector<ConfigEntry>& entries) {
  ExecSql(config, "INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) VALUES (" +
                      std::to_string(rubric.rank) + ", " + SqlQuoted(rubric.name) + ", " +
                      SqlQuoted(rubric.menuText) + ", " + SqlQuoted(rubric.title) + ", " +
                      SqlQuoted(rubric.remark) + ");");
  int rank = 0;
  for (const ConfigEntry& e : entries) {
    ExecSql(config, "INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage) VALUES (" +
                        SqlQuoted(e.title) + ", " + std::to_string(e.format) + ", " +
                        SqlQuoted(e.connection) + ", " + SqlQuoted(e.query) +
                        "); INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES ("
                        "(SELECT ID_Rubrik FROM Rubriken WHERE Rubrik = " +
                        SqlQuoted(rubric.name) + "), last_insert_rowid(), " +
                        std::to_string(++rank) + ");");
  }
}

// The ACT! stand-in at `path`: ACT! running with `database` open (none when empty) and a
// contact view on a contact with the fields of the JSON object `contact` (none when empty).
inline void WriteStandIn(const std::string& path, const std::string& contact,
                         const std::string& database = "Test.dbf") {
  WriteFile(path,
            "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
            "\"visible\": true}]" +
                (database.empty() ? std::string() : ", \"database\": \"" + database + "\"") +
                ", \"activeView\": 1" +
                (contact.empty() ? std::string() : ", \"contact\": " + contact) + "}");
}

// The page in what a browser received: up to its end, without the blanks that pad the last
// chunk.
inline std::string PageOf(const std::string& bytes) {
  const size_t end = bytes.find("</HTML>\r\n");
  return end == std::string::npos ? bytes : bytes.substr(0, end + 9);
}

// How often `part` occurs in `text`.
inline size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// A temporary folder that is the whole world of one test.
class TestFolder {
 public:
  explicit TestFolder(const char* language = "de_DE.UTF-8") {
    char pattern[] = "/tmp/vn-test-XXXXXX";
    root_ = fs::canonical(mkdtemp(pattern)).string();
    for (const char* sub : {"home", "config", "run", "tmp"})
      fs::create_directories(root_ + "/" + sub);
    chmod((root_ + "/run").c_str(), 0700);
    setenv("HOME", (root_ + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    unsetenv("XDG_STATE_HOME");  // the debug log's second place: below HOME
    setenv("XDG_RUNTIME_DIR", (root_ + "/run").c_str(), 1);
    setenv("TMPDIR", (root_ + "/tmp").c_str(), 1);
    setenv("VARNOLIS_ACT", (root_ + "/act.json").c_str(), 1);
    SetLanguage(language);
  }
  ~TestFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  static void SetLanguage(const char* language) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LC_NUMERIC");
    unsetenv("LC_TIME");
    setenv("LANG", language, 1);
  }

  const std::string& Root() const { return root_; }
  std::string Tmp() const { return root_ + "/tmp"; }
  std::string ConfigFolder() const { return root_ + "/config/Varnolis"; }

  // Writes the settings file with Debug = value (or without the key when value is null).
  void SetDebug(const char* value) const {
    WriteFile(
        ConfigFolder() + "/Varnolis.conf",
        value == nullptr ? "[Optionen]\r\n" : std::string("[Optionen]\r\nDebug=") + value + "\r\n");
  }

  // Copies the built program folder (library, host, ResourceHTML) to `name` below the root.
  std::string CopyProgramFolder(const std::string& name = "Varnolis") const {
    const std::string target = root_ + "/" + name;
    fs::create_directories(target);
    const fs::path built = VARNOLIS_PROGRAM_DIR;
    fs::copy_file(built / "libvarnolis.so", fs::path(target) / "libvarnolis.so");
    if (fs::exists(built / "varnolis"))
      fs::copy_file(built / "varnolis", fs::path(target) / "varnolis");
    fs::copy(built / "ResourceHTML", fs::path(target) / "ResourceHTML",
             fs::copy_options::recursive);
    return target;
  }

 private:
  std::string root_;
};

// A sink that records every call, one line each, as the host's --trace writes them.
class RecordingSink final : public IInternetProtocolSink {
 public:
  virtual ~RecordingSink() = default;
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
  HRESULT Switch(PROTOCOLDATA*) override {
    calls.push_back("Switch");
    return S_OK;
  }
  HRESULT ReportProgress(ULONG status, const char* text) override {
    calls.push_back("ReportProgress " + std::to_string(status) + " " + text);
    return S_OK;
  }
  HRESULT ReportData(DWORD flags, ULONG progress, ULONG progressMax) override {
    calls.push_back("ReportData " + std::to_string(flags) + " " + std::to_string(progress) + " " +
                    std::to_string(progressMax));
    return S_OK;
  }
  HRESULT ReportResult(HRESULT result, DWORD error, const char* text) override {
    char hex[16];
    snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result));
    calls.push_back(std::string("ReportResult ") + hex + " " + std::to_string(error) + " " + text);
    return S_OK;
  }

  std::vector<std::string> calls;
  ULONG references = 1;
};

// The head lines of every page for a program folder.
inline std::string ExpectedHead(const std::string& folder) {
  const std::string r = folder + "/ResourceHTML/";
  return "<HTML>\r\n<HEAD>\r\n<TITLE>Varnolis</TITLE>\r\n"
         "<LINK rel=\"stylesheet\" href=\"" +
         r +
         "styles.css\" type=\"text/css\">\r\n"
         "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" +
         r +
         "polling.vbs\">\r\n"
         "</SCRIPT>\r\n"
         "<SCRIPT  LANGUAGE=\"VBScript\">\r\n\r\n"
         "strPlus=\"" +
         r +
         "plus.gif\"\r\n\r\n"
         "strMinus=\"" +
         r +
         "minus.gif\"\r\n\r\n"
         "</SCRIPT>\r\n\r\n"
         "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" +
         r +
         "plusminus.vbs\"></SCRIPT>\r\n\r\n"
         "</HEAD>\r\n"
         "<BODY  CLASS=\"bodystyle\">\r\n"
         "<a name=\"Start\"></a>\r\n";
}

// The page end: 100 pairs of meta lines, </BODY>, </HTML>.
inline std::string ExpectedEnd() {
  std::string end;
  for (int i = 0; i < 100; ++i) {
    end += "<meta name=\"author\" content=\"Varnolis Software\" />\r\n";
    end +=
        "<meta name=\"keywords\" content=\"Varnolis, Varnolis Software, www.varnolis.example\" "
        "/>\r\n";
  }
  return end + "</BODY>\r\n</HTML>\r\n";
}

// The error block of class `k` for message text `text` with number `number`.
inline std::string ExpectedErrorBlockOf(const std::string& folder, const std::string& k, int number,
                                        const std::string& text, bool german) {
  return "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
         "<TD  CLASS=\"errortitle\"><IMG  NAME=\"img_error_" +
         k + "\" SRC=\"" + folder + "/ResourceHTML/plus.gif\" onclick=\"DisplayItem 'img_error_" +
         k + "','div_error_" + k + "'\" onmouseover=\"Point 'img_error_" + k +
         "'\" onmouseout=\"DontPoint 'img_error_" + k +
         "'\" WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;<B>" +
         (german ? "Hinweis von Klasse " : "Information from class ") + k +
         ".</B></TD></TR></TABLE>\r\n"
         "<DIV  ID=\"div_error_" +
         k +
         "\" STYLE=\"display:none\">\r\n"
         "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
         "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">" +
         (german ? "Nummer" : "Number") + "</TD><TD  CLASS=\"errortext\">" +
         (german ? "Beschreibung" : "Description") +
         "</TD></TR><TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">" + std::to_string(number) +
         "</TD><TD  CLASS=\"errortext\">" + text + "</TD></TR></TABLE></DIV>\r\n";
}

// The protocol handler's error block for message text `text` with number `number`.
inline std::string ExpectedErrorBlock(const std::string& folder, int number,
                                      const std::string& text, bool german) {
  return ExpectedErrorBlockOf(folder, "clProtocolHandler", number, text, german);
}

// Pads `page` with blanks to a multiple of `cb`, adding a whole chunk of blanks when it is one
// already (the last chunk must come short of the file's end).
inline std::string Padded(const std::string& page, size_t cb) {
  size_t chunks = page.size() / cb + 1;
  return page + std::string(chunks * cb - page.size(), ' ');
}

inline int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

#ifndef _WIN32
// The library as a browser reaches it: loaded with dlopen from a program folder and driven
// only through its exported entry points.
class Library {
 public:
  explicit Library(const std::string& folder) {
    handle_ = dlopen((folder + "/libvarnolis.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle_, nullptr) << dlerror();
    getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
    canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
    registerServer = reinterpret_cast<DllRegisterServerFn>(dlsym(handle_, "DllRegisterServer"));
    unregisterServer =
        reinterpret_cast<DllUnregisterServerFn>(dlsym(handle_, "DllUnregisterServer"));
  }
  ~Library() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  IInternetProtocol* Create() {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(getClassObject(&CLSID_ProtocolHandler, &IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
              S_OK);
    IInternetProtocol* protocol = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IInternetProtocol,
                                      reinterpret_cast<void**>(&protocol)),
              S_OK);
    factory->Release();
    return protocol;
  }

  DllGetClassObjectFn getClassObject = nullptr;
  DllCanUnloadNowFn canUnloadNow = nullptr;
  DllRegisterServerFn registerServer = nullptr;
  DllUnregisterServerFn unregisterServer = nullptr;

 private:
  void* handle_ = nullptr;
};

// Start, Read until S_FALSE (or a failure), Terminate; as a browser does.
inline Response Get(Library& library, const std::string& url, ULONG cb = 4096) {
  Response r;
  RecordingSink sink;
  IInternetProtocol* protocol = library.Create();
  r.start = protocol->Start(url.c_str(), &sink, nullptr, 0, 0);
  if (r.start == S_OK) {
    std::vector<char> buffer(cb);
    for (int guard = 0; guard < 100000; ++guard) {
      ULONG count = 0;
      HRESULT hr = protocol->Read(buffer.data(), cb, &count);
      r.reads.push_back(hr);
      r.counts.push_back(count);
      r.bytes.append(buffer.data(), count);
      if (hr != S_OK && hr != E_PENDING) break;
    }
  }
  EXPECT_EQ(protocol->Terminate(0), S_OK);
  protocol->Release();
  EXPECT_EQ(sink.references, 1u) << "the sink must be released by Terminate";
  r.calls = sink.calls;
  return r;
}
#else
// On Windows the library's entry points are COM's, which the tests in tests/windows drive through
// urlmon; here the request is driven directly, with the program folder given as the library's
// folder.
class Library {
 public:
  explicit Library(const std::string& folder) { OverrideLibraryFolder(folder); }
  ~Library() { OverrideLibraryFolder(""); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

inline Response Get(Library&, const std::string& url, ULONG cb = 4096) { return Fetch(url, cb); }
#endif

}  // namespace vn::test
