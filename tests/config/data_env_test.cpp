// The data environment: the Data Source rewrite, the start on a database that cannot be
// opened, and the window over the demo configuration: its records on every tab, saving, a save
// the database refuses, and deleting.
#include <QStatusBar>

#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

// The README describes the demo's rubrics; what it says of Notizen is what the scripts build.
TEST_F(RealDataTest, TheReadmeDescribesTheDemosNotizenRubricAsTheScriptsBuildIt) {
  Execute("DELETE FROM Zuordnungen; DELETE FROM Daten; DELETE FROM Rubriken;" +
          ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/demo_config.sql"));
  const std::string entries = Query(
      "SELECT Daten.Titel FROM Zuordnungen, Rubriken, Daten WHERE Zuordnungen.Rubrik_ID = "
      "Rubriken.ID_Rubrik AND Zuordnungen.Daten_ID = Daten.ID_Daten AND Rubriken.Rubrik = "
      "'Notizen'");
  EXPECT_EQ(entries, "Kontakt in ACT!");
  std::string readme = ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/README.md");
  for (char& c : readme)
    if (c == '\n') c = ' ';
  const size_t notizen = readme.find("and `Notizen` (");
  ASSERT_NE(notizen, std::string::npos);
  const std::string description = readme.substr(notizen, readme.find(");", notizen) - notizen);
  EXPECT_NE(description.find("one data entry, `" + entries + "`"), std::string::npos)
      << description;
  EXPECT_EQ(description.find("no data entries"), std::string::npos) << description;
}

TEST_F(RealDataTest, ADatabaseThatCannotBeOpenedFailsTheStartNamingTheFile) {
  std::filesystem::remove(path);
  DataEnv env;
  try {
    env.DataEnvironment_Initialize(folder);
    ADD_FAILURE() << "no failure";
  } catch (const vn::RuntimeError& e) {
    EXPECT_NE(e.Description().find(path), std::string::npos) << e.Description();
  }
  // A file that is no database fails as well.
  std::ofstream(path) << "kein SQLite";
  DataEnv other;
  EXPECT_THROW(other.DataEnvironment_Initialize(folder), vn::RuntimeError);
}

TEST_F(RealDataTest, ShowsTheDemoRecordsOnEveryTab) {
  Open();
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Start"));
  EXPECT_EQ(Text("txbRubrikenMenueText"), QStringLiteral("Übersicht"));
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 5"));
  EXPECT_FALSE(Child<QWidget>("frTab0")->isEnabled());  // the protected record 1
  Core().cmdMoveLast_Click();
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Notizen"));
  EXPECT_TRUE(Child<QWidget>("frTab0")->isEnabled());

  Core().SelectTab(2);
  EXPECT_EQ(Text("txbDatenTitel"), QStringLiteral("Kundenstammdaten"));
  EXPECT_EQ(Child<QComboBox>("cbxDatenFormat")->currentText(),
            QStringLiteral("Datenblatt (Karteikarte)"));
  EXPECT_EQ(Child<QComboBox>("cbxDatenFormat")->count(), 4);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(),
            QStringLiteral("Provider=SQLite;Data Source=databases/demo.db"));
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 5"));

  Core().SelectTab(3);
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenRubrik")->currentText(), QStringLiteral("Start"));
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenDaten")->currentText(),
            QStringLiteral("Kundenstammdaten"));
  EXPECT_EQ(Text("txbZuordnungenRang"), QStringLiteral("1"));
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 6"));

  Core().SelectTab(4);
  EXPECT_EQ(Tree()->topLevelItemCount(), 1);
  Core().SelectTab(5);
  EXPECT_EQ(Child<QComboBox>("cbxStartRubrik")->count(), 5);
  EXPECT_EQ(Child<QComboBox>("cbxStartRubrik")->currentText(), QStringLiteral("Start"));

  // For a look at the window: VARNOLIS_SCREENSHOTS=<folder> saves each tab as a picture.
  if (const char* shots = std::getenv("VARNOLIS_SCREENSHOTS")) {
    for (int tab = 1; tab <= 5; ++tab) {
      Core().SelectTab(tab);
      QApplication::processEvents();
      window->grab().save(
          QStringLiteral("%1/tab%2.png").arg(QString::fromLocal8Bit(shots)).arg(tab));
    }
  }
}

