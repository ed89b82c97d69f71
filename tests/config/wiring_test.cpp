// The Qt front's wiring, one case per pressable row of the layout table and per entry of the
// tree's menu: a click on the widget (or the entry's trigger) runs the action of that control.
#include <QAction>
#include <QAbstractButton>
#include <QTimer>

#include "config/core/start_files.h"
#include "core/pressable_controls.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

class WiringTest : public RealDataTest, public ::testing::WithParamInterface<std::string> {
 protected:
  QString DebugBox() { return Child<QPlainTextEdit>("txbStatus")->toPlainText(); }
  std::string NetLinks() { return folder + "/NetLinks"; }
  void SelectNode(const char* text, const char* parent) {
    Tree()->setCurrentItem(FindNode(QString::fromUtf8(text), QString::fromUtf8(parent)));
  }
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
  struct Case {
    const char* control;
    std::function<void()> arrange;
    std::function<bool()> done;  // whether the control's action has run
  };
  QString aboutTitle;
  const Case cases[] = {
      {"cmdInfo",
       [&] {
         QTimer::singleShot(0, [&] {
           if (QWidget* about = QApplication::activeModalWidget()) {
             aboutTitle = about->windowTitle();
             about->close();
           }
         });
       },
       [&] { return aboutTitle == QStringLiteral("Informationen über das Programm"); }},
      {"cmdMoveFirst", [&] { Core().cmdMoveLast_Click(); }, [&] { return Position() == 1; }},
      {"cmdMovePrevious", [&] { Core().cmdMoveLast_Click(); }, [&] { return Position() == 4; }},
      {"cmdMoveNext", [] {}, [&] { return Position() == 2; }},
      {"cmdMoveLast", [] {}, [&] { return Position() == 5; }},
      {"cmdDelete",
       [&] {
         Core().cmdMoveLast_Click();
         messages.answers = {MsgResult::kNo};
       },
       [&] { return messages.shown.size() == 1; }},
      {"cmdAddNew", [] {}, [&] { return EditPanel() == QStringLiteral("neu"); }},
      {"cmdCancel", [&] { Core().cmdAddNew_Click(); },
       [&] { return EditPanel() != QStringLiteral("neu"); }},
      {"cmdOK",
       [&] {
         Core().cmdMoveNext_Click();
         Type("txbRubrikenTitel", QStringLiteral("Gespeichert"));
       },
       [&] { return Query("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2") == "Gespeichert"; }},
      {"cmdReset", [&] { Core().WriteDebugLine("x"); }, [&] { return DebugBox().isEmpty(); }},
      {"cmdLine", [] {}, [&] { return DebugBox().endsWith(QStringLiteral("---------------\n")); }},
      {"cmdVerbindung",
       [&] {
         Core().SelectTab(2);
         Core().cmdMoveLast_Click();
       },
       [&] { return dataLink.newCalls == 1; }},
      {"cmdMinMaxDatenVerbindung",
       [&] {
         Core().SelectTab(2);
         Core().cmdMoveLast_Click();
       },
       [&] {
         return Child<QPushButton>("cmdMinMaxDatenVerbindung")->text() ==
                QString::fromUtf8(FieldSizes::CaptionEnlarged());
       }},
      {"cmdMinMaxDatenAbfrage",
       [&] {
         Core().SelectTab(2);
         Core().cmdMoveLast_Click();
       },
       [&] {
         return Child<QPushButton>("cmdMinMaxDatenAbfrage")->text() ==
                QString::fromUtf8(FieldSizes::CaptionEnlarged());
       }},
      {"cmdStartDateienErstellen",
       [&] {
         std::filesystem::create_directories(NetLinks());
         Core().SelectTab(5);
         Child<QLineEdit>("txbNetlinks")->setText(QString::fromStdString(NetLinks()));
       },
       [&] { return std::filesystem::exists(NetLinks() + "/Varnolis.ctl"); }},
      {"cmdStartDateienEntfernen",
       [&] {
         std::filesystem::create_directories(NetLinks());
         CreateStartFiles(NetLinks(), "Start", messages);
         Core().SelectTab(5);
         Child<QLineEdit>("txbNetlinks")->setText(QString::fromStdString(NetLinks()));
         messages.answers = {MsgResult::kYes};
       },
       [&] { return !std::filesystem::exists(NetLinks() + "/Varnolis.ctl"); }},
      {"mnuZeigeRubrik",
       [&] {
         Core().SelectTab(4);
         SelectNode("Info", "");
       },
       [&] { return Core().SelectedTab() == 1; }},
      {"mnuZeigeDaten",
       [&] {
         Core().SelectTab(4);
         SelectNode("Offene Posten", "Offene_Posten");
       },
       [&] { return Core().SelectedTab() == 2; }},
      {"mnuZeigeZuordnung",
       [&] {
         Core().SelectTab(4);
         SelectNode("Offene Posten", "Offene_Posten");
       },
       [&] { return Core().SelectedTab() == 3; }},
      {"mnuNeueZuordnung",
       [&] {
         Core().SelectTab(4);
         SelectNode("Notizen", "");
       },
       [&] { return Core().SelectedTab() == 3 && EditPanel() == QStringLiteral("neu"); }},
  };
  const Case* found = nullptr;
  for (const Case& c : cases)
    if (GetParam() == c.control) found = &c;
  ASSERT_NE(found, nullptr) << "no case for " << GetParam();
  Open(true);
  found->arrange();
  ASSERT_FALSE(found->done()) << "done before the press";
  Press(GetParam());
  EXPECT_TRUE(found->done());
}

INSTANTIATE_TEST_SUITE_P(Controls, WiringTest, ::testing::ValuesIn(PressableControls()),
                         ControlCaseName);

}  // namespace
}  // namespace vn::config::testing
