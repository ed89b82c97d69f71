// The start files on the platform: the existence checks, the two files' bytes, and the
// questions and messages of creating and removing them.
#include "config/core/start_files.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "core_fixture.h"
#include "expected_start_files.h"
#include "platform/path_separator.h"

namespace vn::config::testing {
namespace {

namespace fs = std::filesystem;

class StartFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string pattern = (fs::temp_directory_path() / "vn-start-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    dir_ = buffer.data();
    folder_ = dir_ + VN_PATH_SEP "NetLinks";
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string dir_, folder_;
  ScriptedPrompts messages;
};

std::string ExpectedControl(const std::string& folder) {
  std::string text = kControlKunden;
  return text.replace(text.find('@'), 1, folder);
}

TEST_F(StartFilesTest, ExistenceChecks) {
  EXPECT_TRUE(DirExists(folder_));
  EXPECT_FALSE(DirExists(folder_ + VN_PATH_SEP "missing"));
  EXPECT_TRUE(DirExists(""));  // the root, as "\." names it
  std::ofstream(folder_ + VN_PATH_SEP "f.txt") << "x";
  EXPECT_FALSE(DirExists(folder_ + VN_PATH_SEP "f.txt"));
  EXPECT_TRUE(FileExists(folder_ + VN_PATH_SEP "f.txt"));
  EXPECT_FALSE(FileExists(folder_));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(folder_ + VN_PATH_SEP "none"));
}

TEST_F(StartFilesTest, CreatingWhenOnlyThePageExistsWritesBothWithoutAsking) {
  std::ofstream(folder_ + VN_PATH_SEP "Varnolis.htm") << "old page";
  CreateStartFiles(folder_, "Kunden", messages);
  EXPECT_EQ(ReadFile(folder_ + VN_PATH_SEP "Varnolis.ctl"), ExpectedControl(folder_));
  EXPECT_EQ(ReadFile(folder_ + VN_PATH_SEP "Varnolis.htm"), std::string(kPageKunden));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kInformation);
  EXPECT_EQ(messages.shown[0].text, "Die beiden Startdateien:\n\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.ctl\'\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.htm\'\n\nwurden neu erstellt.");
}

TEST_F(StartFilesTest, OverwritingBothAsksAndNoKeepsThem) {
  std::ofstream(folder_ + VN_PATH_SEP "Varnolis.htm") << "old page";
  std::ofstream(folder_ + VN_PATH_SEP "Varnolis.ctl") << "old control";
  messages.answers = {MsgResult::kNo};
  CreateStartFiles(folder_, "Kunden", messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Wollen Sie die vorhandenen Startdateien \n\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.ctl'\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.htm\'\n\nüberschreiben?");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(ReadFile(folder_ + VN_PATH_SEP "Varnolis.ctl"), "old control");
  messages.answers = {MsgResult::kYes};
  CreateStartFiles(folder_, "Kunden", messages);
  EXPECT_EQ(ReadFile(folder_ + VN_PATH_SEP "Varnolis.htm"), std::string(kPageKunden));
}

TEST_F(StartFilesTest, TextIsWrittenInWindows1252WithQuestionMarksForTheRest) {
  // The rubric's address is ASCII, its name escaped as UTF-8: "→" has no place in 1252, and
  // a '?' there would open another rubric.
  const std::string page = PageFileBytes("Bücher€\xE2\x86\x92");
  EXPECT_NE(page.find("'varnolis://rubrik/B%C3%BCcher%E2%82%AC%E2%86%92')"), std::string::npos)
      << page;
  EXPECT_NE(page.find("<a href=\"varnolis://rubrik/B%C3%BCcher%E2%82%AC%E2%86%92\">"),
            std::string::npos);
  EXPECT_NE(
      ControlFileBytes("/m\xC3\xA4/Varnolis.htm").find("\r\nSTARTURL=\"/m\xE4/Varnolis.htm\"\r\n"),
      std::string::npos);
}

TEST_F(StartFilesTest, AFolderThatCannotBeWrittenIsReportedAndThePageIsNotWritten) {
  const std::string missing = dir_ + VN_PATH_SEP "Nirgends";
  CreateStartFiles(missing, "Kunden", messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(messages.shown[0].text,
            "Die Datei '" + missing +
                VN_PATH_SEP
                "Varnolis.ctl\' kann nicht beschrieben werden.\n"
                "Der Ordner existiert nicht. Bitte kontrollieren Sie den Netlinks-Ordner.\n"
                "No such file or directory");
}

TEST_F(StartFilesTest, RemovingWhenOnlyTheControlFileExistsAsksAndDeletesIt) {
  RemoveStartFiles(folder_, messages);
  EXPECT_TRUE(messages.shown.empty());  // nothing there: no question
  std::ofstream(folder_ + VN_PATH_SEP "Varnolis.ctl") << "control";
  messages.answers = {MsgResult::kYes};
  RemoveStartFiles(folder_, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Wollen Sie die vorhandenen Startdateien \n\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.ctl'\n'" + folder_ +
                                        VN_PATH_SEP "Varnolis.htm\'\n\nwirklich entfernen?");
  EXPECT_FALSE(fs::exists(folder_ + VN_PATH_SEP "Varnolis.ctl"));
}

TEST(RubricUrlSegmentTest, EncodesWhatEndsAnAttributeAStringOrAUrlAndEveryNonAsciiByte) {
  EXPECT_EQ(RubricUrlSegment("Offene_Posten"), "Offene_Posten");
  EXPECT_EQ(RubricUrlSegment("Grüße-1.2~(x)"), "Gr%C3%BC%C3%9Fe-1.2~(x)");
  EXPECT_EQ(RubricUrlSegment("\xE6\x97\xA5\xE6\x9C\xAC"), "%E6%97%A5%E6%9C%AC");
  EXPECT_EQ(RubricUrlSegment("'\"\\%#?<>& "), "%27%22%5C%25%23%3F%3C%3E%26%20");
  EXPECT_EQ(RubricUrlSegment(std::string("a\tb\x01\x7F", 5)), "a%09b%01%7F");
}

}  // namespace
}  // namespace vn::config::testing
