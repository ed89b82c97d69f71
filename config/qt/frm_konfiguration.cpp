// The window's construction: controls, captions, pictures, tooltips and their places in twips.
#include "config/frm_konfiguration.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include "config/button_icons.h"
#include "config/twips.h"

namespace vn::config {

namespace {

// The design, in twips.
constexpr int kTabStripLeft = 120;
constexpr int kTabStripTop = 120;
constexpr int kTabStripWidth = 9600;
constexpr int kTabStripHeight = 6000;
constexpr int kPanelWidth = kTabStripWidth - 480;
constexpr int kPanelHeight = kTabStripHeight - 480 - 240;
constexpr int kFieldHeight = 345;
constexpr int kGap = 120;
constexpr int kRow = kFieldHeight + kGap;
constexpr int kFirstTop = 240;
constexpr int kLabelLeft = 120;
constexpr int kLabelWidth = 1440;
constexpr int kFieldLeft = 1680;
constexpr int kFieldWidth = kPanelWidth - kFieldLeft - 240;
constexpr int kBarTop = kTabStripTop + kTabStripHeight + 120;
constexpr int kBarButton = 375;
constexpr int kDebugTop = kBarTop + kBarButton + 720;
constexpr int kDebugHeight = 2040;
// The long fields of the tab Daten leave room at their right for the small buttons.
constexpr int kSmallButton = 330;
constexpr int kLongFieldWidth = kFieldWidth - 2 * kSmallButton - 120;
constexpr int kVerbindungTop = kFirstTop + 3 * kRow;
constexpr int kVerbindungHeight = 1500;
constexpr int kAbfrageTop = kVerbindungTop + kVerbindungHeight + kGap;
constexpr int kAbfrageHeight = kPanelHeight - kAbfrageTop - 2 * kGap;

// The tab strip: the tabs above a framed pane; the panels lie over the pane.
class TabStripPane : public QWidget {
 public:
  explicit TabStripPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabStrip"));
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("TabStripTabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    pane_ = new QFrame(this);
    pane_->setFrameShape(QFrame::StyledPanel);
    pane_->setFrameShadow(QFrame::Raised);
  }
  QTabBar* Tabs() const { return tabs_; }

 protected:
  void resizeEvent(QResizeEvent*) override {
    const int tabHeight = tabs_->sizeHint().height();
    tabs_->setGeometry(0, 0, width(), tabHeight);
    pane_->setGeometry(0, tabHeight - 1, width(), height() - tabHeight + 1);
  }

 private:
  QTabBar* tabs_;
  QFrame* pane_;
};

QToolButton* BarButton(QWidget* parent, const char* name, ButtonPicture picture,
                       const char* tooltip, int left) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(MakeButtonIcon(picture));
  button->setIconSize(QSize(ToPixelsX(kBarButton) - 8, ToPixelsY(kBarButton) - 8));
  button->setToolTip(QString::fromUtf8(tooltip));
  button->setAutoRaise(false);
  button->setFocusPolicy(Qt::StrongFocus);
  SetTwipsGeometry(button, left, 0, kBarButton, kBarButton);
  return button;
}

}  // namespace

QString frmKonfiguration::SizeCaptionNormal() { return QStringLiteral("\u2191"); }
QString frmKonfiguration::SizeCaptionEnlarged() { return QStringLiteral("\u2193"); }

frmKonfiguration::frmKonfiguration(bool debug, MessageBoxes& messages, QWidget* parent)
    : QMainWindow(parent), debug_(debug), messages_(messages) {
  setObjectName(QStringLiteral("frmKonfiguration"));
  setWindowTitle(QStringLiteral("Varnolis - Konfiguration"));
  setWindowIcon(MakeButtonIcon(ButtonPicture::kProgram));
  BuildWindow();
  qApp->installEventFilter(this);
}

frmKonfiguration::~frmKonfiguration() {
  qApp->removeEventFilter(this);
  for (EditRecords* records : tabRecords_)
    if (records != nullptr) records->SetEvents(nullptr);
}

