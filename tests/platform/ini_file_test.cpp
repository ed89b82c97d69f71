#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-ini-XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& content) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string dir_;
};

TEST_F(IniFileTest, SectionsAndKeysIgnoreCaseAndValuesAreTrimmedAndUnquoted) {
  auto path = Write("a.ini",
                    "; comment\r\n[Other]\r\nID_Typ=9\r\n  [ brimlow ]  \r\n"
                    " ID_Nummer =  57|Kundennummer  \r\nPCKpfad=\"C:\\PCK\\\"\r\n;ID_Typ=1\r\n");
  EXPECT_EQ(vn::GetPrivateProfileString("Brimlow", "id_nummer", "", path), "57|Kundennummer");
  EXPECT_EQ(vn::GetPrivateProfileString("BRIMLOW", "PCKpfad", "", path), "C:\\PCK\\");
  EXPECT_EQ(vn::GetPrivateProfileString("Brimlow", "ID_Typ", "dflt", path), "dflt");
  EXPECT_EQ(vn::GetPrivateProfileString("Missing", "x", "d", path), "d");
  EXPECT_EQ(vn::GetPrivateProfileString("Brimlow", "x", "d", dir_ + "/none.ini"), "d");
}

TEST_F(IniFileTest, ValuesAreCutAt255CharactersAndWindows1252IsDecoded) {
  auto path = Write("b.ini", "[S]\nlong=" + std::string(300, 'x') + "\nname=M\xFCller\n");
  EXPECT_EQ(vn::GetPrivateProfileString("S", "long", "", path), std::string(255, 'x'));
  EXPECT_EQ(vn::GetPrivateProfileString("S", "name", "", path), "M\xC3\xBCller");
}

// Linux names files with regard to case, so the search is the layer's own.
using IniFileLinuxTest = IniFileTest;

TEST_F(IniFileLinuxTest, FileNamesAreFoundWithoutRegardToCase) {
  Write("Brimlow.INI", "[Brimlow]\n");
  EXPECT_EQ(vn::FindFileIgnoringCase(dir_, "brimlow.ini"), dir_ + "/Brimlow.INI");
  EXPECT_EQ(vn::FindFileIgnoringCase(dir_, "Tessaran.ini"), dir_ + "/Tessaran.ini");
}

}  // namespace
