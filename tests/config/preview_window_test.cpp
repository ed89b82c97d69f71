// The Qt preview window draws the core's result through its widgets: the title, the lines, the
// grid's captions and cells as the page shows them, the busy indicator and "Abbrechen" while the
// query runs, and the result delivered on the window's thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "config/qt/preview_window.h"
#include "tests/config/core/preview_fixture.h"

namespace vn::config::testing {
namespace {

class QtPreviewTest : public PreviewFixture {};

TEST_F(QtPreviewTest, TheGridShowsTheTablesCaptionsAndCells) {
  frmVorschau window(nullptr);
  window.Control().Show(
      {"Rechnungen", Connection(),
       "SELECT Nr AS hide_Nr, Nr AS [right_Rechnung], Betrag AS [right_format#,##0.00_Betrag] "
       "FROM Rechnungen WHERE KundenNr = '{!kontakt, 25}' ORDER BY Nr",
       0});
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Vorschau - Rechnungen"));
  EXPECT_TRUE(window.CancelButton()->isEnabled());
  // The result arrives as a queued call on this thread.
  QElapsedTimer waited;
  waited.start();
  while (window.Grid()->rowCount() == 0 && waited.elapsed() < 60000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QTableWidget* grid = window.Grid();
  ASSERT_EQ(grid->rowCount(), 2);
  ASSERT_EQ(grid->columnCount(), 2);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QString::fromUtf8("Rechnung"));
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QString::fromUtf8("Betrag"));
  const char* const cells[2][2] = {{"7", "1.785,00"}, {"8", "2.541,30"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(grid->item(r, c)->text(), QString::fromUtf8(cells[r][c])) << r << "," << c;
    }
  }
  EXPECT_FALSE(window.Busy()->isVisible());
  EXPECT_FALSE(window.CancelButton()->isEnabled());
  const QStringList lines = window.Lines()->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QString::fromStdString("Verbindung: " + Connection()));
  EXPECT_EQ(lines[1],
            QString::fromUtf8("Abfrage: SELECT Nr AS hide_Nr, Nr AS [right_Rechnung], Betrag AS "
                              "[right_format#,##0.00_Betrag] FROM Rechnungen WHERE KundenNr = "
                              "'K1' ORDER BY Nr"));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Dauer: "))) << lines[2].toStdString();
}

TEST_F(QtPreviewTest, AFailureIsSaidAboveAnEmptyGrid) {
  frmVorschau window(nullptr);
  window.Control().Show({"Fehler", Connection(), "SELECT * FROM nirgends", 2});
  QElapsedTimer waited;
  waited.start();
  while (window.CancelButton()->isEnabled() && waited.elapsed() < 60000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(window.Grid()->rowCount(), 0);
  EXPECT_EQ(window.Grid()->columnCount(), 0);
  EXPECT_TRUE(window.Lines()->toPlainText().contains(
      QString::fromUtf8("Fehler 102: Es konnten keine Daten von der Datenbank abgefragt werden.")));
}

}  // namespace
}  // namespace vn::config::testing