void frmKonfiguration::BuildWindow() {
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("frmKonfigurationClient"));
  setCentralWidget(central_);

  auto* strip = new TabStripPane(central_);
  tabStrip_ = strip;
  tabBar_ = strip->Tabs();
  SetTwipsGeometry(strip, kTabStripLeft, kTabStripTop, kTabStripWidth, kTabStripHeight);
  for (const char* caption :
       {"&Rubriken", "&Daten", "&Zuordnungen", "Ü&bersicht", "&Startoptionen"})
    tabBar_->addTab(QString::fromUtf8(caption));

  for (int i = 0; i < 5; ++i) {
    frTab_[i] = new QFrame(central_);
    frTab_[i]->setObjectName(QStringLiteral("frTab%1").arg(i));
    frTab_[i]->setFrameShape(QFrame::NoFrame);
    SetTwipsGeometry(frTab_[i], kTabStripLeft + 240, kTabStripTop + 480, kPanelWidth, kPanelHeight);
  }
  BuildTabRubriken(frTab_[0]);
  BuildTabDaten(frTab_[1]);
  BuildTabZuordnungen(frTab_[2]);
  BuildTabUebersicht(frTab_[3]);
  BuildTabStartoptionen(frTab_[4]);

  cmdInfo_ = new QPushButton(central_);
  cmdInfo_->setObjectName(QStringLiteral("cmdInfo"));
  cmdInfo_->setIcon(MakeButtonIcon(ButtonPicture::kInfo));
  cmdInfo_->setToolTip(QStringLiteral("Informationen über das Programm"));
  SetTwipsGeometry(cmdInfo_, kTabStripLeft + kTabStripWidth - 405, kTabStripTop, 375, 345);
  cmdInfo_->raise();
  connect(cmdInfo_, &QPushButton::clicked, this, [this] { cmdInfo_Click(); });

  BuildButtonBar();

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar"));
  bar->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(bar);
  statusPanel_->setObjectName(QStringLiteral("Status"));
  editPanel_ = new QLabel(bar);
  editPanel_->setObjectName(QStringLiteral("Edit"));
  editPanel_->setMinimumWidth(ToPixelsX(1500));
  editPanel_->setAlignment(Qt::AlignCenter);
  bar->addWidget(statusPanel_, 1);
  bar->addPermanentWidget(editPanel_);
  setStatusBar(bar);

  txbStatus_ = new QPlainTextEdit(central_);
  txbStatus_->setObjectName(QStringLiteral("txbStatus"));
  txbStatus_->setReadOnly(true);
  SetTwipsGeometry(txbStatus_, kTabStripLeft, kDebugTop, kTabStripWidth - 1320, kDebugHeight);
  cmdReset_ = new QPushButton(QStringLiteral("Reset"), central_);
  cmdReset_->setObjectName(QStringLiteral("cmdReset"));
  SetTwipsGeometry(cmdReset_, kTabStripLeft + kTabStripWidth - 1200, kDebugTop, 1200, 375);
  cmdLine_ = new QPushButton(QStringLiteral("Line"), central_);
  cmdLine_->setObjectName(QStringLiteral("cmdLine"));
  SetTwipsGeometry(cmdLine_, kTabStripLeft + kTabStripWidth - 1200, kDebugTop + 480, 1200, 375);
  connect(cmdReset_, &QPushButton::clicked, this, [this] { txbStatus_->clear(); });
  connect(cmdLine_, &QPushButton::clicked, this,
          [this] { WriteDebugLine(QStringLiteral("---------------")); });

  connect(tabBar_, &QTabBar::currentChanged, this, [this](int) {
    if (loaded_) SelectTab(SelectedTab());
  });
  // Before the load step the tab Rubriken is in view.
  for (int i = 1; i < 5; ++i) {
    frTab_[i]->move(ToPixelsX(kTabStripLeft + kTabStripWidth + 2000), 0);
    frTab_[i]->setEnabled(false);
  }
  frTab_[0]->raise();
}

