// The user's regional settings followed while the program runs: a change shows in the next page
// without a restart (Windows), and a refresh changes nothing where the settings cannot change
// (Linux: the locale variables are read at every look-up).
#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#endif

#include <gtest/gtest.h>

#include "render/regional_settings.h"

namespace vn {
namespace {

#ifdef _WIN32

// The decimal sign of the user's own settings for the test, and back afterwards.
class DecimalSign {
 public:
  DecimalSign() { ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, 8); }
  ~DecimalSign() { Set(saved_); }
  static void Set(const wchar_t* sign) {
    ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sign));
  }

 private:
  wchar_t saved_[8] = L"";
};

TEST(RegionalRefreshWindowsTest, AChangedDecimalSignShowsAfterTheNextRefresh) {
  DecimalSign restore;
  RefreshUserRegionalSettings();
  const RegionalSettings& before = CurrentRegionalSettings();
  const std::string sign = before.decimalSymbol;
  DecimalSign::Set(L"#");
  // Until the next page begins, the settings stay those the page began with.
  EXPECT_EQ(&CurrentRegionalSettings(), &before);
  RefreshUserRegionalSettings();
  const RegionalSettings& after = CurrentRegionalSettings();
  EXPECT_EQ(after.decimalSymbol, "#");
  EXPECT_EQ(after.groupingSymbol, before.groupingSymbol);
  // A renderer begun before the change still holds the old settings, and they are intact.
  EXPECT_EQ(before.decimalSymbol, sign);
  // An unchanged refresh keeps the same settings.
  RefreshUserRegionalSettings();
  EXPECT_EQ(&CurrentRegionalSettings(), &after);
}

#else

TEST(RegionalRefreshLinuxTest, RefreshKeepsTheSettingsTheLocaleVariablesSelect) {
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  const RegionalSettings& german = CurrentRegionalSettings();
  RefreshUserRegionalSettings();
  EXPECT_EQ(&CurrentRegionalSettings(), &german);
  EXPECT_EQ(german.decimalSymbol, ",");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(CurrentRegionalSettings().decimalSymbol, ".");
  unsetenv("LC_ALL");
}

#endif

}  // namespace
}  // namespace vn
