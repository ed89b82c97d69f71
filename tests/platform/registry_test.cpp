#include "platform/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class RegistryLinuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-reg-XXXXXX";
    dir_ = mkdtemp(pattern);
    setenv("HOME", dir_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    fs::create_directories(dir_ + "/config/Varnolis");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void WriteRegistry(const std::string& content) {
    std::ofstream(dir_ + "/config/Varnolis/registry.ini", std::ios::binary) << content;
  }
  std::string dir_;
};

constexpr const char* kActKey = "Software\\Symantec\\ACT!";

TEST_F(RegistryLinuxTest, FileLivesInTheUserConfigFolder) {
  EXPECT_EQ(vn::RegistryFilePath(), dir_ + "/config/Varnolis/registry.ini");
}

TEST_F(RegistryLinuxTest, StringValueOfTheActKeyIsReadWithoutRegardToCase) {
  WriteRegistry(
      "[HKEY_CURRENT_USER\\Software\\Symantec\\ACT!]\r\n"
      "NetLinks File Type=\"/srv/act/netlinks\"\r\n");
  vn::RegistryValue v =
      vn::RegistryGetKeyValue(vn::RegistryRoot::kCurrentUser, kActKey, "netlinks file type");
  ASSERT_TRUE(std::holds_alternative<std::string>(v));
  EXPECT_EQ(std::get<std::string>(v), "/srv/act/netlinks");
  EXPECT_EQ(vn::RegistryValueText(v), "/srv/act/netlinks");
}

TEST_F(RegistryLinuxTest, MissingFileKeyOrValueAndOtherRootsGiveEmpty) {
  auto empty = [](const vn::RegistryValue& v) { return std::holds_alternative<std::monostate>(v); };
  EXPECT_TRUE(empty(vn::RegistryGetKeyValue(vn::RegistryRoot::kCurrentUser, kActKey, "x")));
  WriteRegistry("[HKEY_CURRENT_USER\\Software\\Symantec\\ACT!]\nOther=1\nBlank=\n");
  EXPECT_TRUE(empty(
      vn::RegistryGetKeyValue(vn::RegistryRoot::kCurrentUser, kActKey, "NetLinks File Type")));
  EXPECT_TRUE(empty(vn::RegistryGetKeyValue(vn::RegistryRoot::kLocalMachine, kActKey, "Other")));
  EXPECT_TRUE(empty(vn::RegistryGetKeyValue(vn::RegistryRoot::kCurrentUser, "Software", "Other")));
  // An empty string value is a value, not a missing one.
  vn::RegistryValue blank =
      vn::RegistryGetKeyValue(vn::RegistryRoot::kCurrentUser, kActKey, "Blank");
  ASSERT_TRUE(std::holds_alternative<std::string>(blank));
  EXPECT_EQ(vn::RegistryValueText(blank), "");
}

TEST_F(RegistryLinuxTest, DwordAndHexValuesAndMalformedOnes) {
  WriteRegistry(
      "[HKEY_CURRENT_USER\\Software\\X]\n"
      "Count=dword:0000001f\nBytes=hex:01,a0,FF\nNone=hex:\n"
      "BadDword=dword:12345678Z\nLongDword=dword:123456789\nBadHex=hex:1,234\n");
  using vn::RegistryRoot;
  vn::RegistryValue count =
      vn::RegistryGetKeyValue(RegistryRoot::kCurrentUser, "Software\\X", "Count");
  ASSERT_TRUE(std::holds_alternative<std::uint32_t>(count));
  EXPECT_EQ(std::get<std::uint32_t>(count), 31u);
  EXPECT_EQ(vn::RegistryValueText(count), "31");
  vn::RegistryValue bytes =
      vn::RegistryGetKeyValue(RegistryRoot::kCurrentUser, "Software\\X", "Bytes");
  ASSERT_TRUE((std::holds_alternative<std::vector<unsigned char>>(bytes)));
  EXPECT_EQ(std::get<std::vector<unsigned char>>(bytes),
            (std::vector<unsigned char>{0x01, 0xA0, 0xFF}));
  EXPECT_EQ(vn::RegistryValueText(bytes), "");
  vn::RegistryValue none =
      vn::RegistryGetKeyValue(RegistryRoot::kCurrentUser, "Software\\X", "None");
  ASSERT_TRUE((std::holds_alternative<std::vector<unsigned char>>(none)));
  EXPECT_TRUE(std::get<std::vector<unsigned char>>(none).empty());
  for (const char* name : {"BadDword", "LongDword", "BadHex"}) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        vn::RegistryGetKeyValue(RegistryRoot::kCurrentUser, "Software\\X", name)))
        << name;
  }
}

}  // namespace
