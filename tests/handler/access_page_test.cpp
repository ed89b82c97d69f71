// Rubric pages whose entries name the OLE DB providers of existing configurations: a real
// Access file through the Jet provider (read on Linux from mdbtools' snapshot) and a SQL Server
// provider reaching FreeTDS. Linux only: the library is loaded from a copy of the Linux program
// folder, and the Access file is read the Linux way.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "config/convert/config_converter.h"
#include "tests/data/access_test_file.h"
#include "tests/handler/test_folder.h"

#ifndef _WIN32

namespace vn::test {
namespace {

// The real Jet 4 test file, fetched by scripts/fetch-test-access.sh; empty when absent.
std::string FruitMdbSource() {
  const char* dir = std::getenv("VARNOLIS_TEST_ACCESS_DIR");
  const std::string path = (dir != nullptr && *dir != '\0')
                               ? std::string(dir) + "/fruit.mdb"
                               : std::string(VARNOLIS_SOURCE_DIR) + "/.deps/access/fruit.mdb";
  return fs::exists(path) ? path : std::string();
}

class AccessPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    setenv("XDG_CACHE_HOME", (folder_->Root() + "/cache").c_str(), 1);
    program_ = folder_->CopyProgramFolder();
    library_ = std::make_unique<Library>(program_);
    CreateConfig(program_ + "/databases/config.mdb");
    WriteAct("Banana");
    const std::string source = FruitMdbSource();
    if (!source.empty()) {
      fruit_ = folder_->Root() + "/daten/fruit.mdb";
      fs::create_directories(folder_->Root() + "/daten");
      fs::copy_file(source, fruit_);
    }
  }
  void TearDown() override {
    library_.reset();
    folder_.reset();
    unsetenv("XDG_CACHE_HOME");
  }

  // ACT! running with a contact whose field 25 is `fruit`.
  void WriteAct(const std::string& fruit) const {
    WriteStandIn(folder_->Root() + "/act.json", "{\"25\": \"" + fruit + "\"}");
  }

  // The rubric `Obst` with its entries (format, title, connection, query) in the order given.
  void AddRubric(const std::vector<ConfigEntry>& entries) {
    test::AddRubric(program_ + "/databases/config.mdb",
                    {1, "Obst", "Obst", "Obstsorten", "Aus Access"}, entries);
  }

  std::string Page() {
    Response r = Get(*library_, "varnolis://rubrik/Obst");
    EXPECT_EQ(r.start, S_OK);
    return PageOf(r.bytes);
  }

  std::string Jet() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fruit_; }

  // The page up to the entries' window, for the rubric above.
  std::string PageStart() const {
    return ExpectedHead(program_) + "\r\n" +
           "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><TR>"
           "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n"
           "<TD  WIDTH=\"100\" ALIGN=\"center\" CLASS=\"mb1\" "
           "onClick=\"location.href='varnolis://rubrik/Obst'\"><SPAN  CLASS=\"mt1\">Obst</SPAN>"
           "</TD>\r\n"
           "<TD  WIDTH=\"10\">&nbsp;</TD>\r\n</TR>\r\n</TABLE>\r\n"
           "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
           "<TD  COLSPAN=\"3\" CLASS=\"mb2\"><IMG  WIDTH=\"1\" HEIGHT=\"8\" ALT=\"\"></TD>\r\n"
           "</TR>\r\n</TABLE>\r\n\r\n"
           "<P  CLASS=\"title1\">Obstsorten<BR><SPAN  CLASS=\"title2\">Aus Access</SPAN></P>\r\n"
           "<DIV  ID=\"divfenster\" CLASS=\"divwindow\">\r\n";
  }

  // The page of the rubric `Obst` with one table entry `title` over Fruit, Fiber and Sugar whose
  // rows (Row) are `rows`.
  std::string ExpectedTablePage(const std::string& title, const std::string& rows) const {
    const std::string r = program_ + "/ResourceHTML/";
    return PageStart() + "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"" + r +
           "clhierachicalspreadsheet.vbs\"></SCRIPT>\r\n"
           "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
           "<TR  CLASS=\"title0\"><TD>"
           "<IMG  NAME=\"img_hss_0_\" SRC=\"" +
           r +
           "minus.gif\" "
           "onclick=\"DisplayItem 'img_hss_0_','div_hss_0_'\" onmouseover=\"Point 'img_hss_0_'\" "
           "onmouseout=\"DontPoint 'img_hss_0_'\" WIDTH=\"11\" HEIGHT=\"11\" ALIGN=\"absmiddle\">"
           "&nbsp;&nbsp;" +
           title +
           "</TD></TR></TABLE>"
           "\r\n<DIV  ID=\"div_hss_0_\" STYLE=\"\">\r\n"
           "\r\n<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
           "<TR  CLASS=\"u0\"><TD  CLASS=\"u0\" ALIGN=\"left\">Fruit</TD>"
           "<TD  CLASS=\"u0\" ALIGN=\"left\">Fiber</TD>"
           "<TD  CLASS=\"u0\" ALIGN=\"left\">Sugar</TD></TR>\r\n" +
           rows +
           // The empty piece after the last row, the table's end, and the window's end.
           "\r\n"
           "\r\n</TABLE>\r\n</DIV>\r\n\r\n"
           "</DIV>\r\n" +
           ExpectedEnd();
  }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
  std::unique_ptr<Library> library_;
  std::string fruit_;
};

