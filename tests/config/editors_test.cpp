// The connection and query editors of the tab Daten: one-line texts with the caret kept, the
// size buttons in any order, the connection button with its dialog; and the look of the about
// window's link and the data-link dialog's pages.
#include "config/qt/data_link_dialog.h"
#include "config/qt/frm_info.h"
#include "config/qt/twips.h"

#include <QMouseEvent>
#include <QStackedWidget>
#include "real_data_fixture.h"

namespace vn::config::testing {
namespace {

class EditorsTest : public RealDataTest {
 protected:
  // The tab Daten on entry 2 (a connection string that opens) or entry 5 (empty fields).
  void OpenOnDaten(int entry) {
    Open();
    Core().SelectTab(2);
    if (entry == 5) Core().cmdMoveLast_Click();
    if (entry == 2) Core().cmdMoveNext_Click();
    messages.shown.clear();
  }
  TwipsRect Geometry(const char* name) { return TwipsGeometry(Child<QWidget>(name)); }
  static bool Same(const TwipsRect& a, const TwipsRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

TEST_F(EditorsTest, EnterInTheMiddleOfAQueryLeavesABlankAtTheCaretAndNothingMoves) {
  OpenOnDaten(5);
  auto* query = Child<QPlainTextEdit>("txbDatenAbfrage");
  query->setFocus();
  QTest::keyClicks(query, "SELECT KundenNr, Name FROM Kunden");
  QTest::keyClick(query, Qt::Key_Return);
  QTest::keyClicks(query, "ORDER BY Name");
  EXPECT_EQ(query->toPlainText(),
            QStringLiteral("SELECT KundenNr, Name FROM Kunden ORDER BY Name"));
  QTextCursor cursor = query->textCursor();
  cursor.setPosition(6);
  query->setTextCursor(cursor);
  QTest::keyClick(query, Qt::Key_Return);
  QTest::keyClicks(query, "*,");
  EXPECT_EQ(query->toPlainText(),
            QStringLiteral("SELECT *, KundenNr, Name FROM Kunden ORDER BY Name"));
  EXPECT_EQ(query->textCursor().position(), 9);
  // Pasted line ends, CR LF included, become one blank each.
  query->selectAll();
  query->insertPlainText(QStringLiteral("SELECT *\r\nFROM Kunden\nWHERE 1=1"));
  EXPECT_EQ(query->toPlainText(), QStringLiteral("SELECT * FROM Kunden WHERE 1=1"));
  EXPECT_EQ(query->textCursor().position(), 30);
  Core().SelectTab(1);
  EXPECT_EQ(Query("SELECT Abfrage FROM Daten WHERE ID_Daten = 5"),
            "SELECT * FROM Kunden WHERE 1=1");
}

TEST_F(EditorsTest, TheConnectionFieldKeepsOneLineAndTheCaretToo) {
  OpenOnDaten(5);
  auto* connection = Child<QPlainTextEdit>("txbDatenVerbindung");
  connection->setFocus();
  QTest::keyClicks(connection, "Provider=SQLite;");
  QTest::keyClick(connection, Qt::Key_Return);
  QTest::keyClicks(connection, "Data Source=a.db");
  EXPECT_EQ(connection->toPlainText(), QStringLiteral("Provider=SQLite; Data Source=a.db"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
}

TEST_F(EditorsTest, EnlargingAndShrinkingTheQueryField) {
  OpenOnDaten(5);
  const int gap = Core().FieldGap();
  const TwipsRect panel = Geometry("frTab1");
  const TwipsRect before = Geometry("txbDatenAbfrage");
  const TwipsRect format = Geometry("cbxDatenFormat");
  auto* size = Child<QPushButton>("cmdMinMaxDatenAbfrage");
  EXPECT_EQ(size->text(), QString::fromUtf8(FieldSizes::CaptionNormal()));
  EXPECT_EQ(before.top + before.height, panel.height - 2 * gap);
  size->click();
  const TwipsRect big = Geometry("txbDatenAbfrage");
  EXPECT_EQ(big.top, format.top);
  EXPECT_EQ(big.height, panel.height - format.top - 2 * gap);
  EXPECT_EQ(big.top + big.height, before.top + before.height);  // the bottom stays
  EXPECT_EQ(Geometry("lbDatenAbfrage").height, big.height);
  EXPECT_EQ(size->text(), QString::fromUtf8(FieldSizes::CaptionEnlarged()));
  const TwipsRect button = Geometry("cmdMinMaxDatenAbfrage");
  EXPECT_EQ(button.top, big.top + big.height - button.height - 2 * TwipsPerPixelY());
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("txbDatenAbfrage"));
  size->click();  // a second press shrinks it again
  EXPECT_TRUE(Same(Geometry("txbDatenAbfrage"), before));
  EXPECT_EQ(Geometry("lbDatenAbfrage").height, Geometry("txbDatenTitel").height);
  EXPECT_EQ(size->text(), QString::fromUtf8(FieldSizes::CaptionNormal()));
}

// The enlarged field's label is drawn over the labels of the fields it covers.
TEST_F(EditorsTest, TheEnlargedFieldsLabelCoversTheLabelsUnderIt) {
  OpenOnDaten(5);
  Child<QPushButton>("cmdMinMaxDatenVerbindung")->click();
  QWidget* label = Child<QWidget>("lbDatenVerbindung");
  QWidget* format = Child<QWidget>("lbDatenFormat");
  EXPECT_TRUE(label->geometry().contains(format->geometry()));
  EXPECT_TRUE(label->autoFillBackground());
  const QObjectList& siblings = label->parentWidget()->children();
  EXPECT_GT(siblings.indexOf(label), siblings.indexOf(format));
}

TEST_F(EditorsTest, EachFieldReturnsToItsNormalSizeAfterAnyOrderOfPresses) {
  OpenOnDaten(5);
  const TwipsRect connection = Geometry("txbDatenVerbindung");
  const TwipsRect query = Geometry("txbDatenAbfrage");
  auto* sizeV = Child<QPushButton>("cmdMinMaxDatenVerbindung");
  auto* sizeA = Child<QPushButton>("cmdMinMaxDatenAbfrage");
  const std::vector<std::vector<QPushButton*>> orders = {{sizeV, sizeA, sizeV, sizeA},
                                                         {sizeA, sizeV, sizeA, sizeV},
                                                         {sizeA, sizeV, sizeV, sizeA},
                                                         {sizeV, sizeA, sizeA, sizeV}};
  for (const auto& order : orders) {
    for (QPushButton* press : order) press->click();
    EXPECT_TRUE(Same(Geometry("txbDatenVerbindung"), connection));
    EXPECT_TRUE(Same(Geometry("txbDatenAbfrage"), query));
    EXPECT_EQ(sizeV->text(), QString::fromUtf8(FieldSizes::CaptionNormal()));
    EXPECT_EQ(sizeA->text(), QString::fromUtf8(FieldSizes::CaptionNormal()));
  }
}

TEST_F(EditorsTest, EmptyFieldAndCancelledDialogChangeNothing) {
  OpenOnDaten(5);
  const QString mode = EditPanel();
  Core().cmdVerbindung_Click();
  EXPECT_EQ(dataLink.newCalls, 1);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(), QString());
  EXPECT_EQ(EditPanel(), mode);
  EXPECT_TRUE(probe.probed.empty());
}

TEST_F(EditorsTest, AStringThatOpensAndIsEditedToTheSameTextStaysUnchanged) {
  OpenOnDaten(2);
  const std::string stored = "Provider=SQLite;Data Source=databases/demo.db";
  dataLink.editResult = stored;
  const QString mode = EditPanel();
  Core().cmdVerbindung_Click();
  ASSERT_EQ(dataLink.edited.size(), 1u);
  EXPECT_EQ(EditPanel(), mode);
  EXPECT_FALSE(Button("cmdOK")->isEnabled());
  dataLink.editResult = "Provider=SQLite;Data Source=b.db";
  Core().cmdVerbindung_Click();
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(),
            QStringLiteral("Provider=SQLite;Data Source=b.db"));
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  Core().cmdOK_Click();
  EXPECT_EQ(Query("SELECT Datenquelle FROM Daten WHERE ID_Daten = 2"),
            "Provider=SQLite;Data Source=b.db");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EditorsTest, AStringThatFailsAsksForANewConnection) {
  OpenOnDaten(2);
  probe.failure = "Provider Foo nicht gefunden.";
  Core().cmdVerbindung_Click();  // answered No
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Fehlerhafte Verbindung:\nProvider Foo nicht gefunden.\n\n"
                           "Soll eine neue Verbindung erstellt werden ?"));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(dataLink.newCalls, 0);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(),
            QStringLiteral("Provider=SQLite;Data Source=databases/demo.db"));
  messages.answers = {MsgResult::kYes};
  dataLink.newResult = "DSN=Kunden;";
  Core().cmdVerbindung_Click();
  EXPECT_EQ(dataLink.newCalls, 1);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(),
            QStringLiteral("DSN=Kunden;"));
}

