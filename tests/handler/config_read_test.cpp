// The configuration a rubric page reads: one read of the configuration database per page, kept
// for the next page only while the file is provably unchanged, so that what the configuration
// program saves shows on the very next page, however soon after the last one it is saved.
#include "handler/config_read.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/recordset.h"
#include "render/format_field_value.h"
#include "tests/handler/request_fixture.h"

namespace vn::test {
namespace {

// What a read of a file unchanged since the last read of its rubric costs: on Windows the file
// system's stamp is not trusted to tell a change, and every page reads.
#ifdef _WIN32
constexpr unsigned kReadsOfAnUnchangedFile = 1;
#else
constexpr unsigned kReadsOfAnUnchangedFile = 0;
#endif

class ConfigReadTest : public RequestFixture {
 protected:
  void SetUp() override {
    RequestFixture::SetUp();
    CreateConfig(Config());
    AddRubric(Config(), {1, "Kunde", "Kunde", "Kundendaten", "Stamm"},
              {{3, "Stammdaten", "Provider=SQLite;Data Source=k.db", "SELECT 1"},
               {2, "Umsatz", "Provider=SQLite;Data Source=k.db", "SELECT 2"}});
    AddRubric(Config(), {2, "Notiz", "Notiz", "Notizen", ""},
              {{3, "Notizen", "Provider=SQLite;Data Source=k.db", "SELECT 3"}});
  }

  std::string Config() const { return program_ + "/databases/config.mdb"; }

  // The configuration of a page of `rubric`, and how many reads of the database it took.
  PageConfiguration Read(const std::string& rubric, unsigned* readsTaken = nullptr) {
    const unsigned before = ConfigurationReads();
    PageConfiguration configuration;
    clHTMLError error;
    error.Init("clHTMLMenu", "");
    EXPECT_TRUE(ReadPageConfiguration(Config(), rubric, configuration, error))
        << error.Description();
    if (readsTaken != nullptr) *readsTaken = ConfigurationReads() - before;
    return configuration;
  }

  // Changes the configuration as the configuration program saves it: a batch-optimistic
  // recordset over the whole table, `edit` applied to its rows, and the batch written.
  void Save(const std::string& table, const std::function<void(data::Recordset&)>& edit) const {
    data::Connection connection;
    connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Config() +
                                   ";Persist Security Info=False;");
    connection.Open({}, {}, {}, -1);
    data::Recordset rows;
    rows.Open("SELECT * FROM " + table, connection, data::adOpenStatic,
              data::adLockBatchOptimistic, -1);
    edit(rows);
    rows.UpdateBatch();
    rows.Close();
    connection.Close();
  }

  // Moves `rows` to the first row whose `column` shows `value`.
  static void MoveTo(data::Recordset& rows, const std::string& column, const std::string& value) {
    rows.MoveFirst();
    while (!rows.Eof() && FormatFieldValue(rows.Fields(column)) != value) rows.MoveNext();
    ASSERT_FALSE(rows.Eof()) << column << " = " << value;
  }
};

std::vector<std::string> Titles(const PageConfiguration& configuration) {
  std::vector<std::string> titles;
  for (const clDaten& entry : configuration.entries) titles.push_back(entry.Titel);
  return titles;
}

std::vector<std::string> MenuTexts(const PageConfiguration& configuration) {
  std::vector<std::string> texts;
  for (const RubricRow& row : configuration.rubrics) texts.push_back(row.menuetext);
  return texts;
}

TEST_F(ConfigReadTest, OneReadGivesTheMenuAndTheRubricsEntriesAndIsKeptWhileTheFileIsUnchanged) {
  unsigned reads = 0;
  const PageConfiguration first = Read("Kunde", &reads);
  EXPECT_EQ(reads, 1u);
  EXPECT_EQ(MenuTexts(first), (std::vector<std::string>{"Kunde", "Notiz"}));
  EXPECT_EQ(first.titel, "Kundendaten");
  EXPECT_EQ(first.bemerkung, "Stamm");
  EXPECT_EQ(Titles(first), (std::vector<std::string>{"Stammdaten", "Umsatz"}));
  EXPECT_EQ(first.entries[0].Format, 3);
  EXPECT_EQ(first.entries[1].Abfrage, "SELECT 2");

  const PageConfiguration again = Read("Kunde", &reads);
  EXPECT_EQ(reads, kReadsOfAnUnchangedFile);
  EXPECT_EQ(MenuTexts(again), MenuTexts(first));
  EXPECT_EQ(Titles(again), Titles(first));
  EXPECT_EQ(again.titel, "Kundendaten");

  // Another rubric is a read of its own, and keeps it as well.
  const PageConfiguration notiz = Read("Notiz", &reads);
  EXPECT_EQ(reads, 1u);
  EXPECT_EQ(Titles(notiz), (std::vector<std::string>{"Notizen"}));
  EXPECT_EQ(notiz.titel, "Notizen");
  Read("Notiz", &reads);
  EXPECT_EQ(reads, kReadsOfAnUnchangedFile);
  Read("Kunde", &reads);
  EXPECT_EQ(reads, kReadsOfAnUnchangedFile);
}

// Each save comes at once after a read, within the same tick of the file system's clock, and
// most leave the file's size as it was: the next read sees it all the same, with one read.
TEST_F(ConfigReadTest, EverySaveOfTheConfigurationProgramShowsOnTheNextRead) {
  struct Case {
    const char* what;
    const char* table;
    std::function<void(data::Recordset&)> edit;
    std::vector<std::string> menu;
    std::vector<std::string> titles;
  };
  const std::vector<Case> cases = {
      {"a menu text of the same length", "Rubriken",
       [](data::Recordset& rows) {
         MoveTo(rows, "Rubrik", "Notiz");
         rows.SetValue("Menuetext", "Notix");
       },
       {"Kunde", "Notix"},
       {"Stammdaten", "Umsatz"}},
      {"an entry's title of the same length", "Daten",
       [](data::Recordset& rows) {
         MoveTo(rows, "Titel", "Umsatz");
         rows.SetValue("Titel", "Umsatx");
       },
       {"Kunde", "Notix"},
       {"Stammdaten", "Umsatx"}},
      {"the entries' ranks swapped", "Zuordnungen",
       [](data::Recordset& rows) {
         MoveTo(rows, "Rang", "1");
         rows.SetValue("Rang", 3);
         MoveTo(rows, "Rang", "2");
         rows.SetValue("Rang", 1);
       },
       {"Kunde", "Notix"},
       {"Umsatx", "Stammdaten"}},
      {"an assignment deleted", "Zuordnungen",
       [](data::Recordset& rows) {
         MoveTo(rows, "Rang", "3");
         rows.Delete();
       },
       {"Kunde", "Notix"},
       {"Umsatx"}},
  };
  Read("Kunde");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Read("Kunde");  // kept, or read: either way the state before the save
    Save(c.table, c.edit);
    unsigned reads = 0;
    const PageConfiguration after = Read("Kunde", &reads);
    EXPECT_EQ(reads, 1u);
    EXPECT_EQ(MenuTexts(after), c.menu);
    EXPECT_EQ(Titles(after), c.titles);
  }
}

