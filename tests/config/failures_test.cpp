// What the window does when the database or the administrator's input cannot be taken: no
// failure reported as a save, texts that say what to do in the user's language, names that
// cannot be linked refused, and data entries deleted together with their assignments.
#include <QStatusBar>

#include "config/core/error_texts.h"
#include "config/core/start_files.h"
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

using FailuresTest = RealDataTest;

constexpr char kReadOnlyGerman[] =
    "Die Konfigurationsdatenbank ist schreibgeschützt. Bitte prüfen Sie die Zugriffsrechte der "
    "Datei config.mdb und ihres Ordners.";

TEST_F(FailuresTest, ASaveOnAReadOnlyDatabaseIsNeverReportedAsSavedAndTheTabStays) {
  const ScopedLocale german("de_DE.UTF-8");
  if (!MakeReadOnly(path)) GTEST_SKIP() << "the database file stays writable here";
  const std::string before = ReadFile(path);
  Open();
  Core().cmdMoveNext_Click();
  Type("txbRubrikenTitel", QStringLiteral("Alle Rechnungen"));
  QStringList modesWhileShown;
  messages.whileShown = [&] { modesWhileShown << EditPanel(); };
  Core().SelectTab(2);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\n") +
                QString::fromUtf8(kReadOnlyGerman) +
                QStringLiteral("\nattempt to write a readonly database\nDie Eingabe bleibt "
                               "erhalten. Speichern Sie erneut oder "
                               "brechen Sie die Eingabe ab."));
  EXPECT_EQ(modesWhileShown, QStringList{QStringLiteral("geändert")});
  // The window stays on the tab with the input kept, changed and ready to be saved again.
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  EXPECT_TRUE(Button("cmdOK")->isEnabled());
  EXPECT_TRUE(Button("cmdCancel")->isEnabled());
  EXPECT_EQ(Core().SelectedTab(), 1);
  EXPECT_EQ(Core().CurrentRecords(), dataEnv->rstabRubriken());
  EXPECT_EQ(Text("txbRubrikenTitel"), QStringLiteral("Alle Rechnungen"));

  // A deletion fails the same way.
  messages.shown.clear();
  modesWhileShown.clear();
  messages.answers = {MsgResult::kYes};
  Core().cmdDelete_Click();
  // The question naming the rubric's data entries, then the refusal.
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[1].text.contains(QString::fromUtf8(kReadOnlyGerman)))
      << messages.shown[1].text.toStdString();
  for (const QString& mode : modesWhileShown) EXPECT_NE(mode, QStringLiteral("gespeichert"));
  EXPECT_NE(EditPanel(), QStringLiteral("gespeichert"));
  EXPECT_EQ(StatusText(), QStringLiteral("2. Datensatz von 5"));
  window.reset();
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(FailuresTest, AnEnglishUserIsToldInEnglishWithTheProvidersTextBelow) {
  const ScopedLocale english("en_US.UTF-8");
  if (!MakeReadOnly(path)) GTEST_SKIP() << "the database file stays writable here";
  EXPECT_EQ(SaveOnSecondRubric("txbRubrikenTitel", QStringLiteral("x")),
            QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\nThe configuration "
                           "database is read-only. Please check the permissions of the file "
                           "config.mdb and its folder.\nattempt to write a readonly database\n"
                           "The input is kept. Save again or cancel the input."));
}

TEST_F(FailuresTest, AWholeNumberFieldWithTextNamesTheFieldByItsLabel) {
  const std::string before = ReadFile(path);
  EXPECT_EQ(
      SaveOnSecondRubric("txbRubrikenRang", QStringLiteral("abc")),
      QStringLiteral(
          "Es ist Fehler beim Speichern der Daten aufgetreten.\nDas Feld „Rang“ "
          "nimmt nur ganze Zahlen auf. Bitte korrigieren Sie den Wert.\nThe value "
          "'abc' cannot be stored in the field 'Rang', which holds whole numbers.\n"
          "Die Eingabe bleibt erhalten. Speichern Sie erneut oder brechen Sie die Eingabe ab."));
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(FailuresTest, ADatabaseFileDeletedWhileTheProgramRunsIsNotWrittenInto) {
  Open();
  Core().cmdMoveNext_Click();
  Type("txbRubrikenTitel", QStringLiteral("verloren"));
  std::filesystem::remove(path);
  Core().cmdOK_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(
      messages.shown[0].text,
      QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\nDie Datei der "
                     "Konfigurationsdatenbank wurde nicht gefunden. Bitte stellen Sie "
                     "config.mdb im Ordner databases des Programms wieder her und starten Sie "
                     "das Programm neu.\nCould not find file '") +
          QString::fromStdString(path) +
          QStringLiteral("'.\nDie Eingabe bleibt erhalten. Speichern Sie erneut oder "
                         "brechen Sie die Eingabe ab."));
  EXPECT_NE(EditPanel(), QStringLiteral("gespeichert"));
}

