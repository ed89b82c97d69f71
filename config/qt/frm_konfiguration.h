// frmKonfiguration: the configuration program's main window. Five tabs (rubrics, data entries,
// assignments, overview, start options), the button bar that navigates and edits the current
// tab's records, the status bar with the record position and the edit mode, the keyboard
// commands and the debug box.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/edit_records.h"
#include "config/lookups.h"
#include "config/twips.h"

class QComboBox;
class QMenu;
class QAction;
class QTreeWidgetItem;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace vn {
class RuntimeError;
}
namespace vn::data {
class Recordset;
}

namespace vn::config {

class ConfigStore;
class ConnectionProbe;
class DataLinkPrompt;
class MessageBoxes;

class frmKonfiguration : public QMainWindow, private EditRecordsEvents {
  Q_OBJECT

 public:
  // The tables' records arrive later through SetTableRecords; until then every tab is empty.
  frmKonfiguration(bool debug, MessageBoxes& messages, QWidget* parent = nullptr);
  ~frmKonfiguration() override;

  // The records of the three editing tabs (nullptr: the tab has none) and who else hears their
  // notifications (the data environment's handlers).
  void SetTableRecords(EditRecords* rubriken, EditRecords* daten, EditRecords* zuordnungen);
  void SetRecordEvents(EditRecordsEvents* events) { recordEvents_ = events; }
  void SetLookupSource(LookupSource* lookups) { lookups_ = lookups; }
  void SetConfigStore(ConfigStore* store) { store_ = store; }
  void SetConnectionTools(ConnectionProbe* probe, DataLinkPrompt* dataLink) {
    probe_ = probe;
    dataLink_ = dataLink;
  }

  // The window's load step: size, first record, edit mode, field gap.
  void Load();

  void SetEditMode(int mode);
  int GetEditMode() const { return editMode_; }
  void UpdateRecordsetStatus();
  void DisableZugriff() {}
  void WriteDebugLine(const QString& text);
  void OnFieldChange(const QString& fieldName);

  // Selects tab 1 to 5 as the user would, with the tab change's steps.
  void SelectTab(int index);
  int SelectedTab() const;
  EditRecords* CurrentRecords() const { return currentRecords_; }
  int FieldGap() const { return fieldGap_; }
  long SavedBookmark() const { return savedBookmark_; }
  bool DebugFlag() const { return debug_; }
  QString StatusText() const;

  // Button actions.
  void cmdMoveFirst_Click();
  void cmdMovePrevious_Click();
  void cmdMoveNext_Click();
  void cmdMoveLast_Click();
  void cmdAddNew_Click();
  void cmdOK_Click();
  void cmdCancel_Click();
  void cmdDelete_Click();
  void cmdVerbindung_Click();
  void cmdMinMaxDatenVerbindung_Click();
  void cmdMinMaxDatenAbfrage_Click();
  void cmdStartDateienErstellen_Click();
  void cmdStartDateienEntfernen_Click();
  void cmdInfo_Click();
  // The start options' preparation when their tab is selected.
  void PrepareStartOptions();

  // The assignment tree (tab "Übersicht").
  QTreeWidget* Tree() const { return tvZuordnungen_; }
  QMenu* AnsichtMenu() const { return mnuAnsicht_; }
  // Tag and key of a node, and the node with a 1-based index in the order the nodes were added.
  static QString NodeTag(const QTreeWidgetItem* node);
  static QString NodeKey(const QTreeWidgetItem* node);
  QTreeWidgetItem* NodeAt(int index) const;
  void tvZuordnungen_DblClick();
  // The right button released over the tree at `globalPosition`.
  void tvZuordnungen_MouseUp(int button, const QPoint& globalPosition);
  void mnuZeigeRubrik_Click();
  void mnuZeigeDaten_Click();
  void mnuZeigeZuordnung_Click();
  void mnuNeueZuordnung_Click();

  // Captions of the size buttons: up arrow (normal) and down arrow (enlarged).
  static QString SizeCaptionNormal();
  static QString SizeCaptionEnlarged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class BindKind { kText, kNumber, kList };
  struct Binding {
    QWidget* widget;
    int tab;  // 1 to 3
    std::string column;
    BindKind kind;
    std::string lookup;  // for lists
  };

  // EditRecordsEvents: the window refreshes its bound fields, then the handlers run.
  void FieldChangeComplete(EditRecords& records, const std::vector<ChangedField>& fields) override;
  void MoveComplete(EditRecords& records, int reason) override;
  void RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                            const vn::RuntimeError* error) override;
  void RecordsetChangeComplete(EditRecords& records, int reason) override;

  void BuildWindow();
  void BuildTabRubriken(QFrame* panel);
  void BuildTabDaten(QFrame* panel);
  void BuildTabZuordnungen(QFrame* panel);
  void BuildTabUebersicht(QFrame* panel);
  void BuildTabStartoptionen(QFrame* panel);
  void BuildButtonBar();
  QLabel* AddLabel(QFrame* panel, const char* name, const QString& caption, int top,
                   QWidget* buddy);
  QLineEdit* AddLineEdit(QFrame* panel, const char* name, int top);
  void Bind(QWidget* widget, int tab, const std::string& column, BindKind kind,
            const std::string& lookup = {});
  void ConnectFieldChange(QWidget* widget);
  void FieldChanged(QWidget* widget);

