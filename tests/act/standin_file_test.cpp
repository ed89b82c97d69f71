// Numbers in the ACT! stand-in file that the bridge cannot take are reported like every other
// malformed file: the automation error naming the file and the place.
#include "act/standin_file.h"

#include <gtest/gtest.h>

#include "act/act_application.h"
#include "act_fixture.h"
#include "platform/runtime_error.h"

namespace {

class StandInNumbersTest : public vn::test::ActFixture {
 protected:
  // The description of the error that loading the file gives, or "" without one.
  std::string LoadError(const std::string& content) {
    WriteAct(content);
    try {
      vn::clStandInFile(ActPath()).Load();
    } catch (const vn::RuntimeError& e) {
      EXPECT_EQ(e.Number(), -2147467259);
      return e.Description();
    }
    return {};
  }
};

TEST_F(StandInNumbersTest, NumbersBeyondADoubleNameTheirPlace) {
  EXPECT_EQ(LoadError("{\"activeView\": 1e400}"),
            ActPath() + ": line 1, column 16: number out of range: 1e400");
  EXPECT_EQ(LoadError("{\n  \"contact\": {\"25\": -1E+999}\n}"),
            ActPath() + ": line 2, column 21: number out of range: -1E+999");
  EXPECT_EQ(LoadError("{\"currentField\": 1e308}"),
            ActPath() + ": /currentField: expected a whole number or null");
}

TEST_F(StandInNumbersTest, WholeNumbersOutsideTheirRangeAreMalformed) {
  const std::string long32 = "expected a whole number from -2147483648 to 2147483647";
  const std::pair<const char*, std::string> cases[] = {
      {R"({"activeView": 4294967297})", "/activeView: " + long32},
      {R"({"currentField": -2147483649})", "/currentField: " + long32},
      {R"({"activeView": 18446744073709551615})", "/activeView: " + long32},
      {R"({"fail": {"GetUserId": 99999999999}})", "/fail/GetUserId: " + long32},
      {R"({"fail": {"Views": {"number": -9223372036854775808}}})", "/fail/Views/number: " + long32},
      {R"({"nextId": -1})", "/nextId: expected a whole number from 0 to 10000000000"},
      {R"({"nextId": "7"})", "/nextId: expected a whole number from 0 to 10000000000"},
      {R"({"commands": [1, 2147483648]})", "/commands/1: " + long32},
      {R"({"commands": 5})", "/commands: expected an array of command numbers"},
  };
  for (const auto& [content, message] : cases) {
    EXPECT_EQ(LoadError(content), ActPath() + ": " + message) << content;
  }
  EXPECT_EQ(LoadError(R"({"activeView": -2147483648, "nextId": 10000000000, "commands": [7]})"),
            "");
}

TEST_F(StandInNumbersTest, TheLastUniqueIdIsGivenOnceThenTheOperationFails) {
  WriteRunningAct(1, R"({"1": "C1"})", R"("nextId": 9999999999)");
  vn::clACTApplication act;
  EXPECT_TRUE(act.neuerKontakt());
  EXPECT_EQ(act.AktuelleKontaktID(), "SI9999999999");
  EXPECT_THROW(act.neuerKontakt(), vn::RuntimeError);
  EXPECT_EQ(act.AktuelleKontaktID(), "SI9999999999");
}

}  // namespace
