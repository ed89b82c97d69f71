#include <QStatusBar>

#include "config/record_status.h"
#include "config/twips.h"
#include "window_fixture.h"

namespace vn::config::testing {
namespace {

TEST(RecordStatusTextTest, EveryFlagSetGivesItsLineInOrderEachAfterALineBreak) {
  EXPECT_EQ(RecordStatusText(0), QString());
  EXPECT_EQ(RecordStatusText(0x8), QStringLiteral("\nEs gibt keine anstehenden Änderungen in diesen Datensatz."));
  EXPECT_EQ(RecordStatusText(0x40004),
            QStringLiteral("\nDer Datensatz wurde aus der Datensatzgruppe gelöscht."
                           "\nDer Datensatz wurde aus der Datenquelle gelöscht."));
  EXPECT_EQ(RecordStatusText(0x1001),
            QStringLiteral("\nDer Datensatz ist ein neuer anstehender Datensatz, der noch nicht in "
                           "der Datenbank gespeichert wurde.\nDer Datensatz wurde nicht gespeichert, "
                           "da der Benutzer die Integritätseinschränkungen verletzt hat."));
  // 0x20 and 0x200 are no flags of their own.
  EXPECT_EQ(RecordStatusText(0x220), QString());
}

TEST(RecordStatusTextTest, ReasonWords) {
  EXPECT_EQ(GetADOEventReason(1), QStringLiteral("AddNew"));
  EXPECT_EQ(GetADOEventReason(11), QStringLiteral("FirstChange"));
  EXPECT_EQ(GetADOEventReason(15), QStringLiteral("MoveLast"));
  EXPECT_EQ(GetADOEventReason(0), QStringLiteral("Unkown"));
  EXPECT_EQ(GetADOEventReason(16), QStringLiteral("Unkown"));
}

TEST_F(WindowTest, LayoutCaptionsTabsAndTooltips) {
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
  EXPECT_EQ(window->FieldGap(), 120);
  // The debug box lies below the visible area.
  EXPECT_GT(Child<QPlainTextEdit>("txbStatus")->y(), window->centralWidget()->height());
}

TEST_F(WindowTest, EditModesSetPanelTextAndButtons) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden"), Rubrik(3, 3, "Aufträge")};
  Open();
  window->cmdMoveNext_Click();  // record 2: navigation all on
  const char* texts[] = {"", "geändert", "gespeichert", "gewechselt", "neu"};
  const char* states[] = {"11111100", "11110011", "11111100", "11111100", "00000011"};
  for (int mode = 0; mode <= 4; ++mode) {
    window->UpdateRecordsetStatus();
    window->SetEditMode(mode);
    EXPECT_EQ(EditPanel(), QString::fromUtf8(texts[mode])) << mode;
    EXPECT_EQ(window->GetEditMode(), mode);
    EXPECT_EQ(BarState(), states[mode]) << mode;
  }
  window->SetEditMode(7);
  EXPECT_EQ(window->GetEditMode(), 4);
  window->SetEditMode(1);
  EXPECT_EQ(window->SavedBookmark(), rubriken->Bookmark());
}

TEST_F(WindowTest, EmptyTableOffersOnlyAddAndDisablesTheFields) {
  Open();
  EXPECT_EQ(window->StatusText(), QStringLiteral("Es sind keine Datensätze vorhanden."));
  EXPECT_EQ(BarState(), "00000100");
  EXPECT_FALSE(Child<QFrame>("frTab0")->isEnabled());
}

TEST_F(WindowTest, OneRecordDisablesAllNavigation) {
  rubriken->database = {Rubrik(2, 1, "Kunden")};
  Open();
  EXPECT_EQ(window->StatusText(), QStringLiteral("1. Datensatz von 1"));
  EXPECT_EQ(BarState().substr(0, 6), "000011");
  EXPECT_TRUE(Child<QFrame>("frTab0")->isEnabled());
  EXPECT_EQ(Child<QLineEdit>("txbRubrikenRubrik")->text(), QStringLiteral("Kunden"));
}

TEST_F(WindowTest, RecordOneIsProtectedTheOthersAreEditable) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden"), Rubrik(3, 3, "Lager")};
  Open();
  EXPECT_EQ(window->StatusText(), QStringLiteral("1. Datensatz von 3"));
  EXPECT_EQ(BarState(), "00110100");
  EXPECT_FALSE(Child<QFrame>("frTab0")->isEnabled());
  window->cmdMoveNext_Click();
  EXPECT_EQ(window->StatusText(), QStringLiteral("2. Datensatz von 3"));
  EXPECT_EQ(BarState(), "11111100");
  EXPECT_TRUE(Child<QFrame>("frTab0")->isEnabled());
  EXPECT_EQ(EditPanel(), QStringLiteral("gewechselt"));
  window->cmdMoveLast_Click();
  EXPECT_EQ(BarState(), "11001100");
}