QLabel* frmKonfiguration::AddLabel(QFrame* panel, const char* name, const QString& caption, int top,
                                   QWidget* buddy) {
  auto* label = new QLabel(caption, panel);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(buddy);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setContentsMargins(0, 3, 0, 0);
  SetTwipsGeometry(label, kLabelLeft, top, kLabelWidth, kFieldHeight);
  return label;
}

QLineEdit* frmKonfiguration::AddLineEdit(QFrame* panel, const char* name, int top) {
  auto* edit = new QLineEdit(panel);
  edit->setObjectName(QString::fromLatin1(name));
  SetTwipsGeometry(edit, kFieldLeft, top, kFieldWidth, kFieldHeight);
  return edit;
}

void frmKonfiguration::BuildTabRubriken(QFrame* panel) {
  struct Row {
    const char* label;
    const char* caption;
    const char* field;
    const char* column;
    BindKind kind;
  };
  const Row rows[] = {
      {"lbRubrikenRubrik", "R&ubrik", "txbRubrikenRubrik", "Rubrik", BindKind::kText},
      {"lbRubrikenRang", "&Rang", "txbRubrikenRang", "Rang", BindKind::kNumber},
      {"lbRubrikenTitel", "&Titel", "txbRubrikenTitel", "Titel", BindKind::kText},
      {"lbRubrikenMenueText", "&Menütext", "txbRubrikenMenueText", "Menuetext", BindKind::kText},
      {"lbRubrikenBemerkung", "B&emerkung", "txbRubrikenBemerkung", "Bemerkung", BindKind::kText},
  };
  int top = kFirstTop;
  for (const Row& row : rows) {
    QLineEdit* edit = AddLineEdit(panel, row.field, top);
    AddLabel(panel, row.label, QString::fromUtf8(row.caption), top, edit);
    Bind(edit, 1, row.column, row.kind);
    top += kRow;
  }
  txbRubrikenRubrik_ = panel->findChild<QLineEdit*>(QStringLiteral("txbRubrikenRubrik"));
  txbRubrikenRang_ = panel->findChild<QLineEdit*>(QStringLiteral("txbRubrikenRang"));
}

