// The window's record editing without a toolkit: the edit-mode table, the record position and
// the protected row, a refused save that keeps the input, a deletion's messages in order, the
// field rules.
#include "config/core/edit_mode.h"
#include "config/core/field_rules.h"
#include "core_fixture.h"

namespace vn::config::testing {
namespace {

constexpr char kReadOnlyGerman[] =
    "Die Konfigurationsdatenbank ist schreibgeschützt. Bitte prüfen Sie die Zugriffsrechte der "
    "Datei config.mdb und ihres Ordners.";
constexpr char kInputKept[] =
    "Die Eingabe bleibt erhalten. Speichern Sie erneut oder brechen Sie die Eingabe ab.";

TEST(EditModeTableTest, EachModeSetsItsPanelTextAndButtons) {
  struct Row {
    const char* panel;
    const char* cancelOkAddDelete;
  };
  const Row expected[] = {{"", "0011"},
                          {"geändert", "1100"},
                          {"gespeichert", "0011"},
                          {"gewechselt", "0011"},
                          {"neu", "1100"}};
  for (int mode = 0; mode <= 4; ++mode) {
    const EditModeRow* row = EditModeTableRow(static_cast<EditMode>(mode));
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->panel, expected[mode].panel) << mode;
    const std::string buttons = {row->cancel ? '1' : '0', row->ok ? '1' : '0',
                                 row->addNew ? '1' : '0', row->deleteRecord ? '1' : '0'};
    EXPECT_EQ(buttons, expected[mode].cancelOkAddDelete) << mode;
    EXPECT_EQ(row->navigationOff, mode == 4) << mode;
    EXPECT_EQ(EditModeOfPanel(expected[mode].panel), static_cast<EditMode>(mode));
  }
  EXPECT_EQ(EditModeTableRow(static_cast<EditMode>(5)), nullptr);
  EXPECT_EQ(EditModeTableRow(static_cast<EditMode>(-1)), nullptr);
}

TEST_F(CoreTest, SetEditModeShowsTheRowAndIgnoresOtherNumbers) {
  Open();
  window->cmdMoveNext_Click();
  EXPECT_EQ(BarState(view.state), "11111100");
  window->SetEditMode(EditMode::kChanged);
  EXPECT_EQ(view.state.edit, "geändert");
  EXPECT_EQ(BarState(view.state), "11110011");
  window->SetEditMode(static_cast<EditMode>(7));
  EXPECT_EQ(view.state.edit, "geändert");
  window->SetEditMode(EditMode::kNew);
  EXPECT_EQ(view.state.edit, "neu");
  EXPECT_EQ(BarState(view.state), "00000011");
  window->SetEditMode(EditMode::kSaved);
  EXPECT_EQ(view.state.edit, "gespeichert");
  EXPECT_EQ(BarState(view.state), "00001100");
}

TEST_F(CoreTest, RecordPositionAndTheProtectedFirstRow) {
  Open();
  // Row 1 of each table is read-only and never deleted.
  EXPECT_EQ(view.state.status, "1. Datensatz von 5");
  EXPECT_EQ(BarState(view.state), "00110100");
  EXPECT_FALSE(view.state.panelEnabled[0]);
  window->cmdMoveNext_Click();
  EXPECT_EQ(view.state.status, "2. Datensatz von 5");
  EXPECT_EQ(view.state.edit, "gewechselt");
  EXPECT_EQ(BarState(view.state), "11111100");
  EXPECT_TRUE(view.state.panelEnabled[0]);
  EXPECT_EQ(view.fields["txbRubrikenTitel"], "Rechnungen mit Positionen");
  window->cmdMoveLast_Click();
  EXPECT_EQ(view.state.status, "5. Datensatz von 5");
  EXPECT_EQ(BarState(view.state), "11001100");

  Execute("DELETE FROM Zuordnungen; DELETE FROM Daten;");
  ASSERT_TRUE(window->SelectTab(2));
  EXPECT_EQ(view.state.status, "Es sind keine Datensätze vorhanden.");
  EXPECT_EQ(BarState(view.state), "00000100");
  EXPECT_FALSE(view.state.panelEnabled[1]);
}

TEST_F(CoreTest, TypingChangesTheModeAndASaveStoresTheText) {
  Open();
  window->cmdMoveNext_Click();
  view.Type("txbRubrikenTitel", "Alle Rechnungen");
  EXPECT_EQ(view.state.edit, "geändert");
  EXPECT_EQ(BarState(view.state), "11110011");
  window->cmdOK_Click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(view.state.edit, "gespeichert");
  EXPECT_EQ(Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Alle Rechnungen");
}

TEST_F(CoreTest, ASaveTheReadOnlyFileRefusesKeepsTheInputUntilItCanBeSaved) {
  if (!MakeReadOnly()) GTEST_SKIP() << "the database file stays writable here";
  const std::string before = ReadFile(path);
  Open();
  window->cmdMoveNext_Click();
  view.Type("txbRubrikenTitel", "Alle Rechnungen");
  std::vector<std::string> modesWhileShown;
  prompts.whileShown = [&] { modesWhileShown.push_back(view.state.edit); };
  window->cmdOK_Click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            std::string("Es ist Fehler beim Speichern der Daten aufgetreten.\n") + kReadOnlyGerman +
                "\nattempt to write a readonly database\n" + kInputKept);
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(modesWhileShown, std::vector<std::string>{"geändert"});
  // Kept as typed, changed, with OK and Cancel on; nothing written.
  EXPECT_EQ(view.fields["txbRubrikenTitel"], "Alle Rechnungen");
  EXPECT_EQ(view.state.edit, "geändert");
  EXPECT_TRUE(view.state.ok);
  EXPECT_TRUE(view.state.cancel);
  EXPECT_EQ(ReadFile(path), before);
  // Leaving the tab or closing tries the save again and stays where it is.
  EXPECT_FALSE(window->SelectTab(2));
  EXPECT_EQ(window->SelectedTab(), 1);
  EXPECT_EQ(view.tab, 1);
  EXPECT_FALSE(window->Close());
  EXPECT_EQ(view.fields["txbRubrikenTitel"], "Alle Rechnungen");
  EXPECT_EQ(ReadFile(path), before);

  MakeWritable();
  prompts.shown.clear();
  window->cmdOK_Click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(view.state.edit, "gespeichert");
  EXPECT_EQ(Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Alle Rechnungen");
}

TEST_F(CoreTest, ASaveALockRefusesKeepsTheInputAndTheNextSaveStoresIt) {
  Open();
  window->cmdMoveNext_Click();
  view.Type("txbRubrikenTitel", "Gesperrt");
  LockFromAnotherProgram();
  window->cmdOK_Click();
  ReleaseLock();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            std::string("Es ist Fehler beim Speichern der Daten aufgetreten.\nDie "
                        "Konfigurationsdatenbank ist von einem anderen Programm gesperrt. Bitte "
                        "schließen Sie das andere Programm und versuchen Sie es erneut.\n"
                        "database is locked\n") +
                kInputKept);
  EXPECT_EQ(view.fields["txbRubrikenTitel"], "Gesperrt");
  EXPECT_EQ(view.state.edit, "geändert");
  EXPECT_EQ(Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Rechnungen mit Positionen");
  // The next tab change saves it.
  EXPECT_TRUE(window->SelectTab(2));
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 2"), "Gesperrt");
}

TEST_F(CoreTest, ADeletionAsksThenTellsTheStatusThenDeletes) {
  Open();
  window->cmdMoveLast_Click();
  ASSERT_EQ(view.fields["txbRubrikenRubrik"], "Notizen");
  prompts.answers = {MsgResult::kNo};
  window->cmdDelete_Click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), "5");

