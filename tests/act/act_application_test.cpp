#include "act/act_application.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "act/act_standin.h"
#include "act_fixture.h"
#include "logging_automation.h"
#include "platform/runtime_error.h"

namespace {

using vn::AutoObject;
using vn::AutoValue;
using vn::test::CallLog;
using vn::test::LoggingHost;

// Receives the progress texts of getIDsAktuelleSuche in its default property.
class StatusLabel : public vn::clAutomationObject {
 public:
  AutoValue Invoke(const std::string&, std::vector<AutoValue>&) override { return {}; }
  AutoValue GetProperty(const std::string&) override { return {}; }
  void PutProperty(const std::string& member, const AutoValue& value) override {
    EXPECT_EQ(member, "");
    texts.push_back(value.ToText());
  }
  std::vector<std::string> texts;
};

class ActApplicationTest : public vn::test::ActFixture {
 protected:
  vn::ACTAutomation Logged() {
    vn::ACTAutomation standIn = vn::StandInAutomation();
    return {standIn.windows, std::make_shared<LoggingHost>(standIn.host, log_)};
  }
  std::shared_ptr<CallLog> log_ = std::make_shared<CallLog>();
};

TEST_F(ActApplicationTest, WithoutStandInFileActIsNotRunningAndNothingIsRequested) {
  vn::clACTApplication act(Logged());
  EXPECT_FALSE(act.ACTgestartet());
  EXPECT_EQ(act.ACTDatenbank(), "");
  EXPECT_EQ(act.AktuellerViewTyp(), -1);
  EXPECT_EQ(act.getFeldwert(25, vn::avKontakt, false), "");
  EXPECT_EQ(act.getFeldwert(25, vn::avGruppe, true), "");
  EXPECT_EQ(act.AktuelleKontaktID(), "");
  EXPECT_EQ(act.ACTVersion(), "");
  EXPECT_FALSE(act.CloseDatenbank());
  EXPECT_FALSE(act.AddGroup("X"));
  EXPECT_EQ(act.getIDsAktuelleSuche(nullptr), "");
  EXPECT_EQ(log_->objectsCreated, 0);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ActApplicationTest, TheFourOperationsOfTheLibraryReadTheFileAfreshEachTime) {
  WriteRunningAct(1, R"({"25": "K10001", "57": "Müller & Söhne", "70": 42})");
  vn::clACTApplication act;
  EXPECT_TRUE(act.ACTgestartet());
  EXPECT_EQ(act.ACTDatenbank(), "Demo.dbf");
  EXPECT_EQ(act.AktuellerViewTyp(), 1);
  EXPECT_EQ(act.getFeldwert(57, vn::avKontakt, false), "Müller & Söhne");
  EXPECT_EQ(act.getFeldwert(70, vn::avKontakt, false), "42");
  EXPECT_EQ(act.getFeldwert(99, vn::avKontakt, false), "");
  WriteRunningAct(1, R"({"25": "K10002"})");
  EXPECT_EQ(act.getFeldwert(25, vn::avKontakt, false), "K10002");
  WriteAct(R"({"windows": [{"class": "act3.0frameclass", "title": "ACT!"}]})");
  EXPECT_EQ(act.ACTDatenbank(), "");
  EXPECT_EQ(act.AktuellerViewTyp(), -1);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ActApplicationTest, GetOpenDBNameFailingIsSilentOnlyForTheServerFault) {
  WriteRunningAct(1, "{}", R"("fail": {"GetOpenDBName": -2147417851})");
  vn::clACTApplication act;
  EXPECT_EQ(act.ACTDatenbank(), "");
  EXPECT_TRUE(messages_.shown.empty());

  WriteRunningAct(
      1, "{}",
      R"("fail": {"GetOpenDBName": {"number": -2147467259, "description": "Unerwarteter Fehler"}})");
  EXPECT_EQ(act.ACTDatenbank(), "");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication Eigenschaft ACTDatenbank\r\n"
            "Fehlernummer: -2147467259\r\n"
            "Fehlerbeschreibung: Unerwarteter Fehler");
  EXPECT_EQ(messages_.shown[0].title, "Varnolis");
}

