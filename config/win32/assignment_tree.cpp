// The tab "Übersicht" on Windows: the tree view filled from the core's nodes, its pictures, and
// the context menu "&Ansicht" over the core's menu rules.
#include <windows.h>

#include <commctrl.h>

#include "config/core/assignment_tree.h"
#include "config/win32/frm_konfiguration.h"
#include "config/win32/pictures.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {

namespace {

constexpr int kTreePictureSize = 16;

}  // namespace

void frmKonfiguration::BuildTree() {
  // The tree's three pictures: 1 root and empty marker, 2 rubric, 3 data entry.
  treeImages_.Reset(
      ::ImageList_Create(kTreePictureSize, kTreePictureSize, ILC_COLOR32 | ILC_MASK, 3, 0));
  for (Picture picture : {Picture::kTreeFolder, Picture::kTreeRubric, Picture::kTreeData}) {
    UniqueIcon icon(MakePictureIcon(picture, kTreePictureSize));
    ::ImageList_ReplaceIcon(treeImages_.Get(), -1, icon.Get());
  }
  ::SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(treeImages_.Get()));

  menu_.Reset(::CreatePopupMenu());
  int command = kFirstMenuCommand;
  for (const MenuItem& item : AssignmentTree::MenuItems()) {
    if (item.caption[0] == '\0')
      ::AppendMenuW(menu_.Get(), MF_SEPARATOR, static_cast<UINT_PTR>(command), nullptr);
    else
      ::AppendMenuW(menu_.Get(), MF_STRING, static_cast<UINT_PTR>(command),
                    vn::win32::Widen(item.caption).c_str());
    ++command;
  }
}

void frmKonfiguration::ShowTree(const std::vector<TreeNode>& nodes, int selected) {
  ::SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  treeItems_.clear();
  for (const TreeNode& node : nodes) {
    std::wstring text = vn::win32::Widen(node.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.parent >= 1 && node.parent <= static_cast<int>(treeItems_.size())
                         ? treeItems_[static_cast<size_t>(node.parent - 1)]
                         : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.iImage = node.image - 1;
    insert.item.iSelectedImage = node.image - 1;
    insert.item.lParam = static_cast<LPARAM>(treeItems_.size() + 1);
    treeItems_.push_back(reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
  }
  for (HTREEITEM item : treeItems_)
    ::SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  if (selected >= 1 && selected <= static_cast<int>(treeItems_.size())) {
    HTREEITEM item = treeItems_[static_cast<size_t>(selected - 1)];
    ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ::SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  }
  ::SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(tree_, nullptr, TRUE);
}

int frmKonfiguration::SelectedTreeNode() const {
  const auto item =
      reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (item == nullptr) return 0;
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return 0;
  return static_cast<int>(data.lParam);
}

void frmKonfiguration::OpenTreeMenu() {
  if (SelectedTreeNode() == 0) return;
  const TreeMenu menu = core_.tvZuordnungen_MouseUp(2);
  if (!menu.show) return;
  int command = kFirstMenuCommand;
  for (const MenuItem& item : AssignmentTree::MenuItems()) {
    if (item.enabled != nullptr)
      ::EnableMenuItem(menu_.Get(), static_cast<UINT>(command),
                       MF_BYCOMMAND | (menu.*item.enabled ? MF_ENABLED : MF_GRAYED));
    ++command;
  }
  const DWORD position = ::GetMessagePos();
  const int chosen = static_cast<int>(::TrackPopupMenu(
      menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(position)),
      static_cast<short>(HIWORD(position)), 0, window_, nullptr));
  if (chosen != 0) MenuCommand(chosen);
}

void frmKonfiguration::MenuCommand(int command) {
  const auto items = AssignmentTree::MenuItems();
  const int index = command - kFirstMenuCommand;
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  const MenuItem& item = items[static_cast<size_t>(index)];
  // A grayed entry does nothing, also when its command arrives otherwise.
  const TreeMenu menu = core_.tvZuordnungen_MouseUp(2);
  if (item.enabled != nullptr && menu.*item.enabled) core_.Press(item.command);
}

}  // namespace vn::config::win32
