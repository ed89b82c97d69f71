// The connection button: the dialog's answer goes into the field only where it changed it, a
// dialog that does not know the library's own SQLite files gives way to a file chooser that
// replaces only the file, and a provider the library cannot open is said at once.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/core/connection_probe.h"
#include "config/core/data_link.h"
#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {
namespace {

class OpeningProbe : public ConnectionProbe {
 public:
  void Probe(const std::string&) override {}
};

class AnsweringDataLink : public DataLinkPrompt {
 public:
  bool showsLibraryFiles = true;
  std::optional<std::string> answer;
  int prompts = 0;
  std::optional<std::string> PromptNew() override {
    ++prompts;
    return answer;
  }
  std::optional<std::string> PromptEdit(const std::string&) override {
    ++prompts;
    return answer;
  }
  bool ShowsLibraryFiles() const override { return showsLibraryFiles; }
};

constexpr char kCannotOpen[] =
    "Varnolis kann den Provider „OraOLEDB.Oracle“ nicht öffnen; eine Seite zeigte für diese "
    "Verbindung den Fehler 101.\nProvider cannot be found: 'OraOLEDB.Oracle'. Understood "
    "providers: Microsoft.Jet.OLEDB.4.0, Microsoft.ACE.OLEDB.12.0 and Microsoft.ACE.OLEDB.16.0 "
    "(Access and SQLite files); SQLOLEDB, SQLNCLI, SQLNCLI10, SQLNCLI11, MSOLEDBSQL and "
    "MSOLEDBSQL19 (SQL Server); MSDASQL (ODBC); SQLite; MSDataShape. An ODBC connection string "
    "(Driver={...};... or DSN=...) reaches any installed ODBC driver.";

struct ButtonCase {
  const char* what;
  const char* typed;
  bool showsLibraryFiles;
  std::optional<std::string> dialog;  // the dialog's answer
  std::optional<std::string> file;    // the file chooser's
  const char* field;                  // the field afterwards
  int dialogs;                        // dialogs opened
  const char* chooserStart;           // nullptr: no chooser
  const char* message;                // nullptr: none
};

TEST_F(CoreTest, TheConnectionButtonChangesOnlyWhatTheUserChanged) {
  const char* kTyped = "Provider=SQLite; Data Source=\"/srv/a;b.db\";Mode=Read";
  const ButtonCase cases[] = {
      {"unchanged_dialog", kTyped, true, kTyped, std::nullopt, kTyped, 1, nullptr, nullptr},
      {"cancelled_dialog", kTyped, true, std::nullopt, std::nullopt, kTyped, 1, nullptr, nullptr},
      {"chooser_for_sqlite", kTyped, false, std::nullopt, "/srv/neu.db",
       "Provider=SQLite; Data Source=/srv/neu.db;Mode=Read", 0, "/srv/a;b.db", nullptr},
      {"chooser_cancelled", kTyped, false, std::nullopt, std::nullopt, kTyped, 0, "/srv/a;b.db",
       nullptr},
      {"system_dialog_for_others", "DSN=Kunden;Mode=Read", false, "DSN=Kunden;Mode=Write",
       std::nullopt, "DSN=Kunden;Mode=Write", 1, nullptr, nullptr},
      {"provider_it_cannot_open", "", true, "Provider=OraOLEDB.Oracle;Data Source=db",
       std::nullopt, "Provider=OraOLEDB.Oracle;Data Source=db", 1, nullptr, kCannotOpen},
  };
  Open();
  ASSERT_TRUE(window->SelectTab(2));
  window->cmdMoveNext_Click();
  OpeningProbe probe;
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.what);
    AnsweringDataLink dataLink;
    dataLink.showsLibraryFiles = c.showsLibraryFiles;
    dataLink.answer = c.dialog;
    window->SetConnectionTools(&probe, &dataLink);
    view.Type("txbDatenVerbindung", c.typed);
    window->cmdOK_Click();
    prompts.shown.clear();
    prompts.chooserStarts.clear();
    prompts.file = c.file;
    window->cmdVerbindung_Click();
    EXPECT_EQ(view.fields["txbDatenVerbindung"], c.field);
    EXPECT_EQ(dataLink.prompts, c.dialogs);
    EXPECT_EQ(prompts.chooserStarts,
              c.chooserStart ? std::vector<std::string>{c.chooserStart} : std::vector<std::string>{});
    if (c.message == nullptr) {
      EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
    } else {
      ASSERT_EQ(prompts.shown.size(), 1u);
      EXPECT_EQ(prompts.shown[0].text, c.message);
      EXPECT_EQ(prompts.shown[0].icon, MsgIcon::kExclamation);
    }
    // An unchanged field leaves the record unchanged.
    EXPECT_EQ(view.state.edit == "geändert", std::string(c.field) != c.typed);
    window->cmdCancel_Click();
    window->SetConnectionTools(nullptr, nullptr);
  }
}

}  // namespace
}  // namespace vn::config::testing
