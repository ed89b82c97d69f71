// The configuration window over a configuration database of its own: layout, record position
// and protection, keyboard commands, the edits that must reach the database whatever the mode
// before, the special field rules, cancel and the debug box.
#include <QStatusBar>

#include "config/qt/twips.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

using WindowTest = RealDataTest;

TEST_F(WindowTest, LayoutCaptionsTabsTooltipsAndMinimumSize) {
  Open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Varnolis - Konfiguration"));
  auto* tabs = window->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Rubriken"));
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("Ü&bersicht"));
  EXPECT_EQ(tabs->tabText(4), QStringLiteral("&Startoptionen"));
  EXPECT_EQ(Button("cmdOK")->toolTip(), QStringLiteral("Dateneingabe übernehmen"));
  EXPECT_EQ(Button("cmdMoveNext")->toolTip(), QStringLiteral("Nächster Datensatz"));
  EXPECT_EQ(Child<QPushButton>("cmdMinMaxDatenAbfrage")->toolTip(),
            QStringLiteral("Feldgröße verändern "));
  // The bar's buttons are 375 twips square at their places.
  const int tpp = TwipsPerPixelX();
  EXPECT_EQ(Button("cmdDelete")->x() * tpp, 2040);
  EXPECT_EQ(Button("cmdOK")->x() * tpp, 3600);
  EXPECT_EQ(Button("cmdOK")->width() * tpp, 375);
  EXPECT_EQ(Core().FieldGap(), 120);
  // The debug box lies below the visible area.
  EXPECT_GT(Child<QPlainTextEdit>("txbStatus")->y(), window->centralWidget()->height());
  // The window cannot be made so small that the button bar or the status bar is cut off.
  QWidget* bar = Child<QWidget>("picDatenSteuerung");
  EXPECT_GE(window->minimumHeight(),
            bar->y() + bar->height() + window->statusBar()->sizeHint().height());
  window->resize(window->width(), 50);
  EXPECT_GE(window->height(), window->minimumHeight());
}

TEST_F(WindowTest, EmptyTableOffersOnlyAddAndDisablesTheFields) {
  Execute("DELETE FROM Zuordnungen; DELETE FROM Rubriken;");
  Open();
  EXPECT_EQ(StatusText(), QStringLiteral("Es sind keine Datensätze vorhanden."));
  EXPECT_EQ(BarState(), "00000100");
  EXPECT_FALSE(Child<QFrame>("frTab0")->isEnabled());
}

TEST_F(WindowTest, OneRecordDisablesAllNavigation) {
  Execute("DELETE FROM Zuordnungen; DELETE FROM Rubriken WHERE ID_Rubrik <> 2;");
  Open();
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 1"));
  EXPECT_EQ(BarState().substr(0, 6), "000011");
  EXPECT_TRUE(Child<QFrame>("frTab0")->isEnabled());
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Rechnungen"));
}

TEST_F(WindowTest, RecordOneIsProtectedTheOthersAreEditable) {
  Open();
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 5"));
  EXPECT_EQ(BarState(), "00110100");
  EXPECT_FALSE(Child<QFrame>("frTab0")->isEnabled());
  Core().cmdMoveNext_Click();
  EXPECT_EQ(StatusText(), QStringLiteral("2. Datensatz von 5"));
  EXPECT_EQ(BarState(), "11111100");
  EXPECT_TRUE(Child<QFrame>("frTab0")->isEnabled());
  EXPECT_EQ(EditPanel(), QStringLiteral("gewechselt"));
  Core().cmdMoveLast_Click();
  EXPECT_EQ(BarState(), "11001100");
}

// A click that arrives through the window system, as the mouse gives it, presses the button.
TEST_F(WindowTest, AMouseClickOnABarButtonMoves) {
  Open();
  QToolButton* next = Button("cmdMoveNext");
  const QPoint at = next->mapTo(window.get(), next->rect().center());
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
  EXPECT_EQ(Position(), 2);
}

