// The tab "Übersicht" on Qt: the tree widget filled from the core's nodes, its pictures, and
// the context menu over the core's menu rules.
#include <QAction>
#include <QMenu>
#include <QTreeWidget>

#include "config/qt/button_icons.h"
#include "config/qt/frm_konfiguration.h"

namespace vn::config {

namespace {

constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

// The tree's three pictures: 1 root and empty marker, 2 rubric, 3 data entry.
QIcon TreeImage(int image) {
  return MakeButtonIcon(image == 1   ? Picture::kTreeFolder
                        : image == 2 ? Picture::kTreeRubric
                                     : Picture::kTreeData);
}

}  // namespace

QString frmKonfiguration::NodeTag(const QTreeWidgetItem* node) {
  return node == nullptr ? QString() : node->data(0, kTagRole).toString();
}

QString frmKonfiguration::NodeKey(const QTreeWidgetItem* node) {
  return node == nullptr ? QString() : node->data(0, kKeyRole).toString();
}

QTreeWidgetItem* frmKonfiguration::NodeAt(int index) const {
  if (index < 1 || index > static_cast<int>(treeNodes_.size())) return nullptr;
  return treeNodes_[static_cast<size_t>(index - 1)];
}

void frmKonfiguration::ShowTree(const std::vector<TreeNode>& nodes, int selected) {
  treeNodes_.clear();
  tvZuordnungen_->clear();
  for (const TreeNode& node : nodes) {
    QTreeWidgetItem* parent = NodeAt(node.parent);
    auto* item =
        parent == nullptr ? new QTreeWidgetItem(tvZuordnungen_) : new QTreeWidgetItem(parent);
    item->setText(0, QString::fromStdString(node.text));
    item->setData(0, kTagRole, QString::fromStdString(node.tag));
    if (!node.key.empty()) item->setData(0, kKeyRole, QString::fromStdString(node.key));
    item->setData(0, kImageRole, node.image);
    item->setIcon(0, TreeImage(node.image));
    treeNodes_.push_back(item);
  }
  for (QTreeWidgetItem* item : treeNodes_) item->setExpanded(true);
  if (QTreeWidgetItem* node = NodeAt(selected)) {
    tvZuordnungen_->setCurrentItem(node);
    tvZuordnungen_->scrollToItem(node);
  }
}

int frmKonfiguration::SelectedTreeNode() const {
  const QTreeWidgetItem* selected = tvZuordnungen_->currentItem();
  if (selected == nullptr) return 0;
  for (size_t i = 0; i < treeNodes_.size(); ++i)
    if (treeNodes_[i] == selected) return static_cast<int>(i) + 1;
  return 0;
}

void frmKonfiguration::OpenTreeMenu(const QPoint& globalPosition) {
  if (tvZuordnungen_->currentItem() == nullptr) return;
  const TreeMenu menu = core_.tvZuordnungen_MouseUp(2);
  for (const auto& [item, action] : menuItems_) action->setEnabled(menu.*item->enabled);
  if (menu.show) mnuAnsicht_->popup(globalPosition);
}

}  // namespace vn::config
