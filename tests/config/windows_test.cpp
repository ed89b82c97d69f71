#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "config/qt/data_link_dialog.h"
#include "config/qt/frm_info.h"
#include "config/qt/frm_splash.h"
#include "config/qt/shell_execute.h"
#include "config/core/texts.h"
#include "config/core/version_texts.h"
#include "fakes.h"
#include "resources/version.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

TEST(VersionTextTest, SplashShowsThreeNumbersAboutShowsFourWithALiteralZero) {
  frmSplash splash;
  EXPECT_EQ(splash.findChild<QLabel*>("lblVersion")->text(),
            QString::fromStdString(SplashVersionText(vn::version::kMajor, vn::version::kMinor,
                                                     vn::version::kRevision)));
  EXPECT_EQ(splash.findChild<QLabel*>("lbUntertitel")->text(), QStringLiteral("Konfiguration"));
  EXPECT_EQ(splash.findChild<QLabel*>("lblProductName")->text(), QStringLiteral("Varnolis"));
  EXPECT_EQ(splash.findChild<QLabel*>("lblCopyright")->text(),
            QString::fromUtf8(vn::version::kCopyright));
  frmInfo info;
  EXPECT_EQ(info.windowTitle(), QStringLiteral("Informationen über das Programm"));
  EXPECT_EQ(info.findChild<QLabel*>("lbVersion")->text(),
            QString::fromStdString(
                InfoVersionText(vn::version::kMajor, vn::version::kMinor, vn::version::kRevision)));
  EXPECT_EQ(info.findChild<QLabel*>("lbQX")->toolTip(),
            QStringLiteral("Besuchen Sie uns im Internet..."));
}

TEST(VersionTextTest, ScrollOffsetRunsUpToThePictureEndAndStartsAgain) {
  frmInfo info;
  const int last = info.ScrollPicture().height() - info.ScrollBox()->height() - 1;
  EXPECT_EQ(info.ScrollOffset(), 0);
  for (int i = 0; i < last; ++i) info.Tick();
  EXPECT_EQ(info.ScrollOffset(), last);
  info.Tick();
  EXPECT_EQ(info.ScrollOffset(), 0);
}

TEST(ShellExecuteTest, AnOpenerThatFindsNothingGivesAnErrorBelow33) {
  clShellExecute shell;
  shell.SetOpener("/bin/false");
  const long result = shell.LaunchURL("unbekannt://x");
  EXPECT_GE(result, 0);
  EXPECT_LT(result, 33);
  shell.SetOpener("/nonexistent/opener");
  EXPECT_EQ(shell.LaunchURL("https://example.org"), clShellExecute::kErrorNoAssociation);
  shell.SetOpener("/bin/true");
  EXPECT_EQ(shell.LaunchURL("https://example.org"), -1);
  EXPECT_EQ(shell.LaunchEmail(nullptr, "info@example.org"), -1);
}

// An opener that runs the browser in the foreground (xdg-open without a desktop) ends only with
// the browser: once it has not said "nothing handles this" within its verdict time, the address
// counts as opened and the window goes on. This opener would end with "no association" later.
TEST(ShellExecuteTest, AnOpenerStillRunningAfterItsVerdictTimeCountsAsLaunched) {
  char pattern[] = "/tmp/vn-opener-XXXXXX";
  const int fd = mkstemp(pattern);
  ASSERT_GE(fd, 0);
  const std::string script = "#!/bin/sh\nsleep 3\nexit 3\n";
  ASSERT_EQ(write(fd, script.data(), script.size()), static_cast<ssize_t>(script.size()));
  close(fd);
  chmod(pattern, 0700);
  clShellExecute shell;
  shell.SetOpener(pattern);
  EXPECT_EQ(shell.LaunchURL("https://example.org"), -1);
  unlink(pattern);
}

TEST(ShellExecuteTest, StillExecutingFollowsTheLastExtendedLaunch) {
  clShellExecute shell;
  EXPECT_FALSE(shell.StillExecuting());
  EXPECT_EQ(shell.LaunchProgram("/nonexistent/program"), clShellExecute::kErrorFileNotFound);
  EXPECT_FALSE(shell.StillExecuting());
  ASSERT_EQ(shell.LaunchProgram("sleep", nullptr, "0.3"), -1);
  EXPECT_GT(shell.InstanceResult(), 32);
  EXPECT_TRUE(shell.StillExecuting());
  for (int i = 0; i < 100 && shell.StillExecuting(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(shell.StillExecuting());
}

TEST(DataLinkDialogTest, BuildsConnectionStringsAndReadsThemBack) {
  FakeProbe probe;
  FakeMessages messages;
  DataLinkDialog dialog(probe, messages, messages);
  dialog.SetConnectionString("Provider=SQLite;Data Source=/srv/kunden.db;");
  EXPECT_EQ(dialog.CurrentKind(), DataLinkDialog::kSqliteFile);
  EXPECT_EQ(dialog.ConnectionString(), "Provider=SQLite;Data Source=/srv/kunden.db;");
  dialog.SetConnectionString("DSN=Kunden;UID=admin;PWD=a;b");
  EXPECT_EQ(dialog.CurrentKind(), DataLinkDialog::kOdbcDataSource);
  EXPECT_EQ(dialog.ConnectionString(), "DSN=Kunden;UID=admin;PWD=a;b");
  dialog.SetConnectionString("Driver={PostgreSQL Unicode};Server=localhost;Database=erp");
  EXPECT_EQ(dialog.CurrentKind(), DataLinkDialog::kOdbcDriver);
  EXPECT_EQ(dialog.ConnectionString(), "Driver={PostgreSQL Unicode};Server=localhost;Database=erp");
  dialog.SetConnectionString("Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db");
  EXPECT_EQ(dialog.CurrentKind(), DataLinkDialog::kTyped);
  EXPECT_EQ(dialog.ConnectionString(),
            "Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db");
  probe.failure = "kaputt";
  dialog.TestConnection();
  ASSERT_EQ(probe.probed.size(), 1u);
  EXPECT_EQ(probe.probed[0], "Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
}

// The file chooser is the core's; the chosen file replaces only the data source.
TEST(DataLinkDialogTest, BrowseChoosesThroughThePromptsAndKeepsTheOtherKeys) {
  FakeProbe probe;
  FakeMessages messages;
  DataLinkDialog dialog(probe, messages, messages);
  dialog.SetConnectionString("Provider=SQLite; Data Source=/srv/k.db;Mode=Read");
  QPushButton* browse = nullptr;
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == QString::fromUtf8(texts::kDataLinkBrowse)) browse = button;
  ASSERT_NE(browse, nullptr);
  browse->click();  // cancelled
  EXPECT_EQ(dialog.ConnectionString(), "Provider=SQLite; Data Source=/srv/k.db;Mode=Read");
  messages.file = "/srv/a;b.db";
  browse->click();
  EXPECT_EQ(dialog.ConnectionString(), "Provider=SQLite; Data Source=\"/srv/a;b.db\";Mode=Read");
}

}  // namespace
}  // namespace vn::config::testing