TEST_F(WindowTest, CtrlUpGoesFirstCtrlShiftUpGoesPrevious) {
  Open();
  FocusOnInfoButton();
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus, Qt::Key_End);
  EXPECT_EQ(Position(), 5);
  QTest::keyClick(focus, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Position(), 4);
  QTest::keyClick(focus, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Position(), 1);
  QTest::keyClick(focus, Qt::Key_PageDown);
  EXPECT_EQ(Position(), 2);
  QTest::keyClick(focus, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(Position(), 5);
  QTest::keyClick(focus, Qt::Key_Home);
  EXPECT_EQ(Position(), 1);
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 5"));
  // A key whose button is off goes on to the control.
  QTest::keyClick(focus, Qt::Key_Up);
  EXPECT_EQ(Position(), 1);
}

TEST_F(WindowTest, DeleteKeyEditsATextFieldAndDeletesOnlyFromOtherControls) {
  Open();
  Core().cmdMoveNext_Click();
  auto* titel = Child<QLineEdit>("txbRubrikenTitel");
  titel->setFocus();
  titel->setCursorPosition(0);
  QTest::keyClick(titel, Qt::Key_Delete);
  EXPECT_EQ(titel->text(), QStringLiteral("echnungen mit Positionen"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));

  Core().cmdCancel_Click();
  EXPECT_EQ(titel->text(), QStringLiteral("Rechnungen mit Positionen"));
  FocusOnInfoButton();
  messages.answers = {MsgResult::kNo};
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  // The rubric shows a data entry: the question names it.
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Der aktuellen Rubrik sind diese Daten zugeordnet:\n\nRechnungen\n\n"
                           "Sollen die Rubrik und ihre Zuordnungen gelöscht werden? Die Daten "
                           "selbst bleiben erhalten."));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(Query("SELECT count(*) FROM Rubriken"), "5");
}

// One keystroke after a move is an edit like any other: it is saved when the tab changes.
TEST_F(WindowTest, OneKeystrokeAfterAMoveThenATabChangeIsInTheDatabase) {
  Open();
  Core().cmdMoveNext_Click();
  Core().cmdMoveNext_Click();
  EXPECT_EQ(EditPanel(), QStringLiteral("gewechselt"));
  auto* titel = Child<QLineEdit>("txbRubrikenTitel");
  QTest::mouseClick(titel, Qt::LeftButton);
  titel->end(false);
  QTest::keyClick(titel, Qt::Key_X);
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  EXPECT_EQ(BarState().substr(4), "0011");
  Core().SelectTab(2);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Query("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 3"), "Offene Postenx");
  EXPECT_EQ(Core().SelectedTab(), 2);
}

