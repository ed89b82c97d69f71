// The configuration window's preview: F5, the button beside the query and the tree's menu entry
// preview the data entry as its fields stand, typed and unsaved edits included, and save nothing.
#include <filesystem>
#include <fstream>
#include <string>

#include "core_fixture.h"
#include "preview_fixture.h"

namespace vn::config::testing {
namespace {

class KonfigurationPreviewTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    act_ = (std::filesystem::path(folder) / "act.json").string();
    std::ofstream(act_, std::ios::binary)
        << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
           "\"visible\": true}], \"database\": \"Test.dbf\", \"activeView\": 1, "
           "\"contact\": {\"25\": \"K7\"}}";
    environment_.Set("VARNOLIS_ACT", act_);
    customers_ = (std::filesystem::path(folder) / "kunden.db").string();
    ExecuteSql(customers_,
               "CREATE TABLE Kunden (Nr VARCHAR(10), Name VARCHAR(40));"
               "INSERT INTO Kunden VALUES ('K7', 'Sieben'), ('K8', 'Acht');");
    Open();
    preview.SetACTAutomation(&PreviewStandIn);
    window->SetPreview(&preview);
  }

  // The result the preview window draws once the worker is done.
  PreviewResult Shown() {
    EXPECT_TRUE(previewView.WaitForWake(++wakes_));
    preview.Deliver();
    return previewView.results.empty() ? PreviewResult{} : previewView.results.back();
  }

  EnvironmentOverride environment_;
  RecordingPreviewView previewView;
  PreviewControl preview{previewView};
  std::string act_;
  std::string customers_;
  int wakes_ = 0;
};

TEST_F(KonfigurationPreviewTest, F5PreviewsTheTypedEntryAndSavesNothing) {
  ASSERT_TRUE(window->SelectTab(2));
  const std::string savedQuery = Scalar("SELECT Abfrage FROM Daten WHERE ID_Daten = 1");
  view.Type("txbDatenTitel", "Neuer Titel");
  view.Type("txbDatenVerbindung", "Provider=SQLite;Data Source=" + customers_);
  view.Type("txbDatenAbfrage",
            "SELECT Nr AS [Kunden-Nr.], Name FROM Kunden WHERE Nr = '{!kontakt, 25}'");
  // F5 is answered while the focus is in the query field; the other keys are the field's.
  EXPECT_FALSE(window->FieldKeyPressed(Key::kDown));
  EXPECT_TRUE(window->FieldKeyPressed(Key::kF5));
  EXPECT_EQ(previewView.running, std::vector<std::string>{"Vorschau - Neuer Titel"});
  const PreviewResult result = Shown();
  EXPECT_EQ(result.errorNumber, 0) << result.errorText;
  // The entry's own format, a record card.
  EXPECT_EQ(result.columns, (std::vector<std::string>{"Kunden-Nr.", "Name"}));
  EXPECT_EQ(result.rows, (std::vector<std::vector<std::string>>{{"K7", "Sieben"}}));
  EXPECT_EQ(result.query, "SELECT Nr AS [Kunden-Nr.], Name FROM Kunden WHERE Nr = 'K7'");
  // Nothing saved: the record is still being edited and the database holds the old query.
  EXPECT_EQ(view.state.edit, "geändert");
  EXPECT_EQ(Scalar("SELECT Abfrage FROM Daten WHERE ID_Daten = 1"), savedQuery);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(KonfigurationPreviewTest, AChangedFormatIsPreviewedAndANewF5FollowsInTheSameWindow) {
  ASSERT_TRUE(window->SelectTab(2));
  view.Type("txbDatenVerbindung", "Provider=SQLite;Data Source=" + customers_);
  view.Type("txbDatenAbfrage",
            "SELECT Nr AS hide_Nr, Name AS [right_Name] FROM Kunden ORDER BY Nr");
  // The table of the formats: the first row.
  ASSERT_FALSE(view.lists["cbxDatenFormat"].empty());
  int table = -1;
  for (size_t i = 0; i < view.lists["cbxDatenFormat"].size(); ++i) {
    if (VariantText(view.lists["cbxDatenFormat"][i].id) == "0") table = static_cast<int>(i);
  }
  ASSERT_GE(table, 0);
  view.Pick("cbxDatenFormat", table);
  EXPECT_TRUE(window->KeyPressed(Key::kF5, false));
  PreviewResult result = Shown();
  EXPECT_EQ(result.columns, std::vector<std::string>{"Name"});
  EXPECT_EQ(result.rows, (std::vector<std::vector<std::string>>{{"Sieben"}, {"Acht"}}));

  view.Type("txbDatenAbfrage", "SELECT Name FROM Kunden WHERE Nr = 'K8'");
  EXPECT_TRUE(window->KeyPressed(Key::kF5, false));
  result = Shown();
  EXPECT_EQ(result.rows, (std::vector<std::vector<std::string>>{{"Acht"}}));
  EXPECT_EQ(previewView.running.size(), 2u);
}

TEST_F(KonfigurationPreviewTest, F5OutsideTheTabDatenDoesNothing) {
  for (int tab : {1, 3, 4, 5}) {
    ASSERT_TRUE(window->SelectTab(tab));
    EXPECT_FALSE(window->KeyPressed(Key::kF5, false)) << tab;
    EXPECT_FALSE(window->FieldKeyPressed(Key::kF5)) << tab;
  }
  EXPECT_TRUE(previewView.running.empty());
}

}  // namespace
}  // namespace vn::config::testing
