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
#include "press_cases.h"
#include "preview_fixture.h"
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
  CountingDataLink dataLink;
  RecordingPreviewView previewView;
  PreviewControl preview(previewView);
  auto previewed = [&](const char* title) {
    return [&previewView, title] {
      return previewView.running == std::vector<std::string>{std::string("Vorschau - ") + title};
    };
  };
  auto last = [&] { window->cmdMoveLast_Click(); };
  auto status = [&](const char* text) {
    return [this, text] { return view.state.status == text; };
  };
  auto editing = [&] { return view.state.edit == "neu"; };
  auto resized = [&](const char* field) {
    return [this, field] {
      return view.resizes.size() == 1 && view.resizes[0].field == field &&
             view.resizes[0].caption == FieldSizes::CaptionEnlarged();
    };
  };
  auto startOptions = [&](bool withFiles) {
    return [this, withFiles] {
      std::filesystem::create_directories(std::filesystem::path(NetLinks()));
      if (withFiles) CreateStartFiles(NetLinks(), "Start", prompts);
      window->SelectTab(5);
      view.fields["txbNetlinks"] = NetLinks();
      prompts.answers = {MsgResult::kYes};
    };
  };
  auto inTree = [&](const char* text) {
    return [this, text] {
      window->SelectTab(4);
      SelectNode(text);
    };
  };
  // The tab selected, and the field showing the record the press went to.
  auto shown = [&](int tab, const char* field, const char* text) {
    return [this, tab, field, text] {
      return window->SelectedTab() == tab && view.fields[field] == text;
    };
  };
  const PressCase cases[] = {
      {"cmdInfo", [] {}, [&] { return view.aboutShown == 1; }},
      {"cmdMoveFirst", last, status("1. Datensatz von 5")},
      {"cmdMovePrevious", last, status("4. Datensatz von 5")},
      {"cmdMoveNext", [] {}, status("2. Datensatz von 5")},
      {"cmdMoveLast", [] {}, status("5. Datensatz von 5")},
      {"cmdDelete",
       [&] {
         last();
         prompts.answers = {MsgResult::kYes};
       },
       [&] { return Scalar("SELECT COUNT(*) FROM Rubriken") == "4"; }},
      {"cmdAddNew", [] {}, editing},
      {"cmdCancel", [&] { window->cmdAddNew_Click(); },
       [&] { return !editing() && status("1. Datensatz von 5")(); }},
      {"cmdOK",
       [&] {
         window->cmdMoveNext_Click();
         view.Type("txbRubrikenTitel", "Gespeichert");
       },
       [&] { return Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2") == "Gespeichert"; }},
      {"cmdReset", [&] { window->WriteDebugLine("x"); }, [&] { return view.debugLines.empty(); }},
      {"cmdLine", [] {},
       [&] { return !view.debugLines.empty() && view.debugLines.back() == "---------------"; }},
      {"cmdVerbindung",
       [&] {
         window->SetConnectionTools(nullptr, &dataLink);
         window->SelectTab(2);
         last();
       },
       [&] { return dataLink.newPrompts == 1; }},
      {"cmdMinMaxDatenVerbindung", [] {}, resized("txbDatenVerbindung")},
      {"cmdMinMaxDatenAbfrage", [] {}, resized("txbDatenAbfrage")},
      {"cmdKopieren",
       [&] {
         window->SelectTab(2);
         last();
       },
       [&] { return editing() && view.fields["txbDatenTitel"] == "Über Varnolis (Kopie)"; }},
      {"cmdNetlinksOrdner",
       [&] {
         window->SelectTab(5);
         prompts.folder = NetLinks();
       },
       [&] { return view.fields["txbNetlinks"] == NetLinks(); }},
      {"cmdStartDateienErstellen", startOptions(false), [&] { return FileExists(ControlFile()); }},
      {"cmdStartDateienEntfernen", startOptions(true), [&] { return !FileExists(ControlFile()); }},
      {"cmdVorschau",
       [&] {
         window->SetPreview(&preview);
         window->SelectTab(2);
         last();
       },
       previewed("Über Varnolis")},
      {"mnuVorschau",
       [&] {
         window->SetPreview(&preview);
         inTree("Offene Posten")();
       },
       previewed("Offene Posten")},
      {"mnuZeigeRubrik", inTree("Info"), shown(1, "txbRubrikenRubrik", "Info")},
      {"mnuZeigeDaten", inTree("Offene Posten"), shown(2, "txbDatenTitel", "Offene Posten")},
      {"mnuZeigeZuordnung", inTree("Offene Posten"),
       [&] {
         return window->SelectedTab() == 3 &&
                VariantText(window->CurrentRecords()->Value("ID_Zuordnung")) == "4";
       }},
      {"mnuNeueZuordnung", inTree("Notizen"),
       [&] { return window->SelectedTab() == 3 && editing(); }},
  };
  RunPressCase(
      cases, GetParam(), [&] { Open(true); },
      [&](const std::string& control) { window->Press(CommandOf(control)); });
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
