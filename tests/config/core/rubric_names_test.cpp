// A rubric's name is its page's address, compared without regard to case: a save that would
// give two rubrics one name is refused and keeps the input; a database that already holds such
// names opens and says so once.
#include <gtest/gtest.h>

#include <string>

#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {
namespace {

struct NameCase {
  const char* what;
  bool addNew;           // a new rubric, else the second one (Rechnungen) renamed
  const char* typed;
  const char* refusedBy;  // the other rubric the message names, or nullptr: saved
};

class RubricNameTest : public CoreTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(RubricNameTest, ASaveUnderAnotherRubricsNameIsRefusedAndKeepsTheInput) {
  const NameCase& c = GetParam();
  Open();
  if (c.addNew) {
    window->cmdAddNew_Click();
  } else {
    window->cmdMoveNext_Click();
  }
  view.Type("txbRubrikenRubrik", c.typed);
  window->cmdOK_Click();
  // The typed name as stored: in rubric 2, or in a sixth rubric.
  const std::string stored =
      c.addNew ? Scalar("SELECT Rubrik FROM Rubriken WHERE ID_Rubrik > 5")
               : Scalar("SELECT Rubrik FROM Rubriken WHERE ID_Rubrik = 2");
  if (c.refusedBy == nullptr) {
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
    EXPECT_EQ(stored, c.typed);
    // Saved: a renamed rubric stays, a new one is left for the row the save moved to.
    EXPECT_EQ(view.state.edit, c.addNew ? "gewechselt" : "gespeichert");
    return;
  }
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            std::string("Es gibt schon eine Rubrik namens „") + c.refusedBy +
                "“. Der Name ist die Adresse der Rubrik, ohne Rücksicht auf Groß- und "
                "Kleinschreibung: Zwei gleiche Namen zeigten die Daten beider Rubriken auf "
                "einer Seite. Bitte wählen Sie einen anderen Namen.");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kExclamation);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), "5");
  EXPECT_EQ(view.fields["txbRubrikenRubrik"], c.typed);
  EXPECT_EQ(view.state.edit, c.addNew ? "neu" : "geändert");
  EXPECT_EQ(view.focus, "txbRubrikenRubrik");
  EXPECT_EQ(Scalar("SELECT Rubrik FROM Rubriken WHERE ID_Rubrik = 2"), "Rechnungen");
}

INSTANTIATE_TEST_SUITE_P(
    Names, RubricNameTest,
    ::testing::Values(NameCase{"another_in_other_case", false, "OFFENE_POSTEN", "Offene_Posten"},
                      NameCase{"another_exactly", false, "Info", "Info"},
                      NameCase{"new_under_an_existing", true, "notizen", "Notizen"},
                      NameCase{"own_name_in_other_case", false, "RECHNUNGEN", nullptr},
                      NameCase{"a_free_name", false, "Rechnungen_alt", nullptr},
                      NameCase{"new_with_a_quote", true, "Kunde's", nullptr}),
    [](const ::testing::TestParamInfo<NameCase>& p) { return std::string(p.param.what); });

TEST_F(CoreTest, SharedNamesOfAnExistingDatabaseAreToldOnceAtOpening) {
  Execute(
      "UPDATE Rubriken SET Rubrik = 'start' WHERE ID_Rubrik = 4;"
      "UPDATE Rubriken SET Rubrik = 'Notizen' WHERE ID_Rubrik = 3;"
      "INSERT INTO Rubriken (ID_Rubrik, Rang, Rubrik) VALUES (6, 6, 'NOTIZEN');");
  Open();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "Mehrere Rubriken tragen denselben Namen (ohne Rücksicht auf Groß- und "
            "Kleinschreibung):\n"
            "Start, start\n"
            "Notizen, Notizen, NOTIZEN\n\n"
            "Eine Seite zeigt die Daten aller Rubriken eines Namens. Bitte geben Sie jeder Rubrik "
            "einen eigenen Namen.");
  EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kInformation);
  // The rubrics are all there, and moving through them says nothing more.
  EXPECT_EQ(view.state.status, "1. Datensatz von 6");
  window->cmdMoveNext_Click();
  window->cmdMoveLast_Click();
  EXPECT_EQ(view.fields["txbRubrikenRubrik"], "NOTIZEN");
  EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(CoreTest, ADatabaseWithoutSharedNamesOpensWithoutANotice) {
  Open();
  EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace vn::config::testing
