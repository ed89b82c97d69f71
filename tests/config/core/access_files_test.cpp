// The configuration program meets Access files: opening a configuration database in Access'
// format offers to convert it and changes nothing unless that succeeds, and the data link's
// file field keeps a provider that reads the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "config/core/access_conversion.h"
#include "config/core/data_link_fields.h"
#include "config/core/texts.h"

namespace vn::config {
namespace {

namespace fs = std::filesystem;

// The first bytes of a Jet 4 file, which is all the program looks at before converting.
const std::string kJetHeader("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24);

struct Shown {
  std::string text;
  MsgIcon icon;
};

class ScriptedPrompts : public Prompts {
 public:
  std::vector<MsgResult> answers;
  std::vector<Shown> shown;
  MsgResult Message(const std::string& text, MsgIcon icon, MsgButtons buttons) override {
    shown.push_back({text, icon});
    if (buttons == MsgButtons::kOk || answers.empty()) return MsgResult::kOk;
    const MsgResult answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

class AccessFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ =
        fs::temp_directory_path() /
        ("vn_access_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "databases");
    config_ = (folder_ / "databases" / "config.mdb").string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ / "databases")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
  std::string config_;
};

TEST_F(AccessFilesTest, TheProgramsOwnFormatIsOpenedWithoutAQuestion) {
  Write(config_, std::string("SQLite format 3\0", 16) + std::string(100, '\0'));
  ScriptedPrompts prompts;
  EXPECT_EQ(OfferAccessConversion(config_, prompts), AccessConversion::kNotNeeded);
  EXPECT_EQ(OfferAccessConversion((folder_ / "fehlt.mdb").string(), prompts),
            AccessConversion::kNotNeeded);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(AccessFilesTest, AnAccessFileIsConvertedOnlyWhenTheUserAgreesAndNothingChangesOtherwise) {
  const std::string bytes = kJetHeader + std::string(4096 - kJetHeader.size(), '\x5a');
  Write(config_, bytes);
  const std::string kept = (folder_ / "databases" / "config (Access-Original).mdb").string();

  // No: the file stays, and the user is told why the program ends.
  ScriptedPrompts no;
  no.answers = {MsgResult::kNo};
  EXPECT_EQ(OfferAccessConversion(config_, no), AccessConversion::kRefused);
  ASSERT_EQ(no.shown.size(), 2u);
  EXPECT_EQ(no.shown[0].text, texts::ConvertAccessQuestion(config_, kept));
  EXPECT_EQ(no.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(no.shown[1].text,
            "Die Konfigurationsdatenbank bleibt unverändert. Das Konfigurationsprogramm kann sie "
            "ohne Umwandlung nicht bearbeiten und wird beendet.");
  EXPECT_EQ(Read(config_), bytes);
  EXPECT_EQ(Files(), std::vector<std::string>{"config.mdb"});

  // Yes over a file that is no readable Access database: the conversion fails, says why, and
  // leaves the file alone with nothing beside it.
  ScriptedPrompts yes;
  yes.answers = {MsgResult::kYes};
  EXPECT_EQ(OfferAccessConversion(config_, yes), AccessConversion::kFailed);
  ASSERT_EQ(yes.shown.size(), 2u);
  EXPECT_EQ(yes.shown[1].icon, MsgIcon::kExclamation);
  EXPECT_EQ(yes.shown[1].text.rfind("Die Konfigurationsdatenbank konnte nicht umgewandelt "
                                    "werden; keine Datei wurde verändert.\n\n",
                                    0),
            0u)
      << yes.shown[1].text;
  EXPECT_GT(yes.shown[1].text.size(), 100u);  // the reason follows
  EXPECT_EQ(Read(config_), bytes);
  EXPECT_EQ(Files(), std::vector<std::string>{"config.mdb"});
}

TEST_F(AccessFilesTest, TheQuestionNamesBothFiles) {
  EXPECT_EQ(texts::ConvertAccessQuestion("/p/databases/config.mdb",
                                         "/p/databases/config (Access-Original).mdb"),
            "Die Konfigurationsdatenbank\n/p/databases/config.mdb\nist eine Access-Datei. Das "
            "Konfigurationsprogramm bearbeitet nur sein eigenes Format (die Seiten lesen "
            "beide).\n\nSoll sie jetzt in dieses Format umgewandelt werden? Das Original bleibt "
            "unverändert erhalten als\n/p/databases/config (Access-Original).mdb");
}

// The dialog used to write every file back with the SQLite provider, which reads no Access
// file: a data entry over an Access file stopped working once edited.
TEST_F(AccessFilesTest, TheDataLinksFileKeepsAProviderThatReadsIt) {
  const std::string access = (folder_ / "kunden.mdb").string();
  const std::string ace = (folder_ / "kunden.accdb").string();
  const std::string sqlite = (folder_ / "kunden.db").string();
  Write(access, kJetHeader);
  Write(ace, std::string("\x00\x01\x00\x00Standard ACE DB\x00\x02\x00\x00\x00", 24));
  Write(sqlite, std::string("SQLite format 3\0", 16));

  DataLinkFields fields =
      DataLinkFields::Read("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + access);
  EXPECT_EQ(fields.kind, DataLinkFields::kSqliteFile);
  // Given back unedited, any string keeps its bytes, even a provider that cannot read the file.
  for (const std::string& text : {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + access,
                                  "Provider=SQLite;Data Source=" + access}) {
    EXPECT_EQ(DataLinkFields::Read(text).ConnectionString(), text);
  }
  // Another file: the Jet provider reads SQLite files too, and stays; the SQLite provider over
  // an Access file gives way to Jet.
  fields = DataLinkFields::Read("Provider=microsoft.ace.oledb.16.0;Data Source=" + access);
  fields.file = sqlite;
  EXPECT_EQ(fields.ConnectionString(), "Provider=microsoft.ace.oledb.16.0;Data Source=" + sqlite);
  fields = DataLinkFields::Read("Provider=SQLite;Data Source=" + sqlite + ";Mode=Read");
  fields.file = access;
  EXPECT_EQ(fields.ConnectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + access + ";Mode=Read");
  // A file chosen in the dialog: its first bytes choose.
  DataLinkFields chosen;
  chosen.kind = DataLinkFields::kSqliteFile;
  for (const auto& [file, provider] :
       {std::pair{access, "Microsoft.Jet.OLEDB.4.0"}, std::pair{ace, "Microsoft.ACE.OLEDB.12.0"},
        std::pair{sqlite, "SQLite"}, std::pair{(folder_ / "neu.db").string(), "SQLite"}}) {
    chosen.file = file;
    EXPECT_EQ(chosen.ConnectionString(),
              std::string("Provider=") + provider + ";Data Source=" + file + ";");
  }
}

}  // namespace
}  // namespace vn::config
