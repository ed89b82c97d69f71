// The small platform layers: URL unescaping, temporary files, code page, debug switch and log,
// settings, language and the class registry.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/class_registry.h"
#include "platform/codepage.h"
#include "platform/debug_log.h"
#include "platform/language.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"
#include "platform/temp_file.h"
#include "platform/url_unescape.h"
#include "platform/urlmon.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

TEST(UrlUnescapeTest, EscapesBecomeBytesAndTheRestStays) {
  EXPECT_EQ(UrlUnescape("a%20b%2fc%2Fd"), "a b/c/d");
  EXPECT_EQ(UrlUnescape("100%"), "100%");
  EXPECT_EQ(UrlUnescape("%g1%1"), "%g1%1");
  EXPECT_EQ(UrlUnescape("a+b"), "a+b");
  EXPECT_EQ(UrlUnescape("x%00y"), "x");
  EXPECT_EQ(UrlUnescape("%E2%82%AC"), "\xE2\x82\xAC");
  // Bytes that form no UTF-8 character are one Windows-1252 character each.
  EXPECT_EQ(UrlUnescape("%E2%82"), "\xC3\xA2\xE2\x80\x9A");  // cut: "â‚"
  EXPECT_EQ(UrlUnescape("%F4%91%80%80"),                     // beyond U+10FFFF: "ô‘€€"
            "\xC3\xB4\xE2\x80\x98\xE2\x82\xAC\xE2\x82\xAC");
  EXPECT_EQ(UrlUnescape("%F4%90%80%80"), std::nullopt);  // 0x90 has no character
}

TEST(TempFileLinuxTest, NewPrivateFilesWithUniqueNames) {
  TestFolder folder;
  EXPECT_EQ(TempPath(), folder.Tmp());
  setenv("TMPDIR", "", 1);
  EXPECT_EQ(TempPath(), "/tmp");
  setenv("TMPDIR", (folder.Tmp() + "//").c_str(), 1);
  EXPECT_EQ(TempPath(), folder.Tmp());

  std::set<std::string> names;
  for (int i = 0; i < 300; ++i) {
    auto path = CreateTempFile(folder.Tmp(), "~HTM");
    ASSERT_TRUE(path);
    names.insert(*path);
    struct stat st {};
    ASSERT_EQ(stat(path->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
  }
  EXPECT_EQ(names.size(), 300u);
  EXPECT_EQ(FilesIn(folder.Tmp()).size(), 300u);
  for (const auto& name : names) EXPECT_EQ(name.substr(folder.Tmp().size() + 1, 3), "~HT");
  EXPECT_EQ(CreateTempFile(folder.Root() + "/missing", "~HTM"), std::nullopt);
}

TEST(CodepageTest, Windows1252BothWays) {
  EXPECT_EQ(Utf8ToCp1252("f\xC3\xBCr \xE2\x82\xAC", Unmappable::kCharacterReference),
            "f\xFCr \x80");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x9C\x93\xF0\x9F\x98\x80", Unmappable::kCharacterReference),
            "&#10003;&#128512;");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x9C\x93", Unmappable::kQuestionMark), "?");
  EXPECT_EQ(Utf8ToCp1252("a\xFF", Unmappable::kCharacterReference), "a&#65533;");
  EXPECT_EQ(Cp1252ToUtf8("f\xFCr \x80\x81"), "f\xC3\xBCr \xE2\x82\xAC\xEF\xBF\xBD");
  EXPECT_TRUE(IsValidUtf8("M\xC3\xBCller"));
  EXPECT_FALSE(IsValidUtf8("M\xFCller"));
}

TEST(DebugLogTest, SettingSwitchesOnForANonZeroLeadingNumber) {
  for (const char* on : {"1", "2", "1x", " 3", "-1", "0.5", "007"})
    EXPECT_TRUE(DebugSettingIsOn(on)) << on;
  for (const char* off : {"0", "", "ja", "x1", "0x1", "-", " ", "0.0"})
    EXPECT_FALSE(DebugSettingIsOn(off)) << off;
}

TEST(DebugLogTest, LinesAreTimedAndAppendedWhileTheSwitchIsOn) {
  TestFolder folder;
  OverrideLibraryFolder(folder.Root());
  SetDebugSwitch(false);
  DPrint("nothing");
  EXPECT_FALSE(std::filesystem::exists(folder.Root() + "/debug.log"));
  SetDebugSwitch(true);
  DPrint("eins");
  DPrint("Gr\xC3\xBC\xC3\x9F\x65 \xE2\x9C\x93");
  const std::string text = ReadFile(folder.Root() + "/debug.log");
  ASSERT_EQ(text.size(), 10u + 6u + 10u + 9u);
  EXPECT_EQ(text.substr(8, 8), ": eins\r\n");
  EXPECT_EQ(text.substr(24), ": Gr\xFC\xDF\x65 ?\r\n");
  for (size_t at : {0u, 1u, 3u, 4u, 6u, 7u})
    EXPECT_TRUE(isdigit(static_cast<unsigned char>(text[at])));
  SetDebugSwitch(false);
  OverrideLibraryFolder("");
}

// A user who cannot write the program folder (here: debug.log is a folder there, which stops
// root as well as anyone) finds the lines in the state folder of the XDG rules, created
// private; when that takes none either, the lines are dropped and nothing fails.
TEST(DebugLogLinuxTest, AnUnwritableLogGoesToTheUsersStateFolder) {
  TestFolder folder;
  const std::string program = folder.Root() + "/program";
  std::filesystem::create_directories(program + "/debug.log");
  OverrideLibraryFolder(program);
  SetDebugSwitch(true);
  ::umask(022);

  unsetenv("XDG_STATE_HOME");
  const std::string state = folder.Root() + "/home/.local/state";
  EXPECT_EQ(UserDebugLog(), state + "/varnolis/debug.log");
  DPrint("eins");
  DPrint("zwei");
  std::string text = ReadFile(state + "/varnolis/debug.log");
  ASSERT_EQ(text.size(), 32u) << text;
  EXPECT_EQ(text.substr(8, 8), ": eins\r\n");
  EXPECT_EQ(text.substr(24, 8), ": zwei\r\n");
  for (const std::string& made : {folder.Root() + "/home/.local", state, state + "/varnolis",
                                  state + "/varnolis/debug.log"}) {
    struct stat st {};
    ASSERT_EQ(::stat(made.c_str(), &st), 0) << made;
    EXPECT_EQ(st.st_mode & 0777, S_ISDIR(st.st_mode) ? 0700u : 0600u) << made;
  }

  // XDG_STATE_HOME when it is absolute; a relative one is ignored.
  setenv("XDG_STATE_HOME", (folder.Root() + "/state").c_str(), 1);
  DPrint("drei");
  EXPECT_EQ(ReadFile(folder.Root() + "/state/varnolis/debug.log").substr(8), ": drei\r\n");
  setenv("XDG_STATE_HOME", "state", 1);
  EXPECT_EQ(UserDebugLog(), state + "/varnolis/debug.log");

  // Neither place takes a line: it is dropped, and nothing fails.
  setenv("XDG_STATE_HOME", (folder.Root() + "/blocked").c_str(), 1);
  WriteFile(folder.Root() + "/blocked", "a file, no folder");
  EXPECT_NO_THROW(DPrint("vier"));
  unsetenv("HOME");
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(UserDebugLog(), "");
  EXPECT_NO_THROW(DPrint("fuenf"));
  SetDebugSwitch(false);
  OverrideLibraryFolder("");
}

TEST(SettingsLinuxTest, ReadsTheUsersConfigFile) {
  TestFolder folder;
  EXPECT_EQ(UserConfigFolder(), folder.ConfigFolder());
  EXPECT_EQ(GetSetting("Varnolis", "Optionen", "Debug", "0"), "0");
  folder.SetDebug("1");
  EXPECT_EQ(GetSetting("Varnolis", "optionen", "DEBUG", "0"), "1");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserConfigFolder(), folder.Root() + "/home/.config/Varnolis");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(UserConfigFolder(), folder.Root() + "/home/.config/Varnolis");
}