TEST_F(ActApplicationTest, ViewsFailingEndsTheStepWithAMessageUnlessItIsTheServerFault) {
  WriteRunningAct(1, "{}", R"("fail": {"Views": -2147417851})");
  vn::clACTApplication act;
  EXPECT_EQ(act.AktuellerViewTyp(), -1);
  EXPECT_TRUE(messages_.shown.empty());
  WriteRunningAct(1, "{}",
                  R"("fail": {"Views": {"number": 17, "description": "Keine Ansichten"}})");
  EXPECT_EQ(act.AktuellerViewTyp(), -1);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication - setOBJViews\r\nFehlernummer:17\r\nKeine Ansichten");
}

TEST_F(ActApplicationTest, OtherAutomationErrorsReachTheCaller) {
  WriteRunningAct(1, "{}", R"("fail": {"CreateObject": 429, "GetActive": -5})");
  vn::clACTApplication act;
  EXPECT_TRUE(act.ACTgestartet());
  try {
    act.ACTDatenbank();
    FAIL() << "no error";
  } catch (const vn::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 429);
  }
  WriteRunningAct(1, "{}", R"("fail": {"GetActive": -5})");
  try {
    act.AktuellerViewTyp();
    FAIL() << "no error";
  } catch (const vn::RuntimeError& e) {
    EXPECT_EQ(e.Number(), -5);
  }
  EXPECT_TRUE(messages_.shown.empty());
}

// On Linux the stand-in file is the window list too; the test ACT! shows no window for it.
TEST_F(ActApplicationTest, MalformedStandInFileIsAnAutomationErrorNamingFileAndPlaceLinux) {
  WriteAct("{\n  \"windows\": [\n    {\"class\": \"act3.0frameclass\",, }\n  ]\n}\n");
  vn::clACTApplication act;
  try {
    act.ACTgestartet();
    FAIL() << "no error";
  } catch (const vn::RuntimeError& e) {
    EXPECT_EQ(e.Number(), -2147467259);
    EXPECT_EQ(e.Description().rfind(ActPath() + ": line 3, column 34: invalid JSON: ", 0), 0u)
        << e.Description();
  }
  WriteRunningAct(1, "{}", R"("activeView": "Kontakt")");
  try {
    act.ACTgestartet();
    FAIL() << "no error";
  } catch (const vn::RuntimeError& e) {
    EXPECT_EQ(e.Description(), ActPath() + ": /activeView: expected a whole number or null");
  }
}

TEST_F(ActApplicationTest, FieldValueChoosesTheViewAsAsked) {
  WriteRunningAct(3, R"({"1": "C1", "25": "Kontaktwert"})",
                  R"("group": {"1": "G1", "25": "Großkunden"})");
  vn::clACTApplication act;
  EXPECT_EQ(act.getFeldwert(25, vn::avKontakt, false), "");
  EXPECT_EQ(act.getFeldwert(25, vn::avGruppe, false), "Großkunden");
  EXPECT_TRUE(messages_.shown.empty());
  // With ChangeView a contact view is created for the read.
  log_->calls.clear();
  vn::clACTApplication logged(Logged());
  EXPECT_EQ(logged.getFeldwert(25, vn::avKontakt, true), "Kontaktwert");
  EXPECT_EQ(log_->calls.back(), "GetField(i32:25)");
  EXPECT_NE(std::find(log_->calls.begin(), log_->calls.end(), "Create(i16:1,i16:2)"),
            log_->calls.end());
  // Each operation connects anew: one application object inside AktuellerViewTyp, one for the read.
  EXPECT_EQ(log_->objectsCreated, 2);
  // Another view type is read as a contact after the message.
  EXPECT_EQ(act.getFeldwert(25, 2, true), "Kontaktwert");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication - getFeldwert\r\n"
            "Falscher ACTViewTyp (2). Es wird avKontakt benutzt.");
}