TEST(AboutWindowTest, TheLinkIsUnderlinedWhileTheMouseIsOverIt) {
  frmInfo info;
  info.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
  auto* link = info.findChild<QLabel*>(QStringLiteral("lbQX"));
  ASSERT_NE(link, nullptr);
  EXPECT_FALSE(info.LinkUnderlined());
  auto moveOver = [](QWidget* widget) {
    const QPointF at(2, 2);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  };
  moveOver(link);
  EXPECT_TRUE(info.LinkUnderlined());
  link->ensurePolished();
  EXPECT_TRUE(link->font().underline());
  moveOver(&info);
  EXPECT_FALSE(info.LinkUnderlined());
  EXPECT_FALSE(link->font().underline());
}

TEST(DataLinkDialogLayoutTest, TheOneLinePagesLeaveNoEmptySpace) {
  FakeProbe probe;
  FakeMessages messages;
  DataLinkDialog dialog(probe, messages, messages);
  dialog.SetConnectionString("Provider=SQLite;Data Source=/srv/kunden.db;");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* pages = dialog.findChild<QStackedWidget*>();
  ASSERT_NE(pages, nullptr);
  EXPECT_LE(pages->height(), pages->currentWidget()->sizeHint().height() + 4);
  dialog.SetKind(DataLinkDialog::kTyped);
  QApplication::processEvents();
  EXPECT_GE(dialog.height(), 300);
}

}  // namespace
}  // namespace vn::config::testing