TEST_F(FailuresTest, ARubricWithoutANameIsRefusedAndStaysPending) {
  Open();
  const std::string before = ReadFile(path);
  Core().cmdAddNew_Click();
  Type("txbRubrikenRang", QStringLiteral("9"));
  Type("txbRubrikenTitel", QStringLiteral("Ohne Namen"));
  Core().cmdOK_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Bitte geben Sie der Rubrik einen Namen. Ohne Namen kann sie weder im "
                           "Menü noch als Startrubrik aufgerufen werden."));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("txbRubrikenRubrik"));
  // Nor does a tab change save it: the window stays with the input.
  Core().SelectTab(2);
  EXPECT_EQ(Core().SelectedTab(), 1);
  EXPECT_EQ(Text("txbRubrikenTitel"), QStringLiteral("Ohne Namen"));
  EXPECT_EQ(ReadFile(path), before);
  Type("txbRubrikenRubrik", QStringLiteral("Lager"));
  Core().cmdOK_Click();
  EXPECT_EQ(Query("SELECT Rubrik, Titel FROM Rubriken WHERE Rang = 9"), "Lager|Ohne Namen");
}

// The program's part of a rubric whose name holds quotes and umlauts: it is stored as typed,
// and the start page links it so that neither the attribute nor the script string ends early.
TEST_F(FailuresTest, ARubricNamedWithQuotesIsStoredAndTheStartPageLinksIt) {
  Open();
  Core().cmdAddNew_Click();
  Child<QLineEdit>("txbRubrikenRubrik")->insert(QStringLiteral("Grüße O'Neil \"X\""));
  Type("txbRubrikenRang", QStringLiteral("6"));
  Core().cmdOK_Click();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Query("SELECT Rubrik FROM Rubriken WHERE Rang = 6"), "Grüße_O'Neil_\"X\"");

  Core().SelectTab(5);
  messages.shown.clear();
  auto* start = Child<QComboBox>("cbxStartRubrik");
  ASSERT_GE(start->findText(QStringLiteral("Grüße_O'Neil_\"X\"")), 0);
  start->setCurrentIndex(start->findText(QStringLiteral("Grüße_O'Neil_\"X\"")));
  const std::string netlinks = folder + "/NetLinks";
  std::filesystem::create_directories(netlinks);
  Child<QLineEdit>("txbNetlinks")->setText(QString::fromStdString(netlinks));
  Child<QPushButton>("cmdStartDateienErstellen")->click();
  const std::string page = ReadFile(netlinks + "/Varnolis.htm");
  // The address is ASCII: ü and ß as their UTF-8 bytes escaped.
  EXPECT_NE(page.find("window.setTimeout(\"GoToURL('parent','varnolis://rubrik/Gr%C3%BC%C3%9F"
                      "e_O%27Neil_%22X%22')\",2000);\r\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("Starte <a href=\"varnolis://rubrik/Gr%C3%BC%C3%9F"
                      "e_O%27Neil_%22X%22\">"
                      "Varnolis </a>... \r\n"),
            std::string::npos);
}

