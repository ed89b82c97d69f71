// The contact tab on the demo: pages from the library in the engine, their tables, folding
// blocks, menu, stylesheet, and the reload when ACT!'s current contact changes.
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "tests/kontakt/kontakt_fixture.h"

namespace vn::kontakt::test {
namespace {

// The trimmed texts of the elements `selector` finds, empty ones left out.
QString Texts(const QString& selector) {
  return QStringLiteral(
             "Array.from(document.querySelectorAll('%1')).map(e => e.textContent.trim())"
             ".filter(t => t !== '')")
      .arg(selector);
}

// The captions of the pages' blocks: the text beside a block's fold image.
const QString kCaptions = QStringLiteral(
    "Array.from(document.querySelectorAll('img[name^=img_]')).map(i => i.parentElement)"
    ".map(td => td.textContent.trim()).filter(t => t !== '')");

// Clicks with the mouse in the middle of the first element `selector` finds.
void MouseClick(KontaktWindow& window, const QString& selector) {
  const QVariantList box =
      Js(window, QStringLiteral("(function () { var r = document.querySelector(\"%1\")"
                                ".getBoundingClientRect(); return [r.left + r.width / 2, "
                                "r.top + r.height / 2]; })()")
                     .arg(selector))
          .toList();
  ASSERT_EQ(box.size(), 2) << selector.toStdString();
  QWidget* target = window.View()->focusProxy();
  ASSERT_NE(target, nullptr);
  QTest::mouseClick(
      target, Qt::LeftButton, {},
      QPoint(static_cast<int>(box[0].toDouble()), static_cast<int>(box[1].toDouble())));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

TEST_F(KontaktTest, StartRubricShowsRecordCardAndContactPersons) {
  ASSERT_TRUE(Load("varnolis://rubrik/Start"));
  EXPECT_EQ(Js("document.querySelectorAll('.errortitle').length").toInt(), 0);
  EXPECT_EQ(Js(Texts("td.mb0, td.mb1")).toStringList(),
            QStringList({"Übersicht", "Rechnungen", "Offene Posten", "Info", "Notizen"}));
  EXPECT_EQ(Js("document.querySelector('.title1').firstChild.textContent").toString(),
            "Kundenübersicht");
  EXPECT_EQ(Js(kCaptions).toStringList(), QStringList({"Kundenstammdaten", "Ansprechpartner"}));
  EXPECT_EQ(Js(Texts(".htmllistname")).toStringList(),
            QStringList(
                {"Kunden-Nr.", "Name", "Straße", "PLZ", "Ort", "Telefon", "Umsatz", "Kunde seit"}));
  const QStringList values = Js(Texts(".htmllistvalue")).toStringList();
  ASSERT_GE(values.size(), 5);
  EXPECT_EQ(values.mid(0, 5),
            QStringList({"K10001", "Müller & Söhne GmbH", "Hauptstraße 12", "50667", "Köln"}));
  EXPECT_EQ(Js(Texts("td.u0")).toStringList(),
            QStringList({"Name", "Funktion", "Telefon", "E-Mail"}));
}

TEST_F(KontaktTest, RechnungenShowsThreeLevelsFoldedUnderTheCustomer) {
  ASSERT_TRUE(Load("varnolis://rubrik/Rechnungen"));
  EXPECT_EQ(Js("document.querySelectorAll('.errortitle').length").toInt(), 0);
  EXPECT_EQ(Js("document.querySelector('.title1').firstChild.textContent").toString(),
            "Rechnungen mit Positionen");
  EXPECT_EQ(Js(kCaptions).toStringList(), QStringList({"Rechnungen"}));
  EXPECT_EQ(Js(Texts("td.u0")).toStringList(), QStringList({"Kunden-Nr.", "Name"}));
  EXPECT_EQ(Js(Texts("td.t0")).toStringList(), QStringList({"K10001", "Müller & Söhne GmbH"}));
  // The invoices inside the customer's block, the positions inside the invoice's.
  EXPECT_EQ(Js(Texts("#div_0_0-1 td.u1")).toStringList(),
            QStringList({"Rechnung", "Datum", "Betrag", "Bezahlt"}));
  EXPECT_EQ(Js(Texts("#div_0_1-1 td.u2")).toStringList(),
            QStringList({"Pos", "Artikel", "Menge", "Einzelpreis", "Summe"}));
  // Windows-1252 quotation marks arrive as such.
  EXPECT_EQ(Js("document.querySelectorAll('#div_0_1-1 td.t2')[1].textContent").toString(),
            "Schraubensortiment „Profi“");
  EXPECT_EQ(Js("getComputedStyle(document.getElementById('div_0_0-1')).display").toString(),
            "none");
}

TEST_F(KontaktTest, PlusImageShowsItsBlockAndMinusHidesIt) {
  ASSERT_TRUE(Load("varnolis://rubrik/Rechnungen"));
  const QString image = QStringLiteral("document.getElementsByName('img_0_0-1')[0]");
  const QString block = QStringLiteral("document.getElementById('div_0_0-1')");
  ASSERT_TRUE(Js(image + ".src.endsWith('/plus.gif')").toBool());

  MouseClick(*window_, "img[name='img_0_0-1']");
  EXPECT_TRUE(WaitUntil(block + ".style.display === ''"));
  // The minus image is a file URL: it loads only when the scheme may reach local files.
  EXPECT_TRUE(WaitUntil(image + ".src.endsWith('/minus.gif') && " + image + ".complete && " +
                        image + ".naturalWidth > 0"));
  EXPECT_EQ(Js("document.querySelectorAll('#div_0_0-1 td.t1')[1].offsetParent !== null").toBool(),
            true);

  MouseClick(*window_, "img[name='img_0_0-1']");
  EXPECT_TRUE(WaitUntil(block + ".style.display === 'none'"));
  EXPECT_TRUE(Js(image + ".src.endsWith('/plus.gif')").toBool());
}

TEST_F(KontaktTest, MenuCellLoadsItsRubric) {
  ASSERT_TRUE(Load("varnolis://rubrik/Start"));
  MouseClick(*window_, "td[onclick*='rubrik/Offene_Posten']");
  ASSERT_TRUE(
      WaitUntil("location.href === 'varnolis://rubrik/Offene_Posten' && "
                "document.readyState === 'complete'"));
  EXPECT_EQ(window_->View()->url(), QUrl("varnolis://rubrik/Offene_Posten"));
  EXPECT_EQ(window_->AddressLine()->text(), "varnolis://rubrik/Offene_Posten");
  EXPECT_EQ(Js(Texts("td.mb1")).toStringList(), QStringList({"Offene Posten"}));
  EXPECT_EQ(Js("document.querySelectorAll('.errortitle').length").toInt(), 0);
}

TEST_F(KontaktTest, StylesheetIsApplied) {
  ASSERT_TRUE(Load("varnolis://rubrik/Start"));
  const QVariantList styled =
      Js("(function () { var t = getComputedStyle(document.querySelector('.title1'));"
         " var p = document.createElement('p'); document.body.appendChild(p);"
         " var d = getComputedStyle(p);"
         " return [t.backgroundColor, d.backgroundColor, t.fontWeight, d.fontWeight]; })()")
          .toList();
  ASSERT_EQ(styled.size(), 4);
  EXPECT_NE(styled[0], styled[1]);
  EXPECT_NE(styled[2], styled[3]);
}

TEST_F(KontaktTest, ChangingTheContactReloadsWithTheOtherContactsValues) {
  const QString standin = QString::fromStdString(g_root + "/act.json");
  QFile original(standin);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray demo = original.readAll();
  original.close();

  ASSERT_TRUE(Load("varnolis://rubrik/Start"));
  QSignalSpy reloaded(window_.get(), &KontaktWindow::StandinReloaded);
  QSignalSpy finished(window_->View(), &QWebEngineView::loadFinished);
  QByteArray other = demo;
  other.replace("K10001", "K10002");
  ASSERT_TRUE(WriteFile(standin, other));
  const bool reloadSeen = reloaded.wait(10000) && (finished.size() > 0 || finished.wait(30000));
  ASSERT_TRUE(WriteFile(standin, demo));
  ASSERT_TRUE(reloadSeen);
  const QStringList values = Js(Texts(".htmllistvalue")).toStringList();
  ASSERT_GE(values.size(), 2);
  EXPECT_EQ(values.mid(0, 2), QStringList({"K10002", "Bäckerei Größl"}));
  EXPECT_EQ(window_->View()->url(), QUrl("varnolis://rubrik/Start"));
}

TEST_F(KontaktTest, UnknownCommandShowsMessage153) {
  ASSERT_TRUE(Load("varnolis://gibtsnicht"));
  EXPECT_EQ(Js(Texts(".errortitle")).toStringList(),
            QStringList({"Information from class clProtocolHandler."}));
  EXPECT_EQ(Js(Texts(".errortext")).toStringList(),
            QStringList({"Number", "Description", "153", "Unknown command 'gibtsnicht'"}));
}

}  // namespace
}  // namespace vn::kontakt::test
