// The assignment tree over the demo configuration: its nodes, the empty rubric, the data entry
// under two rubrics, the context menu's items, double-click, and the selection kept by index.
#include <QAction>
#include <QMenu>

#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

class AssignmentTreeTest : public RealDataTest {
 protected:
  void OpenTree() {
    Open();
    Core().SelectTab(4);
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
  }
  // Right-clicks `node` as the user does and returns the enabled items as "RDZN" letters.
  std::string RightClick(QTreeWidgetItem* node) {
    QTreeWidget* tree = Tree();
    tree->scrollToItem(node);
    const QPoint at = tree->visualItemRect(node).center();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(tree->currentItem(), node);
    std::string enabled;
    if (!AnsichtMenu()->isVisible()) return "no menu";
    const std::pair<const char*, char> items[] = {{"mnuZeigeRubrik", 'R'},
                                                  {"mnuZeigeDaten", 'D'},
                                                  {"mnuZeigeZuordnung", 'Z'},
                                                  {"mnuNeueZuordnung", 'N'}};
    for (const auto& [name, letter] : items) {
      QAction* item = AnsichtMenu()->findChild<QAction*>(QString::fromLatin1(name));
      enabled += item != nullptr && item->isEnabled() ? letter : '-';
    }
    AnsichtMenu()->hide();
    return enabled;
  }
};

TEST_F(AssignmentTreeTest, RubricsInRankWithTheirEntriesInAssignmentRank) {
  OpenTree();
  QTreeWidgetItem* root = Tree()->topLevelItem(0);
  EXPECT_EQ(frmKonfiguration::NodeKey(root), QStringLiteral("Root"));
  EXPECT_EQ(Outline(root), QStringLiteral("Zuordnungen[]\n"
                                          "  Start[ID_Rubrik=1]\n"
                                          "    Kundenstammdaten[ID_Daten=1]\n"
                                          "    Ansprechpartner[ID_Daten=4]\n"
                                          "  Rechnungen[ID_Rubrik=2]\n"
                                          "    Rechnungen[ID_Daten=2]\n"
                                          "  Offene_Posten[ID_Rubrik=3]\n"
                                          "    Kundenstammdaten[ID_Daten=1]\n"
                                          "    Offene Posten[ID_Daten=3]\n"
                                          "  Info[ID_Rubrik=4]\n"
                                          "    Über Varnolis[ID_Daten=5]\n"
                                          "  Notizen[ID_Rubrik=5]\n"
                                          "    <<Leer>>[]\n"));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_TRUE(root->child(0)->isExpanded());
  EXPECT_EQ(window->NodeAt(1), root);
  EXPECT_EQ(window->NodeAt(3)->text(0), QStringLiteral("Kundenstammdaten"));
  EXPECT_EQ(window->NodeAt(13)->text(0), QStringLiteral("<<Leer>>"));
  EXPECT_EQ(window->NodeAt(14), nullptr);
}

TEST_F(AssignmentTreeTest, TheMenuOffersWhatFitsTheNode) {
  OpenTree();
  EXPECT_EQ(RightClick(FindNode(QStringLiteral("Notizen"), QString())), "R--N");
  EXPECT_EQ(RightClick(FindNode(QStringLiteral("Offene Posten"), QStringLiteral("Offene_Posten"))),
            "-DZN");
  EXPECT_EQ(RightClick(Tree()->topLevelItem(0)), "no menu");
  EXPECT_EQ(RightClick(FindNode(QStringLiteral("Notizen"), QString())->child(0)), "---N");
}

TEST_F(AssignmentTreeTest, AddingAnAssignmentFromTheEmptyMarkerStartsOneForItsRubric) {
  OpenTree();
  Tree()->setCurrentItem(FindNode(QStringLiteral("Notizen"), QString())->child(0));
  Core().mnuNeueZuordnung_Click();
  EXPECT_EQ(Core().SelectedTab(), 3);
  EXPECT_EQ(EditPanel(), QStringLiteral("neu"));
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenRubrik")->currentText(), QStringLiteral("Notizen"));
  EXPECT_EQ(Current("Rubrik_ID"), QStringLiteral("5"));
  EXPECT_EQ(QApplication::focusWidget(), Child<QComboBox>("cbxZuordnungenDaten"));
}