  prompts.shown.clear();
  prompts.answers = {MsgResult::kYes};
  window->cmdDelete_Click();
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text,
            "Sind Sie sicher, dass Sie den aktuellen Datensatz löschen wolllen?");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(prompts.shown[1].text,
            "Status der aktuellen Datensatzgruppe\n\nEs gibt keine anstehenden Änderungen in "
            "diesen Datensatz.");
  EXPECT_EQ(prompts.shown[1].icon, MsgIcon::kInformation);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), "4");
  EXPECT_EQ(view.state.status, "4. Datensatz von 4");
}

TEST_F(CoreTest, ARefusedDeletionNamesNumberDescriptionAndStatus) {
  Open();
  window->cmdMoveLast_Click();
  LockFromAnotherProgram();
  prompts.answers = {MsgResult::kYes};
  window->cmdDelete_Click();
  ReleaseLock();
  ASSERT_EQ(prompts.shown.size(), 3u);
  EXPECT_EQ(prompts.shown[2].text.rfind("Es ist Fehler beim Löschen der Daten aufgetreten.\n"
                                        "Fehlernummer:",
                                        0),
            0u)
      << prompts.shown[2].text;
  EXPECT_NE(prompts.shown[2].text.find("\n\nRecordsetstatus: \nEs gibt keine anstehenden"),
            std::string::npos)
      << prompts.shown[2].text;
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), "5");
  EXPECT_EQ(view.state.status, "5. Datensatz von 5");
}

