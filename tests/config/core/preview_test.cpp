// The preview of a data entry through the core: on SQLite as a record card, a table and a SHAPE
// command, on PostgreSQL, with the 500-row cut, and with the failures a page reports. The cells
// are written out by hand as the page shows them, and the page's own generators are held against
// the same cells for the same entry and contact.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "platform/text.h"
#include "tests/config/core/preview_fixture.h"

namespace vn::config::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Columns = std::vector<std::string>;

class PreviewTest : public PreviewFixture {
 protected:
  // The preview gives these columns and rows, and the page shows every one of these cells.
  void ExpectPageCells(const PreviewEntry& entry, const Rows& rows) {
    const std::string page = PageOf(entry);
    for (const auto& row : rows) {
      for (const std::string& cell : row) EXPECT_TRUE(PageShowsCell(page, cell)) << cell;
    }
  }
};

TEST_F(PreviewTest, RecordCardShowsTheCardsCaptionsAndItsOneRecord) {
  const PreviewEntry entry{"Kunde", Connection(),
                           "SELECT KundenNr AS [Kunden-Nr.], Name, Umsatz AS [right_Umsatz], "
                           "Seit AS [Kunde seit] FROM Kunden WHERE KundenNr = '{!kontakt, 25}'",
                           2};
  const PreviewResult result = Preview(entry);
  EXPECT_EQ(result.errorNumber, 0) << result.errorText;
  EXPECT_EQ(result.caption, "Vorschau - Kunde");
  EXPECT_EQ(result.query,
            "SELECT KundenNr AS [Kunden-Nr.], Name, Umsatz AS [right_Umsatz], Seit AS [Kunde "
            "seit] FROM Kunden WHERE KundenNr = 'K1'");
  EXPECT_EQ(result.columns, (Columns{"Kunden-Nr.", "Name", "Umsatz", "Kunde seit"}));
  const Rows expected{{"K1", "Müller & <Söhne>", "48.250,75", "01.03.2015"}};
  EXPECT_EQ(result.rows, expected);
  EXPECT_EQ(result.notice, "");
  ExpectPageCells(entry, expected);
}

TEST_F(PreviewTest, TableDropsHiddenColumnsAndShowsTheTablesCaptionsAndFormats) {
  const PreviewEntry entry{
      "Rechnungen", Connection(),
      "SELECT Nr AS hide_Nr, Nr AS [right_Rechnung], Datum AS [formatdd*mm*yyyy_Datum], "
      "Betrag AS [right_format#,##0.00_Betrag] FROM Rechnungen "
      "WHERE KundenNr = '{!kontakt, 25}' ORDER BY Nr",
      0};
  const PreviewResult result = Preview(entry);
  EXPECT_EQ(result.errorNumber, 0) << result.errorText;
  EXPECT_EQ(result.columns, (Columns{"Rechnung", "Datum", "Betrag"}));
  const Rows expected{{"7", "14.02.2024", "1.785,00"}, {"8", "03.06.2024", "2.541,30"}};
  EXPECT_EQ(result.rows, expected);
  ExpectPageCells(entry, expected);
}

TEST_F(PreviewTest, ShapeCommandShowsTheTopLevelWithTheNumberOfChildRows) {
  const PreviewEntry entry{
      "Rechnungen", Connection(),
      "SHAPE {SELECT Nr AS hide_Nr, Nr AS [Rechnung], Betrag AS [right_format#,##0.00_Betrag] "
      "FROM Rechnungen WHERE KundenNr = '{!kontakt, 25}' ORDER BY Nr} AS R APPEND "
      "({SELECT Nr AS hide_Nr, Pos, Artikel FROM Positionen} AS Positionen "
      "RELATE hide_Nr TO hide_Nr) AS Positionen",
      1};
  const PreviewResult result = Preview(entry);
  EXPECT_EQ(result.errorNumber, 0) << result.errorText;
  EXPECT_EQ(result.columns, (Columns{"Positionen", "Rechnung", "Betrag"}));
  EXPECT_EQ(result.rows, (Rows{{"2", "7", "1.785,00"}, {"1", "8", "2.541,30"}}));
  ExpectPageCells(entry, {{"7", "1.785,00", "8", "2.541,30", "Schrauben", "Muttern", "Dübel"}});
}