TEST_F(WindowTest, CtrlUpGoesFirstCtrlShiftUpGoesPrevious) {
  rubriken->database = {Rubrik(1, 1, "A"), Rubrik(2, 2, "B"), Rubrik(3, 3, "C"), Rubrik(4, 4, "D")};
  Open();
  FocusOnInfoButton();
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus, Qt::Key_End);
  EXPECT_EQ(rubriken->AbsolutePosition(), 4);
  QTest::keyClick(focus, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rubriken->AbsolutePosition(), 3);
  QTest::keyClick(focus, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(rubriken->AbsolutePosition(), 1);
  QTest::keyClick(focus, Qt::Key_PageDown);
  EXPECT_EQ(rubriken->AbsolutePosition(), 2);
  QTest::keyClick(focus, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(rubriken->AbsolutePosition(), 4);
  QTest::keyClick(focus, Qt::Key_Home);
  EXPECT_EQ(rubriken->AbsolutePosition(), 1);
  EXPECT_EQ(window->StatusText(), QStringLiteral("1. Datensatz von 4"));
  // A key whose button is off goes on to the control.
  QTest::keyClick(focus, Qt::Key_Up);
  EXPECT_EQ(rubriken->AbsolutePosition(), 1);
}

TEST_F(WindowTest, DeleteKeyEditsATextFieldAndDeletesOnlyFromOtherControls) {
  rubriken->database = {Rubrik(1, 1, "A"), Rubrik(2, 2, "Kunden"), Rubrik(3, 3, "C")};
  Open();
  window->cmdMoveNext_Click();
  auto* titel = Child<QLineEdit>("txbRubrikenTitel");
  titel->setFocus();
  titel->setCursorPosition(0);
  QTest::keyClick(titel, Qt::Key_Delete);
  EXPECT_EQ(titel->text(), QStringLiteral("itel Kunden"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(EditPanel(), QString());  // typing after a move leaves "gewechselt" for idle
  EXPECT_EQ(rubriken->RecordCount(), 3);

  window->cmdCancel_Click();
  FocusOnInfoButton();
  messages.answers = {MsgResult::kNo};
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Sind Sie sicher, dass Sie den aktuellen Datensatz löschen wolllen?"));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(rubriken->database.size(), 3u);
}

TEST_F(WindowTest, SpacesInTheRubricNameBecomeUnderscoresAndTheCaretStays) {
  rubriken->database = {Rubrik(1, 1, "A"), Rubrik(2, 2, "Kunden")};
  Open();
  window->cmdMoveNext_Click();
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
  EXPECT_EQ(rubriken->Value("Rubrik").As<std::string>(), "Neue__Kunden");
  // typing after a move: first 3 -> 0, then 0 -> 1
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
}

TEST_F(WindowTest, PastingATwoLineQueryGivesOneLine) {
  daten->database = {{std::int64_t{2}, "Umsatz", std::int64_t{1}, "Provider=SQLite;Data Source=a.db",
                      "SELECT 1", vn::data::Null{}}};
  Open();
  window->SelectTab(2);
  auto* query = Child<QPlainTextEdit>("txbDatenAbfrage");
  query->setFocus();
  query->selectAll();
  query->insertPlainText(QStringLiteral("SELECT *\r\nFROM Kunden\nWHERE 1=1"));
  EXPECT_EQ(query->toPlainText(), QStringLiteral("SELECT * FROM Kunden WHERE 1=1"));
  EXPECT_EQ(daten->Value("Abfrage").As<std::string>(), "SELECT * FROM Kunden WHERE 1=1");
}

TEST_F(WindowTest, AddAndSaveWritesTheNewRubric) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  Open();
  window->cmdAddNew_Click();
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  auto* name = Child<QLineEdit>("txbRubrikenRubrik");
  EXPECT_EQ(QApplication::focusWidget(), name);
  EXPECT_EQ(window->StatusText(), QStringLiteral("3. Datensatz von 3"));
  QTest::keyClicks(name, "Lager");
  QTest::keyClicks(Child<QLineEdit>("txbRubrikenRang"), "7");
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  FocusOnInfoButton();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // Enter presses OK
  ASSERT_EQ(rubriken->database.size(), 3u);
  EXPECT_EQ(rubriken->database[2][0], vn::data::Variant(std::int64_t{3}));
  EXPECT_EQ(rubriken->database[2][1], vn::data::Variant(std::int64_t{7}));
  EXPECT_EQ(rubriken->database[2][2], vn::data::Variant("Lager"));
  // Saved, then moved onto the last record, which is the saved one.
  EXPECT_EQ(EditPanel(), QStringLiteral("gewechselt"));
  EXPECT_EQ(window->StatusText(), QStringLiteral("3. Datensatz von 3"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowTest, FailedSaveReportsAndLeavesTheDatabaseAsItWas) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  Open();
  window->cmdMoveNext_Click();
  const std::vector<Row> before = rubriken->database;
  auto* titel = Child<QLineEdit>("txbRubrikenTitel");
  titel->setFocus();
  QTest::keyClicks(titel, "x");
  QTest::keyClicks(titel, "y");
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  rubriken->failNextUpdateBatch = true;
  window->cmdOK_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\n"
                           "Die Datenbank ist gesperrt.\nDie Eingabe wird abgebrochen."));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(rubriken->database, before);
  EXPECT_EQ(titel->text(), QStringLiteral("Titel Kunden"));
  EXPECT_EQ(window->StatusText(), QStringLiteral("2. Datensatz von 2"));
}

TEST_F(WindowTest, CancelOfANewRecordReturnsToTheRecordBefore) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden"), Rubrik(3, 3, "Lager")};
  Open();
  window->cmdMoveNext_Click();
  window->cmdAddNew_Click();
  QTest::keyClicks(Child<QLineEdit>("txbRubrikenRubrik"), "Neu");
  QTest::keyClick(Child<QLineEdit>("txbRubrikenRubrik"), Qt::Key_Escape);  // a text field: no cancel
  EXPECT_EQ(rubriken->RecordCount(), 4);
  window->cmdCancel_Click();
  EXPECT_EQ(rubriken->RecordCount(), 3);
  EXPECT_EQ(window->StatusText(), QStringLiteral("2. Datensatz von 3"));
  EXPECT_EQ(Child<QLineEdit>("txbRubrikenRubrik")->text(), QStringLiteral("Kunden"));
  EXPECT_EQ(rubriken->database.size(), 3u);
}

