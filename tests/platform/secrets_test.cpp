// Passwords of connection strings stay out of pages and the debug log, and the log is private.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/debug_log.h"
#include "platform/module_path.h"
#include "platform/password_mask.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

TEST(PasswordMaskTest, EveryFormOfThePasswordKeyIsHidden) {
  const std::pair<const char*, const char*> cases[] = {
      {"DSN=pg;UID=vn;PWD=vn-test-pw;Port=5432", "DSN=pg;UID=vn;PWD=***;Port=5432"},
      {"Provider=MSDASQL;Password=geheim", "Provider=MSDASQL;Password=***"},
      {"pwd = geheim ;x=1", "pwd = ***;x=1"},
      {"Connection:PWD=geheim;DSN=pg", "Connection:PWD=***;DSN=pg"},
      {"PASSWORD='ge;heim''s';x=1", "PASSWORD=***;x=1"},
      {"Password=\"a\"\"b;c\";x=1", "Password=***;x=1"},
      {"Driver={PostgreSQL};Pwd={a;b}}c};Server=h", "Driver={PostgreSQL};Pwd=***;Server=h"},
      {"Jet OLEDB:Database Password=geheim;Data Source=a.mdb",
       "Jet OLEDB:Database Password=***;Data Source=a.mdb"},
      {"Provider=SQLite;Data Source=x;PWD=a;pwd=b",
       "Provider=SQLite;Data Source=x;PWD=***;pwd=***"},
      // Unclosed quotes and braces hide everything after them.
      {"PWD='geheim;x=1", "PWD=***"},
      {"PWD={geheim;x=1", "PWD=***"},
  };
  for (const auto& [text, masked] : cases) EXPECT_EQ(MaskPasswords(text), masked) << text;
}

TEST(PasswordMaskTest, OtherKeysAndTextStayAsTheyAre) {
  for (const char* text :
       {"Provider=SQLite;Data Source=/tmp/pwd=1.db", "UID=pwd;Passwort=x", "MyPwd=x;pwdx=y",
        "PWD==x", "PWD=;UID=a", "PWD", "Connection String: ", ""}) {
    EXPECT_EQ(MaskPasswords(text), text) << text;
  }
}

TEST(PasswordMaskTest, ABraceInAnotherValueDoesNotHideThePasswordBehindIt) {
  // Only a password reads braces as ODBC quotes; elsewhere "{" is a plain character and the pair
  // ends at the next ";", as the connection string is parsed.
  EXPECT_EQ(MaskPasswords("A={x;PWD=geheim;B=1"), "A={x;PWD=***;B=1");
  EXPECT_EQ(MaskPasswords("Driver={SQLite3};Pwd={a;b};Database=x"),
            "Driver={SQLite3};Pwd=***;Database=x");
}

// A driver's message may repeat the connection string or the password itself.
TEST(PasswordMaskTest, ADriversMessageLosesThePasswordsOfItsConnectionString) {
  const std::string connection = "Driver={X};UID=vn;PWD='ge''heim';Jet OLEDB:Database Password=p";
  EXPECT_EQ(MaskPasswordsIn("Login failed for vn with ge'heim (PWD=ge'heim;UID=vn).", connection),
            "Login failed for vn with *** (PWD=***;UID=vn).");
  // A one-letter password is hidden where it stands alone, not inside the words.
  EXPECT_EQ(MaskPasswordsIn("Unable to open p: password p refused", connection),
            "Unable to open ***: password *** refused");
  EXPECT_EQ(MaskPasswordsIn("geheim and ge'heimer stay", connection), "geheim and ge'heimer stay");
  EXPECT_EQ(MaskPasswordsIn("no password here", "Provider=SQLite;Data Source=x"),
            "no password here");
  EXPECT_EQ(MaskPasswordsIn("bad password a;b}c", "DSN=x;Pwd={a;b}}c}"), "bad password ***");
}

TEST(DebugLogTest, TheLogIsPrivateAndShowsNoPassword) {
  TestFolder folder;
  OverrideLibraryFolder(folder.Root());
  ::umask(022);
  SetDebugSwitch(true);
  DPrint("Connection:DSN=pg;UID=vn;PWD=vn-test-pw");
  SetDebugSwitch(false);
  OverrideLibraryFolder("");
  const std::string path = folder.Root() + "/debug.log";
#ifndef _WIN32
  // Windows has no file modes: its log is private by the user's own folder.
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif
  const std::string text = ReadFile(path);
  ASSERT_GT(text.size(), 8u);
  EXPECT_EQ(text.substr(8), ": Connection:DSN=pg;UID=vn;PWD=***\r\n");
}

}  // namespace
}  // namespace vn::test
