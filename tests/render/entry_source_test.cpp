// The connection message of a data entry shows its connection string without the password.
#include "render/entry_source.h"

#include <gtest/gtest.h>

#include "tests/render/page_fixture.h"

namespace {

class EntrySourceTest : public vn::testing::PageFixture {};

TEST_F(EntrySourceTest, TheConnectionMessageHidesThePassword) {
  const std::pair<std::string, std::string> cases[] = {
      {"Provider=Nirgendwo;Data Source=x;User ID=vn;PWD=vn-test-pw",
       "Provider=Nirgendwo;Data Source=x;User ID=vn;PWD=***"},
      {"Provider=MSDASQL;Driver={Nirgendwo};Password='vn;test'",
       "Provider=MSDASQL;Driver={Nirgendwo};Password=***"},
  };
  for (const auto& [connection, shown] : cases) {
    vn::clHTMLError error;
    error.Init("clHTMLList", "");
    EXPECT_EQ(vn::OpenEntryConnection(error, connection), nullptr);
    EXPECT_EQ(error.Number(), 101);
    EXPECT_NE(error.Description().find(
                  ">Es konnte keine Verbindung zu der Datenbank hergestellt werden.<br>"
                  "Connection String: " +
                  shown + "</TD>"),
              std::string::npos)
        << error.Description();
    EXPECT_EQ(error.Description().find("vn-test-pw"), std::string::npos);
  }
}

}  // namespace