  int TabOf(const EditRecords* records) const;
  EditRecords* RecordsOfTab(int tab) const;
  void FillFields(int tab);
  void FillLists(int tab);
  void WriteField(const Binding& binding);
  void RefreshTab();
  void BuildTree();
  void AddRecordNodes(vn::data::Recordset& records, QTreeWidgetItem* parent, int level);
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, const QString& tag,
                           int image);
  void ShowRecordOfNode(int tab, const QTreeWidgetItem* node);
  void MoveAction(void (EditRecords::*move)());
  // Saves the current records' pending change before they are left (tab change, move, close);
  // false when nothing may be left because the save was refused.
  bool SavePending();
  // The save action; false when it was refused or failed.
  bool Save();
  bool RubricNameGiven();
  void DeleteAssignedDataEntry(std::int64_t dataId, const std::vector<std::string>& rubrics);
  QString DeleteErrorText(const vn::RuntimeError& error, long status) const;
  // The provider's description as the user is told it, with the captions of the current tab.
  QString ErrorText(const vn::RuntimeError& error) const;
  QString FieldCaption(const std::string& column) const;
  bool IsTextOrListField(const QWidget* widget) const;
  bool HandleKey(QKeyEvent* event);
  void ResizeField(bool query);
  int TabIndexOfPanel(const QFrame* panel) const;

  bool debug_;
  MessageBoxes& messages_;
  LookupSource* lookups_ = nullptr;
  ConnectionProbe* probe_ = nullptr;
  DataLinkPrompt* dataLink_ = nullptr;
  EditRecordsEvents* recordEvents_ = nullptr;
  ConfigStore* store_ = nullptr;

  EditRecords* tabRecords_[3] = {nullptr, nullptr, nullptr};
  EditRecords* currentRecords_ = nullptr;
  long savedBookmark_ = 0;
  int editMode_ = 0;
  int shownTab_ = 1;  // the tab whose panel is in view
  // The normal places of the two long fields of the tab Daten, noted when the window loads.
  TwipsRect normalVerbindung_{};
  TwipsRect normalAbfrage_{};
  int fieldGap_ = 0;
  int filling_ = 0;
  bool loaded_ = false;

  std::vector<Binding> bindings_;

  QWidget* central_ = nullptr;
  QPushButton* cmdInfo_ = nullptr;
  QWidget* tabStrip_ = nullptr;
  QTabBar* tabBar_ = nullptr;
  QFrame* frTab_[5] = {};
  QWidget* picDatenSteuerung_ = nullptr;
  QToolButton* cmdMoveFirst_ = nullptr;
  QToolButton* cmdMovePrevious_ = nullptr;
  QToolButton* cmdMoveNext_ = nullptr;
  QToolButton* cmdMoveLast_ = nullptr;
  QToolButton* cmdDelete_ = nullptr;
  QToolButton* cmdAddNew_ = nullptr;
  QToolButton* cmdCancel_ = nullptr;
  QToolButton* cmdOK_ = nullptr;
  QLabel* statusPanel_ = nullptr;
  QLabel* editPanel_ = nullptr;
  QPlainTextEdit* txbStatus_ = nullptr;
  QPushButton* cmdReset_ = nullptr;
  QPushButton* cmdLine_ = nullptr;

  QLineEdit* txbRubrikenRubrik_ = nullptr;
  QLineEdit* txbRubrikenRang_ = nullptr;
  QLineEdit* txbDatenTitel_ = nullptr;
  QComboBox* cbxDatenFormat_ = nullptr;
  QLineEdit* txbDatenBemerkung_ = nullptr;
  QPlainTextEdit* txbDatenVerbindung_ = nullptr;
  QPlainTextEdit* txbDatenAbfrage_ = nullptr;
  QLabel* lbDatenTitel_ = nullptr;
  QLabel* lbDatenVerbindung_ = nullptr;
  QLabel* lbDatenAbfrage_ = nullptr;
  QPushButton* cmdVerbindung_ = nullptr;
  QPushButton* cmdMinMaxDatenVerbindung_ = nullptr;
  QPushButton* cmdMinMaxDatenAbfrage_ = nullptr;
  QComboBox* cbxZuordnungenRubrik_ = nullptr;
  QTreeWidget* tvZuordnungen_ = nullptr;
  std::vector<QTreeWidgetItem*> treeNodes_;  // in the order they were added
  QMenu* mnuAnsicht_ = nullptr;
  QAction* mnuZeigeRubrik_ = nullptr;
  QAction* mnuZeigeDaten_ = nullptr;
  QAction* mnuZeigeZuordnung_ = nullptr;
  QAction* mnuNeueZuordnung_ = nullptr;
  QComboBox* cbxStartRubrik_ = nullptr;
  QLineEdit* txbRegisterkarte_ = nullptr;
  QLineEdit* txbNetlinks_ = nullptr;
};

}  // namespace vn::config
