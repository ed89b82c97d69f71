// The tab "Übersicht": the tree of rubrics with their assigned data entries, built from the
// shaped look-up, and the jumps from its nodes to the editing tabs.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPainter>
#include <QTreeWidget>

#include "config/data_env_events.h"
#include "config/frm_konfiguration.h"
#include "config/message_box.h"
#include "data/field.h"
#include "data/recordset.h"
#include "platform/runtime_error.h"

namespace vn::config {

namespace {

constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

// The tree's three pictures: 1 root and empty marker, 2 rubric, 3 data entry.
QIcon TreeImage(int image) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  if (image == 1) {  // a folder
    painter.setBrush(QColor(240, 200, 90));
    painter.drawRect(1, 4, 14, 10);
    painter.drawRect(1, 2, 6, 3);
  } else if (image == 2) {  // a page with a tab
    painter.setBrush(QColor(120, 170, 230));
    painter.drawRect(2, 3, 12, 11);
    painter.drawLine(4, 7, 12, 7);
    painter.drawLine(4, 10, 12, 10);
  } else {  // a table
    painter.setBrush(Qt::white);
    painter.drawRect(2, 2, 12, 12);
    painter.drawLine(2, 6, 14, 6);
    painter.drawLine(2, 10, 14, 10);
    painter.drawLine(7, 2, 7, 14);
  }
  return QIcon(pixmap);
}

bool IsRubricNode(const QString& tag) { return tag.toLower().contains(QStringLiteral("rubrik")); }
bool IsDataNode(const QString& tag) { return tag.toLower().contains(QStringLiteral("daten")); }

QString ValueAfterEquals(const QString& tag) {
  const int equals = tag.indexOf(QLatin1Char('='));
  return equals < 0 ? QString() : tag.mid(equals + 1);
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

QTreeWidgetItem* frmKonfiguration::AddNode(QTreeWidgetItem* parent, const QString& text,
                                           const QString& tag, int image) {
  auto* node =
      parent == nullptr ? new QTreeWidgetItem(tvZuordnungen_) : new QTreeWidgetItem(parent);
  node->setText(0, text);
  node->setData(0, kTagRole, tag);
  node->setData(0, kImageRole, image);
  node->setIcon(0, TreeImage(image));
  treeNodes_.push_back(node);
  return node;
}

void frmKonfiguration::BuildTree() {
  int noted = 0;
  if (QTreeWidgetItem* selected = tvZuordnungen_->currentItem()) {
    for (size_t i = 0; i < treeNodes_.size(); ++i) {
      if (treeNodes_[i] == selected) noted = static_cast<int>(i) + 1;
    }
  }
  std::shared_ptr<vn::data::Recordset> records;
  if (lookups_ != nullptr) records = lookups_->Hierarchy("rsluZuordnungenRubriken");
  treeNodes_.clear();
  tvZuordnungen_->clear();
  QTreeWidgetItem* root = AddNode(nullptr, QStringLiteral("Zuordnungen"), QString(), 1);
  root->setData(0, kKeyRole, QStringLiteral("Root"));
  if (records) AddRecordNodes(*records, root, 1);
  root->setExpanded(true);
  // The selection stays at its place by index; a shorter tree simply has none there.
  if (QTreeWidgetItem* node = NodeAt(noted)) {
    tvZuordnungen_->setCurrentItem(node);
    tvZuordnungen_->scrollToItem(node);
  }
}

void frmKonfiguration::AddRecordNodes(vn::data::Recordset& records, QTreeWidgetItem* parent,
                                      int level) {
  const int childLevel = level + 1;
  if (records.Bof() && records.Eof()) {
    AddNode(parent, QStringLiteral("<<Leer>>"), QString(), 1);
    return;
  }
  const long count = records.RecordCount();
  records.MoveFirst();
  for (long row = 0; row < count && !records.Eof(); ++row) {
    const QString tag = QString::fromStdString(records.Fields(0).Name()) + QStringLiteral("=") +
                        VariantText(records.Fields(0).Value());
    QTreeWidgetItem* node =
        AddNode(parent, VariantText(records.Fields(1).Value()), tag, childLevel);
    node->setExpanded(true);
    for (int column = 0; column < records.FieldCount(); ++column) {
      if (records.Fields(column).Type() != vn::data::adChapter) continue;
      const vn::data::Variant child = records.Fields(column).Value();
      if (child.Is<std::shared_ptr<vn::data::Recordset>>()) {
        AddRecordNodes(*child.As<std::shared_ptr<vn::data::Recordset>>(), node, childLevel);
      }
      break;
    }
    records.MoveNext();
  }
}

void frmKonfiguration::ShowRecordOfNode(int tab, const QTreeWidgetItem* node) {
  SelectTab(tab);
  QApplication::processEvents();
  if (currentRecords_ != nullptr) {
    try {
      currentRecords_->Find(NodeTag(node).toStdString());
    } catch (const vn::RuntimeError& e) {
      messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
    }
  }
  QApplication::processEvents();
  UpdateRecordsetStatus();
}

void frmKonfiguration::tvZuordnungen_DblClick() {
  QTreeWidgetItem* node = tvZuordnungen_->currentItem();
  if (node == nullptr) return;
  const QString tag = NodeTag(node);
  if (NodeKey(node) == QStringLiteral("Root")) {
    SelectTab(3);
  } else if (tag.isEmpty()) {
    return;
  } else if (IsRubricNode(tag)) {
    ShowRecordOfNode(1, node);
  } else if (IsDataNode(tag)) {
    ShowRecordOfNode(2, node);
  }
}

void frmKonfiguration::tvZuordnungen_MouseUp(int button, const QPoint& globalPosition) {
  if (button != 2) return;
  QTreeWidgetItem* node = tvZuordnungen_->currentItem();
  if (node == nullptr) return;
  for (QAction* item : {mnuZeigeRubrik_, mnuZeigeDaten_, mnuZeigeZuordnung_, mnuNeueZuordnung_})
    item->setEnabled(false);
  if (NodeKey(node) == QStringLiteral("Root")) return;
  const QString tag = NodeTag(node);
  if (tag.isEmpty()) mnuNeueZuordnung_->setEnabled(true);
  if (IsRubricNode(tag)) {
    mnuZeigeRubrik_->setEnabled(true);
    mnuNeueZuordnung_->setEnabled(true);
  }
  if (IsDataNode(tag)) {
    mnuZeigeDaten_->setEnabled(true);
    mnuNeueZuordnung_->setEnabled(true);
    mnuZeigeZuordnung_->setEnabled(true);
  }
  mnuAnsicht_->popup(globalPosition);
}

void frmKonfiguration::mnuZeigeRubrik_Click() {
  ShowRecordOfNode(1, tvZuordnungen_->currentItem());
}

void frmKonfiguration::mnuZeigeDaten_Click() { ShowRecordOfNode(2, tvZuordnungen_->currentItem()); }

void frmKonfiguration::mnuZeigeZuordnung_Click() {
  QTreeWidgetItem* node = tvZuordnungen_->currentItem();
  if (node == nullptr) return;
  SelectTab(3);
  QApplication::processEvents();
  if (currentRecords_ == nullptr) return;
  const QString daten = ValueAfterEquals(NodeTag(node));
  const QString rubrik = ValueAfterEquals(NodeTag(node->parent()));
  try {
    currentRecords_->SetFilter("Daten_ID=" + daten.toStdString() + " AND " +
                               "Rubrik_ID=" + rubrik.toStdString());
    QApplication::processEvents();
    const std::string criteria =
        "ID_Zuordnung=" + VariantText(currentRecords_->Value("ID_Zuordnung")).toStdString();
    currentRecords_->SetFilter("");
    QApplication::processEvents();
    currentRecords_->Find(criteria);
  } catch (const vn::RuntimeError& e) {
    // The assignment is gone since the tree was built: all rows again.
    try {
      currentRecords_->SetFilter("");
    } catch (const vn::RuntimeError&) {
      // Removing a filter reads nothing and fails only when the records are closed, which the
      // message below reports already.
    }
    messages_.Show(this, ErrorText(e), MsgIcon::kExclamation);
  }
  QApplication::processEvents();
  UpdateRecordsetStatus();
}

void frmKonfiguration::mnuNeueZuordnung_Click() {
  QTreeWidgetItem* node = tvZuordnungen_->currentItem();
  if (node == nullptr) return;
  if (IsDataNode(NodeTag(node)) || NodeTag(node).isEmpty()) node = node->parent();
  if (node == nullptr || !IsRubricNode(NodeTag(node))) return;
  SelectTab(3);
  QApplication::processEvents();
  const QString rubrik = ValueAfterEquals(NodeTag(node));
  cmdAddNew_Click();
  QApplication::processEvents();
  bool ok = false;
  const qlonglong id = rubrik.toLongLong(&ok);
  const int index = ok ? cbxZuordnungenRubrik_->findData(QVariant(id)) : -1;
  if (index >= 0) cbxZuordnungenRubrik_->setCurrentIndex(index);
  if (auto* daten = central_->findChild<QComboBox*>(QStringLiteral("cbxZuordnungenDaten")))
    daten->setFocus();
}

}  // namespace vn::config
