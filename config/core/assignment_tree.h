// The assignment tree's model (tab "Übersicht"): every rubric with the data entries assigned
// to it, built from the shaped look-up; the kinds of its nodes, told by their tags, and which
// entries of the context menu each kind offers.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/core/command.h"
#include "config/core/view.h"

namespace vn::data {
class Recordset;
}

namespace vn::config {

// The context menu "&Ansicht" for one node: whether it opens, and which entries are on.
struct TreeMenu {
  bool show = false;
  bool zeigeRubrik = false;
  bool zeigeDaten = false;
  bool zeigeZuordnung = false;
  bool neueZuordnung = false;
};

// An entry of the menu: its command, and which of TreeMenu's switches turns it on (both nullptr
// for the separator).
struct MenuItem {
  const char* name;
  const char* caption;  // "" for the separator
  Command command;
  bool TreeMenu::*enabled;
};

class AssignmentTree {
 public:
  // Rebuilds the nodes: the root, then one node per row of `records` (nullptr: none) and of
  // the child records of its first chapter column, recursively.
  void Build(vn::data::Recordset* records);

  const std::vector<TreeNode>& Nodes() const { return nodes_; }
  // The node with a 1-based index; nullptr outside the tree.
  const TreeNode* Node(int index) const;

  static bool IsRoot(const TreeNode& node);
  static bool IsRubricNode(const std::string& tag);
  static bool IsDataNode(const std::string& tag);
  // The value after "=" in a tag ("" when there is none).
  static std::string ValueAfterEquals(const std::string& tag);

  TreeMenu MenuFor(int index) const;

  // The menu's caption and its entries in order.
  static const char* MenuCaption() { return "&Ansicht"; }
  static std::span<const MenuItem> MenuItems();

 private:
  int AddNode(int parent, std::string text, std::string tag, int image);
  void AddRecordNodes(vn::data::Recordset& records, int parent, int level);

  std::vector<TreeNode> nodes_;
};

}  // namespace vn::config
