// A rubric or data entry that is assigned goes with its assignments, after a question naming the
// other side; assignments left pointing at nothing by an older database show as such and can be
// deleted.
#include <gtest/gtest.h>

#include <string>

#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {
namespace {

struct DeleteCase {
  const char* what;
  int tab;
  int moves;  // cmdMoveNext presses from the first row
  MsgResult answer;
  const char* question;
  const char* rubrics;      // COUNT(*) of Rubriken afterwards
  const char* data;         // of Daten
  const char* assignments;  // of Zuordnungen
};

class DeleteAssignedTest : public CoreTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteAssignedTest, TheQuestionNamesTheOtherSideAndYesDeletesBoth) {
  const DeleteCase& c = GetParam();
  Open();
  ASSERT_TRUE(window->SelectTab(c.tab));
  for (int i = 0; i < c.moves; ++i) window->cmdMoveNext_Click();
  prompts.answers = {c.answer};
  window->cmdDelete_Click();
  ASSERT_GE(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, c.question);
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), c.rubrics);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Daten"), c.data);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Zuordnungen"), c.assignments);
  // Nothing points at nothing afterwards.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Zuordnungen WHERE Rubrik_ID NOT IN (SELECT ID_Rubrik "
                   "FROM Rubriken) OR Daten_ID NOT IN (SELECT ID_Daten FROM Daten)"),
            "0");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteAssignedTest,
    ::testing::Values(
        // Offene_Posten shows Offene Posten (rank 1) and Kundenstammdaten (rank 0).
        DeleteCase{"rubric_yes", 1, 2, MsgResult::kYes,
                   "Der aktuellen Rubrik sind diese Daten zugeordnet:\n\nKundenstammdaten\n"
                   "Offene Posten\n\nSollen die Rubrik und ihre Zuordnungen gelöscht werden? Die "
                   "Daten selbst bleiben erhalten.",
                   "4", "5", "4"},
        DeleteCase{"rubric_no", 1, 2, MsgResult::kNo,
                   "Der aktuellen Rubrik sind diese Daten zugeordnet:\n\nKundenstammdaten\n"
                   "Offene Posten\n\nSollen die Rubrik und ihre Zuordnungen gelöscht werden? Die "
                   "Daten selbst bleiben erhalten.",
                   "5", "5", "6"},
        DeleteCase{"data_entry_yes", 2, 0, MsgResult::kYes,
                   "Der aktuelle Datensatz ist diesen Rubriken zugeordnet:\n\nStart\n"
                   "Offene_Posten\n\nSollen der Datensatz und seine Zuordnungen gelöscht werden?",
                   "5", "4", "4"}),
    [](const ::testing::TestParamInfo<DeleteCase>& p) { return std::string(p.param.what); });

TEST_F(CoreTest, AnAssignmentToADeletedRubricShowsAsMissingAndCanBeDeleted) {
  Execute("INSERT INTO Zuordnungen (ID_Zuordnung, Rubrik_ID, Daten_ID, Rang) VALUES (9, 42, 2, 3);");
  Open();
  ASSERT_TRUE(window->SelectTab(3));
  window->cmdMoveLast_Click();
  ASSERT_EQ(view.fields["txbZuordnungenRang"], "3");
  const std::vector<LookupRow>& rows = view.lists["cbxZuordnungenRubrik"];
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows.back().text, "<<fehlt: 42>>");
  EXPECT_EQ(view.listRows["cbxZuordnungenRubrik"], 5);
  EXPECT_NE(view.state.edit, "geändert");  // showing the marker changes nothing
  // The record before shows the list without the marker again.
  window->cmdMovePrevious_Click();
  EXPECT_EQ(view.lists["cbxZuordnungenRubrik"].size(), 5u);
  EXPECT_GE(view.listRows["cbxZuordnungenRubrik"], 0);

  window->cmdMoveLast_Click();
  prompts.answers = {MsgResult::kYes};
  window->cmdDelete_Click();
  EXPECT_EQ(prompts.shown.front().text,
            "Sind Sie sicher, dass Sie den aktuellen Datensatz löschen wolllen?");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Zuordnungen WHERE ID_Zuordnung = 9"), "0");
}

}  // namespace
}  // namespace vn::config::testing