TEST_F(PreviewTest, FailuresCarryThePagesMessageNumberAndText) {
  struct Case {
    const char* what;
    std::string connection;
    std::string query;
    int format;
    int number;
    std::string textStart;
  };
  const std::string c = Connection();
  const Case cases[] = {
      {"query the database rejects", c, "SELECT * FROM nirgends", 2, 102,
       "Es konnten keine Daten von der Datenbank abgefragt werden.\nSQL-String: SELECT * FROM "
       "nirgends\n"},
      {"query of a table", c, "SELECT * FROM nirgends", 0, 102,
       "Es konnten keine Daten von der Datenbank abgefragt werden.\nSQL-String: SELECT * FROM "
       "nirgends\n"},
      {"provider that does not open", "Provider=Nonsense;Password=geheim", "SELECT 1", 2, 101,
       "Es konnte keine Verbindung zu der Datenbank hergestellt werden.\nConnection String: "
       "Provider=Nonsense;Password=***"},
      {"the same in a table", "Provider=Nonsense;Password=geheim", "SELECT 1", 1, 101,
       "Es konnte keine Verbindung zu der Datenbank hergestellt werden.\nConnection String: "
       "Provider=MSDataShape;Data Provider=Nonsense;Password=***"},
      {"no connection string", "  ", "SELECT 1", 2, 103, "Es fehlen die Verbindungsdaten."},
      {"no query", c, "", 0, 104, "Es fehlt die SQL-Abfrage."},
      {"unknown source command", c, "SELECT '{!nirgends, 1}'", 2, 173,
       "Unbekanntes ACT!-Quellenkommando 'nirgends, 1'."},
      {"unknown format", c, "SELECT 1", 7, 156, "Unbekannter Formattyp '7'."},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const PreviewResult result = Preview({"T", test.connection, test.query, test.format});
    EXPECT_EQ(result.errorNumber, test.number);
    EXPECT_EQ(result.errorText.substr(0, test.textStart.size()), test.textStart)
        << result.errorText;
    EXPECT_TRUE(result.columns.empty());
    EXPECT_TRUE(result.rows.empty());
    if (test.number != 156) {
      EXPECT_TRUE(PageShowsCell(PageOf({"T", test.connection, test.query, test.format}),
                                std::to_string(test.number)));
    }
  }
  // The provider's own reason follows the page's text of a rejected query.
  const PreviewResult rejected = Preview({"T", c, "SELECT * FROM nirgends", 2});
  EXPECT_NE(rejected.errorText.find("no such table: nirgends"), std::string::npos)
      << rejected.errorText;
}

TEST_F(PreviewTest, WithoutACTTheCommandsAreNotResolved) {
  RemoveAct();
  const PreviewResult result = Preview({"T", Connection(), "SELECT 1 AS Eins", 2});
  EXPECT_EQ(result.errorNumber, 122);
  EXPECT_EQ(result.errorText,
            "Der Zugriff auf die ACT!-Daten ist nich möglich, weil kein ACT! gestartet wurde.");
}

TEST_F(PreviewTest, AFailureOfACTsAutomationIsAProgramFailureNotACrash) {
  // ACT! raises an automation error while a contact field is read: the window must say so.
  std::ofstream(root_ / "act.json", std::ios::binary)
      << "{\"windows\": [{\"class\": \"act3.0frameclass\", \"title\": \"ACT! - Test\", "
         "\"visible\": true}], \"database\": \"Test.dbf\", \"activeView\": 1, "
         "\"contact\": {\"25\": \"K1\"}, \"fail\": {\"GetField\": -2147023174}}";
  const PreviewResult result = Preview({"T", Connection(), "SELECT '{!kontakt, 25}' AS Eins", 2});
  EXPECT_EQ(result.errorNumber, 199);
  EXPECT_EQ(result.errorText.substr(0, result.errorText.find('\n')),
            "Programmfehler in clACTDataParser");
  EXPECT_NE(result.errorText.find("-2147023174"), std::string::npos) << result.errorText;
  EXPECT_TRUE(result.rows.empty());
}

TEST_F(PreviewTest, AtMostFiveHundredRowsAreShownAndTheRestIsSaid) {
  const std::string upTo =
      "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %s) "
      "SELECT x AS [right_Nr] FROM c";
  auto query = [&](const char* last) { return ReplaceAll(upTo, "%s", last); };
  const PreviewResult many = Preview({"T", Connection(), query("12345"), 0});
  EXPECT_EQ(many.errorNumber, 0) << many.errorText;
  ASSERT_EQ(many.rows.size(), 500u);
  EXPECT_EQ(many.rows.front(), std::vector<std::string>{"1"});
  EXPECT_EQ(many.rows.back(), std::vector<std::string>{"500"});
  EXPECT_EQ(many.notice, "500 von 12 345 Zeilen");

  const PreviewResult exactly = Preview({"T", Connection(), query("500"), 0});
  EXPECT_EQ(exactly.rows.size(), 500u);
  EXPECT_EQ(exactly.notice, "");
  // A record card shows its one record however many the query gives.
  const PreviewResult card = Preview({"T", Connection(), query("12345"), 2});
  EXPECT_EQ(card.rows, (Rows{{"1"}}));
  EXPECT_EQ(card.notice, "");
}

