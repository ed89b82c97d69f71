// The Windows front's wiring, one case per pressable row of the layout table and per entry of
// the tree's menu: the button's click (BM_CLICK) or the menu entry's command message runs the
// action of that control.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "config/core/data_link.h"
#include "config/core/start_files.h"
#include "tests/config/core/pressable_controls.h"
#include "tests/config_win32/window_fixture.h"

namespace vn::config::testing {
namespace {

class CountingDataLink : public DataLinkPrompt {
 public:
  int newPrompts = 0;
  std::optional<std::string> PromptNew() override {
    ++newPrompts;
    return std::nullopt;
  }
  std::optional<std::string> PromptEdit(const std::string&) override { return std::nullopt; }
};

class WiringWindowsTest : public KonfigurationWindowsTest,
                          public ::testing::WithParamInterface<std::string> {
 protected:
  long Position() { return frm->Core().CurrentRecords()->AbsolutePosition(); }
  std::string NetLinks() { return folder + "\\NetLinks"; }
  bool ControlFileExists() { return FileExists(NetLinks() + "\\Varnolis.ctl"); }
  void SetText(const std::string& name, const std::string& text) {
    ::SetFocus(C(name));
    ::SendMessageW(C(name), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(vn::win32::Widen(text).c_str()));
    Notify(C(name), EN_CHANGE);
  }
  // The button's click, or the menu entry's command as the chosen entry sends it.
  void Press(const std::string& name) {
    int command = win32::frmKonfiguration::kFirstMenuCommand;
    for (const MenuItem& item : AssignmentTree::MenuItems()) {
      if (name == item.name) {
        ::SendMessageW(frm->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
        return;
      }
      ++command;
    }
    ::SendMessageW(C(name), BM_CLICK, 0, 0);
  }
};

TEST_P(WiringWindowsTest, AClickRunsTheControlsAction) {
  struct Case {
    const char* control;
    std::function<void()> arrange;
    std::function<bool()> done;  // whether the control's action has run
  };
  KonfigurationWindow* core = nullptr;
  CountingDataLink dataLink;
  const Case cases[] = {
      {"cmdInfo", [] {}, [&] { return dialogs.infoShown == 1; }},
      {"cmdMoveFirst", [&] { core->cmdMoveLast_Click(); }, [&] { return Position() == 1; }},
      {"cmdMovePrevious", [&] { core->cmdMoveLast_Click(); }, [&] { return Position() == 4; }},
      {"cmdMoveNext", [] {}, [&] { return Position() == 2; }},
      {"cmdMoveLast", [] {}, [&] { return Position() == 5; }},
      {"cmdDelete",
       [&] {
         core->cmdMoveLast_Click();
         prompts.answers = {MsgResult::kNo};
       },
       [&] { return prompts.shown.size() == 1; }},
      {"cmdAddNew", [] {}, [&] { return StatusPanel(1) == "neu"; }},
      {"cmdCancel", [&] { core->cmdAddNew_Click(); }, [&] { return StatusPanel(1) != "neu"; }},
      {"cmdOK",
       [&] {
         core->cmdMoveNext_Click();
         SetText("txbRubrikenTitel", "Gespeichert");
       },
       [&] { return Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2") == "Gespeichert"; }},
      {"cmdReset", [&] { core->WriteDebugLine("x"); }, [&] { return Text("txbStatus").empty(); }},
      {"cmdLine", [] {},
       [&] {
         const std::string box = Text("txbStatus");
         return box.size() >= 17 && box.substr(box.size() - 17) == "---------------\r\n";
       }},
      {"cmdVerbindung",
       [&] {
         core->SetConnectionTools(nullptr, &dataLink);
         core->SelectTab(2);
         core->cmdMoveLast_Click();
       },
       [&] { return dataLink.newPrompts == 1; }},
      {"cmdMinMaxDatenVerbindung",
       [&] {
         core->SelectTab(2);
         core->cmdMoveLast_Click();
       },
       [&] { return Text("cmdMinMaxDatenVerbindung") == FieldSizes::CaptionEnlarged(); }},
      {"cmdMinMaxDatenAbfrage",
       [&] {
         core->SelectTab(2);
         core->cmdMoveLast_Click();
       },
       [&] { return Text("cmdMinMaxDatenAbfrage") == FieldSizes::CaptionEnlarged(); }},
      {"cmdStartDateienErstellen",
       [&] {
         std::filesystem::create_directories(std::filesystem::u8path(NetLinks()));
         core->SelectTab(5);
         SetText("txbNetlinks", NetLinks());
       },
       [&] { return ControlFileExists(); }},
      {"cmdStartDateienEntfernen",
       [&] {
         std::filesystem::create_directories(std::filesystem::u8path(NetLinks()));
         CreateStartFiles(NetLinks(), "Start", prompts);
         core->SelectTab(5);
         SetText("txbNetlinks", NetLinks());
         prompts.answers = {MsgResult::kYes};
       },
       [&] { return !ControlFileExists(); }},
      {"mnuZeigeRubrik",
       [&] {
         core->SelectTab(4);
         Select(Find("", "Info"));
       },
       [&] { return core->SelectedTab() == 1; }},
      {"mnuZeigeDaten",
       [&] {
         core->SelectTab(4);
         Select(Find("Offene_Posten", "Offene Posten"));
       },
       [&] { return core->SelectedTab() == 2; }},
      {"mnuZeigeZuordnung",
       [&] {
         core->SelectTab(4);
         Select(Find("Offene_Posten", "Offene Posten"));
       },
       [&] { return core->SelectedTab() == 3; }},
      {"mnuNeueZuordnung",
       [&] {
         core->SelectTab(4);
         Select(Find("", "Notizen"));
       },
       [&] { return core->SelectedTab() == 3 && StatusPanel(1) == "neu"; }},
  };
  const Case* found = nullptr;
  for (const Case& c : cases)
    if (GetParam() == c.control) found = &c;
  ASSERT_NE(found, nullptr) << "no case for " << GetParam();
  OpenWindow(96, true);
  core = &frm->Core();
  found->arrange();
  ASSERT_FALSE(found->done()) << "done before the press";
  Press(GetParam());
  EXPECT_TRUE(found->done());
}

INSTANTIATE_TEST_SUITE_P(Controls, WiringWindowsTest, ::testing::ValuesIn(PressableControls()),
                         ControlCaseName);

}  // namespace
}  // namespace vn::config::testing
