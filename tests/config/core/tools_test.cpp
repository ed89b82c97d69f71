// The rest of the window's core: the keyboard commands, the size buttons' arithmetic, the
// layout table, the data link's fields, the start files' bytes and the tree's menu rules.
#include <set>

#include "config/core/bindings.h"
#include "config/core/data_link_fields.h"
#include "config/core/layout.h"
#include "config/core/start_files.h"
#include "core_fixture.h"
#include "platform/path_separator.h"

namespace vn::config::testing {
namespace {

TEST_F(CoreTest, KeysPressOnlyEnabledButtonsAndCtrlAloneJumps) {
  Open();
  EXPECT_FALSE(window->KeyPressed(Key::kUp, false));  // on the first row: previous is off
  EXPECT_TRUE(window->KeyPressed(Key::kDown, false));
  EXPECT_TRUE(window->KeyPressed(Key::kDown, false));
  EXPECT_EQ(view.state.status, "3. Datensatz von 5");
  EXPECT_TRUE(window->KeyPressed(Key::kDown, true));
  EXPECT_EQ(view.state.status, "5. Datensatz von 5");
  EXPECT_TRUE(window->KeyPressed(Key::kPageUp, false));
  EXPECT_EQ(view.state.status, "4. Datensatz von 5");
  EXPECT_TRUE(window->KeyPressed(Key::kUp, true));
  EXPECT_EQ(view.state.status, "1. Datensatz von 5");
  EXPECT_FALSE(window->KeyPressed(Key::kEnter, false));   // nothing to save
  EXPECT_FALSE(window->KeyPressed(Key::kDelete, false));  // row 1 is protected
  EXPECT_TRUE(window->KeyPressed(Key::kInsert, false));
  EXPECT_EQ(view.state.edit, "neu");
  EXPECT_EQ(view.focus, "txbRubrikenRubrik");
  EXPECT_TRUE(window->KeyPressed(Key::kEscape, false));
  EXPECT_EQ(view.state.status, "1. Datensatz von 5");
}

TEST(FieldSizesTest, EnlargeCoversTheFieldsAboveAndShrinkReturnsToTheNormalPlace) {
  FieldSizes sizes;
  const int gap = 120;
  const int tpp = 15;
  const FieldResize big = sizes.Toggle(true, gap, tpp);
  const TwipsRect panel = Rect("frTab1");
  const TwipsRect normal = Rect("txbDatenAbfrage");
  EXPECT_EQ(big.fieldRect.top, Rect("cbxDatenFormat").top);
  // The bottom stays 2 gaps above the panel's bottom.
  EXPECT_EQ(big.fieldRect.top + big.fieldRect.height, panel.height - 2 * gap);
  EXPECT_EQ(big.labelRect.height, big.fieldRect.height);
  EXPECT_EQ(big.caption, FieldSizes::CaptionEnlarged());
  // The size button and the preview button beside it.
  ASSERT_EQ(big.buttons.size(), 2u);
  EXPECT_EQ(big.buttons[0].second.top + big.buttons[0].second.height + 2 * tpp,
            big.fieldRect.top + big.fieldRect.height);
  EXPECT_EQ(big.raise, (std::vector<std::string>{"txbDatenAbfrage", "cmdMinMaxDatenAbfrage",
                                                 "cmdVorschau", "lbDatenAbfrage"}));
  const FieldResize small = sizes.Toggle(true, gap, tpp);
  EXPECT_EQ(small.fieldRect.top, normal.top);
  EXPECT_EQ(small.fieldRect.height, normal.height);
  EXPECT_EQ(small.labelRect.height, Rect("txbDatenTitel").height);
  EXPECT_EQ(small.caption, FieldSizes::CaptionNormal());
  EXPECT_TRUE(small.raise.empty());
  // The connection field shrinks against the query field's normal place, even while that one
  // is enlarged.
  sizes.Toggle(true, gap, tpp);
  sizes.Toggle(false, gap, tpp);
  const FieldResize connection = sizes.Toggle(false, gap, tpp);
  EXPECT_EQ(connection.fieldRect.top, Rect("txbDatenVerbindung").top);
  EXPECT_EQ(connection.fieldRect.height, Rect("txbDatenVerbindung").height);
  EXPECT_EQ(connection.buttons.size(), 2u);
}

TEST(LayoutTest, TheBarTheFieldGapAndEveryBoundFieldWithItsLabel) {
  const char* const bar[] = {"cmdMoveFirst", "cmdMovePrevious", "cmdMoveNext", "cmdMoveLast",
                             "cmdDelete",    "cmdAddNew",       "cmdCancel",   "cmdOK"};
  const int lefts[] = {0, 480, 960, 1440, 2040, 2520, 3120, 3600};
  for (int i = 0; i < 8; ++i) {
    const TwipsRect rect = Rect(bar[i]);
    EXPECT_EQ(rect.left, lefts[i]) << bar[i];
    EXPECT_EQ(rect.width, 375) << bar[i];
    EXPECT_EQ(rect.height, 375) << bar[i];
  }
  EXPECT_STREQ(Place("cmdOK").tooltip, "Dateneingabe übernehmen");
  const TwipsRect rubrik = Rect("txbRubrikenRubrik");
  EXPECT_EQ(Rect("txbRubrikenRang").top - rubrik.top - rubrik.height, 120);
  for (const Binding& binding : BindingTable()) {
    const ControlPlace& label = Place(binding.label);
    EXPECT_STREQ(label.caption, binding.caption) << binding.control;
    EXPECT_STREQ(label.buddy, binding.control);
    EXPECT_EQ(std::string(Place(binding.control).container),
              "frTab" + std::to_string(binding.tab - 1));
  }
  // The load step's client area: the tab strip with the frame's margin (at least the strip's
  // left) on both sides, the button bar with the status bar and 48 twips below.
  const TwipsRect strip{120, 120, 9600, 6000};
  const TwipsRect buttonBar{120, 6240, 9600, 375};
  for (const auto& [frame, width] : {std::pair{240, 9960}, std::pair{60, 9840}}) {
    const TwipsRect client = LoadClientArea(strip, buttonBar, frame, 330);
    EXPECT_EQ(client.width, width) << frame;
    EXPECT_EQ(client.height, 6993) << frame;
  }
  // The debug box lies below the button bar.
  EXPECT_GT(Rect("txbStatus").top,
            Rect("picDatenSteuerung").top + Rect("picDatenSteuerung").height);
}

// Every button shows something and does something, each of the bar's buttons its own picture;
// the size buttons are bold arrows; the three small buttons at the long fields' edges are drawn
// above their places, and the load step moves them two pixels down.
TEST_F(CoreTest, EveryButtonShowsAndDoesSomethingAndTheSmallButtonsComeDownOnLoad) {
  std::set<Picture> barPictures;
  std::vector<std::string> drawnAbove;
  for (const ControlPlace& place : LayoutTable()) {
    SCOPED_TRACE(place.name);
    const bool button = place.kind == ControlKind::kBarButton || place.kind == ControlKind::kButton;
    EXPECT_EQ(place.command != nullptr, button);
    if (button) {
      EXPECT_TRUE(place.caption[0] != '\0' || place.picture != Picture::kNone);
    }
    if (place.kind == ControlKind::kBarButton) {
      EXPECT_TRUE(barPictures.insert(place.picture).second);
    }
    if (place.pixelsUp != 0) drawnAbove.emplace_back(place.name);
    EXPECT_EQ(place.font == ControlFont::kBold,
              std::string(place.caption) == FieldSizes::CaptionNormal());
  }
  EXPECT_EQ(barPictures.size(), 8u);
  EXPECT_EQ(drawnAbove, (std::vector<std::string>{"cmdVerbindung", "cmdMinMaxDatenVerbindung",
                                                  "cmdVorschau", "cmdMinMaxDatenAbfrage"}));
  EXPECT_EQ(Place("cmdVerbindung").pixelsUp, 4);
  EXPECT_EQ(Place("txbRegisterkarte").caption, std::string("Varnolis"));

  Open();
  EXPECT_EQ(
      view.movedDown,
      (std::vector<std::pair<std::string, int>>{
          {"cmdVerbindung", 2},
          {"cmdMinMaxDatenVerbindung", 2},
          {"cmdVorschau", 2},
          {"cmdMinMaxDatenAbfrage", 2}}));
}

TEST(DataLinkFieldsTest, ReadsWithTheDataLayersSyntaxAndWritesBack) {
  DataLinkFields fields = DataLinkFields::Read("Provider=SQLite;Data Source=/srv/kunden.db;");
  EXPECT_EQ(fields.kind, DataLinkFields::kSqliteFile);
  EXPECT_EQ(fields.ConnectionString(), "Provider=SQLite;Data Source=/srv/kunden.db;");
  fields = DataLinkFields::Read("DSN=Kunden;UID=admin;PWD=a;b");
  EXPECT_EQ(fields.kind, DataLinkFields::kOdbcDataSource);
  EXPECT_EQ(fields.ConnectionString(), "DSN=Kunden;UID=admin;PWD=a;b");
  fields = DataLinkFields::Read("Driver={PostgreSQL Unicode};Server=localhost;Database=erp");
  EXPECT_EQ(fields.kind, DataLinkFields::kOdbcDriver);
  EXPECT_EQ(fields.keys, "Server=localhost\nDatabase=erp");
  EXPECT_EQ(fields.ConnectionString(), "Driver={PostgreSQL Unicode};Server=localhost;Database=erp");
  // Quoted values as the data layer reads them.
  fields = DataLinkFields::Read("Provider=SQLite;Data Source=\"C:\\Daten;alt\\k.db\"");
  EXPECT_EQ(fields.file, "C:\\Daten;alt\\k.db");
  fields = DataLinkFields::Read("Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db");
  EXPECT_EQ(fields.kind, DataLinkFields::kTyped);
  EXPECT_EQ(fields.ConnectionString(),
            "Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db");
  EXPECT_EQ(DataLinkFields::Read("Data Source='offen").kind, DataLinkFields::kTyped);
}

TEST_F(CoreTest, StartFilesAreWrittenWithThePlatformsSeparatorAndCrLf) {
  const std::string netlinks = folder + VN_PATH_SEP "netlinks";
  std::filesystem::create_directories(std::filesystem::path(netlinks));
  CreateStartFiles(netlinks, "Kunden", prompts);
  ASSERT_EQ(prompts.shown.size(), 1u);
  const std::string page = netlinks + VN_PATH_SEP "Varnolis.htm";
  EXPECT_EQ(prompts.shown[0].text, "Die beiden Startdateien:\n\n'" + netlinks +
                                       VN_PATH_SEP "Varnolis.ctl'\n'" + page +
                                       "'\n\nwurden neu erstellt.");
  EXPECT_EQ(ReadFile(netlinks + VN_PATH_SEP "Varnolis.ctl"),
            "ACT! Browser Control File Version 1.00\r\n[VIEW]\r\nType = CONTACTTAB\r\n"
            "STARTURL=\"" +
                page + "\"\r\nTITLE=\"Var&nolis\"\r\nPRIORITY=0\r\n\r\n");
  EXPECT_NE(
      ReadFile(page).find("Starte <a href=\"varnolis://rubrik/Kunden\">Varnolis </a>... \r\n"),
      std::string::npos);
  prompts.answers = {MsgResult::kYes};
  RemoveStartFiles(netlinks, prompts);
  EXPECT_FALSE(FileExists(page));
  EXPECT_TRUE(DirExists(netlinks));
}

TEST_F(CoreTest, TheTreesMenuFitsTheNodeAndANewAssignmentStartsForItsRubric) {
  Open();
  ASSERT_TRUE(window->SelectTab(4));
  ASSERT_FALSE(view.tree.empty());
  EXPECT_EQ(view.tree[0].text, "Zuordnungen");
  EXPECT_EQ(view.tree[0].key, "Root");
  int empty = 0;
  int data = 0;
  for (size_t i = 0; i < view.tree.size(); ++i) {
    if (view.tree[i].text == "<<Leer>>") empty = static_cast<int>(i) + 1;
    if (data == 0 && AssignmentTree::IsDataNode(view.tree[i].tag)) data = static_cast<int>(i) + 1;
  }
  ASSERT_GT(empty, 0);
  ASSERT_GT(data, 0);
  view.selectedNode = 1;
  EXPECT_FALSE(window->tvZuordnungen_MouseUp(2).show);
  view.selectedNode = data;
  const TreeMenu onData = window->tvZuordnungen_MouseUp(2);
  EXPECT_TRUE(onData.show && onData.zeigeDaten && onData.zeigeZuordnung && onData.neueZuordnung);
  EXPECT_FALSE(onData.zeigeRubrik);
  view.selectedNode = empty;
  const TreeMenu onEmpty = window->tvZuordnungen_MouseUp(2);
  EXPECT_TRUE(onEmpty.show && onEmpty.neueZuordnung);
  EXPECT_FALSE(onEmpty.zeigeRubrik || onEmpty.zeigeDaten || onEmpty.zeigeZuordnung);
  EXPECT_FALSE(window->tvZuordnungen_MouseUp(1).show);

  window->mnuNeueZuordnung_Click();
  EXPECT_EQ(window->SelectedTab(), 3);
  EXPECT_EQ(view.state.edit, "neu");
  const int row = view.listRows["cbxZuordnungenRubrik"];
  ASSERT_GE(row, 0);
  EXPECT_EQ(VariantText(view.lists["cbxZuordnungenRubrik"][static_cast<size_t>(row)].id), "5");
  EXPECT_EQ(view.focus, "cbxZuordnungenDaten");
}

}  // namespace
}  // namespace vn::config::testing
