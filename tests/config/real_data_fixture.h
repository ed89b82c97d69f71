// A configuration window over the data environment and a configuration database of its own:
// the shipped scripts' demo configuration in a private program folder.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "config/core/data_env.h"
#include "config/core/data_env_events.h"
#include "config/qt/frm_konfiguration.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "fakes.h"
#include "platform/module_path.h"
#include "tests/config/database_file_helpers.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace vn::config::testing {

class RealDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vn-config-db-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    std::filesystem::create_directories(folder + "/databases");
    path = folder + "/databases/config.mdb";
    Execute(ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/schema.sql") +
            ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/formate.sql") +
            ReadFile(std::string(VARNOLIS_SOURCE_DIR) + "/databases/demo_config.sql") +
            // The tests work on the demo without its Notizen entry: a rubric without
            // assignments, five data entries, and the next identifiers 6 and 7.
            "DELETE FROM Zuordnungen WHERE Rubrik_ID = 5; DELETE FROM Daten WHERE ID_Daten = 6;"
            "UPDATE sqlite_sequence SET seq = 5 WHERE name = 'Daten';"
            "UPDATE sqlite_sequence SET seq = 6 WHERE name = 'Zuordnungen';");
    OverrideLibraryFolder(folder);
  }

  void TearDown() override {
    for (const std::string& locked : readOnly_) SetImmutable(locked, false);
    lock_.Release();
    window.reset();
    events.reset();
    dataEnv.reset();
    OverrideLibraryFolder("");
    std::filesystem::remove_all(folder);
  }

  // Runs `sql` on the database through a connection of its own.
  void Execute(const std::string& sql) { ExecuteSql(path, sql); }

  // The rows of `sql` as the library reads them (its own read-only connection), "a|b" per row.
  std::string Query(const std::string& sql) {
    vn::data::Connection connection;
    connection.SetMode(vn::data::adModeRead);
    connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path +
                    ";Persist Security Info=False");
    vn::data::Recordset rs;
    rs.Open(sql, connection, vn::data::adOpenForwardOnly, vn::data::adLockReadOnly);
    std::string out;
    while (!rs.Eof()) {
      if (!out.empty()) out += ";";
      for (int i = 0; i < rs.FieldCount(); ++i) {
        if (i > 0) out += "|";
        out += rs.Fields(i).Value().DebugText();
      }
      rs.MoveNext();
    }
    return out;
  }

  void Open(bool debug = false) {
    dataEnv = std::make_unique<DataEnv>();
    dataEnv->DataEnvironment_Initialize(folder);
    window = std::make_unique<frmKonfiguration>(debug, messages);
    events = std::make_unique<DataEnvEvents>(window->Core());
    window->Core().SetRecordEvents(events.get());
    window->Core().SetConnectionTools(&probe, &dataLink);
    window->Core().SetTableRecords(dataEnv->rstabRubriken(), dataEnv->rstabDaten(),
                                   dataEnv->rstabZuordnungen());
    window->Core().SetLookupSource(dataEnv.get());
    window->Core().SetConfigStore(dataEnv.get());
    window->Load();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  // The window's core, as the front passes the user's presses to it.
  KonfigurationWindow& Core() { return window->Core(); }
  QString StatusText() { return Child<QLabel>("Status")->text(); }
  QTreeWidget* Tree() { return Child<QTreeWidget>("tvZuordnungen"); }
  QMenu* AnsichtMenu() { return Child<QMenu>("mnuAnsicht"); }

  template <typename T = QWidget>
  T* Child(const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QString Text(const char* name) { return Child<QLineEdit>(name)->text(); }
  QToolButton* Button(const char* name) { return Child<QToolButton>(name); }
  long Position() { return Core().CurrentRecords()->AbsolutePosition(); }

  // The enabled state of the eight bar buttons, left to right, as "10110011".
  std::string BarState() {
    std::string state;
    for (const char* name : {"cmdMoveFirst", "cmdMovePrevious", "cmdMoveNext", "cmdMoveLast",
                             "cmdDelete", "cmdAddNew", "cmdCancel", "cmdOK"})
      state += Button(name)->isEnabled() ? '1' : '0';
    return state;
  }

  // Focus on a control that is neither a text nor a list field.
  void FocusOnInfoButton() {
    QPushButton* info = Child<QPushButton>("cmdInfo");
    info->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), info);
  }

  // Opens the window, types `text` into `field` of the second rubric, saves, and returns the
  // one message box's text ("" unless exactly one box was shown).
  QString SaveOnSecondRubric(const char* field, const QString& text) {
    Open();
    Core().cmdMoveNext_Click();
    Type(field, text);
    Core().cmdOK_Click();
    return messages.shown.size() == 1 ? messages.shown[0].text : QString();
  }

  // Another program's write transaction on the database, until released.
  void LockFromAnotherProgram() { lock_.Take(path); }
  void ReleaseLock() { lock_.Release(); }

  // Makes a file or folder unwritable even for root (permissions, and the immutable flag where
  // the file system has one); false when it stays writable here.
  bool MakeReadOnly(const std::string& target) {
    chmod(target.c_str(), std::filesystem::is_directory(target) ? 0555 : 0444);
    if (geteuid() == 0 && SetImmutable(target, true)) readOnly_.push_back(target);
    const int fd =
        ::open(target.c_str(), std::filesystem::is_directory(target) ? O_RDONLY : O_RDWR);
    if (fd >= 0 && std::filesystem::is_directory(target)) {
      ::close(fd);
      const std::string trial = target + "/.probe";
      const int created = ::open(trial.c_str(), O_CREAT | O_WRONLY, 0600);
      if (created < 0) return true;
      ::close(created);
      ::unlink(trial.c_str());
      return false;
    }
    if (fd >= 0) ::close(fd);
    return fd < 0;
  }
  QString EditPanel() { return Child<QLabel>("Edit")->text(); }
  QString Current(const char* column) {
    return QString::fromStdString(VariantText(Core().CurrentRecords()->Value(column)));
  }

  // Types `text` into the line edit `name` after putting the focus there.
  void Type(const char* name, const QString& text) {
    QLineEdit* edit = Child<QLineEdit>(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  // The tree's nodes below `node` as "text[tag]" lines, indented by level.
  static QString Outline(QTreeWidgetItem* node, int depth = 0) {
    QString out = QString(depth * 2, QLatin1Char(' ')) + node->text(0) + QStringLiteral("[") +
                  frmKonfiguration::NodeTag(node) + QStringLiteral("]\n");
    for (int i = 0; i < node->childCount(); ++i) out += Outline(node->child(i), depth + 1);
    return out;
  }

  QTreeWidgetItem* FindNode(const QString& text, const QString& parentText) {
    QTreeWidgetItem* root = Tree()->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) {
      QTreeWidgetItem* rubric = root->child(i);
      if (parentText.isEmpty() && rubric->text(0) == text) return rubric;
      if (rubric->text(0) != parentText) continue;
      for (int j = 0; j < rubric->childCount(); ++j)
        if (rubric->child(j)->text(0) == text) return rubric->child(j);
    }
    ADD_FAILURE() << "no node " << text.toStdString() << " below " << parentText.toStdString();
    return nullptr;
  }

  std::string folder;
  std::string path;
  FakeMessages messages;
  FakeProbe probe;
  FakeDataLink dataLink;
  std::unique_ptr<DataEnv> dataEnv;
  std::unique_ptr<frmKonfiguration> window;
  std::unique_ptr<DataEnvEvents> events;

 private:
  std::vector<std::string> readOnly_;
  WriteLock lock_;
};

// Sets a locale variable for the time of a test.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* value) {
    const char* old = std::getenv("LC_ALL");
    old_ = old != nullptr ? old : "";
    setenv("LC_ALL", value, 1);
  }
  ~ScopedLocale() { setenv("LC_ALL", old_.c_str(), 1); }

 private:
  std::string old_;
};

}  // namespace vn::config::testing
