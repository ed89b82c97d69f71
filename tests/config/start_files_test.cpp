#include "config/core/start_files.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

namespace fs = std::filesystem;

class StartFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-start-XXXXXX";
    dir_ = mkdtemp(pattern);
    folder_ = dir_ + "/NetLinks";
    fs::create_directories(folder_);
  }
  void TearDown() override {
    chmod(folder_.c_str(), 0700);
    fs::remove_all(dir_);
  }
  std::string dir_, folder_;
  FakeMessages messages;
};

const char kControlKunden[] =
    "ACT! Browser Control File Version 1.00\r\n"
    "[VIEW]\r\n"
    "Type = CONTACTTAB\r\n"
    "STARTURL=\"@/Varnolis.htm\"\r\n"
    "TITLE=\"Var&nolis\"\r\n"
    "PRIORITY=0\r\n"
    "\r\n";

const char kPageKunden[] =
    "<html>\r\n"
    "<head>\r\n"
    "<title>Varnolis</title>\r\n"
    "<script language=\"JavaScript\">\r\n"
    "<!--\r\n"
    "function Warte() {\r\n"
    "window.setTimeout(\"GoToURL('parent','varnolis://rubrik/Kunden')\",2000);\r\n"
    "}\r\n"
    "function GoToURL() { \r\n"
    "  for (var i=0; i< (GoToURL.arguments.length - 1); i+=2) \r\n"
    "    eval(GoToURL.arguments[i]+\".location='\"+GoToURL.arguments[i+1]+\"'\");\r\n"
    "  return false;\r\n"
    "}\r\n"
    "//-->\r\n"
    "</script>\r\n"
    "</head>\r\n"
    "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#000099\" onLoad=\"Warte();return\">\r\n"
    "Starte <a href=\"varnolis://rubrik/Kunden\">Varnolis </a>... \r\n"
    "</body>\r\n"
    "</html>\r\n"
    "\r\n";

std::string ExpectedControl(const std::string& folder) {
  std::string text = kControlKunden;
  return text.replace(text.find('@'), 1, folder);
}

TEST_F(StartFilesTest, ExistenceChecks) {
  EXPECT_TRUE(DirExists(folder_));
  EXPECT_FALSE(DirExists(folder_ + "/missing"));
  EXPECT_TRUE(DirExists(""));  // the root, as "\." names it
  std::ofstream(folder_ + "/f.txt") << "x";
  EXPECT_FALSE(DirExists(folder_ + "/f.txt"));
  EXPECT_TRUE(FileExists(folder_ + "/f.txt"));
  EXPECT_FALSE(FileExists(folder_));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(folder_ + "/none"));
}

TEST_F(StartFilesTest, CreatingWhenOnlyThePageExistsWritesBothWithoutAsking) {
  std::ofstream(folder_ + "/Varnolis.htm") << "old page";
  CreateStartFiles(folder_, "Kunden", messages);
  EXPECT_EQ(ReadFile(folder_ + "/Varnolis.ctl"), ExpectedControl(folder_));
  EXPECT_EQ(ReadFile(folder_ + "/Varnolis.htm"), std::string(kPageKunden));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kInformation);
  EXPECT_EQ(messages.shown[0].text.toStdString(), "Die beiden Startdateien:\n\n'" + folder_ +
                                                      "/Varnolis.ctl'\n'" + folder_ +
                                                      "/Varnolis.htm'\n\nwurden neu erstellt.");
}

TEST_F(StartFilesTest, OverwritingBothAsksAndNoKeepsThem) {
  std::ofstream(folder_ + "/Varnolis.htm") << "old page";
  std::ofstream(folder_ + "/Varnolis.ctl") << "old control";
  messages.answers = {MsgResult::kNo};
  CreateStartFiles(folder_, "Kunden", messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.toStdString(), "Wollen Sie die vorhandenen Startdateien \n\n'" +
                                                      folder_ + "/Varnolis.ctl'\n'" + folder_ +
                                                      "/Varnolis.htm'\n\nüberschreiben?");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(ReadFile(folder_ + "/Varnolis.ctl"), "old control");
  messages.answers = {MsgResult::kYes};
  CreateStartFiles(folder_, "Kunden", messages);
  EXPECT_EQ(ReadFile(folder_ + "/Varnolis.htm"), std::string(kPageKunden));
}

