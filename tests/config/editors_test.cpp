#include "config/twips.h"
#include "window_fixture.h"

namespace vn::config::testing {
namespace {

class EditorsTest : public WindowTest {
 protected:
  void OpenOnDaten(const std::string& connection) {
    daten->database = {{std::int64_t{2}, "Umsatz", std::int64_t{1}, connection, "SELECT 1",
                        vn::data::Null{}}};
    Open();
    window->SelectTab(2);
    messages.shown.clear();
  }
  TwipsRect Geometry(const char* name) { return TwipsGeometry(Child<QWidget>(name)); }
};

TEST_F(EditorsTest, EnlargingAndShrinkingTheQueryField) {
  OpenOnDaten("");
  const int gap = window->FieldGap();
  const TwipsRect panel = Geometry("frTab1");
  const TwipsRect before = Geometry("txbDatenAbfrage");
  const TwipsRect format = Geometry("cbxDatenFormat");
  auto* size = Child<QPushButton>("cmdMinMaxDatenAbfrage");
  EXPECT_EQ(size->text(), frmKonfiguration::SizeCaptionNormal());
  EXPECT_EQ(before.top + before.height, panel.height - 2 * gap);
  size->click();
  const TwipsRect big = Geometry("txbDatenAbfrage");
  EXPECT_EQ(big.top, format.top);
  EXPECT_EQ(big.height, panel.height - format.top - 2 * gap);
  EXPECT_EQ(big.top + big.height, before.top + before.height);  // the bottom stays
  EXPECT_EQ(Geometry("lbDatenAbfrage").height, big.height);
  EXPECT_EQ(size->text(), frmKonfiguration::SizeCaptionEnlarged());
  const TwipsRect button = Geometry("cmdMinMaxDatenAbfrage");
  EXPECT_EQ(button.top, big.top + big.height - button.height - 2 * TwipsPerPixelY());
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("txbDatenAbfrage"));
  size->click();  // a second press shrinks it again
  const TwipsRect after = Geometry("txbDatenAbfrage");
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.height, before.height);
  EXPECT_EQ(Geometry("lbDatenAbfrage").height, Geometry("txbDatenTitel").height);
  EXPECT_EQ(size->text(), frmKonfiguration::SizeCaptionNormal());
}

TEST_F(EditorsTest, ConnectionFieldShrinksByItsFormulaAndStaysVisibleUnderTheQueryField) {
  OpenOnDaten("");
  const int gap = window->FieldGap();
  const TwipsRect before = Geometry("txbDatenVerbindung");
  const TwipsRect remark = Geometry("txbDatenBemerkung");
  auto* size = Child<QPushButton>("cmdMinMaxDatenVerbindung");
  size->click();
  EXPECT_EQ(Geometry("txbDatenVerbindung").top, Geometry("cbxDatenFormat").top);
  size->click();
  EXPECT_EQ(Geometry("txbDatenVerbindung").top, remark.top + remark.height + gap);
  EXPECT_EQ(Geometry("txbDatenVerbindung").height, before.height);
  // With the query field enlarged over it, the formula goes below zero: one line remains.
  Child<QPushButton>("cmdMinMaxDatenAbfrage")->click();
  size->click();
  size->click();
  EXPECT_EQ(Geometry("txbDatenVerbindung").height, Geometry("txbDatenTitel").height);
}

TEST_F(EditorsTest, EmptyFieldAndCancelledDialogChangeNothing) {
  OpenOnDaten("");
  const QString mode = EditPanel();
  window->cmdVerbindung_Click();
  EXPECT_EQ(dataLink.newCalls, 1);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(), QString());
  EXPECT_EQ(EditPanel(), mode);
  EXPECT_TRUE(probe.probed.empty());
}

TEST_F(EditorsTest, AStringThatOpensAndIsEditedToTheSameTextStaysUnchanged) {
  OpenOnDaten("Provider=SQLite;Data Source=a.db");
  dataLink.editResult = "Provider=SQLite;Data Source=a.db";
  const QString mode = EditPanel();
  window->cmdVerbindung_Click();
  ASSERT_EQ(dataLink.edited.size(), 1u);
  EXPECT_EQ(EditPanel(), mode);
  EXPECT_FALSE(Button("cmdOK")->isEnabled());
  dataLink.editResult = "Provider=SQLite;Data Source=b.db";
  window->cmdVerbindung_Click();
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(),
            QStringLiteral("Provider=SQLite;Data Source=b.db"));
  EXPECT_EQ(daten->Value("Datenquelle").As<std::string>(), "Provider=SQLite;Data Source=b.db");
  EXPECT_EQ(EditPanel(), QStringLiteral("geändert"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EditorsTest, AStringThatFailsAsksForANewConnection) {
  OpenOnDaten("Provider=Foo;X=1");
  probe.failure = "Provider Foo nicht gefunden.";
  window->cmdVerbindung_Click();  // answered No
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Fehlerhafte Verbindung:\nProvider Foo nicht gefunden.\n\n"
                           "Soll eine neue Verbindung erstellt werden ?"));
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(dataLink.newCalls, 0);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(), QStringLiteral("Provider=Foo;X=1"));
  messages.answers = {MsgResult::kYes};
  dataLink.newResult = "DSN=Kunden;";
  window->cmdVerbindung_Click();
  EXPECT_EQ(dataLink.newCalls, 1);
  EXPECT_EQ(Child<QPlainTextEdit>("txbDatenVerbindung")->toPlainText(), QStringLiteral("DSN=Kunden;"));
}

}  // namespace
}  // namespace vn::config::testing
