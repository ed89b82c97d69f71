// A configuration window over rows in memory, shown and active on the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "config/data_env_events.h"
#include "config/frm_konfiguration.h"
#include "fakes.h"
#include "memory_records.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vn::config::testing {

inline Row Rubrik(std::int64_t id, std::int64_t rang, const char* name) {
  return {id, rang, name, std::string("Menü ") + name, std::string("Titel ") + name, vn::data::Null{}};
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rubriken = std::make_unique<MemoryRecords>(
        "rstabRubriken",
        std::vector<std::string>{"ID_Rubrik", "Rang", "Rubrik", "Menuetext", "Titel", "Bemerkung"});
    daten = std::make_unique<MemoryRecords>(
        "rstabDaten", std::vector<std::string>{"ID_Daten", "Titel", "Format_ID", "Datenquelle",
                                               "Abfrage", "Bemerkung"});
    zuordnungen = std::make_unique<MemoryRecords>(
        "rstabZuordnungen", std::vector<std::string>{"ID_Zuordnung", "Rubrik_ID", "Daten_ID", "Rang"});
    lookups.lists["rsluDatenFormate"] = {{std::int64_t{1}, "Tabelle"}, {std::int64_t{2}, "Liste"}};
  }

  // Creates, loads, shows and activates the window over the rows set up so far.
  void Open(bool debug = false) {
    for (MemoryRecords* r : {rubriken.get(), daten.get(), zuordnungen.get()}) r->Requery();
    window = std::make_unique<frmKonfiguration>(debug, messages);
    events = std::make_unique<DataEnvEvents>(*window);
    window->SetRecordEvents(events.get());
    window->SetLookupSource(&lookups);
    window->SetConnectionTools(&probe, &dataLink);
    window->SetTableRecords(rubriken.get(), daten.get(), zuordnungen.get());
    window->Load();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  template <typename T = QWidget>
  T* Child(const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QToolButton* Button(const char* name) { return Child<QToolButton>(name); }
  QString EditPanel() { return Child<QLabel>("Edit")->text(); }

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

  FakeMessages messages;
  FakeLookups lookups;
  FakeProbe probe;
  FakeDataLink dataLink;
  std::unique_ptr<MemoryRecords> rubriken, daten, zuordnungen;
  std::unique_ptr<frmKonfiguration> window;
  std::unique_ptr<DataEnvEvents> events;
};

}  // namespace vn::config::testing