TEST_F(CoreTest, RubricNamesTakeNoSpacesAndQueriesStayOnOneLine) {
  Open();
  window->cmdMoveNext_Click();
  view.Type("txbRubrikenRubrik", "Neue Kunden heute");
  EXPECT_EQ(view.fields["txbRubrikenRubrik"], "Neue_Kunden_heute");
  window->cmdOK_Click();
  EXPECT_EQ(Scalar("SELECT Rubrik FROM Rubriken WHERE ID_Rubrik = 2"), "Neue_Kunden_heute");

  ASSERT_TRUE(window->SelectTab(2));
  window->cmdMoveNext_Click();
  view.Type("txbDatenAbfrage", "SELECT *\r\nFROM Kunden\nWHERE Ort = 'Köln'");
  EXPECT_EQ(view.fields["txbDatenAbfrage"], "SELECT * FROM Kunden WHERE Ort = 'Köln'");
  ASSERT_TRUE(window->SelectTab(1));
  EXPECT_EQ(Scalar("SELECT Abfrage FROM Daten WHERE ID_Daten = 2"),
            "SELECT * FROM Kunden WHERE Ort = 'Köln'");
}

// The records tell whether they stand on a row and whether it has readable values, exactly
// when reading its status or its values would not fail.
TEST_F(CoreTest, TheRecordsSayWithoutAnExceptionWhetherThereIsACurrentRow) {
  struct Case {
    const char* state;
    void (*reach)(EditRecords& records);
    bool onRow;
    bool currentRow;
  };
  const Case cases[] = {
      {"on the first row", [](EditRecords& r) { r.MoveFirst(); }, true, true},
      {"before the first",
       [](EditRecords& r) {
         r.MoveFirst();
         r.MovePrevious();
       },
       false, false},
      {"past the last",
       [](EditRecords& r) {
         r.MoveLast();
         r.MoveNext();
       },
       false, false},
      {"on a deleted row",
       [](EditRecords& r) {
         r.MoveLast();
         r.Delete();
       },
       true, false},
      {"on a new row", [](EditRecords& r) { r.AddNew(); }, true, true},
  };
  Open();
  ASSERT_TRUE(window->SelectTab(2));
  EditRecords& records = *window->CurrentRecords();
  auto fails = [](auto read) {
    try {
      read();
      return false;
    } catch (const vn::RuntimeError&) {
      return true;
    }
  };
  auto check = [&](const char* state, bool onRow, bool currentRow) {
    SCOPED_TRACE(state);
    EXPECT_EQ(records.OnRow(), onRow);
    EXPECT_EQ(records.HasCurrentRow(), currentRow);
    EXPECT_EQ(fails([&] { records.Status(); }), !onRow);
    EXPECT_EQ(fails([&] { records.Value("Titel"); }), !currentRow);
  };
  for (const Case& c : cases) {
    records.CancelBatch();
    c.reach(records);
    check(c.state, c.onRow, c.currentRow);
  }
  records.CancelBatch();
  Execute("DELETE FROM Zuordnungen; DELETE FROM Daten;");
  records.Requery();
  check("in an empty table", false, false);
}

TEST(FieldRulesTest, CaretsAreBytesOfTheUtf8Text) {
  const auto rubric = RubricNameRule("Bücher neu", 7);
  ASSERT_TRUE(rubric.has_value());
  EXPECT_EQ(rubric->text, "Bücher_neu");
  EXPECT_EQ(rubric->caret, 7);
  EXPECT_FALSE(RubricNameRule("Bücher", 7).has_value());
  // The caret after a CR LF pair moves back by the one byte the pair loses.
  const auto query = OneLineRule("ä\r\nb\nc", 5);
  ASSERT_TRUE(query.has_value());
  EXPECT_EQ(query->text, "ä b c");
  EXPECT_EQ(query->caret, 4);
  EXPECT_EQ(NumberValue(" 12 ").As<std::int64_t>(), 12);
  EXPECT_TRUE(NumberValue("").IsNull());
  EXPECT_EQ(NumberValue("12a").As<std::string>(), "12a");
}

}  // namespace
}  // namespace vn::config::testing