void frmKonfiguration::BuildTabDaten(QFrame* panel) {
  txbDatenTitel_ = AddLineEdit(panel, "txbDatenTitel", kFirstTop);
  lbDatenTitel_ =
      AddLabel(panel, "lbDatenTitel", QStringLiteral("&Titel"), kFirstTop, txbDatenTitel_);
  Bind(txbDatenTitel_, 2, "Titel", BindKind::kText);

  cbxDatenFormat_ = new QComboBox(panel);
  cbxDatenFormat_->setObjectName(QStringLiteral("cbxDatenFormat"));
  SetTwipsGeometry(cbxDatenFormat_, kFieldLeft, kFirstTop + kRow, kFieldWidth / 2, kFieldHeight);
  AddLabel(panel, "lbDatenFormat", QStringLiteral("&Format"), kFirstTop + kRow, cbxDatenFormat_);
  Bind(cbxDatenFormat_, 2, "Format_ID", BindKind::kList, "rsluDatenFormate");

  txbDatenBemerkung_ = AddLineEdit(panel, "txbDatenBemerkung", kFirstTop + 2 * kRow);
  AddLabel(panel, "lbDatenBemerkung", QStringLiteral("&Bemerkung"), kFirstTop + 2 * kRow,
           txbDatenBemerkung_);
  Bind(txbDatenBemerkung_, 2, "Bemerkung", BindKind::kText);

  txbDatenVerbindung_ = new QPlainTextEdit(panel);
  txbDatenVerbindung_->setObjectName(QStringLiteral("txbDatenVerbindung"));
  txbDatenVerbindung_->setTabChangesFocus(true);
  SetTwipsGeometry(txbDatenVerbindung_, kFieldLeft, kVerbindungTop, kLongFieldWidth,
                   kVerbindungHeight);
  lbDatenVerbindung_ = AddLabel(panel, "lbDatenVerbindung", QStringLiteral("&Verbindung"),
                                kVerbindungTop, txbDatenVerbindung_);
  // Enlarged, the label covers the labels of the fields under the field.
  lbDatenVerbindung_->setAutoFillBackground(true);
  Bind(txbDatenVerbindung_, 2, "Datenquelle", BindKind::kText);

  txbDatenAbfrage_ = new QPlainTextEdit(panel);
  txbDatenAbfrage_->setObjectName(QStringLiteral("txbDatenAbfrage"));
  txbDatenAbfrage_->setTabChangesFocus(true);
  SetTwipsGeometry(txbDatenAbfrage_, kFieldLeft, kAbfrageTop, kLongFieldWidth, kAbfrageHeight);
  lbDatenAbfrage_ =
      AddLabel(panel, "lbDatenAbfrage", QStringLiteral("&Abfrage"), kAbfrageTop, txbDatenAbfrage_);
  lbDatenAbfrage_->setAutoFillBackground(true);
  Bind(txbDatenAbfrage_, 2, "Abfrage", BindKind::kText);

  // The small buttons sit at the lower right edge of their field; the load step moves them
  // down by two pixels into their final place.
  const int tpp = TwipsPerPixelY();
  const int buttonsLeft = kFieldLeft + kLongFieldWidth + 60;
  auto smallButton = [&](const char* name, const char* tooltip, int left, int fieldBottom) {
    auto* button = new QPushButton(panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(tooltip));
    SetTwipsGeometry(button, left, fieldBottom - kSmallButton - 4 * tpp, kSmallButton,
                     kSmallButton);
    return button;
  };
  cmdVerbindung_ = smallButton("cmdVerbindung", "Datenverknüpfungs-Assistent", buttonsLeft,
                               kVerbindungTop + kVerbindungHeight);
  cmdVerbindung_->setIcon(MakeButtonIcon(ButtonPicture::kDataLink));
  cmdMinMaxDatenVerbindung_ =
      smallButton("cmdMinMaxDatenVerbindung", "Feldgröße verändern",
                  buttonsLeft + kSmallButton + 30, kVerbindungTop + kVerbindungHeight);
  cmdMinMaxDatenAbfrage_ =
      smallButton("cmdMinMaxDatenAbfrage", "Feldgröße verändern ", buttonsLeft + kSmallButton + 30,
                  kAbfrageTop + kAbfrageHeight);
  for (QPushButton* button : {cmdMinMaxDatenVerbindung_, cmdMinMaxDatenAbfrage_}) {
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setText(SizeCaptionNormal());
  }
  connect(cmdVerbindung_, &QPushButton::clicked, this, [this] { cmdVerbindung_Click(); });
  connect(cmdMinMaxDatenVerbindung_, &QPushButton::clicked, this,
          [this] { cmdMinMaxDatenVerbindung_Click(); });
  connect(cmdMinMaxDatenAbfrage_, &QPushButton::clicked, this,
          [this] { cmdMinMaxDatenAbfrage_Click(); });
}

void frmKonfiguration::BuildTabZuordnungen(QFrame* panel) {
  cbxZuordnungenRubrik_ = new QComboBox(panel);
  cbxZuordnungenRubrik_->setObjectName(QStringLiteral("cbxZuordnungenRubrik"));
  SetTwipsGeometry(cbxZuordnungenRubrik_, kFieldLeft, kFirstTop, kFieldWidth / 2, kFieldHeight);
  AddLabel(panel, "lbZuordnungenRubrik", QStringLiteral("R&ubrik"), kFirstTop,
           cbxZuordnungenRubrik_);
  Bind(cbxZuordnungenRubrik_, 3, "Rubrik_ID", BindKind::kList, "rsluRubriken");

  auto* daten = new QComboBox(panel);
  daten->setObjectName(QStringLiteral("cbxZuordnungenDaten"));
  SetTwipsGeometry(daten, kFieldLeft, kFirstTop + kRow, kFieldWidth, kFieldHeight);
  AddLabel(panel, "lbZuordnungenDaten", QStringLiteral("D&aten"), kFirstTop + kRow, daten);
  Bind(daten, 3, "Daten_ID", BindKind::kList, "rsluDaten");

  QLineEdit* rang = AddLineEdit(panel, "txbZuordnungenRang", kFirstTop + 2 * kRow);
  rang->resize(ToPixelsX(1200), rang->height());
  AddLabel(panel, "lbZuordnungenRang", QStringLiteral("Ra&ng"), kFirstTop + 2 * kRow, rang);
  Bind(rang, 3, "Rang", BindKind::kNumber);
}

