// frmKonfiguration: the configuration program's main window on Qt. It draws the controls of
// the core's layout table, shows what the core (KonfigurationWindow) decides through the view
// interface, and forwards the user's clicks, keys and edits to it.
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
  // The tables' records arrive later through SetTableRecords; until then every tab is empty.
  frmKonfiguration(bool debug, MessageBoxes& messages, QWidget* parent = nullptr);
  ~frmKonfiguration() override;

  KonfigurationWindow& Core() { return core_; }

  void SetTableRecords(EditRecords* rubriken, EditRecords* daten, EditRecords* zuordnungen) {
    core_.SetTableRecords(rubriken, daten, zuordnungen);
  }
  void SetRecordEvents(EditRecordsEvents* events) { core_.SetRecordEvents(events); }
  void SetLookupSource(LookupSource* lookups) { core_.SetLookupSource(lookups); }
  void SetConfigStore(ConfigStore* store) { core_.SetConfigStore(store); }
  void SetConnectionTools(ConnectionProbe* probe, DataLinkPrompt* dataLink) {
    core_.SetConnectionTools(probe, dataLink);
  }

  // The window's load step: size, then the core's (first record, edit mode), then the small
  // buttons' places.
  void Load();

  void UpdateRecordsetStatus() { core_.UpdateRecordsetStatus(); }
  void DisableZugriff() {}
  void WriteDebugLine(const QString& text) { core_.WriteDebugLine(text.toStdString()); }
  void OnFieldChange(const QString& fieldName) { core_.OnFieldChange(fieldName.toStdString()); }

  // Selects tab 1 to 5 as the user would, with the tab change's steps.
  void SelectTab(int index) { core_.SelectTab(index); }
  int SelectedTab() const { return core_.SelectedTab(); }
  EditRecords* CurrentRecords() const { return core_.CurrentRecords(); }
  int FieldGap() const { return core_.FieldGap(); }
  long SavedBookmark() const { return core_.SavedBookmark(); }
  bool DebugFlag() const { return core_.DebugFlag(); }
  QString StatusText() const;

  // Button actions.
  void cmdMoveFirst_Click() { core_.cmdMoveFirst_Click(); }
  void cmdMovePrevious_Click() { core_.cmdMovePrevious_Click(); }
  void cmdMoveNext_Click() { core_.cmdMoveNext_Click(); }
  void cmdMoveLast_Click() { core_.cmdMoveLast_Click(); }
  void cmdAddNew_Click() { core_.cmdAddNew_Click(); }
  void cmdOK_Click() { core_.cmdOK_Click(); }
  void cmdCancel_Click() { core_.cmdCancel_Click(); }
  void cmdDelete_Click() { core_.cmdDelete_Click(); }
  void cmdVerbindung_Click() { core_.cmdVerbindung_Click(); }
  void cmdMinMaxDatenVerbindung_Click();
  void cmdMinMaxDatenAbfrage_Click();
  void cmdStartDateienErstellen_Click() { core_.cmdStartDateienErstellen_Click(); }
  void cmdStartDateienEntfernen_Click() { core_.cmdStartDateienEntfernen_Click(); }
  void cmdInfo_Click();
  // The start options' preparation when their tab is selected.
  void PrepareStartOptions() { core_.PrepareStartOptions(); }

  // The assignment tree (tab "Übersicht").
  QTreeWidget* Tree() const { return tvZuordnungen_; }
  QMenu* AnsichtMenu() const { return mnuAnsicht_; }
  // Tag and key of a node, and the node with a 1-based index in the order the nodes were added.
  static QString NodeTag(const QTreeWidgetItem* node);
  static QString NodeKey(const QTreeWidgetItem* node);
  QTreeWidgetItem* NodeAt(int index) const;
  void tvZuordnungen_DblClick() { core_.tvZuordnungen_DblClick(); }
  // The right button released over the tree at `globalPosition`.
  void tvZuordnungen_MouseUp(int button, const QPoint& globalPosition);
  void mnuZeigeRubrik_Click() { core_.mnuZeigeRubrik_Click(); }
  void mnuZeigeDaten_Click() { core_.mnuZeigeDaten_Click(); }
  void mnuZeigeZuordnung_Click() { core_.mnuZeigeZuordnung_Click(); }
  void mnuNeueZuordnung_Click() { core_.mnuNeueZuordnung_Click(); }

  // Captions of the size buttons: up arrow (normal) and down arrow (enlarged).
  static QString SizeCaptionNormal();
  static QString SizeCaptionEnlarged();

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
  void ShowBusy(bool busy) override;
  void LetMessagesRun() override;

  void BuildWindow();
  QWidget* Container(const ControlPlace& place) const;
  QWidget* BuildControl(const ControlPlace& place);
  void BuildMenu();
  void ConnectFieldChange(QWidget* widget);
  void FieldChanged(QWidget* widget);
  QWidget* Control(const std::string& name) const;
  bool IsTextOrListField(const QWidget* widget) const;
  bool HandleKey(QKeyEvent* event);
  void ApplyResize(const FieldResize& resize);

  QtPrompts prompts_;
  KonfigurationWindow core_;
  bool loaded_ = false;
  bool showingTab_ = false;

  std::map<std::string, QWidget*> controls_;
  QWidget* central_ = nullptr;
  QTabBar* tabBar_ = nullptr;
  QFrame* frTab_[5] = {};
  QLabel* statusPanel_ = nullptr;
  QLabel* editPanel_ = nullptr;
  QPlainTextEdit* txbStatus_ = nullptr;
  QTreeWidget* tvZuordnungen_ = nullptr;
  std::vector<QTreeWidgetItem*> treeNodes_;  // in the order they were added
  QMenu* mnuAnsicht_ = nullptr;
  std::map<std::string, QAction*> menuItems_;
};

}  // namespace vn::config
