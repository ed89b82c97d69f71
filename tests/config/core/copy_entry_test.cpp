// "Kopieren" starts a new data entry filled from the current one, ready to save.
#include <gtest/gtest.h>

#include <string>

#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {
namespace {

TEST_F(CoreTest, ACopyIsANewEntryWithTheCurrentOnesValuesAndAMarkedTitle) {
  Open();
  ASSERT_TRUE(window->SelectTab(2));
  window->cmdMoveNext_Click();
  ASSERT_EQ(view.fields["txbDatenTitel"], "Rechnungen");
  // A typed edit counts: it is saved with its entry, then copied.
  view.Type("txbDatenBemerkung", "Kunde und Rechnungen");
  const std::string query = view.fields["txbDatenAbfrage"];
  const int format = view.listRows["cbxDatenFormat"];
  window->cmdKopieren_Click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Scalar("SELECT Bemerkung FROM Daten WHERE ID_Daten = 2"), "Kunde und Rechnungen");
  EXPECT_EQ(view.state.edit, "neu");
  EXPECT_EQ(view.fields["txbDatenTitel"], "Rechnungen (Kopie)");
  EXPECT_EQ(view.fields["txbDatenBemerkung"], "Kunde und Rechnungen");
  EXPECT_EQ(view.fields["txbDatenVerbindung"], "Provider=SQLite;Data Source=databases/demo.db");
  EXPECT_EQ(view.fields["txbDatenAbfrage"], query);
  EXPECT_EQ(view.listRows["cbxDatenFormat"], format);
  EXPECT_EQ(view.focus, "txbDatenTitel");

  window->cmdOK_Click();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Daten"), "6");
  EXPECT_EQ(Scalar("SELECT Titel || '|' || Format_ID || '|' || Datenquelle || '|' || Bemerkung "
                   "FROM Daten WHERE ID_Daten = 6"),
            "Rechnungen (Kopie)|1|Provider=SQLite;Data Source=databases/demo.db|Kunde und "
            "Rechnungen");
  EXPECT_EQ(Scalar("SELECT Abfrage = (SELECT Abfrage FROM Daten WHERE ID_Daten = 2) FROM Daten "
                   "WHERE ID_Daten = 6"),
            "1");
  // The original is untouched.
  EXPECT_EQ(Scalar("SELECT Titel FROM Daten WHERE ID_Daten = 2"), "Rechnungen");
}

TEST_F(CoreTest, KopierenDoesNothingOutsideTheDataTab) {
  Open();
  window->cmdKopieren_Click();
  EXPECT_EQ(view.state.edit, "");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Rubriken"), "5");
}

}  // namespace
}  // namespace vn::config::testing