void frmKonfiguration::BuildTabUebersicht(QFrame* panel) {
  tvZuordnungen_ = new QTreeWidget(panel);
  tvZuordnungen_->setObjectName(QStringLiteral("tvZuordnungen"));
  tvZuordnungen_->setHeaderHidden(true);
  SetTwipsGeometry(tvZuordnungen_, kLabelLeft, kFirstTop - 120, kPanelWidth - 240,
                   kPanelHeight - kFirstTop);
  connect(tvZuordnungen_, &QTreeWidget::itemDoubleClicked, this,
          [this] { tvZuordnungen_DblClick(); });

  // The context menu of the tree, shown only as a pop-up.
  mnuAnsicht_ = new QMenu(QStringLiteral("&Ansicht"), this);
  mnuAnsicht_->setObjectName(QStringLiteral("mnuAnsicht"));
  auto item = [this](const char* name, const char* caption) {
    QAction* action = mnuAnsicht_->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  mnuZeigeRubrik_ = item("mnuZeigeRubrik", "Zeige &Rubrik");
  mnuZeigeDaten_ = item("mnuZeigeDaten", "Zeige &Daten");
  mnuZeigeZuordnung_ = item("mnuZeigeZuordnung", "Zeige &Zuordnung");
  mnuAnsicht_->addSeparator()->setObjectName(QStringLiteral("mnuBlank"));
  mnuNeueZuordnung_ = item("mnuNeueZuordnung", "Zuordnung &hinzufügen");
  connect(mnuZeigeRubrik_, &QAction::triggered, this, [this] { mnuZeigeRubrik_Click(); });
  connect(mnuZeigeDaten_, &QAction::triggered, this, [this] { mnuZeigeDaten_Click(); });
  connect(mnuZeigeZuordnung_, &QAction::triggered, this, [this] { mnuZeigeZuordnung_Click(); });
  connect(mnuNeueZuordnung_, &QAction::triggered, this, [this] { mnuNeueZuordnung_Click(); });
}

void frmKonfiguration::BuildTabStartoptionen(QFrame* panel) {
  cbxStartRubrik_ = new QComboBox(panel);
  cbxStartRubrik_->setObjectName(QStringLiteral("cbxStartRubrik"));
  cbxStartRubrik_->setEditable(true);
  cbxStartRubrik_->setInsertPolicy(QComboBox::NoInsert);
  SetTwipsGeometry(cbxStartRubrik_, kFieldLeft + 600, kFirstTop, kFieldWidth / 2, kFieldHeight);
  AddLabel(panel, "lbStartRubrik", QStringLiteral("S&tartrubrik"), kFirstTop, cbxStartRubrik_)
      ->resize(ToPixelsX(kLabelWidth + 600), ToPixelsY(kFieldHeight));

  txbRegisterkarte_ = AddLineEdit(panel, "txbRegisterkarte", kFirstTop + kRow);
  txbRegisterkarte_->setText(QStringLiteral("Varnolis"));
  txbRegisterkarte_->setGeometry(ToPixelsX(kFieldLeft + 600), txbRegisterkarte_->y(),
                                 ToPixelsX(kFieldWidth / 2), txbRegisterkarte_->height());
  AddLabel(panel, "lbRegisterkarte", QStringLiteral("R&egisterkarte"), kFirstTop + kRow,
           txbRegisterkarte_)
      ->resize(ToPixelsX(kLabelWidth + 600), ToPixelsY(kFieldHeight));

  txbNetlinks_ = AddLineEdit(panel, "txbNetlinks", kFirstTop + 2 * kRow);
  txbNetlinks_->setGeometry(ToPixelsX(kFieldLeft + 600), txbNetlinks_->y(),
                            ToPixelsX(kFieldWidth - 600), txbNetlinks_->height());
  AddLabel(panel, "lbNetlinks", QStringLiteral("&Netlinks-Ordner"), kFirstTop + 2 * kRow,
           txbNetlinks_)
      ->resize(ToPixelsX(kLabelWidth + 600), ToPixelsY(kFieldHeight));

  auto* create = new QPushButton(QStringLiteral("Start&dateien erstellen"), panel);
  create->setObjectName(QStringLiteral("cmdStartDateienErstellen"));
  create->setToolTip(QStringLiteral("Aktiviert im ACT! die Varnolis-Registerkarte"));
  SetTwipsGeometry(create, kFieldLeft + 600, kFirstTop + 3 * kRow + 240, 2700, 420);
  auto* remove = new QPushButton(QStringLiteral("Startdateien ent&fernen"), panel);
  remove->setObjectName(QStringLiteral("cmdStartDateienEntfernen"));
  remove->setToolTip(QStringLiteral("Es wird so die Varnolis-Registerkarte im ACT! entfernt."));
  SetTwipsGeometry(remove, kFieldLeft + 600 + 2700 + 240, kFirstTop + 3 * kRow + 240, 2700, 420);
  connect(create, &QPushButton::clicked, this, [this] { cmdStartDateienErstellen_Click(); });
  connect(remove, &QPushButton::clicked, this, [this] { cmdStartDateienEntfernen_Click(); });
}

void frmKonfiguration::BuildButtonBar() {
  picDatenSteuerung_ = new QWidget(central_);
  picDatenSteuerung_->setObjectName(QStringLiteral("picDatenSteuerung"));
  SetTwipsGeometry(picDatenSteuerung_, kTabStripLeft, kBarTop, kTabStripWidth, kBarButton);
  QWidget* bar = picDatenSteuerung_;
  cmdMoveFirst_ = BarButton(bar, "cmdMoveFirst", ButtonPicture::kFirst, "Erster Datensatz", 0);
  cmdMovePrevious_ =
      BarButton(bar, "cmdMovePrevious", ButtonPicture::kPrevious, "Vorheriger Datensatz", 480);
  cmdMoveNext_ = BarButton(bar, "cmdMoveNext", ButtonPicture::kNext, "Nächster Datensatz", 960);
  cmdMoveLast_ = BarButton(bar, "cmdMoveLast", ButtonPicture::kLast, "Letzter Datensatz", 1440);
  cmdDelete_ = BarButton(bar, "cmdDelete", ButtonPicture::kDelete, "Datensatz löschen", 2040);
  cmdAddNew_ = BarButton(bar, "cmdAddNew", ButtonPicture::kAddNew, "Neuer Datensatz", 2520);
  cmdCancel_ = BarButton(bar, "cmdCancel", ButtonPicture::kCancel, "Dateneingabe abbrechen", 3120);
  cmdOK_ = BarButton(bar, "cmdOK", ButtonPicture::kOK, "Dateneingabe übernehmen", 3600);
  connect(cmdMoveFirst_, &QToolButton::clicked, this, [this] { cmdMoveFirst_Click(); });
  connect(cmdMovePrevious_, &QToolButton::clicked, this, [this] { cmdMovePrevious_Click(); });
  connect(cmdMoveNext_, &QToolButton::clicked, this, [this] { cmdMoveNext_Click(); });
  connect(cmdMoveLast_, &QToolButton::clicked, this, [this] { cmdMoveLast_Click(); });
  connect(cmdDelete_, &QToolButton::clicked, this, [this] { cmdDelete_Click(); });
  connect(cmdAddNew_, &QToolButton::clicked, this, [this] { cmdAddNew_Click(); });
  connect(cmdCancel_, &QToolButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdOK_, &QToolButton::clicked, this, [this] { cmdOK_Click(); });
}

}  // namespace vn::config