TEST_F(RealDataTest, AddedRubricDataEntryAndAssignmentAreReadByTheLibraryAtOnce) {
  Open();
  Core().cmdAddNew_Click();
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  Type("txbRubrikenRubrik", QStringLiteral("Neue Rubrik"));
  Type("txbRubrikenRang", QStringLiteral("6"));
  Type("txbRubrikenTitel", QStringLiteral("Neu"));
  Type("txbRubrikenMenueText", QStringLiteral("Neu"));
  Core().cmdOK_Click();
  EXPECT_TRUE(messages.shown.empty());
  // Saved as the last record, and moved onto it again.
  EXPECT_EQ(EditPanel(), QStringLiteral("gewechselt"));
  EXPECT_EQ(Current("ID_Rubrik"), QStringLiteral("6"));  // read back from the database
  EXPECT_EQ(StatusText(), QStringLiteral("6. Datensatz von 6"));

  Core().SelectTab(2);
  Core().cmdAddNew_Click();
  Type("txbDatenTitel", QStringLiteral("Kunden und Rechnungen"));
  Child<QPlainTextEdit>("txbDatenVerbindung")->setFocus();
  QTest::keyClicks(Child<QPlainTextEdit>("txbDatenVerbindung"),
                   QStringLiteral("Provider=SQLite;Data Source=databases/demo.db"));
  Child<QPlainTextEdit>("txbDatenAbfrage")->setFocus();
  QTest::keyClicks(Child<QPlainTextEdit>("txbDatenAbfrage"),
                   QStringLiteral("SHAPE {SELECT KundenNr, Name FROM Kunden}  AS K APPEND ({SELECT "
                                  "KundenNr, RechnungNr FROM Rechnungen}  AS R RELATE KundenNr TO "
                                  "KundenNr) AS R"));
  EXPECT_EQ(Child<QComboBox>("cbxDatenFormat")->currentData().toLongLong(), 1);
  Core().cmdOK_Click();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Current("ID_Daten"), QStringLiteral("6"));

  // The new rubric in the tree, without an assignment yet; "Zuordnung hinzufügen" from there.
  Core().SelectTab(4);
  QTreeWidgetItem* rubric = FindNode(QStringLiteral("Neue_Rubrik"), QString());
  ASSERT_NE(rubric, nullptr);
  Tree()->setCurrentItem(rubric->child(0));
  Core().mnuNeueZuordnung_Click();
  EXPECT_EQ(Core().SelectedTab(), 3);
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenRubrik")->currentText(), QStringLiteral("Neue_Rubrik"));
  QComboBox* daten = Child<QComboBox>("cbxZuordnungenDaten");
  EXPECT_EQ(QApplication::focusWidget(), daten);
  daten->setCurrentIndex(daten->findText(QStringLiteral("Kunden und Rechnungen")));
  Type("txbZuordnungenRang", QStringLiteral("1"));
  Core().cmdOK_Click();
  EXPECT_TRUE(messages.shown.empty());

  // The library's own statement for one rubric.
  EXPECT_EQ(
      Query("SELECT Rubriken.Rubrik, Daten.Titel, Daten.Format_ID AS Format, Zuordnungen.Rang "
            "FROM Daten INNER JOIN (Zuordnungen INNER JOIN Rubriken ON Zuordnungen.Rubrik_ID = "
            "Rubriken.ID_Rubrik) ON Daten.ID_Daten = Zuordnungen.Daten_ID WHERE "
            "(((Rubriken.Rubrik)=\"Neue_Rubrik\")) ORDER BY Zuordnungen.Rang"),
      "Neue_Rubrik|Kunden und Rechnungen|1|1");
  EXPECT_EQ(Query("SELECT Abfrage FROM Daten WHERE ID_Daten = 6"),
            "SHAPE {SELECT KundenNr, Name FROM Kunden}  AS K APPEND ({SELECT KundenNr, RechnungNr "
            "FROM Rechnungen}  AS R RELATE KundenNr TO KundenNr) AS R");
}