TEST_F(StartFilesTest, TextIsWrittenInWindows1252WithQuestionMarksForTheRest) {
  const std::string page = PageFileBytes("Bücher€\xE2\x86\x92");  // "→" has no place in 1252
  EXPECT_NE(page.find("varnolis://rubrik/B\xFC"
                      "cher\x80?')"),
            std::string::npos);
  EXPECT_NE(
      ControlFileBytes("/m\xC3\xA4/Varnolis.htm").find("\r\nSTARTURL=\"/m\xE4/Varnolis.htm\"\r\n"),
      std::string::npos);
}

TEST_F(StartFilesTest, AFolderThatCannotBeWrittenIsReportedAndThePageIsNotWritten) {
  const std::string missing = dir_ + "/Nirgends";
  CreateStartFiles(missing, "Kunden", messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(messages.shown[0].text.toStdString(),
            "Die Datei '" + missing +
                "/Varnolis.ctl' kann nicht beschrieben werden.\n"
                "Der Ordner existiert nicht. Bitte kontrollieren Sie den Netlinks-Ordner.\n"
                "No such file or directory");
}

TEST_F(StartFilesTest, RemovingWhenOnlyTheControlFileExistsAsksAndDeletesIt) {
  RemoveStartFiles(folder_, messages);
  EXPECT_TRUE(messages.shown.empty());  // nothing there: no question
  std::ofstream(folder_ + "/Varnolis.ctl") << "control";
  messages.answers = {MsgResult::kYes};
  RemoveStartFiles(folder_, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.toStdString(), "Wollen Sie die vorhandenen Startdateien \n\n'" +
                                                      folder_ + "/Varnolis.ctl'\n'" + folder_ +
                                                      "/Varnolis.htm'\n\nwirklich entfernen?");
  EXPECT_FALSE(fs::exists(folder_ + "/Varnolis.ctl"));
}

class StartOptionsTabTest : public RealDataTest {
 protected:
  void WriteRegistry(const std::string& content) {
    const std::string dir = std::string(getenv("XDG_CONFIG_HOME")) + "/Varnolis";
    fs::create_directories(dir);
    std::ofstream(dir + "/registry.ini") << content;
  }
  void TearDown() override {
    fs::remove(std::string(getenv("XDG_CONFIG_HOME")) + "/Varnolis/registry.ini");
    RealDataTest::TearDown();
  }
};

TEST_F(StartOptionsTabTest, WithoutActSettingsTheFolderStaysEmptyAndOneMessageShows) {
  Open();
  window->SelectTab(5);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
                           "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."));
  EXPECT_EQ(Child<QLineEdit>("txbNetlinks")->text(), QString());
  EXPECT_EQ(Child<QComboBox>("cbxStartRubrik")->currentText(), QStringLiteral("Start"));
  EXPECT_EQ(Child<QLineEdit>("txbRegisterkarte")->text(), QStringLiteral("Varnolis"));
  EXPECT_EQ(window->CurrentRecords(), nullptr);
}

TEST_F(StartOptionsTabTest, AMissingFolderIsNamedInQuotesAndTheButtonsWriteTheFiles) {
  WriteRegistry("[HKEY_CURRENT_USER\\Software\\Symantec\\ACT!]\nNetLinks File Type=/nicht/da\n");
  Open();
  window->SelectTab(5);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Der Ordner '/nicht/da' für die NetLinks-Ablagorte von ACT! existiert "
                           "nicht.\nBitte kontrollieren Sie Ihre ACT!-Einstellungen."));
  const std::string netlinks = folder + "/NetLinks";
  fs::create_directories(netlinks);
  Child<QLineEdit>("txbNetlinks")->setText(QString::fromStdString(netlinks));
  Child<QComboBox>("cbxStartRubrik")->setEditText(QStringLiteral("Kunden"));
  Child<QPushButton>("cmdStartDateienErstellen")->click();
  EXPECT_EQ(ReadFile(netlinks + "/Varnolis.htm"), std::string(kPageKunden));
  messages.answers = {MsgResult::kYes};
  Child<QPushButton>("cmdStartDateienEntfernen")->click();
  EXPECT_FALSE(fs::exists(netlinks + "/Varnolis.htm"));
  EXPECT_FALSE(fs::exists(netlinks + "/Varnolis.ctl"));
}

}  // namespace
}  // namespace vn::config::testing