#define VN_REQUIRE_FRUIT()                                                      \
  do {                                                                          \
    if (fruit_.empty()) {                                                       \
      if (std::getenv("CI") != nullptr) FAIL() << "fruit.mdb is missing in CI"; \
      GTEST_SKIP() << "fruit.mdb is missing: run scripts/fetch-test-access.sh"; \
    }                                                                           \
  } while (false)

// One row of the table as the page has it: the row, its spacer row, and the line break the
// page writes after every piece.
std::string Row(const std::string& fruit, int fiber, int sugar) {
  return "<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"left\">" + fruit +
         "</TD><TD  CLASS=\"t0\" ALIGN=\"left\">" + std::to_string(fiber) +
         "</TD><TD  CLASS=\"t0\" ALIGN=\"left\">" + std::to_string(sugar) +
         "</TD></TR>\r\n<TR><TD></TD></TR>\r\n\r\n";
}

TEST_F(AccessPageTest, TableEntryOverARealAccessFileByteForByteOnLinux) {
  VN_REQUIRE_FRUIT();
  AddRubric({{1, "Zucker", Jet(),
              "SELECT Fruit, Fiber, Sugar FROM Fruit WHERE Sugar > 10 ORDER BY Sugar DESC"}});
  const std::string expected = ExpectedTablePage(
      "Zucker", Row("Date", 8, 73) + Row("Banana", 3, 20) + Row("Fig", 2, 19) +
                    Row("Persimmon", 0, 19) + Row("Lychee", 2, 18) + Row("Guava", 5, 17) +
                    Row("Pomegranate", 3, 17) + Row("Grapes", 2, 16) + Row("Kumquat", 2, 16) +
                    Row("Mango", 1, 15) + Row("Cherry", 1, 13) + Row("Apple", 2, 12) +
                    Row("Pear", 2, 12) + Row("Pineapple", 1, 12) + Row("Blueberry", 8, 11) +
                    Row("Orange", 2, 11));
  EXPECT_EQ(Page(), expected);
}

TEST_F(AccessPageTest, AllColumnsACardAndAShapeOverTheFileAndItsChangesOnLinux) {
  VN_REQUIRE_FRUIT();
  AddRubric({{2, "Karte", Jet(), "SELECT Fruit, Sugar FROM Fruit WHERE Fruit = '{!kontakt,25}'"},
             {1, "Alles", Jet(), "SELECT * FROM Fruit"},
             // The table shapes over the entry's provider itself.
             {1, "Salat", Jet(),
              "SHAPE {SELECT Fruit AS Salat FROM [Fruit Salad] WHERE Fruit LIKE 'Bl%'} "
              "APPEND ({SELECT Fruit, Sugar AS Zucker FROM Fruit} RELATE Salat TO Fruit)"}});
  std::string page = Page();
  EXPECT_EQ(page.find("errortitle"), std::string::npos) << page;
  // The card: the contact's fruit.
  EXPECT_NE(page.find("CLASS=\"htmllistname\">Sugar</TD>"
                      "<TD  VALIGN=\"top\" CLASS=\"htmllistvalue\">20</TD>"),
            std::string::npos);
  // Every column, the empty values as empty cells.
  EXPECT_NE(page.find("<TD  CLASS=\"u0\" ALIGN=\"left\">Vit E</TD></TR>"), std::string::npos);
  EXPECT_NE(page.find("<TR  CLASS=\"t0\"><TD  CLASS=\"t0\" ALIGN=\"left\">Kumquat</TD>" +
                      [] {
                        std::string cells;
                        for (const char* v : {"2", "0", "1", "16", "160", "55", "0", "0", "", ""}) {
                          cells += std::string("<TD  CLASS=\"t0\" ALIGN=\"left\">") + v + "</TD>";
                        }
                        return cells;
                      }() +
                      "</TR>"),
            std::string::npos);
  // The shape: a parent row and its child.
  EXPECT_NE(page.find("<TD  CLASS=\"t0\" ALIGN=\"left\">Blueberry</TD></TR>"), std::string::npos);
  EXPECT_NE(page.find("<TD  CLASS=\"t1\" ALIGN=\"left\">Blackberry</TD>"
                      "<TD  CLASS=\"t1\" ALIGN=\"left\">8</TD></TR>"),
            std::string::npos);

  // The file changes (same size, another text): the next request shows it.
  std::string bytes = ReadFile(fruit_);
  for (size_t at = bytes.find("Banana"); at != std::string::npos; at = bytes.find("Banana", at)) {
    bytes.replace(at, 6, "Bonono");
  }
  WriteFile(fruit_, bytes);
  fs::last_write_time(fruit_, fs::last_write_time(fruit_) + std::chrono::seconds(2));
  WriteAct("Bonono");
  page = Page();
  EXPECT_NE(page.find("CLASS=\"htmllistvalue\">Bonono</TD>"), std::string::npos);
  EXPECT_EQ(page.find("Banana"), std::string::npos);
}