// A look answers as the operations of the same names would, each answer on its own: an error
// belongs to the answers that need what failed, and the others keep their values.
TEST_F(ActApplicationTest, ALookAnswersAsTheSingleOperationsWithOneApplicationObject) {
  const std::string contact = R"({"3": "Chris Miller", "25": "K-10427"})";
  const std::string group = R"("group": {"25": "Großkunden"})";
  struct Case {
    const char* name;
    int activeView;
    std::string extra;  // the stand-in's failures
    bool database;      // whether the look asks for the database
    const char* expectedDatabase;
    long expectedView;  // or the error number it fails with
    bool viewFails;
    std::vector<std::string> expectedFields;  // 25 and 3 of the contact, 25 of the group
    int objects;                              // application objects created
  };
  const Case cases[] = {
      {"contact view", 1, "", true, "Demo.dbf", 1, false, {"K-10427", "Chris Miller", ""}, 1},
      {"group view", 3, "", false, "", 3, false, {"", "", "Großkunden"}, 1},
      {"a field fails alone", 1, R"("fail": {"GetField": 13})", false, "", 1, false,
       {"!13", "!13", ""}, 1},
      {"the active view fails every field", 1, R"("fail": {"GetActive": -5})", true, "Demo.dbf",
       -5, true, {"!-5", "!-5", "!-5"}, 1},
      {"no object: everything asked fails", 1, R"("fail": {"CreateObject": 429})", false, "",
       429, true, {"!429", "!429", "!429"}, 1},
      {"no object, database asked: the look ends with it", 1, R"("fail": {"CreateObject": 429})",
       true, "!429", -1, false, {"", "", ""}, 1},
      // Without a database nobody asks further: the view is not looked at.
      {"no database", 1, R"("fail": {"GetOpenDBName": -2147417851})", true, "", -1, false,
       {"", "", ""}, 1},
  };
  auto shown = [](const auto& answer) -> std::string {
    try {
      if constexpr (std::is_same_v<std::decay_t<decltype(answer.value)>, std::string>) {
        return answer.Get();
      } else {
        return std::to_string(answer.Get());
      }
    } catch (const vn::RuntimeError& e) {
      return "!" + std::to_string(e.Number());
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRunningAct(c.activeView, contact, c.extra.empty() ? group : group + ", " + c.extra);
    log_->objectsCreated = 0;
    log_->calls.clear();
    const vn::clACTApplication act(Logged());
    const vn::ACTLook look = act.Look({.database = c.database,
                                       .viewType = true,
                                       .fields = {{vn::avKontakt, 25},
                                                  {vn::avKontakt, 3},
                                                  {vn::avGruppe, 25}}});
    EXPECT_TRUE(look.running);
    EXPECT_EQ(shown(look.database), c.expectedDatabase);
    EXPECT_EQ(shown(look.viewType),
              (c.viewFails ? "!" : "") + std::to_string(c.expectedView));
    ASSERT_EQ(look.fields.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(shown(look.fields[i]), c.expectedFields[i]) << i;
    EXPECT_EQ(log_->objectsCreated, c.objects);
  }
  EXPECT_TRUE(messages_.shown.empty());

  // ACT! not running: nothing is created, nothing fails.
  WriteAct("{}");
  const vn::clACTApplication act(Logged());
  log_->objectsCreated = 0;
  const vn::ACTLook look = act.Look({.database = true, .viewType = true, .fields = {{1, 25}}});
  EXPECT_FALSE(look.running);
  EXPECT_EQ(shown(look.database), "");
  EXPECT_EQ(shown(look.viewType), "-1");
  EXPECT_EQ(shown(look.fields.at(0)), "");
  EXPECT_EQ(log_->objectsCreated, 0);
}

TEST_F(ActApplicationTest, UniqueIdsArePaddedToTwelveCharacters) {
  WriteRunningAct(
      1, R"({"1": "123"})",
      R"("contacts": [{"1": "123"}, {"1": "ABCDEFGHIJKL"}], "groups": [{"1": "G7", "25": "A"}])");
  vn::clACTApplication act(Logged());
  EXPECT_TRUE(act.gehezuKonatkt("ABCDEFGHIJKL"));
  EXPECT_EQ(log_->calls.back(), "GoTo('ABCDEFGHIJKL')");
  EXPECT_EQ(act.AktuelleKontaktID(), "ABCDEFGHIJKL");
  EXPECT_TRUE(act.gehezuKonatkt("123"));
  EXPECT_EQ(log_->calls.back(), "GoTo('         123')");
  EXPECT_EQ(act.AktuelleKontaktID(), "123");
  EXPECT_TRUE(act.ShowGroupByUniqueID("G7", true));
  EXPECT_EQ(log_->calls.back(), "GoTo('          G7')");
  EXPECT_THROW(act.gehezuKonatkt("ABCDEFGHIJKLM"), vn::RuntimeError);
  EXPECT_THROW(act.AddGroupMember("ABCDEFGHIJKLM"), vn::RuntimeError);
}

TEST_F(ActApplicationTest, ApplicationMembers) {
  WriteRunningAct(1, R"({"1": "C1"})",
                  R"("userId": "U7", "userName": "Anna", "version": "6.0", "currentField": 57)");
  vn::clACTApplication act(Logged());
  EXPECT_EQ(act.AktuelleBenutzerID(), "U7");
  EXPECT_EQ(act.AktuellerBenutzerName(), "Anna");
  EXPECT_EQ(act.ACTVersion(), "6.0");
  EXPECT_EQ(log_->calls.back(), "GetVersion(i16:1)");
  EXPECT_EQ(act.AktuelleFeldID(), 57);
  EXPECT_EQ(act.AktuelleKontaktID(), "C1");
  EXPECT_EQ(act.AktuelleGruppenID(), "");
  act.Zeigen();
  EXPECT_EQ(log_->calls.back(), "Show(true)");
  act.AktuellerViewTyp(3);
  EXPECT_EQ(log_->calls.back(), "Create(i32:3,'')");
  EXPECT_EQ(act.AktuellerViewTyp(), 3);

  act.OpenDatenbank("Andere.dbf");
  EXPECT_EQ(act.ACTDatenbank(), "Andere.dbf");
  EXPECT_TRUE(act.CloseDatenbank());
  EXPECT_EQ(act.ACTDatenbank(), "");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_FALSE(act.CloseDatenbank());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication - CloseDB\r\nACT!-Fehlernummer:1\r\n"
            "Die Datenbank konnte nicht geschlossen werden.");
}

TEST_F(ActApplicationTest, MenuCommandErrorsAreShown) {
  WriteRunningAct(1, "{}");
  vn::clACTApplication act;
  act.ExecuteMenuCommand(1042);
  EXPECT_NE(ReadFile(ActPath()).find("1042"), std::string::npos);
  EXPECT_TRUE(messages_.shown.empty());
  WriteRunningAct(
      1, "{}",
      R"("fail": {"Command": {"number": -2147352567, "description": "Befehl unbekannt"}})");
  act.ExecuteMenuCommand(7);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication - ExecuteMenuCommand\r\n"
            "Fehlernummer: -2147352567\r\nFehlerbeschreibung: Befehl unbekannt");
}