TEST_F(WindowTest, DeleteAsksShowsTheStatusAndMovesToTheNextRecord) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden"), Rubrik(3, 3, "Lager")};
  Open();
  window->cmdMoveNext_Click();
  messages.answers = {MsgResult::kYes};
  window->cmdDelete_Click();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text,
            QStringLiteral("Status der aktuellen Datensatzgruppe\n\n"
                           "Es gibt keine anstehenden Änderungen in diesen Datensatz."));
  EXPECT_EQ(messages.shown[1].icon, MsgIcon::kInformation);
  ASSERT_EQ(rubriken->database.size(), 2u);
  EXPECT_EQ(rubriken->database[1][2], vn::data::Variant("Lager"));
  EXPECT_EQ(window->StatusText(), QStringLiteral("2. Datensatz von 2"));
  EXPECT_EQ(Child<QLineEdit>("txbRubrikenRubrik")->text(), QStringLiteral("Lager"));
}

TEST_F(WindowTest, FailedDeleteKeepsTheRecord) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  Open();
  window->cmdMoveNext_Click();
  rubriken->failNextUpdateBatch = true;
  messages.answers = {MsgResult::kYes};
  window->cmdDelete_Click();
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[2].text,
            QStringLiteral("Es ist Fehler beim Löschen der Daten aufgetreten.\nFehlernummer:-2147467259\n"
                           "Fehlerbeschreibung:Die Datenbank ist gesperrt.\n\nRecordsetstatus: \n"
                           "Es gibt keine anstehenden Änderungen in diesen Datensatz."));
  EXPECT_EQ(rubriken->database.size(), 2u);
  EXPECT_EQ(rubriken->RecordCount(), 2);
}