// The configuration converted from another format (read here through SQLite's ODBC driver, as
// an Access file is read on Windows) serves the page the source served, byte for byte.
TEST_F(AccessPageTest, AConvertedConfigurationServesTheSourcesPageByteForByteOnLinux) {
  VN_REQUIRE_FRUIT();
  const std::string driver = data::test::OdbcDriverLibrary("libsqlite3odbc.so");
  VN_REQUIRE_TEST_PIECE(!driver.empty(), "SQLite's ODBC driver (libsqliteodbc)");
  AddRubric({{1, "Süß", Jet(),
              "SELECT Fruit, Fiber, Sugar FROM Fruit WHERE Sugar >= 20 ORDER BY Sugar DESC"}});
  const std::string expected =
      ExpectedTablePage("S\xFC\xDF", Row("Date", 8, 73) + Row("Banana", 3, 20));
  const std::string config = program_ + "/databases/config.mdb";
  EXPECT_EQ(Page(), expected);  // the source as the configuration

  const std::string source = folder_->Root() + "/quelle.db";
  fs::rename(config, source);
  config::ConvertConfigDatabase(
      "Driver=" + driver + ";Database=" + source, config,
      ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/schema.sql"));
  ASSERT_TRUE(fs::exists(config));
  // The source changes after the conversion: a page still read from it would show this.
  ASSERT_EQ(RunSqliteScript(source, "UPDATE Daten SET Titel = 'Quelle'"), "");
  EXPECT_EQ(Page(), expected);
}

TEST_F(AccessPageTest, SqlServerProviderReachesFreeTdsWith101ItsReasonAndTheMaskedPasswordOnLinux) {
  bool freeTds = false;
  for (const char* folder : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
                             "/usr/lib/odbc", "/usr/local/lib/odbc"}) {
    freeTds = freeTds || fs::exists(std::string(folder) + "/libtdsodbc.so");
  }
  if (!freeTds) {
    if (std::getenv("CI") != nullptr) FAIL() << "FreeTDS (tdsodbc) is missing in CI";
    GTEST_SKIP() << "FreeTDS (tdsodbc) is missing";
  }
  AddRubric({{2, "Buchhaltung",
              "Provider=SQLOLEDB;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=u;Password=p",
              "SELECT 1 AS a"}});
  // FreeTDS' own reason, with its SQLSTATEs as an ODBC 3 application gets them; how often it
  // repeats the 08S01 of each try depends on its version and configuration, so the page is
  // compared exactly up to the reason and after it.
  const std::string marker = "@REASON@";
  std::string inner = ExpectedErrorBlockOf(
      program_, "clHTMLList", 101,
      "Es konnte keine Verbindung zu der Datenbank hergestellt werden.<br>Connection String: "
      "Provider=SQLOLEDB;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=u;Password=***<BR>" +
          marker,
      true);
  inner.resize(inner.size() - 2);
  const std::string expected =
      PageStart() +
      ExpectedErrorBlock(program_, 152, "Die Tabelle kann nicht erstellt werden.<br>" + inner,
                         true) +
      "</DIV>\r\n" + ExpectedEnd();
  const size_t at = expected.find(marker);
  const std::string before = expected.substr(0, at);
  const std::string after = expected.substr(at + marker.size());
  const std::string page = Page();
  ASSERT_TRUE(page.starts_with(before)) << page;
  ASSERT_TRUE(page.ends_with(after)) << page;
  const std::string reason = page.substr(before.size(), page.size() - before.size() - after.size());
  EXPECT_NE(reason.find("[08001] [FreeTDS][SQL Server]Unable to connect to data source"),
            std::string::npos)
      << reason;
  EXPECT_NE(reason.find("[08S01] [FreeTDS][SQL Server]Unable to connect: Adaptive Server is "
                        "unavailable or does not exist"),
            std::string::npos)
      << reason;
  EXPECT_EQ(reason.find('<'), std::string::npos) << reason;
}

}  // namespace
}  // namespace vn::test

#endif
