#include "act/act_snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/act_standin.h"
#include "act_fixture.h"
#include "logging_automation.h"
#include "platform/runtime_error.h"

namespace {

using vn::test::CallLog;
using vn::test::Calls;

class ActSnapshotTest : public vn::test::ActFixture {
 protected:
  void WriteContact(const std::string& contact) {
    WriteRunningAct(1, contact, R"("group": {"1": "G1", "25": "Großkunden"})");
  }
  // The text parsed on a parser of its own over `snapshot`: its value, or the error's number and
  // text.
  static std::string Parse(vn::clACTSnapshot& snapshot, const std::string& text) {
    vn::clACTDataParser parser;
    EXPECT_TRUE(parser.InitPage(&snapshot, ""));
    std::string result = parser.Parse(text, vn::ParsedText::kAsRead);
    if (parser.Failed()) return std::to_string(parser.ErrNumber()) + ": " + parser.ErrText();
    return result;
  }
};

// The page's texts are expected first and then parsed in order; the log counts what reached the
// stand-in. The page takes two looks at ACT!, each with one application object and one window
// search: the first for the database and the view, the second for every field at once, which
// looks at the view again to choose where to read.
TEST_F(ActSnapshotTest, APageAsksTheViewOnceAndEachDistinctFieldOnce) {
  WriteContact(R"({"2": "Miller GmbH", "3": "Chris Miller", "25": "K-10427"})");
  struct Case {
    const char* name;
    std::vector<std::string> texts;
    std::vector<std::string> parsed;
    long fields;  // distinct fields
  };
  const Case cases[] = {
      {"one placeholder",
       {"SELECT * FROM k WHERE nr = '{!kontakt,25}'"},
       {"SELECT * FROM k WHERE nr = 'K-10427'"},
       1},
      {"ten placeholders of three fields",
       {"Kunde {!kontakt,25}", "{!k,3} ({!kontakt, 25})",
        "SELECT '{!kontakt,2}', '{!c,3}', '{!contact,25}' FROM k WHERE a = '{!kontakt,25}'",
        "{!kontakt,2}/{!kontakt,3}/{!kontakt,25}"},
       {"Kunde K-10427", "Chris Miller (K-10427)",
        "SELECT 'Miller GmbH', 'Chris Miller', 'K-10427' FROM k WHERE a = 'K-10427'",
        "Miller GmbH/Chris Miller/K-10427"},
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto log = std::make_shared<CallLog>();
    const vn::clACTApplication bridge(vn::test::Logged(vn::DefaultACTAutomation(), log));
    vn::clACTSnapshot snapshot(bridge);
    for (const std::string& text : c.texts) snapshot.Expect(text);
    for (size_t i = 0; i < c.texts.size(); ++i) EXPECT_EQ(Parse(snapshot, c.texts[i]), c.parsed[i]);
    EXPECT_EQ(log->objectsCreated, 2);
    EXPECT_EQ(Calls(*log, "EnumWindows"), 2 * 2);  // both searches of ACT!'s window, per look
    EXPECT_EQ(Calls(*log, "GetOpenDBName()"), 1);
    EXPECT_EQ(Calls(*log, "Views"), 2);
    EXPECT_EQ(Calls(*log, "GetActive()"), 2);
    EXPECT_EQ(Calls(*log, "Type"), 2);
    long reads = 0;
    for (const char* field : {"GetField(i32:2)", "GetField(i32:3)", "GetField(i32:25)"}) {
      EXPECT_LE(Calls(*log, field), 1) << field;
      reads += Calls(*log, field);
    }
    EXPECT_EQ(reads, c.fields);
  }
}

// The user moves on to another contact while the page is built: a field that only a later text
// names is still the first contact's. The next page shows the new contact.
TEST_F(ActSnapshotTest, AContactChangedDuringThePageReachesOnlyTheNextPage) {
  WriteContact(R"({"3": "Chris Miller", "25": "K-10427"})");
  const vn::clACTApplication bridge;
  {
    vn::clACTSnapshot page(bridge);
    page.Expect("{!kontakt,25}");
    page.Expect("{!kontakt,3}");
    EXPECT_EQ(Parse(page, "{!kontakt,25}"), "K-10427");
    WriteContact(R"({"3": "Anna Schulz", "25": "K-20001"})");
    EXPECT_EQ(Parse(page, "{!kontakt,3}"), "Chris Miller");
    EXPECT_EQ(Parse(page, "{!kontakt,25}"), "K-10427");
  }
  vn::clACTSnapshot next(bridge);
  EXPECT_EQ(Parse(next, "{!kontakt,3} {!kontakt,25}"), "Anna Schulz K-20001");
}

// ACT! stopped: the page that looked before still has its answers; the next page gets 122.
TEST_F(ActSnapshotTest, ActStoppedBetweenTwoPagesGives122OnTheSecond) {
  WriteContact(R"({"25": "K-10427"})");
  const vn::clACTApplication bridge;
  vn::clACTSnapshot first(bridge);
  EXPECT_EQ(Parse(first, "{!kontakt,25}"), "K-10427");
  WriteAct("{}");
  EXPECT_EQ(Parse(first, "{!kontakt,25}"), "K-10427");
  vn::clACTSnapshot second(bridge);
  EXPECT_EQ(
      Parse(second, "{!kontakt,25}"),
      "122: Der Zugriff auf die ACT!-Daten ist nich möglich, weil kein ACT! gestartet wurde.");
}

// Learning the page's fields changes no error: each shows in the text that has it, in its
// order, and a failing expected text does not keep the others' fields from being read together.
TEST_F(ActSnapshotTest, ErrorsShowInTheTextsThatHaveThem) {
  WriteContact(R"({"3": "Chris Miller", "25": "K-10427"})");
  auto log = std::make_shared<CallLog>();
  const vn::clACTApplication bridge(vn::test::Logged(vn::DefaultACTAutomation(), log));
  vn::clACTSnapshot page(bridge);
  page.Expect("{!gruppe,25} {!kontakt,3}");
  page.Expect("{!brimlow,kunde}");
  page.Expect("{!kontakt,3}");
  EXPECT_EQ(Parse(page, "{!kontakt,25}"), "K-10427");
  EXPECT_EQ(Parse(page, "{!gruppe,25} {!kontakt,3}").substr(0, 5), "124: ");
  EXPECT_EQ(Parse(page, "{!brimlow,kunde}").substr(0, 5), "164: ");
  EXPECT_EQ(Parse(page, "{!kontakt,3}"), "Chris Miller");
  EXPECT_EQ(Calls(*log, "GetField(i32:3)"), 1);
  EXPECT_EQ(Calls(*log, "GetField(i32:25)"), 1);
}

// An automation error in a field's read shows where the page asks for that field, not earlier.
TEST_F(ActSnapshotTest, AFailingFieldReadIsThrownWhereThePageAsksForIt) {
  WriteRunningAct(1, R"({"25": "K-10427"})", R"("fail": {"GetField": 13})");
  const vn::clACTApplication bridge;
  vn::clACTSnapshot page(bridge);
  page.Expect("{!kontakt,25}");
  EXPECT_EQ(Parse(page, "ohne Feld"), "ohne Feld");
  EXPECT_THROW(Parse(page, "{!kontakt,25}"), vn::RuntimeError);
  EXPECT_THROW(Parse(page, "{!kontakt,25}"), vn::RuntimeError);
}

// A page's stand-in is read once: what ACT! runs, its database, view and fields stay as that read
// found them for the whole page, the window list included; a new page reads the file again.
TEST_F(ActSnapshotTest, APagesStandInIsReadOnceLinux) {
  WriteContact(R"({"3": "Chris Miller", "25": "K-10427"})");
  const vn::clACTApplication page(vn::StandInAutomation(ActPath(), vn::StandInReads::kOnce));
  EXPECT_EQ(page.getFeldwert(25, vn::avKontakt, false), "K-10427");
  WriteContact(R"({"3": "Anna Schulz", "25": "K-20001"})");
  EXPECT_EQ(page.getFeldwert(3, vn::avKontakt, false), "Chris Miller");
  std::filesystem::remove(ActPath());
  EXPECT_TRUE(page.ACTgestartet());
  EXPECT_EQ(page.ACTDatenbank(), "Demo.dbf");
  const vn::clACTApplication next(vn::StandInAutomation(ActPath(), vn::StandInReads::kOnce));
  EXPECT_FALSE(next.ACTgestartet());
}

#ifdef _WIN32
// The test ACT!'s own count of what it served. A page's first look: the application object, the
// database's name, the views, the active view and its type, 5 calls; its look for the fields: the
// application object, the views, the active view and its type, 4 calls, and one call per distinct
// field. A parser without a page takes both looks for every text.
TEST_F(ActSnapshotTest, TheTestActServesOneLookPerPageAndOneReadPerFieldWindows) {
  WriteContact(R"({"2": "Miller GmbH", "3": "Chris Miller", "25": "K-10427"})");
  vn::clACTApplication bridge;
  const std::vector<std::string> ten = {
      "Kunde {!kontakt,25}", "{!kontakt,3} ({!kontakt,25})",
      "SELECT '{!kontakt,2}', '{!kontakt,3}', '{!kontakt,25}' FROM k WHERE a = '{!kontakt,25}' "
      "AND b = '{!kontakt,2}' AND c = '{!kontakt,3}'"};
  auto page = [&](const std::vector<std::string>& texts) {
    testAct_.Calls();
    vn::clACTSnapshot snapshot(bridge);
    for (const std::string& text : texts) snapshot.Expect(text);
    // No value holds a colon; an error's text starts with its number and one.
    for (const std::string& text : texts) {
      EXPECT_EQ(Parse(snapshot, text).find(':'), std::string::npos) << text;
    }
    return testAct_.Calls();
  };
  EXPECT_EQ(page({"{!kontakt,25}"}), 5 + 4 + 1);
  EXPECT_EQ(page(ten), 5 + 4 + 3);
  testAct_.Calls();
  for (int command = 0; command < 10; ++command) {
    vn::clACTDataParser parser;
    parser.Init(&bridge, "");
    EXPECT_EQ(parser.Parse("{!kontakt,25}", vn::ParsedText::kAsRead), "K-10427");
  }
  EXPECT_EQ(testAct_.Calls(), 10 * (5 + 4 + 1));
}
#endif

}  // namespace
