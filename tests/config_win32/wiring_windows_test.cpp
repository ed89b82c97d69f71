// The Windows front's wiring, one case per pressable row of the layout table and per entry of
// the tree's menu: the button's click (BM_CLICK) or the menu entry's command message runs the
// action of that control.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "config/core/data_link.h"
#include "config/core/start_files.h"
#include "config/win32/preview_window.h"
#include "tests/config/core/press_cases.h"
#include "tests/config_win32/window_fixture.h"

namespace vn::config::testing {
namespace {

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
  KonfigurationWindow* core = nullptr;
  CountingDataLink dataLink;
  win32::frmVorschau preview(::GetModuleHandleW(nullptr), nullptr);
  auto previewed = [&](const char* title) {
    return [&preview, title] {
      std::wstring text(64, L'\0');
      text.resize(static_cast<size_t>(
          ::GetWindowTextW(preview.Handle(), text.data(), static_cast<int>(text.size()))));
      return ::IsWindowVisible(preview.Handle()) != FALSE && vn::win32::Narrow(text) == title;
    };
  };
  auto last = [&] { core->cmdMoveLast_Click(); };
  auto at = [&](long position) { return [this, position] { return Position() == position; }; };
  auto editing = [&] { return StatusPanel(1) == "neu"; };
  // An entry of the tab Daten whose fields take input.
  auto onDaten = [&] {
    core->SetConnectionTools(nullptr, &dataLink);
    core->SelectTab(2);
    core->cmdMoveLast_Click();
  };
  auto enlarged = [&](const char* button) {
    return [this, button] { return Text(button) == FieldSizes::CaptionEnlarged(); };
  };
  auto startOptions = [&](bool withFiles) {
    return [this, withFiles, &core] {
      std::filesystem::create_directories(std::filesystem::u8path(NetLinks()));
      if (withFiles) CreateStartFiles(NetLinks(), "Start", prompts);
      core->SelectTab(5);
      SetText("txbNetlinks", NetLinks());
      prompts.answers = {MsgResult::kYes};
    };
  };
  auto inTree = [&](const char* parent, const char* text) {
    return [this, parent, text, &core] {
      core->SelectTab(4);
      Select(Find(parent, text));
    };
  };
  auto onTab = [&](int tab) { return [tab, &core] { return core->SelectedTab() == tab; }; };
  const PressCase cases[] = {
      {"cmdInfo", [] {}, [&] { return dialogs.infoShown == 1; }},
      {"cmdMoveFirst", last, at(1)},
      {"cmdMovePrevious", last, at(4)},
      {"cmdMoveNext", [] {}, at(2)},
      {"cmdMoveLast", [] {}, at(5)},
      {"cmdDelete",
       [&] {
         last();
         prompts.answers = {MsgResult::kNo};
       },
       [&] { return prompts.shown.size() == 1; }},
      {"cmdAddNew", [] {}, editing},
      {"cmdCancel", [&] { core->cmdAddNew_Click(); }, [&] { return !editing(); }},
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
      {"cmdVerbindung", onDaten, [&] { return dataLink.newPrompts == 1; }},
      {"cmdMinMaxDatenVerbindung", onDaten, enlarged("cmdMinMaxDatenVerbindung")},
      {"cmdMinMaxDatenAbfrage", onDaten, enlarged("cmdMinMaxDatenAbfrage")},
      {"cmdKopieren", onDaten,
       [&] { return editing() && Text("txbDatenTitel") == "Über Varnolis (Kopie)"; }},
      {"cmdNetlinksOrdner",
       [&] {
         core->SelectTab(5);
         prompts.folder = NetLinks();
       },
       [&] { return Text("txbNetlinks") == NetLinks(); }},
      {"cmdStartDateienErstellen", startOptions(false), [&] { return ControlFileExists(); }},
      {"cmdStartDateienEntfernen", startOptions(true), [&] { return !ControlFileExists(); }},
      {"cmdVorschau",
       [&] {
         core->SetPreview(&preview.Control());
         onDaten();
       },
       previewed("Vorschau - Über Varnolis")},
      {"mnuVorschau",
       [&] {
         core->SetPreview(&preview.Control());
         inTree("Offene_Posten", "Offene Posten")();
       },
       previewed("Vorschau - Offene Posten")},
      {"mnuZeigeRubrik", inTree("", "Info"), onTab(1)},
      {"mnuZeigeDaten", inTree("Offene_Posten", "Offene Posten"), onTab(2)},
      {"mnuZeigeZuordnung", inTree("Offene_Posten", "Offene Posten"), onTab(3)},
      {"mnuNeueZuordnung", inTree("", "Notizen"), [&] { return onTab(3)() && editing(); }},
  };
  RunPressCase(
      cases, GetParam(),
      [&] {
        OpenWindow(96, true);
        core = &frm->Core();
      },
      [&](const std::string& control) { Press(control); });
}

INSTANTIATE_TEST_SUITE_P(Controls, WiringWindowsTest, ::testing::ValuesIn(PressableControls()),
                         ControlCaseName);

}  // namespace
}  // namespace vn::config::testing
