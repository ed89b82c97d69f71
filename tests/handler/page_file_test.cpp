// The page file as the page writer leaves it when the page is larger than its write blocks, when
// the writer is given up early, and when the disk is full.
#include <gtest/gtest.h>

#include "handler/html_dumper.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "tests/handler/test_folder.h"

namespace vn::test {
namespace {

class PageFileTest : public ::testing::Test {
 protected:
  void SetUp() override { OverrideLibraryFolder("/opt/Varnolis"); }
  void TearDown() override { OverrideLibraryFolder(""); }
  TestFolder folder_;
};

TEST_F(PageFileTest, APageOfManyBlocksArrivesWholeAndInOrder) {
  const std::string file = folder_.Root() + "/page.htm";
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init(file, ""));
  std::string expected;
  for (int i = 0; i < 40000; ++i) {
    const std::string line = "<TR><TD>" + std::to_string(i) + "</TD><TD>M\xC3\xBCller</TD></TR>";
    dumper.Dump(line);
    expected += "<TR><TD>" + std::to_string(i) + "</TD><TD>M\xFCller</TD></TR>\r\n";
  }
  const std::string big(600000, 'b');  // one piece larger than a block
  dumper.Dump(big);
  dumper.DumpEnd();
  EXPECT_EQ(ReadFile(file), expected + big + "\r\n" + ExpectedEnd());
}

TEST_F(PageFileTest, AWriterGivenUpEarlyLeavesWhatItWasHanded) {
  const std::string file = folder_.Root() + "/page.htm";
  {
    clHTMLDumper dumper;
    ASSERT_TRUE(dumper.Init(file, ""));
    dumper.Dump("eins");
    ASSERT_TRUE(
        dumper.Init(folder_.Root() + "/second.htm", ""));  // a second file: the first is done
    dumper.Dump("zwei");
  }
  EXPECT_EQ(ReadFile(file), "eins\r\n");
  EXPECT_EQ(ReadFile(folder_.Root() + "/second.htm"), "zwei\r\n");
}

TEST_F(PageFileTest, AFullDiskIsADeviceErrorAtTheLatestWhenThePageEnds) {
  clHTMLDumper dumper;
  ASSERT_TRUE(dumper.Init("/dev/full", ""));
  long number = 0;
  std::string description;
  try {
    dumper.DumpHeader("Varnolis");
    dumper.DumpEnd();
  } catch (const RuntimeError& e) {
    number = e.Number();
    description = e.Description();
  }
  EXPECT_EQ(number, kErrDeviceIo);
  EXPECT_EQ(description, "/dev/full: No space left on device");
  // Nothing more can be written after the failed end.
  try {
    dumper.Dump("x");
    ADD_FAILURE() << "Dump after DumpEnd";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kErrBadFileNameOrNumber);
  }
}

}  // namespace
}  // namespace vn::test