TEST_F(WindowTest, APickInTheDatenListThenClosingTheWindowIsInTheDatabase) {
  Open();
  Core().SelectTab(3);
  Core().cmdMoveNext_Click();  // assignment 2: Start, Ansprechpartner
  QComboBox* daten = Child<QComboBox>("cbxZuordnungenDaten");
  EXPECT_EQ(daten->currentText(), QStringLiteral("Ansprechpartner"));
  daten->setFocus();
  QTest::keyClick(daten, Qt::Key_Down);
  EXPECT_EQ(daten->currentText(), QStringLiteral("Über Varnolis"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  EXPECT_TRUE(window->close());
  EXPECT_EQ(Query("SELECT Daten_ID FROM Zuordnungen WHERE ID_Zuordnung = 2"), "5");
}

TEST_F(WindowTest, ReplacingARangAfterAMoveIsSavedByTheNextMove) {
  Open();
  Core().SelectTab(3);
  Core().cmdMoveNext_Click();
  Core().cmdMoveNext_Click();
  Core().cmdMoveNext_Click();  // assignment 5: Offene_Posten, Rang 0
  auto* rang = Child<QLineEdit>("txbZuordnungenRang");
  ASSERT_EQ(rang->text(), QStringLiteral("0"));
  rang->setFocus();
  rang->selectAll();
  QTest::keyClick(rang, Qt::Key_2);
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  Core().cmdMoveNext_Click();
  EXPECT_EQ(Query("SELECT Rang FROM Zuordnungen WHERE ID_Zuordnung = 5"), "2");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowTest, SpacesInTheRubricNameBecomeUnderscoresAndTheCaretStays) {
  Open();
  Core().cmdMoveNext_Click();
  auto* name = Child<QLineEdit>("txbRubrikenRubrik");
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Neue Kunden");
  EXPECT_EQ(name->text(), QStringLiteral("Neue_Kunden"));
  EXPECT_EQ(name->cursorPosition(), 11);
  name->setCursorPosition(4);
  QTest::keyClick(name, Qt::Key_Space);
  EXPECT_EQ(name->text(), QStringLiteral("Neue__Kunden"));
  EXPECT_EQ(name->cursorPosition(), 5);
  EXPECT_EQ(Current("Rubrik"), QStringLiteral("Neue__Kunden"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
}

TEST_F(WindowTest, AddedRubricIsSavedByEnterOnAButton) {
  Open();
  Core().cmdAddNew_Click();
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  auto* name = Child<QLineEdit>("txbRubrikenRubrik");
  EXPECT_EQ(QApplication::focusWidget(), name);
  EXPECT_EQ(StatusText(), QStringLiteral("6. Datensatz von 6"));
  QTest::keyClicks(name, "Lager");
  Type("txbRubrikenRang", QStringLiteral("7"));
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  FocusOnInfoButton();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // Enter presses OK
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Query("SELECT ID_Rubrik, Rang, Rubrik FROM Rubriken WHERE Rubrik = 'Lager'"),
            "6|7|Lager");
  EXPECT_EQ(StatusText(), QStringLiteral("6. Datensatz von 6"));
}

TEST_F(WindowTest, CancelOfANewRecordReturnsToTheRecordBefore) {
  Open();
  Core().cmdMoveNext_Click();
  Core().cmdAddNew_Click();
  QTest::keyClicks(Child<QLineEdit>("txbRubrikenRubrik"), "Neu");
  QTest::keyClick(Child<QLineEdit>("txbRubrikenRubrik"),
                  Qt::Key_Escape);  // a text field: no cancel
  EXPECT_EQ(Core().CurrentRecords()->RecordCount(), 6);
  Core().cmdCancel_Click();
  EXPECT_EQ(Core().CurrentRecords()->RecordCount(), 5);
  EXPECT_EQ(StatusText(), QStringLiteral("2. Datensatz von 5"));
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Rechnungen"));
  EXPECT_EQ(Query("SELECT count(*) FROM Rubriken"), "5");
}

TEST_F(WindowTest, DebugBoxStaysClosedWhenDebuggingIsOff) {
  Open(false);
  const int height = window->height();
  Core().cmdMoveNext_Click();
  Core().WriteDebugLine("x");
  Child<QPushButton>("cmdLine")->click();
  EXPECT_EQ(Child<QPlainTextEdit>("txbStatus")->toPlainText(), QString());
  EXPECT_EQ(window->height(), height);
}

TEST_F(WindowTest, DebugBoxShowsTraceLinesWhenDebuggingIsOn) {
  Open(true);
  auto* box = Child<QPlainTextEdit>("txbStatus");
  FocusOnInfoButton();
  Child<QPushButton>("cmdReset")->click();
  Core().cmdMoveNext_Click();
  Child<QPushButton>("cmdLine")->click();
  // The bound fields change while the focus is elsewhere, then the move is reported.
  EXPECT_EQ(box->toPlainText(),
            QStringLiteral("Aktuell Falsches Control: txbRubrikenRubrik/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenRang/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenTitel/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenMenueText/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenBemerkung/cmdInfo\n"
                           "rstabRubriken Record Moved - Reason: MoveNext\n---------------\n"));
  EXPECT_GE(window->height(), box->y() + box->height());
  Child<QPushButton>("cmdReset")->click();
  EXPECT_EQ(box->toPlainText(), QString());
}

}  // namespace
}  // namespace vn::config::testing
