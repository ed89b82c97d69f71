#include "config/core/assignment_tree.h"

#include <memory>

#include "config/core/data_env_events.h"
#include "config/core/konfiguration_window.h"
#include "config/core/texts.h"
#include "data/field.h"
#include "data/recordset.h"
#include "platform/text.h"

namespace vn::config {

namespace {

using W = KonfigurationWindow;

constexpr MenuItem kMenuItems[] = {
    {"mnuZeigeRubrik", "Zeige &Rubrik", &W::mnuZeigeRubrik_Click, &TreeMenu::zeigeRubrik},
    {"mnuZeigeDaten", "Zeige &Daten", &W::mnuZeigeDaten_Click, &TreeMenu::zeigeDaten},
    {"mnuZeigeZuordnung", "Zeige &Zuordnung", &W::mnuZeigeZuordnung_Click,
     &TreeMenu::zeigeZuordnung},
    {"mnuBlank", "", nullptr, nullptr},
    {"mnuNeueZuordnung", "Zuordnung &hinzufügen", &W::mnuNeueZuordnung_Click,
     &TreeMenu::neueZuordnung},
    {"mnuVorschau", texts::kPreviewMenu, &W::mnuVorschau_Click, &TreeMenu::zeigeDaten},
};

std::string Lower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace

std::span<const MenuItem> AssignmentTree::MenuItems() { return kMenuItems; }

const TreeNode* AssignmentTree::Node(int index) const {
  if (index < 1 || index > static_cast<int>(nodes_.size())) return nullptr;
  return &nodes_[static_cast<size_t>(index - 1)];
}

bool AssignmentTree::IsRoot(const TreeNode& node) { return node.key == texts::kTreeRootKey; }

bool AssignmentTree::IsRubricNode(const std::string& tag) {
  return Lower(tag).find("rubrik") != std::string::npos;
}

bool AssignmentTree::IsDataNode(const std::string& tag) {
  return Lower(tag).find("daten") != std::string::npos;
}

std::string AssignmentTree::ValueAfterEquals(const std::string& tag) {
  const size_t equals = tag.find('=');
  return equals == std::string::npos ? std::string() : tag.substr(equals + 1);
}

int AssignmentTree::AddNode(int parent, std::string text, std::string tag, int image) {
  nodes_.push_back({std::move(text), std::move(tag), "", image, parent});
  return static_cast<int>(nodes_.size());
}

void AssignmentTree::Build(vn::data::Recordset* records) {
  nodes_.clear();
  const int root = AddNode(0, texts::kTreeRoot, "", 1);
  nodes_.back().key = texts::kTreeRootKey;
  if (records != nullptr) AddRecordNodes(*records, root, 1);
}

void AssignmentTree::AddRecordNodes(vn::data::Recordset& records, int parent, int level) {
  const int childLevel = level + 1;
  if (records.Bof() && records.Eof()) {
    AddNode(parent, texts::kEmptyMarker, "", 1);
    return;
  }
  const long count = records.RecordCount();
  records.MoveFirst();
  for (long row = 0; row < count && !records.Eof(); ++row) {
    const std::string tag = records.Fields(0).Name() + "=" + VariantText(records.Fields(0).Value());
    const int node = AddNode(parent, VariantText(records.Fields(1).Value()), tag, childLevel);
    for (int column = 0; column < records.FieldCount(); ++column) {
      if (records.Fields(column).Type() != vn::data::adChapter) continue;
      const vn::data::Variant child = records.Fields(column).Value();
      if (child.Is<std::shared_ptr<vn::data::Recordset>>())
        AddRecordNodes(*child.As<std::shared_ptr<vn::data::Recordset>>(), node, childLevel);
      break;
    }
    records.MoveNext();
  }
}

TreeMenu AssignmentTree::MenuFor(int index) const {
  TreeMenu menu;
  const TreeNode* node = Node(index);
  if (node == nullptr || IsRoot(*node)) return menu;
  menu.show = true;
  if (node->tag.empty()) menu.neueZuordnung = true;
  if (IsRubricNode(node->tag)) {
    menu.zeigeRubrik = true;
    menu.neueZuordnung = true;
  }
  if (IsDataNode(node->tag)) {
    menu.zeigeDaten = true;
    menu.neueZuordnung = true;
    menu.zeigeZuordnung = true;
  }
  return menu;
}

}  // namespace vn::config