TEST(LanguageLinuxTest, FirstSetVariableDecides) {
  TestFolder folder("en_US.UTF-8");
  EXPECT_EQ(UserLanguage(), Language::kEnglish);
  setenv("LC_MESSAGES", "de_AT.UTF-8", 1);
  EXPECT_EQ(UserLanguage(), Language::kGerman);
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(UserLanguage(), Language::kEnglish);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(UserLanguage(), Language::kGerman);
  setenv("LC_NUMERIC", "de_CH.UTF-8@euro", 1);
  EXPECT_EQ(NumericLocaleName(), "de_CH");
}

TEST(ClassRegistryLinuxTest, KeysAreReplacedAndRemovedWithoutRegardToCase) {
  TestFolder folder;
  ASSERT_TRUE(WriteRegistryKeys({{"A\\B", {{"@", "1"}, {"X", "2"}}}, {"C", {{"@", "3"}}}}));
  EXPECT_EQ(ReadFile(ClassRegistryPath()), "[A\\B]\n@=1\nX=2\n\n[C]\n@=3\n\n");
  ASSERT_TRUE(WriteRegistryKeys({{"a\\b", {{"@", "4"}}}}));
  EXPECT_EQ(ReadFile(ClassRegistryPath()), "[C]\n@=3\n\n[a\\b]\n@=4\n\n");
  ASSERT_TRUE(RemoveRegistryKeys({"A\\B", "c"}));
  EXPECT_FALSE(std::filesystem::exists(ClassRegistryPath()));
  EXPECT_TRUE(RemoveRegistryKeys({"C"}));
  WriteFile(folder.Root() + "/config", "");  // not a folder: the file cannot be written
  std::filesystem::remove_all(folder.Root() + "/config");
  WriteFile(folder.Root() + "/config", "x");
  EXPECT_FALSE(WriteRegistryKeys({{"C", {{"@", "3"}}}}));
}

TEST(GuidTest, RegistryForm) {
  EXPECT_EQ(GuidToString(CLSID_ProtocolHandler), "{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}");
  EXPECT_EQ(GuidToString(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
}

}  // namespace
}  // namespace vn::test
