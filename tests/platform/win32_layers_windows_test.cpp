// The platform layers on the Windows API: temporary files, registry, settings, language,
// regional settings, case mapping, code page, debug log and module paths. Built only for Windows
// and run under Wine in the suites' prefix (regional settings of the locale under test).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "platform/class_registry.h"
#include "platform/codepage.h"
#include "platform/debug_log.h"
#include "platform/language.h"
#include "platform/module_path.h"
#include "platform/regional_settings.h"
#include "platform/registry.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"
#include "platform/temp_file.h"
#include "platform/unicode_case.h"

namespace vn {
namespace {

namespace fs = std::filesystem;

bool GermanUnderTest() {
  const char* locale = std::getenv("LC_ALL");
  return locale != nullptr && std::strncmp(locale, "de", 2) == 0;
}

// A scratch folder of the test, by its Windows path ("Z:\tmp\vn-win-...").
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/vn-win-XXXXXX";
    path_ = fs::canonical(mkdtemp(pattern)).string();
  }
  ~ScratchFolder() {
    std::error_code ignored;  // a folder left in /tmp fails no test
    fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Test keys under HKEY_CURRENT_USER and HKEY_CLASSES_ROOT; removed before and after each test.
class RegistryWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VarnolisTest");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\VarnolisTest");
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VarnolisTest.Class");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VarnolisTest");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\VarnolisTest");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VarnolisTest.Class");
  }
  static void Put(const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                  DWORD size) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, data, size), ERROR_SUCCESS);
  }
};

TEST(TempFileWindowsTest, FreshFilesWithThePrefixInTheUsersTemporaryFolder) {
  ScratchFolder folder;
  setenv("TMPDIR", folder.Path().c_str(), 1);
  EXPECT_EQ(TempPath(), folder.Path());
  std::set<std::string> names;
  for (int i = 0; i < 300; ++i) {
    auto path = CreateTempFile(folder.Path(), "~HTM");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->substr(0, folder.Path().size() + 4), folder.Path() + "\\~HT");
    EXPECT_EQ(path->substr(path->size() - 4), ".tmp");
    EXPECT_EQ(fs::file_size(*path), 0u);
    names.insert(*path);
  }
  EXPECT_EQ(names.size(), 300u);
  EXPECT_EQ(CreateTempFile(folder.Path() + "\\missing", "~HTM"), std::nullopt);
}

TEST_F(RegistryWindowsTest, SettingsAreVisualBasicsProgramSettings) {
  EXPECT_EQ(GetSetting("VarnolisTest", "Optionen", "Debug", "0"), "0");
  const wchar_t one[] = L"1";
  Put(L"Software\\VB and VBA Program Settings\\VarnolisTest\\Optionen", L"Debug", REG_SZ, one,
      sizeof one);
  EXPECT_EQ(GetSetting("VarnolisTest", "optionen", "DEBUG", "0"), "1");
  EXPECT_EQ(GetSetting("VarnolisTest", "Optionen", "Other", "x"), "x");
}

TEST_F(RegistryWindowsTest, StringsDoubleWordsAndBytesAsTheyAreStored) {
  const wchar_t folder[] = L"C:\\ACT\\Netz M\u00FCller";
  const wchar_t cut[] = L"ab\0cd";
  const DWORD number = 31;
  const BYTE bytes[] = {1, 0xFE};
  Put(L"Software\\VarnolisTest", L"NetLinks File Type", REG_SZ, folder, sizeof folder);
  Put(L"Software\\VarnolisTest", L"Cut", REG_SZ, cut, sizeof cut);
  Put(L"Software\\VarnolisTest", L"Number", REG_DWORD, &number, sizeof number);
  Put(L"Software\\VarnolisTest", L"Bytes", REG_BINARY, bytes, sizeof bytes);
  const auto user = RegistryRoot::kCurrentUser;
  EXPECT_EQ(
      RegistryValueText(RegistryGetKeyValue(user, "Software\\VarnolisTest", "netlinks file type")),
      "C:\\ACT\\Netz M\xC3\xBCller");
  EXPECT_EQ(RegistryValueText(RegistryGetKeyValue(user, "Software\\VarnolisTest", "Cut")), "ab");
  EXPECT_EQ(RegistryGetKeyValue(user, "Software\\VarnolisTest", "Number"), RegistryValue(31u));
  EXPECT_EQ(RegistryGetKeyValue(user, "Software\\VarnolisTest", "Bytes"),
            RegistryValue(std::vector<unsigned char>{1, 0xFE}));
  EXPECT_EQ(RegistryGetKeyValue(user, "Software\\VarnolisTest", "Missing"), RegistryValue());
  EXPECT_EQ(RegistryGetKeyValue(user, "Software\\VarnolisMissing", "Number"), RegistryValue());
}

