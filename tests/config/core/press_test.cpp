// A press of each button of the layout table and of each entry of the tree's menu, as a front
// passes it to the core with the command of its row: the action that control stands for.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/core/data_link.h"
#include "config/core/layout.h"
#include "config/core/start_files.h"
#include "core_fixture.h"
#include "pressable_controls.h"
#include "platform/path_separator.h"

namespace vn::config::testing {
namespace {

// The controls a user presses: the layout's buttons and the tree menu's entries.

Command CommandOf(const std::string& control) {
  if (const ControlPlace* place = FindPlace(control)) return place->command;
  for (const MenuItem& item : AssignmentTree::MenuItems())
    if (control == item.name) return item.command;
  return nullptr;
}

class CountingDataLink : public DataLinkPrompt {
 public:
  int newPrompts = 0;
  std::optional<std::string> PromptNew() override {
    ++newPrompts;
    return std::nullopt;
  }
  std::optional<std::string> PromptEdit(const std::string&) override { return std::nullopt; }
};

class PressTest : public CoreTest, public ::testing::WithParamInterface<std::string> {
 protected:
  // Selects the tree's node with `text` as the user does before opening its menu.
  void SelectNode(const std::string& text) {
    for (size_t i = 0; i < view.tree.size(); ++i)
      if (view.tree[i].text == text) view.selectedNode = static_cast<int>(i) + 1;
  }
  std::string NetLinks() { return folder + VN_PATH_SEP "NetLinks"; }
  std::string ControlFile() { return NetLinks() + VN_PATH_SEP "Varnolis.ctl"; }
};

TEST_P(PressTest, ThePressRunsTheControlsAction) {
  struct Case {
    const char* control;
    std::function<void()> arrange;
    std::function<bool()> done;  // whether the control's action has run
  };
  CountingDataLink dataLink;
  const std::string titel = "txbRubrikenTitel";
  const Case cases[] = {
      {"cmdInfo", [] {}, [&] { return view.aboutShown == 1; }},
      {"cmdMoveFirst", [&] { window->cmdMoveLast_Click(); },
       [&] { return view.state.status == "1. Datensatz von 5"; }},
      {"cmdMovePrevious", [&] { window->cmdMoveLast_Click(); },
       [&] { return view.state.status == "4. Datensatz von 5"; }},
      {"cmdMoveNext", [] {}, [&] { return view.state.status == "2. Datensatz von 5"; }},
      {"cmdMoveLast", [] {}, [&] { return view.state.status == "5. Datensatz von 5"; }},
      {"cmdDelete",
       [&] {
         window->cmdMoveLast_Click();
         prompts.answers = {MsgResult::kYes};
       },
       [&] { return Scalar("SELECT COUNT(*) FROM Rubriken") == "4"; }},
      {"cmdAddNew", [] {}, [&] { return view.state.edit == "neu"; }},
      {"cmdCancel", [&] { window->cmdAddNew_Click(); },
       [&] { return view.state.edit != "neu" && view.state.status == "1. Datensatz von 5"; }},
      {"cmdOK",
       [&] {
         window->cmdMoveNext_Click();
         view.Type(titel, "Gespeichert");
       },
       [&] { return Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2") == "Gespeichert"; }},
      {"cmdReset", [&] { window->WriteDebugLine("x"); }, [&] { return view.debugLines.empty(); }},
      {"cmdLine", [] {},
       [&] { return !view.debugLines.empty() && view.debugLines.back() == "---------------"; }},
      {"cmdVerbindung",
       [&] {
         window->SetConnectionTools(nullptr, &dataLink);
         window->SelectTab(2);
         window->cmdMoveLast_Click();
       },
       [&] { return dataLink.newPrompts == 1; }},
      {"cmdMinMaxDatenVerbindung", [] {},
       [&] {
         return view.resizes.size() == 1 && view.resizes[0].field == "txbDatenVerbindung" &&
                view.resizes[0].caption == FieldSizes::CaptionEnlarged();
       }},
      {"cmdMinMaxDatenAbfrage", [] {},
       [&] {
         return view.resizes.size() == 1 && view.resizes[0].field == "txbDatenAbfrage" &&
                view.resizes[0].caption == FieldSizes::CaptionEnlarged();
       }},
      {"cmdStartDateienErstellen",
       [&] {
         std::filesystem::create_directories(std::filesystem::path(NetLinks()));
         window->SelectTab(5);
         view.fields["txbNetlinks"] = NetLinks();
       },
       [&] { return FileExists(ControlFile()); }},
      {"cmdStartDateienEntfernen",
       [&] {
         std::filesystem::create_directories(std::filesystem::path(NetLinks()));
         CreateStartFiles(NetLinks(), "Start", prompts);
         window->SelectTab(5);
         view.fields["txbNetlinks"] = NetLinks();
         prompts.answers = {MsgResult::kYes};
       },
       [&] { return !FileExists(ControlFile()); }},
      {"mnuZeigeRubrik",
       [&] {
         window->SelectTab(4);
         SelectNode("Info");
       },
       [&] { return window->SelectedTab() == 1 && view.fields["txbRubrikenRubrik"] == "Info"; }},
      {"mnuZeigeDaten",
       [&] {
         window->SelectTab(4);
         SelectNode("Offene Posten");
       },
       [&] {
         return window->SelectedTab() == 2 && view.fields["txbDatenTitel"] == "Offene Posten";
       }},
      {"mnuZeigeZuordnung",
       [&] {
         window->SelectTab(4);
         SelectNode("Offene Posten");
       },
       [&] {
         return window->SelectedTab() == 3 &&
                VariantText(window->CurrentRecords()->Value("ID_Zuordnung")) == "4";
       }},
      {"mnuNeueZuordnung",
       [&] {
         window->SelectTab(4);
         SelectNode("Notizen");
       },
       [&] { return window->SelectedTab() == 3 && view.state.edit == "neu"; }},
  };
  const Case* found = nullptr;
  for (const Case& c : cases)
    if (GetParam() == c.control) found = &c;
  ASSERT_NE(found, nullptr) << "no case for " << GetParam();
  Open(true);
  found->arrange();
  ASSERT_FALSE(found->done()) << "done before the press";
  window->Press(CommandOf(GetParam()));
  EXPECT_TRUE(found->done());
}

INSTANTIATE_TEST_SUITE_P(Controls, PressTest, ::testing::ValuesIn(PressableControls()),
                         ControlCaseName);

TEST(PressWithoutCommandTest, DoesNothing) {
  ScriptedPrompts prompts;
  RecordingView view;
  KonfigurationWindow window(false, view, prompts);
  window.Press(nullptr);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(view.aboutShown, 0);
}

}  // namespace
}  // namespace vn::config::testing