TEST_F(FailuresTest, DeletingAnAssignedDataEntryAsksNamingTheRubricsAndTakesItsAssignments) {
  Execute("INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (2, 4, 5);");
  Open();
  Core().SelectTab(2);
  Core().cmdMoveNext_Click();
  Core().cmdMoveNext_Click();
  Core().cmdMoveNext_Click();
  ASSERT_EQ(Text("txbDatenTitel"), QStringLiteral("Ansprechpartner"));
  const std::string before = ReadFile(path);
  messages.answers = {MsgResult::kNo};
  Core().cmdDelete_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Der aktuelle Datensatz ist diesen Rubriken zugeordnet:\n\nStart\n"
                           "Rechnungen\n\nSollen der Datensatz und seine Zuordnungen gelöscht "
                           "werden?"));
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(ReadFile(path), before);

  messages.answers = {MsgResult::kYes};
  Core().cmdDelete_Click();
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(Query("SELECT count(*) FROM Daten WHERE ID_Daten = 4"), "0");
  EXPECT_EQ(
      Query("SELECT count(*) FROM Zuordnungen WHERE Daten_ID NOT IN (SELECT ID_Daten FROM Daten)"),
      "0");
  EXPECT_EQ(Query("SELECT count(*) FROM Zuordnungen"), "5");
  EXPECT_EQ(Text("txbDatenTitel"), QStringLiteral("Über Varnolis"));
  EXPECT_EQ(StatusText(), QStringLiteral("4. Datensatz von 4"));
  // The tree no longer shows an empty entry under the rubrics.
  Core().SelectTab(4);
  EXPECT_EQ(Outline(Tree()->topLevelItem(0)).count(QStringLiteral("<<Leer>>")), 1)
      << Outline(Tree()->topLevelItem(0)).toStdString();
}

TEST_F(FailuresTest, AnAssignmentWithoutDataEntryNamesTheField) {
  Open();
  Core().SelectTab(3);
  Core().cmdAddNew_Click();
  Child<QComboBox>("cbxZuordnungenRubrik")->setCurrentIndex(1);
  const std::string before = ReadFile(path);
  Core().cmdOK_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Es ist Fehler beim Speichern der Daten aufgetreten.\nDas Feld „Daten“ "
                           "muss ausgefüllt werden. Bitte tragen Sie einen Wert ein.\nNOT NULL "
                           "constraint failed: Zuordnungen.Daten_ID\nDie Eingabe bleibt erhalten. "
                           "Speichern Sie erneut oder "
                           "brechen Sie die Eingabe ab."));
  EXPECT_EQ(ReadFile(path), before);
  // The new assignment stays pending as it was entered, ready to be completed and saved.
  EXPECT_EQ(StatusText(), QStringLiteral("7. Datensatz von 7"));
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  EXPECT_TRUE(Button("cmdOK")->isEnabled());
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenRubrik")->currentIndex(), 1);
}

TEST_F(FailuresTest, AnEmptyNetLinksFolderIsRefusedAndNothingIsWrittenToTheRoot) {
  CreateStartFiles("", "Start", messages);
  RemoveStartFiles("", messages);
  ASSERT_EQ(messages.shown.size(), 2u);
  for (const ShownMessage& shown : messages.shown) {
    EXPECT_EQ(shown.text,
              QStringLiteral("Der ACT!-Ablagort für die NetLLinks wurde nicht gefunden.\n"
                             "Bitte kontrollieren Sie Ihre ACT!-Einstellungen."));
  }
  EXPECT_FALSE(std::filesystem::exists("/Varnolis.ctl"));
  EXPECT_FALSE(std::filesystem::exists("/Varnolis.htm"));
}

TEST_F(FailuresTest, AFolderThatCannotBeWrittenSaysSoInGerman) {
  const ScopedLocale german("de_DE.UTF-8");
  const std::string netlinks = folder + "/NetLinks";
  std::filesystem::create_directories(netlinks);
  if (!MakeReadOnly(netlinks)) GTEST_SKIP() << "the folder stays writable here";
  CreateStartFiles(netlinks, "Start", messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.startsWith(
      QStringLiteral("Die Datei '") + QString::fromStdString(netlinks) +
      QStringLiteral("/Varnolis.ctl' kann nicht beschrieben werden.\nIn diesen Ordner kann nicht "
                     "geschrieben werden. Bitte wählen Sie einen Ordner, in dem Sie schreiben "
                     "dürfen, oder lassen Sie die Rechte ändern.\n")))
      << messages.shown[0].text.toStdString();
}

}  // namespace
}  // namespace vn::config::testing