TEST_F(RegistryWindowsTest, ClassKeysAreWrittenToAndRemovedFromTheClassesRoot) {
  EXPECT_EQ(ClassRegistryPath(), "HKEY_CLASSES_ROOT");
  ASSERT_TRUE(WriteRegistryKeys({{"VarnolisTest.Class", {{"@", "Test"}}},
                                 {"VarnolisTest.Class\\CLSID", {{"@", "{1}"}, {"Extra", "2"}}}}));
  const auto root = RegistryRoot::kClassesRoot;
  EXPECT_EQ(RegistryValueText(RegistryGetKeyValue(root, "VarnolisTest.Class", "")), "Test");
  EXPECT_EQ(RegistryValueText(RegistryGetKeyValue(root, "VarnolisTest.Class\\CLSID", "Extra")),
            "2");
  ASSERT_TRUE(RemoveRegistryKeys({"VarnolisTest.Class\\CLSID", "VarnolisTest.Class"}));
  EXPECT_EQ(RegistryGetKeyValue(root, "VarnolisTest.Class", ""), RegistryValue());
  EXPECT_TRUE(RemoveRegistryKeys({"VarnolisTest.Class"}));  // nothing left to remove
}

TEST(LanguageWindowsTest, InterfaceLanguageAndLocaleOfTheUser) {
  EXPECT_EQ(UserLanguage(), GermanUnderTest() ? Language::kGerman : Language::kEnglish);
  EXPECT_EQ(NumericLocaleName(), GermanUnderTest() ? "de_DE" : "en_US");
  EXPECT_EQ(TimeLocaleName(), NumericLocaleName());
}

TEST(RegionalSettingsWindowsTest, WindowsPicturesBecomeFormatterPatterns) {
  auto de = LoadRegionalSettings("de_DE", "de_DE");
  EXPECT_EQ(de->decimalSymbol, ",");
  EXPECT_EQ(de->groupingSymbol, ".");
  EXPECT_EQ(de->shortDatePattern, "dd\".\"mm\".\"yyyy");
  EXPECT_EQ(de->timePattern, "hh\":\"nn\":\"ss");
  EXPECT_EQ(de->dateOrder, "dmy");
  EXPECT_EQ(de->monthNames[2], "M\xC3\xA4rz");
  EXPECT_EQ(de->dayNames[0], "Sonntag");
  EXPECT_EQ(de->dayNames[1], "Montag");
  EXPECT_EQ(de->firstDayOfWeek, 2);
  EXPECT_EQ(de->currencyPattern, "#,##0.00\" \xE2\x82\xAC\"");
  auto us = LoadRegionalSettings("en_US", "en_US");
  EXPECT_EQ(us->shortDatePattern, "m\"/\"d\"/\"yyyy");
  EXPECT_EQ(us->timePattern, "h\":\"nn\":\"ss\" \"AMPM");
  EXPECT_EQ(us->dateOrder, "mdy");
  EXPECT_EQ(us->amSymbol, "AM");
  EXPECT_EQ(us->firstDayOfWeek, 1);
  EXPECT_EQ(us->currencyPattern, "\"$\"#,##0.00");
  EXPECT_EQ(LocaleDecimalSymbol("de_DE"), ",");
  EXPECT_EQ(LocaleDecimalSymbol("xx_YY"), ".");  // unknown: en-US
}