TEST_F(AssignmentTreeTest, ShowingTheAssignmentOfAnEntryUnderTwoRubricsFindsEachOne) {
  OpenTree();
  Tree()->setCurrentItem(
      FindNode(QStringLiteral("Kundenstammdaten"), QStringLiteral("Start")));
  Core().mnuZeigeZuordnung_Click();
  EXPECT_EQ(Core().SelectedTab(), 3);
  EXPECT_EQ(Current("ID_Zuordnung"), QStringLiteral("1"));
  EXPECT_EQ(StatusText(), QStringLiteral("1. Datensatz von 6"));

  Core().SelectTab(4);
  Tree()->setCurrentItem(
      FindNode(QStringLiteral("Kundenstammdaten"), QStringLiteral("Offene_Posten")));
  Core().mnuZeigeZuordnung_Click();
  EXPECT_EQ(Current("ID_Zuordnung"), QStringLiteral("5"));
  EXPECT_EQ(Child<QComboBox>("cbxZuordnungenRubrik")->currentText(),
            QStringLiteral("Offene_Posten"));
  // The filter is gone again: all six assignments, this one fourth in their order.
  EXPECT_EQ(StatusText(), QStringLiteral("4. Datensatz von 6"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AssignmentTreeTest, DoubleClickOpensTheRecordOrTheAssignments) {
  OpenTree();
  QTreeWidget* tree = Tree();
  tree->setCurrentItem(FindNode(QStringLiteral("Info"), QString()));
  Core().tvZuordnungen_DblClick();
  EXPECT_EQ(Core().SelectedTab(), 1);
  EXPECT_EQ(Text("txbRubrikenRubrik"), QStringLiteral("Info"));
  EXPECT_EQ(StatusText(), QStringLiteral("4. Datensatz von 5"));

  Core().SelectTab(4);
  tree->setCurrentItem(FindNode(QStringLiteral("Offene Posten"), QStringLiteral("Offene_Posten")));
  Core().mnuZeigeDaten_Click();
  EXPECT_EQ(Core().SelectedTab(), 2);
  EXPECT_EQ(Text("txbDatenTitel"), QStringLiteral("Offene Posten"));

  Core().SelectTab(4);
  tree->setCurrentItem(FindNode(QStringLiteral("Notizen"), QString())->child(0));
  Core().tvZuordnungen_DblClick();  // the empty marker: nothing
  EXPECT_EQ(Core().SelectedTab(), 4);
  tree->setCurrentItem(tree->topLevelItem(0));
  Core().tvZuordnungen_DblClick();
  EXPECT_EQ(Core().SelectedTab(), 3);
}

TEST_F(AssignmentTreeTest, TheSelectionKeepsItsIndexAcrossRebuilds) {
  OpenTree();
  Tree()->setCurrentItem(window->NodeAt(13));  // "<<Leer>>" below Notizen
  Core().SelectTab(1);
  Core().SelectTab(4);
  EXPECT_EQ(Tree()->currentItem(), window->NodeAt(13));
  // Deleted elsewhere: the tree is one node shorter, and nothing is selected.
  Execute("DELETE FROM Zuordnungen WHERE ID_Zuordnung = 2;");
  Core().SelectTab(1);
  Core().SelectTab(4);
  EXPECT_EQ(FindNode(QStringLiteral("Start"), QString())->childCount(), 1);
  EXPECT_EQ(window->NodeAt(13), nullptr);
  EXPECT_EQ(Tree()->currentItem(), nullptr);
}

}  // namespace
}  // namespace vn::config::testing
