#include "render/html_info.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <string>

#include "platform/module_path.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

// The file name of this test program, which holds the info page's code here.
std::string OwnFileName() {
  char path[PATH_MAX];
  EXPECT_NE(realpath("/proc/self/exe", path), nullptr);
  std::string p = path;
  return p.substr(p.find_last_of('/') + 1);
}

class HtmlInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { OverrideLibraryFolder("/opt/Varnolis"); }
  void TearDown() override { OverrideLibraryFolder(""); }
  TestFolder folder_;
};

const char* const kTable = "<TABLE  WIDTH=\"320\"border=\"0\" cellpadding=\"0\" cellspacing=\"0\">";

TEST_F(HtmlInfoTest, TitleBarThenInformationThenNothing) {
  clHTMLInfo info;
  EXPECT_EQ(info.ErrNumber(), 100);
  EXPECT_EQ(info.ErrDescription(), "");
  ASSERT_TRUE(info.Init(""));
  EXPECT_EQ(info.GetNext(),
            std::string(
                "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"/opt/Varnolis/ResourceHTML/clhtmlinfo.vbs\">"
                "</SCRIPT>") +
                kTable +
                "<TR><TD  CLASS=\"infotitle\"><IMG  SRC=\"/opt/Varnolis/ResourceHTML/qxlogo.gif\" "
                "ALIGN=\"absmiddle\">Varnolis</TD></TR></TABLE>");
  EXPECT_FALSE(info.Ready());
  EXPECT_EQ(info.GetNext(),
            kTable +
                std::string(
                    "<TR><TD  CLASS=\"infotext\">Version 1.0.0.1<BR>"
                    "Copyright (c) 2026 Varnolis Software<BR>Produziert von Varnolis Software<BR>"
                    "Internet <A  HREF=\"http://www.varnolis.example\">www.varnolis.example</A><BR>"
                    "Protokoll Handler /opt/Varnolis/") +
                OwnFileName() + "<BR>Debug-Log /opt/Varnolis/debug.log (sonst " + folder_.Root() +
                "/home/.local/state/varnolis/debug.log)<BR></TD></TR></TABLE>");
  EXPECT_FALSE(info.Ready());
  EXPECT_EQ(info.GetNext(), "");
  EXPECT_TRUE(info.Ready());
  EXPECT_EQ(info.GetNext(), "");
  EXPECT_TRUE(info.Ready());
  EXPECT_EQ(info.ErrNumber(), 100);
}

TEST_F(HtmlInfoTest, EnglishTextsAndResourcePath) {
  TestFolder::SetLanguage("en_GB.UTF-8");
  clHTMLInfo info;
  info.Init("/srv/res");
  EXPECT_NE(info.GetNext().find("SRC=\"/srv/res/ResourceHTML/qxlogo.gif\""), std::string::npos);
  const std::string lines = info.GetNext();
  EXPECT_NE(
      lines.find(">version 1.0.0.1<BR>copyright (c) 2026 Varnolis Software<BR>produced by Varnolis "
                 "Software<BR>internet <A "),
      std::string::npos);
  EXPECT_NE(lines.find("<BR>protocol handler /opt/Varnolis/"), std::string::npos);
  EXPECT_NE(lines.find("<BR>debug log /opt/Varnolis/debug.log (otherwise " + folder_.Root() +
                       "/home/.local/state/varnolis/debug.log)<BR></TD>"),
            std::string::npos);
}

// The debug log's line names the user's own file as the log finds it, escaped for the page; a
// user without a folder of their own is told only of the file beside the library.
TEST_F(HtmlInfoTest, DebugLogLineFollowsTheUsersFolder) {
  auto logLine = [] {
    clHTMLInfo info;
    info.Init("");
    info.GetNext();
    const std::string lines = info.GetNext();
    const size_t begin = lines.find("Debug-Log ");
    return begin == std::string::npos ? lines
                                      : lines.substr(begin, lines.find("<BR></TD>") - begin);
  };
  setenv("XDG_STATE_HOME", "/srv/M\xc3\xbcller & <Co>", 1);
  EXPECT_EQ(logLine(),
            "Debug-Log /opt/Varnolis/debug.log (sonst /srv/M\xc3\xbcller &amp; &lt;Co&gt;/varnolis/"
            "debug.log)");
  unsetenv("XDG_STATE_HOME");
  unsetenv("HOME");
  EXPECT_EQ(logLine(), "Debug-Log /opt/Varnolis/debug.log");
}

// The library's path is a value like the others: a program folder with markup characters in
// its name is shown as text.
TEST_F(HtmlInfoTest, TheLibrarysPathIsPageText) {
  OverrideLibraryFolder("/opt/M\xc3\xbcller & S\xc3\xb6hne's <Varnolis>");
  clHTMLInfo info;
  info.Init("");
  info.GetNext();
  EXPECT_NE(info.GetNext().find("<BR>Protokoll Handler /opt/M\xc3\xbcller &amp; S\xc3\xb6hne&#39;s "
                                "&lt;Varnolis&gt;/" +
                                OwnFileName() +
                                "<BR>Debug-Log /opt/M\xc3\xbcller &amp; S\xc3\xb6hne&#39;s "
                                "&lt;Varnolis&gt;/debug.log"),
            std::string::npos);
}

TEST_F(HtmlInfoTest, BeforeInitItOnlySaysSo) {
  clHTMLInfo info;
  EXPECT_EQ(info.GetNext(), "Initialisierung<br>");
  EXPECT_EQ(info.GetNext(), "Initialisierung<br>");
  EXPECT_FALSE(info.Ready());
}

}  // namespace
}  // namespace vn::test
