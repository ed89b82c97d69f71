// The tab "Übersicht": the tree rebuilt from the shaped look-up, and the jumps from its nodes
// to the editing tabs.
#include "config/core/data_env_events.h"
#include "config/core/konfiguration_window.h"
#include "config/core/prompts.h"
#include "data/recordset.h"
#include "platform/config_names.h"
#include "platform/runtime_error.h"

namespace vn::config {

void KonfigurationWindow::BuildTree() {
  const int noted = view_.SelectedTreeNode();
  std::shared_ptr<vn::data::Recordset> records;
  if (lookups_ != nullptr) records = lookups_->Hierarchy("rsluZuordnungenRubriken");
  tree_.Build(records.get());
  // The selection stays at its place by index; a shorter tree simply has none there.
  view_.ShowTree(tree_.Nodes(), tree_.Node(noted) != nullptr ? noted : 0);
}

void KonfigurationWindow::ShowRecordOfNode(int tab, int node) {
  const TreeNode* shown = tree_.Node(node);
  const std::string tag = shown != nullptr ? shown->tag : std::string();
  SelectTab(tab);
  view_.LetMessagesRun();
  if (currentRecords_ != nullptr) {
    try {
      currentRecords_->Find(tag);
    } catch (const vn::RuntimeError& e) {
      prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
    }
  }
  view_.LetMessagesRun();
  UpdateRecordsetStatus();
}

void KonfigurationWindow::tvZuordnungen_DblClick() {
  const int index = view_.SelectedTreeNode();
  const TreeNode* node = tree_.Node(index);
  if (node == nullptr) return;
  if (AssignmentTree::IsRoot(*node)) {
    SelectTab(3);
  } else if (node->tag.empty()) {
    return;
  } else if (AssignmentTree::IsRubricNode(node->tag)) {
    ShowRecordOfNode(1, index);
  } else if (AssignmentTree::IsDataNode(node->tag)) {
    ShowRecordOfNode(2, index);
  }
}

TreeMenu KonfigurationWindow::tvZuordnungen_MouseUp(int button) const {
  if (button != 2) return {};
  return tree_.MenuFor(view_.SelectedTreeNode());
}

void KonfigurationWindow::mnuZeigeRubrik_Click() { ShowRecordOfNode(1, view_.SelectedTreeNode()); }

void KonfigurationWindow::mnuZeigeDaten_Click() { ShowRecordOfNode(2, view_.SelectedTreeNode()); }

void KonfigurationWindow::mnuZeigeZuordnung_Click() {
  const TreeNode* node = tree_.Node(view_.SelectedTreeNode());
  if (node == nullptr) return;
  const TreeNode* parent = tree_.Node(node->parent);
  const std::string daten = AssignmentTree::ValueAfterEquals(node->tag);
  const std::string rubrik =
      parent != nullptr ? AssignmentTree::ValueAfterEquals(parent->tag) : std::string();
  SelectTab(3);
  view_.LetMessagesRun();
  if (currentRecords_ == nullptr) return;
  try {
    currentRecords_->SetFilter(std::string(configdb::kDatenId) + "=" + daten + " AND " +
                               configdb::kRubrikId + "=" + rubrik);
    view_.LetMessagesRun();
    const std::string criteria = std::string(configdb::kIdZuordnung) + "=" +
                                 VariantText(currentRecords_->Value(configdb::kIdZuordnung));
    currentRecords_->SetFilter("");
    view_.LetMessagesRun();
    currentRecords_->Find(criteria);
  } catch (const vn::RuntimeError& e) {
    // The assignment is gone since the tree was built: all rows again.
    try {
      currentRecords_->SetFilter("");
    } catch (const vn::RuntimeError&) {
      // Removing a filter reads nothing and fails only when the records are closed, which the
      // message below reports already.
    }
    prompts_.Message(ErrorText(e), MsgIcon::kExclamation);
  }
  view_.LetMessagesRun();
  UpdateRecordsetStatus();
}

void KonfigurationWindow::mnuNeueZuordnung_Click() {
  const TreeNode* node = tree_.Node(view_.SelectedTreeNode());
  if (node == nullptr) return;
  if (AssignmentTree::IsDataNode(node->tag) || node->tag.empty()) node = tree_.Node(node->parent);
  if (node == nullptr || !AssignmentTree::IsRubricNode(node->tag)) return;
  const std::string rubrik = AssignmentTree::ValueAfterEquals(node->tag);
  SelectTab(3);
  view_.LetMessagesRun();
  cmdAddNew_Click();
  view_.LetMessagesRun();
  const std::vector<LookupRow>& rows = listRows_["cbxZuordnungenRubrik"];
  for (size_t i = 0; i < rows.size(); ++i) {
    if (VariantText(rows[i].id) == rubrik && !rubrik.empty()) {
      view_.ShowListRow("cbxZuordnungenRubrik", static_cast<int>(i));
      break;
    }
  }
  view_.Focus("cbxZuordnungenDaten");
}

}  // namespace vn::config
