#include "resources/html_error.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/module_path.h"
#include "platform/runtime_error.h"

namespace {

class HtmlErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "de_DE.UTF-8", 1);
    vn::OverrideLibraryFolder("/opt/Varnolis");
  }
  void TearDown() override { vn::OverrideLibraryFolder(""); }
};

TEST_F(HtmlErrorTest, BlockMarkupForUnknownCommand) {
  vn::clHTMLError block;
  block.Init("clProtocolHandler", "");
  block.SetError(153, {"foo"});
  EXPECT_EQ(block.Number(), 153);
  EXPECT_EQ(block.Description(),
            "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
            "<TD  CLASS=\"errortitle\"><IMG  NAME=\"img_error_clProtocolHandler\" "
            "SRC=\"/opt/Varnolis/ResourceHTML/plus.gif\" "
            "onclick=\"DisplayItem 'img_error_clProtocolHandler','div_error_clProtocolHandler'\" "
            "onmouseover=\"Point 'img_error_clProtocolHandler'\" "
            "onmouseout=\"DontPoint 'img_error_clProtocolHandler'\" WIDTH=\"11\" HEIGHT=\"11\" "
            "ALIGN=\"absmiddle\">&nbsp;&nbsp;<B>Hinweis von Klasse clProtocolHandler.</B>"
            "</TD></TR></TABLE>\r\n"
            "<DIV  ID=\"div_error_clProtocolHandler\" STYLE=\"display:none\">\r\n"
            "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
            "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">Nummer</TD>"
            "<TD  CLASS=\"errortext\">Beschreibung</TD></TR>"
            "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">153</TD>"
            "<TD  CLASS=\"errortext\">Unbekannter Befehl 'foo'</TD></TR></TABLE></DIV>");
}

TEST_F(HtmlErrorTest, FailureBeingReportedAddsAThirdRowAndResourceFolderMovesTheImage) {
  vn::clHTMLError block;
  block.Init("clProtocolHandler", "/srv/res");
  block.SetError(199, {"[clProtocolHandler].[IInternetProtocol_Read]"},
                 vn::PendingFailure{3021, "Kein aktueller Datensatz."});
  const std::string& d = block.Description();
  EXPECT_NE(d.find("SRC=\"/srv/res/ResourceHTML/plus.gif\""), std::string::npos);
  EXPECT_NE(d.find("<TD  CLASS=\"errortext\">Programmfehler in "
                   "[clProtocolHandler].[IInternetProtocol_Read]</TD></TR>"
                   "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">3021</TD>"
                   "<TD  CLASS=\"errortext\">Kein aktueller Datensatz.</TD></TR></TABLE></DIV>"),
            std::string::npos);
}

TEST_F(HtmlErrorTest, MissingPlaceholderValueIsRemoved) {
  vn::clHTMLError block;
  block.Init("clHTMLList", "");
  block.SetError(101);
  EXPECT_NE(block.Description().find("hergestellt werden.<br>Connection String: </TD>"),
            std::string::npos);
}

TEST_F(HtmlErrorTest, UnknownMessageFailsAfterSettingTheNumber) {
  vn::clHTMLError block;
  EXPECT_THROW(block.SetError(99999), vn::RuntimeError);
  EXPECT_EQ(block.Number(), 99999);
}

}  // namespace
