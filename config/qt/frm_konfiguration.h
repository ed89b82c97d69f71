// frmKonfiguration: the configuration program's main window on Qt. It draws the controls of
// the core's layout table, shows what the core (KonfigurationWindow) decides through the view
// interface, and passes the user's presses, keys and edits to it.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/core/konfiguration_window.h"
#include "config/qt/message_box.h"
#include "config/qt/twips.h"

class QComboBox;
class QMenu;
class QAction;
class QTreeWidgetItem;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace vn::config {

class frmKonfiguration : public QMainWindow, private KonfigurationView {
  Q_OBJECT

 public:
  // The tables' records arrive later through the core's SetTableRecords; until then every tab
  // is empty.
  frmKonfiguration(bool debug, MessageBoxes& messages, QWidget* parent = nullptr);
  ~frmKonfiguration() override;

  KonfigurationWindow& Core() { return core_; }

  // The window's load step: its size, then the core's.
  void Load();

  // The assignment tree's nodes: tag and key of a node, and the node with a 1-based index in
  // the order the nodes were added.
  static QString NodeTag(const QTreeWidgetItem* node);
  static QString NodeKey(const QTreeWidgetItem* node);
  QTreeWidgetItem* NodeAt(int index) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // KonfigurationView.
  void ShowField(const std::string& control, const std::string& text) override;
  void ShowListRow(const std::string& control, int row) override;
  void ShowList(const std::string& control, const std::vector<LookupRow>& rows) override;
  std::string FieldText(const std::string& control) const override;
  void ShowState(const WindowState& state) override;
  void ShowTab(int tab) override;
  void ShowTree(const std::vector<TreeNode>& nodes, int selected) override;
  int SelectedTreeNode() const override;
  void Focus(const std::string& control) override;
  std::string FocusedControl() const override;
  bool Shown() const override { return isVisible(); }
  void WriteDebugLine(const std::string& text) override;
  void ClearDebugBox() override;
  void ShowAbout() override;
  int TwipsPerPixelY() const override;
  void MoveDownPixels(const std::string& control, int pixels) override;
  void ShowResize(const FieldResize& resize) override;
  void ShowBusy(bool busy) override;
  void LetMessagesRun() override;

  void BuildWindow();
  QWidget* Container(const ControlPlace& place) const;
  QWidget* BuildControl(const ControlPlace& place);
  void BuildMenu();
  void ConnectFieldChange(QWidget* widget);
  void FieldChanged(QWidget* widget);
  QWidget* Control(const std::string& name) const;
  // The buttons of the window's client area lie over the tab strip and the panels.
  void RaiseWindowButtons();
  bool IsTextOrListField(const QWidget* widget) const;
  bool HandleKey(QKeyEvent* event);
  // The right button released over the tree at `globalPosition`: the context menu.
  void OpenTreeMenu(const QPoint& globalPosition);

  QtPrompts prompts_;
  KonfigurationWindow core_;
  bool loaded_ = false;
  bool showingTab_ = false;

  std::map<std::string, QWidget*> controls_;
  QWidget* central_ = nullptr;
  QTabBar* tabBar_ = nullptr;
  std::vector<QFrame*> frTab_;  // the tabs' panels in order
  QLabel* statusPanel_ = nullptr;
  QLabel* editPanel_ = nullptr;
  QPlainTextEdit* txbStatus_ = nullptr;
  QTreeWidget* tvZuordnungen_ = nullptr;
  std::vector<QTreeWidgetItem*> treeNodes_;  // in the order they were added
  QMenu* mnuAnsicht_ = nullptr;
  // The menu's entries with their actions (not the separator).
  std::vector<std::pair<const MenuItem*, QAction*>> menuItems_;
};

}  // namespace vn::config