TEST_F(WindowTest, SwitchingTabsSavesAPendingChangeFirst) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  daten->database = {{std::int64_t{1}, "Info", std::int64_t{3}, "", "", vn::data::Null{}}};
  Open();
  window->cmdMoveNext_Click();
  auto* titel = Child<QLineEdit>("txbRubrikenTitel");
  titel->setFocus();
  titel->selectAll();
  QTest::keyClicks(titel, "Neu");
  EXPECT_TRUE(Button("cmdOK")->isEnabled());
  window->SelectTab(2);
  EXPECT_EQ(rubriken->database[1][4], vn::data::Variant("Neu"));
  EXPECT_EQ(window->CurrentRecords(), daten.get());
  EXPECT_EQ(window->StatusText(), QStringLiteral("1. Datensatz von 1"));
  EXPECT_EQ(Child<QLineEdit>("txbDatenTitel")->text(), QStringLiteral("Info"));
  window->SelectTab(4);
  EXPECT_EQ(window->CurrentRecords(), nullptr);
  EXPECT_EQ(BarState(), "00000000");
}

TEST_F(WindowTest, DebugBoxStaysClosedWhenDebuggingIsOff) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  Open(false);
  const int height = window->height();
  window->cmdMoveNext_Click();
  window->WriteDebugLine(QStringLiteral("x"));
  Child<QPushButton>("cmdLine")->click();
  EXPECT_EQ(Child<QPlainTextEdit>("txbStatus")->toPlainText(), QString());
  EXPECT_EQ(window->height(), height);
}

TEST_F(WindowTest, DebugBoxShowsTraceLinesWhenDebuggingIsOn) {
  rubriken->database = {Rubrik(1, 1, "Start"), Rubrik(2, 2, "Kunden")};
  Open(true);
  auto* box = Child<QPlainTextEdit>("txbStatus");
  FocusOnInfoButton();
  Child<QPushButton>("cmdReset")->click();
  window->cmdMoveNext_Click();
  Child<QPushButton>("cmdLine")->click();
  // The bound fields change while the focus is elsewhere, then the move is reported.
  EXPECT_EQ(box->toPlainText(),
            QStringLiteral("Aktuell Falsches Control: txbRubrikenRubrik/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenRang/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenTitel/cmdInfo\n"
                           "Aktuell Falsches Control: txbRubrikenMenueText/cmdInfo\n"
                           "rstabRubriken Record Moved - Reason: MoveNext\n---------------\n"));
  EXPECT_GE(window->height(), box->y() + box->height());
  Child<QPushButton>("cmdReset")->click();
  EXPECT_EQ(box->toPlainText(), QString());
}

}  // namespace
}  // namespace vn::config::testing
