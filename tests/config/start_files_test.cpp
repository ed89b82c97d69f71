#include "config/core/start_files.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/expected_start_files.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

namespace fs = std::filesystem;

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
  Core().SelectTab(5);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
                           "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."));
  EXPECT_EQ(Child<QLineEdit>("txbNetlinks")->text(), QString());
  EXPECT_EQ(Child<QComboBox>("cbxStartRubrik")->currentText(), QStringLiteral("Start"));
  EXPECT_EQ(Child<QLineEdit>("txbRegisterkarte")->text(), QStringLiteral("Varnolis"));
  EXPECT_EQ(Core().CurrentRecords(), nullptr);
}

TEST_F(StartOptionsTabTest, AMissingFolderIsNamedInQuotesAndTheButtonsWriteTheFiles) {
  WriteRegistry("[HKEY_CURRENT_USER\\Software\\Symantec\\ACT!]\nNetLinks File Type=/nicht/da\n");
  Open();
  Core().SelectTab(5);
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