TEST(RegionalSettingsWindowsTest, TheUsersOwnChangesCount) {
  wchar_t saved[16];
  ASSERT_GT(::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 16), 0);
  ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"#"));
  const std::string user = LoadRegionalSettings("", "")->decimalSymbol;
  const std::string named = LoadRegionalSettings(NumericLocaleName(), "")->decimalSymbol;
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  EXPECT_EQ(user, "#");
  EXPECT_EQ(named, "#");
}

TEST(CaseWindowsTest, LettersBeyondAsciiChangeCase) {
  EXPECT_EQ(UpperText("m\xC3\xBCller \xC3\xA9t\xC3\xA9"), "M\xC3\x9CLLER \xC3\x89T\xC3\x89");
  EXPECT_EQ(LowerText("\xC3\x84RGER"), "\xC3\xA4rger");
  EXPECT_EQ(LowerCodePoint(0xC4), 0xE4u);
  EXPECT_EQ(LowerCodePoint('1'), static_cast<unsigned long>('1'));
  EXPECT_EQ(FoldCodePoint(0x39A), 0x3BAu);  // Greek capital kappa
}

TEST(CodepageWindowsTest, WrittenFilesUseTheAnsiCodePage) {
  ASSERT_EQ(::GetACP(), 1252u);  // German and English systems
  EXPECT_EQ(Utf8ToAnsi("f\xC3\xBCr \xE2\x82\xAC \xE2\x9C\x93", Unmappable::kCharacterReference),
            "f\xFCr \x80 &#10003;");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x9C\x93", Unmappable::kQuestionMark), "?");
}

// A standard user cannot write below the program files: the lines go to the user's own
// application data instead, and when that takes none either they are dropped without a failure.
TEST(DebugLogWindowsTest, AnUnwritableLogGoesToTheUsersLocalAppData) {
  ScratchFolder folder;
  wchar_t saved[MAX_PATH] = L"";
  ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH);
  const std::string appData = folder.Path() + "\\appdata";
  fs::create_directory(appData);
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", fs::path(appData).wstring().c_str());
  EXPECT_EQ(UserDebugLog(), appData + "\\Varnolis\\debug.log");
  OverrideLibraryFolder(folder.Path());
  fs::create_directory(folder.Path() + "\\debug.log");
  SetDebugSwitch(true);
  DPrint("eins");
  DPrint("zwei");
  std::string text;
  if (std::FILE* f = _wfopen(fs::path(UserDebugLog()).wstring().c_str(), L"rb")) {
    char chunk[256];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
  }
  ASSERT_EQ(text.size(), 16u + 16u) << text;
  EXPECT_EQ(text.substr(8, 8), ": eins\r\n");
  EXPECT_EQ(text.substr(24, 8), ": zwei\r\n");
  // Neither folder takes a line: it is dropped.
  fs::remove_all(appData);
  std::FILE* blocker = _wfopen(fs::path(appData).wstring().c_str(), L"wb");  // a file, no folder
  ASSERT_NE(blocker, nullptr);
  std::fclose(blocker);
  EXPECT_NO_THROW(DPrint("drei"));
  SetDebugSwitch(false);
  OverrideLibraryFolder("");
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved[0] != 0 ? saved : nullptr);
}

TEST(ModulePathWindowsTest, FoldersOfTheModuleAndTheProgram) {
  const std::string program = ExecutableFilePath();
  EXPECT_EQ(program.substr(program.size() - 18), "\\test_platform.exe");
  EXPECT_EQ(LibraryFilePath(), program);  // the layers are linked into the test program
  EXPECT_EQ(ExecutableFolder(), program.substr(0, program.size() - 18));
  EXPECT_EQ(LibraryFolder(), ExecutableFolder());
}

}  // namespace
}  // namespace vn
