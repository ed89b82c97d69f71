#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "act_fixture.h"
#include "platform/debug_log.h"

namespace {

class MessageBoxTest : public vn::test::ActFixture {
 protected:
  void TearDown() override {
    vn::SetDebugSwitch(false);
    ActFixture::TearDown();
  }
};

TEST_F(MessageBoxTest, DefaultWritesToStandardErrorAndToTheDebugLogWhenSwitchedOn) {
  vn::SetMessageBox(nullptr);
  testing::internal::CaptureStderr();
  vn::ShowWarning("Varnolis", "Zeile 1\r\nZeile 2");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnolis: Zeile 1\nZeile 2\n");
  EXPECT_FALSE(std::filesystem::exists(ProgramFolder() + "/debug.log"));

  vn::SetDebugSwitch(true);
  testing::internal::CaptureStderr();
  vn::ShowWarning("Varnolis", "Größe\r\nfalsch");
  testing::internal::GetCapturedStderr();
  const std::string log = ReadFile(ProgramFolder() + "/debug.log");
  ASSERT_EQ(log.size(), 36u);  // "hh-mm-ss" and the line
  EXPECT_EQ(log.substr(8),
            ": Varnolis: Gr\xF6\xDF"
            "e / falsch\r\n");
}

TEST_F(MessageBoxTest, AReceiverPutInPlaceSeesEveryWarning) {
  vn::ShowWarning("T", "x");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].title, "T");
  vn::test::RecordingMessageBox other;
  EXPECT_EQ(vn::SetMessageBox(&other), &messages_);
  vn::ShowWarning("U", "y");
  EXPECT_EQ(other.shown.size(), 1u);
  EXPECT_EQ(messages_.shown.size(), 1u);
  vn::SetMessageBox(&messages_);
}

}  // namespace
