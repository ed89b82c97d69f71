// The Qt front's wiring, one case per pressable row of the layout table and per entry of the
// tree's menu: a click on the widget (or the entry's trigger) runs the action of that control.
#include <QAction>
#include <QAbstractButton>
#include <QTimer>

#include "config/core/start_files.h"
#include "config/qt/preview_window.h"
#include "core/press_cases.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

class WiringTest : public RealDataTest, public ::testing::WithParamInterface<std::string> {
 protected:
  QString DebugBox() { return Child<QPlainTextEdit>("txbStatus")->toPlainText(); }
  std::string NetLinks() { return folder + "/NetLinks"; }
  // The widget's click as the mouse gives it, or the menu entry's trigger.
  void Press(const std::string& name) {
    if (auto* action = window->findChild<QAction*>(QString::fromStdString(name))) {
      action->trigger();
      return;
    }
    Child<QAbstractButton>(name.c_str())->click();
  }
};

TEST_P(WiringTest, AClickRunsTheControlsAction) {
  QString aboutTitle;
  auto closeAbout = [&] {
    QTimer::singleShot(0, [&] {
      if (QWidget* about = QApplication::activeModalWidget()) {
        aboutTitle = about->windowTitle();
        about->close();
      }
    });
  };
  QString chooserTitle;
  frmVorschau preview(nullptr);
  auto previewed = [&](const char* title) {
    return [&preview, title] {
      return preview.isVisible() && preview.windowTitle() == QString::fromUtf8(title);
    };
  };
  auto last = [&] { Core().cmdMoveLast_Click(); };
  auto at = [&](long position) { return [this, position] { return Position() == position; }; };
  auto editing = [&] { return EditPanel() == QStringLiteral("neu"); };
  // An entry of the tab Daten whose fields take input.
  auto onDaten = [&] {
    Core().SelectTab(2);
    Core().cmdMoveLast_Click();
  };
  auto enlarged = [&](const char* button) {
    return [this, button] {
      return Child<QPushButton>(button)->text() == QString::fromUtf8(FieldSizes::CaptionEnlarged());
    };
  };
  auto startOptions = [&](bool withFiles) {
    return [this, withFiles] {
      std::filesystem::create_directories(NetLinks());
      if (withFiles) CreateStartFiles(NetLinks(), "Start", messages);
      Core().SelectTab(5);
      Child<QLineEdit>("txbNetlinks")->setText(QString::fromStdString(NetLinks()));
      messages.answers = {MsgResult::kYes};
    };
  };
  auto controlFile = [&] { return std::filesystem::exists(NetLinks() + "/Varnolis.ctl"); };
  auto inTree = [&](const char* text, const char* parent) {
    return [this, text, parent] {
      Core().SelectTab(4);
      Tree()->setCurrentItem(FindNode(QString::fromUtf8(text), QString::fromUtf8(parent)));
    };
  };
  auto onTab = [&](int tab) { return [this, tab] { return Core().SelectedTab() == tab; }; };
  const PressCase cases[] = {
      {"cmdInfo", closeAbout,
       [&] { return aboutTitle == QStringLiteral("Informationen über das Programm"); }},
      {"cmdMoveFirst", last, at(1)},
      {"cmdMovePrevious", last, at(4)},
      {"cmdMoveNext", [] {}, at(2)},
      {"cmdMoveLast", [] {}, at(5)},
      {"cmdDelete",
       [&] {
         last();
         messages.answers = {MsgResult::kNo};
       },
       [&] { return messages.shown.size() == 1; }},
      {"cmdAddNew", [] {}, editing},
      {"cmdCancel", [&] { Core().cmdAddNew_Click(); }, [&] { return !editing(); }},
      {"cmdOK",
       [&] {
         Core().cmdMoveNext_Click();
         Type("txbRubrikenTitel", QStringLiteral("Gespeichert"));
       },
       [&] { return Query("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2") == "Gespeichert"; }},
      {"cmdReset", [&] { Core().WriteDebugLine("x"); }, [&] { return DebugBox().isEmpty(); }},
      {"cmdLine", [] {}, [&] { return DebugBox().endsWith(QStringLiteral("---------------\n")); }},
      {"cmdVerbindung", onDaten, [&] { return dataLink.newCalls == 1; }},
      {"cmdMinMaxDatenVerbindung", onDaten, enlarged("cmdMinMaxDatenVerbindung")},
      {"cmdMinMaxDatenAbfrage", onDaten, enlarged("cmdMinMaxDatenAbfrage")},
      {"cmdKopieren", onDaten,
       [&] { return editing() && Text("txbDatenTitel") == QStringLiteral("Über Varnolis (Kopie)"); }},
      {"cmdNetlinksOrdner",
       [&] {
         Core().SelectTab(5);
         // The folder chooser opens modal: its title noted, then cancelled.
         QTimer::singleShot(0, [&] {
           if (QWidget* chooser = QApplication::activeModalWidget()) {
             chooserTitle = chooser->windowTitle();
             chooser->close();
           }
         });
       },
       [&] { return chooserTitle == QStringLiteral("Netlinks-Ordner"); }},
      {"cmdStartDateienErstellen", startOptions(false), controlFile},
      {"cmdStartDateienEntfernen", startOptions(true), [&] { return !controlFile(); }},
      {"cmdVorschau",
       [&] {
         Core().SetPreview(&preview.Control());
         onDaten();
       },
       previewed("Vorschau - Über Varnolis")},
      {"mnuVorschau",
       [&] {
         Core().SetPreview(&preview.Control());
         inTree("Offene Posten", "Offene_Posten")();
       },
       previewed("Vorschau - Offene Posten")},
      {"mnuZeigeRubrik", inTree("Info", ""), onTab(1)},
      {"mnuZeigeDaten", inTree("Offene Posten", "Offene_Posten"), onTab(2)},
      {"mnuZeigeZuordnung", inTree("Offene Posten", "Offene_Posten"), onTab(3)},
      {"mnuNeueZuordnung", inTree("Notizen", ""), [&] { return onTab(3)() && editing(); }},
  };
  RunPressCase(
      cases, GetParam(), [&] { Open(true); }, [&](const std::string& control) { Press(control); });
}

INSTANTIATE_TEST_SUITE_P(Controls, WiringTest, ::testing::ValuesIn(PressableControls()),
                         ControlCaseName);

}  // namespace
}  // namespace vn::config::testing