TEST_F(ActApplicationTest, ContactLookupsAndTheirProgress) {
  WriteRunningAct(1, R"({"1": "KONTAKT00002", "25": "B"})",
                  R"("contacts": [{"1": "KONTAKT00001"}, {"1": "KONTAKT00002", "25": "B"},
                                  {"1": "KONTAKT00003"}])");
  vn::clACTApplication act;
  StatusLabel status;
  EXPECT_EQ(act.getIDsAktuelleSuche(&status), "KONTAKT00001KONTAKT00002KONTAKT00003");
  EXPECT_EQ(status.texts, (std::vector<std::string>{"Bestimme aktuelle ACT!-Suche (33,33)",
                                                    "Bestimme aktuelle ACT!-Suche (66,67)",
                                                    "Bestimme aktuelle ACT!-Suche (100,00)"}));
  EXPECT_TRUE(act.bildeKontaktSuche("KONTAKT00003KONTAKT00001"));
  EXPECT_EQ(act.getIDsAktuelleSuche(nullptr), "KONTAKT00001KONTAKT00003");
  EXPECT_TRUE(act.neuerKontakt());
  EXPECT_EQ(act.AktuelleKontaktID(), "SI0000000001");
  EXPECT_TRUE(act.setFeldwert(25, "Neu", vn::avKontakt, false));
  EXPECT_EQ(act.getFeldwert(25, vn::avKontakt, false), "Neu");
  EXPECT_TRUE(act.setFeldwert(26, "Auch", 5, false));
  EXPECT_EQ(act.getFeldwert(26, vn::avKontakt, false), "Auch");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "Fehler in Klasse ACTApplication - setFeldwert\r\n"
            "Falscher ACTViewTyp (5). Es wird Kontakt benutzt.");
  EXPECT_FALSE(act.setFeldwert(25, "x", vn::avGruppe, false));
}