TEST_F(PreviewTest, RowsNoticeAndElapsedText) {
  struct Case {
    int shown;
    long long total;
    const char* notice;
  };
  for (const Case& test :
       {Case{500, 12345, "500 von 12 345 Zeilen"}, Case{500, 501, "500 von 501 Zeilen"},
        Case{500, 1000000, "500 von 1 000 000 Zeilen"}, Case{500, -1, "mehr als 500 Zeilen"},
        Case{3, 3, ""}, Case{0, 0, ""}}) {
    EXPECT_EQ(RowsNotice(test.shown, test.total), test.notice) << test.total;
  }
  EXPECT_EQ(ElapsedText(std::chrono::milliseconds(1234)), "Dauer: 1234 ms");
}

TEST_F(PreviewTest, TheLinesSayConnectionQueryFailureNoticeAndTime) {
  PreviewResult result;
  result.connectionShown = "Provider=SQLite;Pwd=***";
  result.query = "SELECT 1";
  result.errorNumber = 102;
  result.errorText = "Es konnten keine Daten";
  result.notice = "mehr als 500 Zeilen";
  result.elapsed = std::chrono::milliseconds(17);
  EXPECT_EQ(PreviewLines(result),
            (std::vector<std::string>{"Verbindung: Provider=SQLite;Pwd=***", "Abfrage: SELECT 1",
                                      "Fehler 102: Es konnten keine Daten", "mehr als 500 Zeilen",
                                      "Dauer: 17 ms"}));
}

TEST_F(PreviewTest, PasswordsOfTheResolvedConnectionAreMasked) {
  const PreviewResult result =
      Preview({"T", Connection() + ";Password={!kontakt, 25}", "SELECT 1 AS Eins", 2});
  EXPECT_EQ(result.connectionShown, Connection() + ";Password=***");
}

// PostgreSQL ----------------------------------------------------------------------------------

std::string PostgresOdbc() {
  const char* pg = std::getenv("VARNOLIS_TEST_PG_ODBC");
  return pg == nullptr ? std::string() : std::string(pg);
}

#define VN_SKIP_WITHOUT_POSTGRES()                                                   \
  if (PostgresOdbc().empty()) {                                                      \
    GTEST_SKIP() << "VARNOLIS_TEST_PG_ODBC is not set: start a server with 'source " \
                    ".ci/postgres.sh' to run the PostgreSQL tests";                  \
  }

TEST_F(PreviewTest, PostgresTableEqualsThePage) {
  VN_SKIP_WITHOUT_POSTGRES();
  const PreviewEntry entry{
      "Reihe", "Provider=MSDASQL;" + PostgresOdbc(),
      "SELECT n AS \"hide_N\", n AS \"right_Nr\", n * 1.5 AS \"right_format#,##0.00_Wert\", "
      "'{!kontakt, 25}-' || n AS \"Kennung\" FROM generate_series(1, 3) AS n ORDER BY n",
      0};
  const PreviewResult result = Preview(entry);
  EXPECT_EQ(result.errorNumber, 0) << result.errorText;
  EXPECT_EQ(result.columns, (Columns{"Nr", "Wert", "Kennung"}));
  const Rows expected{{"1", "1,50", "K1-1"}, {"2", "3,00", "K1-2"}, {"3", "4,50", "K1-3"}};
  EXPECT_EQ(result.rows, expected);
  ExpectPageCells(entry, expected);
  EXPECT_EQ(result.connectionShown.find("vn-test-pw"), std::string::npos);
}

TEST_F(PreviewTest, CancelEndsAPostgresSleepWellBeforeItsEnd) {
  VN_SKIP_WITHOUT_POSTGRES();
  RecordingPreviewView view;
  PreviewControl control(view);
  control.SetACTAutomation(&StandIn);
  control.Show(
      {"Schlaf", "Provider=MSDASQL;" + PostgresOdbc(), "SELECT pg_sleep(30) AS Schlaf", 2});
  EXPECT_EQ(view.running, std::vector<std::string>{"Vorschau - Schlaf"});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_TRUE(control.Running());
  const auto start = std::chrono::steady_clock::now();
  control.Cancel();
  ASSERT_TRUE(view.WaitForWake());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "[ MEASURED ] cancel of pg_sleep(30) returned after " << seconds << " s\n";
  EXPECT_LT(seconds, 10.0);
  control.Deliver();
  ASSERT_EQ(view.results.size(), 1u);
  EXPECT_TRUE(view.results[0].cancelled);
  EXPECT_EQ(view.results[0].errorText, "Die Abfrage wurde abgebrochen.");
  EXPECT_TRUE(view.results[0].rows.empty());
}

}  // namespace
}  // namespace vn::config::testing
