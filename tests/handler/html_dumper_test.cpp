#include "handler/html_dumper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

class HtmlDumperTest : public ::testing::Test {
 protected:
  void SetUp() override { OverrideLibraryFolder("/opt/Varnolis"); }
  void TearDown() override { OverrideLibraryFolder(""); }
  TestFolder folder_;
};

TEST_F(HtmlDumperTest, TemporaryPageWithHeadContentAndEnd) {
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init("", ""));
  const std::string file = dumper.TempFile();
  EXPECT_EQ(file.substr(0, folder_.Tmp().size() + 4), folder_.Tmp() + "/~HT");
  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  dumper.DumpHeader("Varnolis");
  dumper.Dump("Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xE2\x9C\x93");
  dumper.Dump("zwei\r\n");
  dumper.DumpEnd();
  EXPECT_EQ(ReadFile(file), ExpectedHead("/opt/Varnolis") +
                                "Gr\xFC\xDF\x65 \x80 &#10003;\r\nzwei\r\n\r\n" + ExpectedEnd());
  EXPECT_THROW(dumper.Dump("after the end"), RuntimeError);
}

TEST_F(HtmlDumperTest, WindowElementIsClosedOnlyWhenOpened) {
  const std::string file = folder_.Root() + "/page.htm";
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init(file, "/srv/res"));
  EXPECT_EQ(dumper.TempFile(), file);
  EXPECT_FALSE(dumper.DIVWindoStarted());
  dumper.SetDIVWindoStarted(true);
  dumper.DumpEnd();
  EXPECT_EQ(ReadFile(file), "</DIV>\r\n" + ExpectedEnd());

  clHTMLDumper second;
  ASSERT_TRUE(second.Init(file, ""));  // replaces the content
  second.DumpHeader("T");
  second.DumpEnd();
  const std::string text = ReadFile(file);
  EXPECT_EQ(text.find("</DIV>"), std::string::npos);
  EXPECT_NE(text.find("<TITLE>T</TITLE>\r\n<LINK rel=\"stylesheet\" "
                      "href=\"/opt/Varnolis/ResourceHTML/styles.css\" type=\"text/css\">\r\n"),
            std::string::npos);
}

TEST_F(HtmlDumperTest, ResourcePathReplacesTheLibraryFolder) {
  const std::string file = folder_.Root() + "/page.htm";
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init(file, "/srv/res"));
  dumper.DumpHeader("Varnolis");
  dumper.DumpEnd();
  EXPECT_EQ(ReadFile(file), ExpectedHead("/srv/res") + ExpectedEnd());
}

// A program folder's name may hold & and " (Linux file names may): the head stays well formed.
// In the attributes the paths are page text; in the VBScript block they are string literals,
// raw text where a character reference would stay as written, so only the quote is doubled.
TEST_F(HtmlDumperTest, AFolderNameWithAmpersandAndQuoteGivesAWellFormedHeadLinux) {
  OverrideLibraryFolder("/opt/R&D \"neu\"/Varnolis");
  const std::string file = folder_.Root() + "/page.htm";
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init(file, ""));
  dumper.DumpHeader("Varnolis");
  dumper.DumpEnd();
  EXPECT_EQ(ReadFile(file),
            "<HTML>\r\n<HEAD>\r\n<TITLE>Varnolis</TITLE>\r\n"
            "<LINK rel=\"stylesheet\" href=\"/opt/R&amp;D &quot;neu&quot;/Varnolis/ResourceHTML/"
            "styles.css\" type=\"text/css\">\r\n"
            "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"/opt/R&amp;D &quot;neu&quot;/Varnolis/"
            "ResourceHTML/polling.vbs\">\r\n"
            "</SCRIPT>\r\n"
            "<SCRIPT  LANGUAGE=\"VBScript\">\r\n\r\n"
            "strPlus=\"/opt/R&D \"\"neu\"\"/Varnolis/ResourceHTML/plus.gif\"\r\n\r\n"
            "strMinus=\"/opt/R&D \"\"neu\"\"/Varnolis/ResourceHTML/minus.gif\"\r\n\r\n"
            "</SCRIPT>\r\n\r\n"
            "<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"/opt/R&amp;D &quot;neu&quot;/Varnolis/"
            "ResourceHTML/plusminus.vbs\"></SCRIPT>\r\n\r\n"
            "</HEAD>\r\n"
            "<BODY  CLASS=\"bodystyle\">\r\n"
            "<a name=\"Start\"></a>\r\n" +
                ExpectedEnd());
}

TEST_F(HtmlDumperTest, InitFailsWithoutAUsableFolderAndLeavesNothing) {
  setenv("TMPDIR", (folder_.Root() + "/missing").c_str(), 1);
  clHTMLDumper dumper;
  EXPECT_FALSE(dumper.Init("", ""));
  EXPECT_THROW(dumper.Dump("x"), RuntimeError);
  clHTMLDumper other;
  EXPECT_FALSE(other.Init(folder_.Root() + "/missing/page.htm", ""));
}

}  // namespace
}  // namespace vn::test