TEST_F(RealDataTest, SwitchingTabsSavesThePendingChangeFirst) {
  Open();
  Core().cmdMoveNext_Click();
  Type("txbRubrikenTitel", QStringLiteral("Alle Rechnungen"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  Core().SelectTab(2);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Query("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Alle Rechnungen");
}

TEST_F(RealDataTest, ASaveTheLockedDatabaseRefusesIsReportedAndLeavesTheFileUnchanged) {
  Open();
  Core().cmdMoveNext_Click();
  Type("txbRubrikenTitel", QStringLiteral("Gesperrt"));
  const std::string before = ReadFile(path);
  LockFromAnotherProgram();
  Core().cmdOK_Click();
  ReleaseLock();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(
      messages.shown[0].text,
      QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\nDie "
                     "Konfigurationsdatenbank ist von einem anderen Programm gesperrt. Bitte "
                     "schließen Sie das andere Programm und versuchen Sie es erneut.\n"
                     "database is locked\nDie Eingabe bleibt erhalten. Speichern Sie erneut oder "
                     "brechen Sie die Eingabe ab."));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(ReadFile(path), before);
  // The input is kept: the field shows what was typed, changed, with OK on; once the other
  // program has let go, OK stores it.
  EXPECT_EQ(Text("txbRubrikenTitel"), QStringLiteral("Gesperrt"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  EXPECT_TRUE(Child<QToolButton>("cmdOK")->isEnabled());
  Core().cmdOK_Click();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(Query("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Gesperrt");
  EXPECT_EQ(EditPanel(), QStringLiteral("gespeichert"));
}

TEST_F(RealDataTest, DeletingARecordRemovesItFromTheDatabase) {
  Execute("DELETE FROM Zuordnungen WHERE Daten_ID = 5;");  // a data entry no rubric shows
  Open();
  Core().SelectTab(2);
  Core().cmdMoveLast_Click();
  EXPECT_EQ(Text("txbDatenTitel"), QStringLiteral("Über Varnolis"));
  messages.answers = {MsgResult::kYes};
  Core().cmdDelete_Click();
  // The status box of an unchanged row (its text begins with a line break of its own), then
  // the row is gone and the one before it is current.
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text,
            QStringLiteral("Status der aktuellen Datensatzgruppe\n\nEs gibt keine anstehenden "
                           "Änderungen in diesen Datensatz."));
  EXPECT_EQ(Query("SELECT count(*) FROM Daten"), "4");
  EXPECT_EQ(Text("txbDatenTitel"), QStringLiteral("Ansprechpartner"));
  EXPECT_EQ(StatusText(), QStringLiteral("4. Datensatz von 4"));
  Core().SelectTab(1);
  Core().SelectTab(2);
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 4"));
}

TEST_F(RealDataTest, ADeletionTheLockedDatabaseRefusesKeepsTheRecord) {
  Open();
  Core().cmdMoveNext_Click();
  LockFromAnotherProgram();
  messages.answers = {MsgResult::kYes};
  Core().cmdDelete_Click();
  ReleaseLock();
  // The rubric shows a data entry: the question names it, and the deletion with its
  // assignments is refused.
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[0].text.startsWith(
      QStringLiteral("Der aktuellen Rubrik sind diese Daten zugeordnet:\n\nRechnungen\n")))
      << messages.shown[0].text.toStdString();
  EXPECT_EQ(
      messages.shown[1].text,
      QStringLiteral("Es ist Fehler beim Löschen der Daten aufgetreten.\nFehlernummer:-2147467259\n"
                     "Fehlerbeschreibung:Die Konfigurationsdatenbank ist von einem anderen "
                     "Programm gesperrt. Bitte schließen Sie das andere Programm und versuchen "
                     "Sie es erneut.\ndatabase is locked\n\nRecordsetstatus: \n"
                     "Es gibt keine anstehenden Änderungen in diesen Datensatz."));
  EXPECT_EQ(Query("SELECT count(*) FROM Rubriken"), "5");
  EXPECT_EQ(StatusText(), QStringLiteral("2. Datensatz von 5"));
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Rechnungen"));
}

}  // namespace
}  // namespace vn::config::testing