TEST_F(ActApplicationTest, GroupOperations) {
  WriteRunningAct(1, R"({"1": "C1"})",
                  R"("group": {"1": "G1", "25": "Großkunden"},
                     "groups": [{"1": "G1", "25": "Großkunden"}, {"1": "G2", "25": "Lieferanten"}],
                     "tabs": ["Notizen/Protokoll", "Gruppen"])");
  vn::clACTApplication act;
  EXPECT_TRUE(act.GroupExist("Lieferanten"));
  EXPECT_FALSE(act.GroupExist("lieferanten"));
  EXPECT_TRUE(act.AddGroup("Neue Gruppe"));
  EXPECT_TRUE(act.GroupExist("Neue Gruppe"));
  EXPECT_TRUE(act.AddGroupMember("C1"));
  EXPECT_TRUE(act.ShowGroupByName("Lieferanten", 0));
  EXPECT_FALSE(act.ShowGroupByName("Fehlt", 0));
  EXPECT_TRUE(act.ordneKonatktzuGruppe("C1"));
  EXPECT_TRUE(act.ShowGroupByName("Neue Gruppe", 0));
  EXPECT_TRUE(act.DeleteCurrentGroup());
  EXPECT_FALSE(act.GroupExist("Neue Gruppe"));
  EXPECT_TRUE(act.ShowGroupRegister("Gruppen"));
  EXPECT_FALSE(act.ShowGroupRegister("Fehlt"));
  act.AktuellerViewTyp(3);
  EXPECT_EQ(act.AktuelleGruppenID(), "");  // the current group was deleted
  EXPECT_TRUE(act.ShowGroupByName("Lieferanten", 0));
  EXPECT_EQ(act.AktuelleGruppenID(), "G2");
  EXPECT_EQ(act.getFeldwert(25, vn::avGruppe, false), "Lieferanten");
  const std::string file = ReadFile(ActPath());
  EXPECT_NE(file.find("\"members\": [\n        \"C1\"\n      ]"), std::string::npos) << file;
}

TEST_F(ActApplicationTest, AttachmentsWithRemarks) {
  WriteFile(dir_ + "/Angebot.pdf", "%PDF");
  WriteFile(dir_ + "/Brief.txt", "x");
  WriteRunningAct(1, R"({"1": "C1"})",
                  R"("activeTab": "Gruppen", "tabs": ["Notes/History", "Gruppen"])");
  vn::clACTApplication act;
  std::vector<std::string> paths = {"bleibt"};
  EXPECT_EQ(act.GetAttachments(paths), 0);
  EXPECT_EQ(paths, std::vector<std::string>{"bleibt"});
  EXPECT_FALSE(act.ErstelleVerknuepfung(dir_ + "/fehlt.pdf", "x"));
  EXPECT_TRUE(act.ErstelleVerknuepfung(dir_ + "/Brief.txt", ""));
  EXPECT_TRUE(act.ErstelleVerknuepfung(dir_ + "/Angebot.pdf", "Angebot vom Mai"));
  EXPECT_EQ(act.GetAttachments(paths), 2);
  EXPECT_EQ(paths, (std::vector<std::string>{dir_ + "/Brief.txt", dir_ + "/Angebot.pdf"}));
  const std::string file = ReadFile(ActPath());
  EXPECT_NE(file.find("\"26\": \"Angebot vom Mai\""), std::string::npos) << file;
  EXPECT_NE(file.find("\"activeTab\": \"Notes/History\""), std::string::npos) << file;
}

#ifdef _WIN32
// Every operation gives back what it obtained from ACT!, also when an automation error ends it.
TEST_F(ActApplicationTest, NoACTReferenceOutlivesAnOperationWindows) {
  WriteRunningAct(1, R"({"1": "K1", "25": "Kontakt"})", R"("group": {"1": "G1", "25": "Gruppe"})");
  vn::clACTApplication act;
  EXPECT_EQ(act.getFeldwert(25, vn::avKontakt, false), "Kontakt");
  EXPECT_EQ(testAct_.LiveCount(), 0);
  EXPECT_EQ(act.getFeldwert(25, vn::avGruppe, true), "Gruppe");
  EXPECT_TRUE(act.setFeldwert(26, "neu", vn::avKontakt, false));
  EXPECT_EQ(testAct_.LiveCount(), 0);
  WriteRunningAct(1, "{}", R"("fail": {"GetActive": -5})");
  EXPECT_THROW(act.AktuellerViewTyp(), vn::RuntimeError);
  EXPECT_EQ(testAct_.LiveCount(), 0);
}
#endif

}  // namespace