TEST_F(ConfigReadTest, AFileReplacedWithTheSameSizeIsReadAgain) {
  Read("Kunde");
  const std::string copy = folder_->Root() + "/config-copy.mdb";
  std::filesystem::copy_file(Config(), copy);
  ExecSql(copy, "UPDATE Rubriken SET Menuetext = 'Kundx' WHERE Rubrik = 'Kunde'");
  ASSERT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(Config()));
  std::filesystem::rename(copy, Config());
  unsigned reads = 0;
  EXPECT_EQ(MenuTexts(Read("Kunde", &reads)), (std::vector<std::string>{"Kundx", "Notiz"}));
  EXPECT_EQ(reads, 1u);
}

// In write-ahead mode a commit leaves the database file as it is until a checkpoint: nothing
// about the file tells a save, and every page reads.
TEST_F(ConfigReadTest, ADatabaseInWriteAheadModeIsReadForEveryPage) {
  ExecSql(Config(), "PRAGMA journal_mode=WAL");
  for (int page = 0; page < 3; ++page) {
    unsigned reads = 0;
    Read("Kunde", &reads);
    EXPECT_EQ(reads, 1u) << page;
  }
}

TEST_F(ConfigReadTest, AFailedReadIsNotKept) {
  Read("Kunde");
  std::filesystem::remove(Config());
  for (int page = 0; page < 2; ++page) {
    const unsigned before = ConfigurationReads();
    PageConfiguration configuration;
    clHTMLError error;
    error.Init("clHTMLMenu", "");
    EXPECT_FALSE(ReadPageConfiguration(Config(), "Kunde", configuration, error));
    EXPECT_EQ(error.Number(), 101);
    EXPECT_EQ(ConfigurationReads() - before, 1u);
  }
  CreateConfig(Config());
  AddRubric(Config(), {1, "Kunde", "Neu", "", ""}, {});
  unsigned reads = 0;
  const PageConfiguration fresh = Read("Kunde", &reads);
  EXPECT_EQ(reads, 1u);
  EXPECT_EQ(MenuTexts(fresh), (std::vector<std::string>{"Neu"}));
  EXPECT_TRUE(fresh.entries.empty());
}

// Whole pages as a request builds them: each reads the configuration at most once, and a save
// between two pages shows on the second. ACT! is the Linux stand-in: a rubric page needs it.
TEST_F(ConfigReadTest, APageReadsTheConfigurationOnceAndTheNextPageShowsASaveOnLinux) {
  WriteStandIn(folder_->Root() + "/act.json", R"({"25": "K1"})");
  const std::string kunde = "<SPAN  CLASS=\"mt1\">Kunde</SPAN>";
  const std::string notiz = "<SPAN  CLASS=\"mt0\" onClick=\"location.href='varnolis://rubrik/"
                            "Notiz'\">Notiz</SPAN>";
  const std::string notix = "<SPAN  CLASS=\"mt0\" onClick=\"location.href='varnolis://rubrik/"
                            "Notiz'\">Notix</SPAN>";
  auto page = [](unsigned& reads) {
    const unsigned before = ConfigurationReads();
    const std::string bytes = Fetch("varnolis://rubrik/Kunde").bytes;
    reads = ConfigurationReads() - before;
    return bytes;
  };
  unsigned reads = 0;
  std::string shown = page(reads);
  EXPECT_EQ(reads, 1u);
  EXPECT_NE(shown.find(kunde), std::string::npos);
  EXPECT_NE(shown.find(notiz), std::string::npos);
  shown = page(reads);
  EXPECT_EQ(reads, kReadsOfAnUnchangedFile);
  EXPECT_NE(shown.find(notiz), std::string::npos);

  Save("Rubriken", [](data::Recordset& rows) {
    MoveTo(rows, "Rubrik", "Notiz");
    rows.SetValue("Menuetext", "Notix");
  });
  shown = page(reads);
  EXPECT_EQ(reads, 1u);
  EXPECT_NE(shown.find(kunde), std::string::npos);
  EXPECT_NE(shown.find(notix), std::string::npos);
  EXPECT_EQ(shown.find(notiz), std::string::npos);
}

}  // namespace
}  // namespace vn::test
