// The window's construction from the core's layout table (controls, captions, pictures,
// tooltips and their places in twips), and the view the core shows itself through.
#include "config/qt/frm_konfiguration.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

#include "config/core/layout.h"
#include "config/core/texts.h"
#include "config/qt/button_icons.h"
#include "config/qt/frm_info.h"

namespace vn::config {

namespace {

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

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// The caret of a QString as a byte offset of its UTF-8 form, and back.
int Utf8Offset(const QString& text, int caret) {
  return static_cast<int>(text.left(caret).toUtf8().size());
}
int QtOffset(const std::string& text, int caret) {
  return static_cast<int>(
      QString::fromStdString(text.substr(0, static_cast<size_t>(caret))).size());
}

// A row's stored value as the list item's data (a whole number or a text).
QVariant ItemData(const vn::data::Variant& value) {
  if (value.Is<std::int64_t>()) return QVariant(static_cast<qlonglong>(value.As<std::int64_t>()));
  if (value.Is<double>()) return QVariant(static_cast<qlonglong>(value.As<double>()));
  if (value.Is<std::string>()) return QVariant(QString::fromStdString(value.As<std::string>()));
  return {};
}

}  // namespace

frmKonfiguration::frmKonfiguration(bool debug, MessageBoxes& messages, QWidget* parent)
    : QMainWindow(parent), prompts_(messages, this), core_(debug, *this, prompts_) {
  setObjectName(QStringLiteral("frmKonfiguration"));
  setWindowTitle(Q(texts::kWindowCaption));
  setWindowIcon(MakeButtonIcon(ButtonPicture::kProgram));
  BuildWindow();
  qApp->installEventFilter(this);
}

frmKonfiguration::~frmKonfiguration() { qApp->removeEventFilter(this); }

QWidget* frmKonfiguration::Container(const ControlPlace& place) const {
  if (place.container[0] == '\0') return central_;
  return Control(place.container);
}

QWidget* frmKonfiguration::Control(const std::string& name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

QWidget* frmKonfiguration::BuildControl(const ControlPlace& place) {
  QWidget* parent = Container(place);
  const std::string name = place.name;
  QWidget* widget = nullptr;
  switch (place.kind) {
    case ControlKind::kTabStrip: {
      auto* strip = new TabStripPane(parent);
      tabBar_ = strip->Tabs();
      for (const char* caption : TabCaptions()) tabBar_->addTab(Q(caption));
      widget = strip;
      break;
    }
    case ControlKind::kTabPanel: {
      auto* frame = new QFrame(parent);
      frame->setFrameShape(QFrame::NoFrame);
      frTab_.push_back(frame);
      widget = frame;
      break;
    }
    case ControlKind::kPanel:
      widget = new QWidget(parent);
      break;
    case ControlKind::kLabel: {
      auto* label = new QLabel(Q(place.caption), parent);
      label->setBuddy(Control(place.buddy));
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setContentsMargins(0, 3, 0, 0);
      // Enlarged, the long fields' labels cover the labels of the fields under them.
      if (Place(place.buddy).kind == ControlKind::kLongText) label->setAutoFillBackground(true);
      widget = label;
      break;
    }
    case ControlKind::kTextField:
      widget = new QLineEdit(Q(place.caption), parent);
      break;
    case ControlKind::kLongText: {
      auto* text = new QPlainTextEdit(parent);
      text->setTabChangesFocus(true);
      widget = text;
      break;
    }
    case ControlKind::kList:
    case ControlKind::kEditList: {
      auto* list = new QComboBox(parent);
      if (place.kind == ControlKind::kEditList) {
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
      }
      widget = list;
      break;
    }
    case ControlKind::kBarButton: {
      auto* button = new QToolButton(parent);
      button->setIcon(MakeButtonIcon(place.picture));
      button->setIconSize(QSize(ToPixelsX(place.width) - 8, ToPixelsY(place.height) - 8));
      button->setAutoRaise(false);
      button->setFocusPolicy(Qt::StrongFocus);
      widget = button;
      break;
    }
    case ControlKind::kButton: {
      auto* button = new QPushButton(Q(place.caption), parent);
      if (place.picture != Picture::kNone) button->setIcon(MakeButtonIcon(place.picture));
      widget = button;
      break;
    }
    case ControlKind::kTree: {
      auto* tree = new QTreeWidget(parent);
      tree->setHeaderHidden(true);
      tvZuordnungen_ = tree;
      widget = tree;
      break;
    }
    case ControlKind::kDebugBox: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      txbStatus_ = box;
      widget = box;
      break;
    }
  }
  widget->setObjectName(QString::fromStdString(name));
  if (place.tooltip[0] != '\0') widget->setToolTip(Q(place.tooltip));
  if (place.font == ControlFont::kBold) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
  }
  TwipsRect rect{place.left, place.top, place.width, place.height};
  rect.top -= place.pixelsUp * vn::config::TwipsPerPixelY();
  SetTwipsGeometry(widget, rect);
  controls_[name] = widget;
  // Every press goes to the core with the command of the control's row; every change of a
  // field's content reaches it too.
  if (place.command != nullptr)
    connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
            [this, command = place.command] { core_.Press(command); });
  if (place.kind == ControlKind::kTextField || place.kind == ControlKind::kLongText ||
      place.kind == ControlKind::kList)
    ConnectFieldChange(widget);
  return widget;
}

void frmKonfiguration::BuildWindow() {
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("frmKonfigurationClient"));
  setCentralWidget(central_);

  for (const ControlPlace& place : LayoutTable()) BuildControl(place);
  txbStatus_->lower();
  RaiseWindowButtons();

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar"));
  bar->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(bar);
  statusPanel_->setObjectName(QStringLiteral("Status"));
  editPanel_ = new QLabel(bar);
  editPanel_->setObjectName(QStringLiteral("Edit"));
  editPanel_->setMinimumWidth(ToPixelsX(layout::kEditPanelWidth));
  editPanel_->setAlignment(Qt::AlignCenter);
  bar->addWidget(statusPanel_, 1);
  bar->addPermanentWidget(editPanel_);
  setStatusBar(bar);

  connect(tvZuordnungen_, &QTreeWidget::itemDoubleClicked, this,
          [this] { core_.tvZuordnungen_DblClick(); });
  BuildMenu();

  connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) {
    if (showingTab_) return;
    if (!loaded_) {
      ShowTab(index + 1);
      return;
    }
    core_.SelectTab(index + 1);
  });
  // Before the load step the tab Rubriken is in view.
  const TwipsRect strip = Rect("TabStrip");
  for (size_t i = 1; i < frTab_.size(); ++i) {
    frTab_[i]->move(ToPixelsX(strip.left + strip.width + 2000), 0);
    frTab_[i]->setEnabled(false);
  }
  frTab_.front()->raise();
  RaiseWindowButtons();
}

void frmKonfiguration::RaiseWindowButtons() {
  for (const ControlPlace& place : LayoutTable())
    if (place.kind == ControlKind::kButton && place.container[0] == '\0')
      Control(place.name)->raise();
}

void frmKonfiguration::BuildMenu() {
  // The context menu of the tree, shown only as a pop-up.
  mnuAnsicht_ = new QMenu(Q(AssignmentTree::MenuCaption()), this);
  mnuAnsicht_->setObjectName(QStringLiteral("mnuAnsicht"));
  for (const MenuItem& item : AssignmentTree::MenuItems()) {
    QAction* action = item.caption[0] == '\0' ? mnuAnsicht_->addSeparator()
                                              : mnuAnsicht_->addAction(Q(item.caption));
    action->setObjectName(Q(item.name));
    if (item.command == nullptr) continue;
    menuItems_.emplace_back(&item, action);
    connect(action, &QAction::triggered, this,
            [this, command = item.command] { core_.Press(command); });
  }
}

void frmKonfiguration::Load() {
  const TwipsRect client = LoadClientArea(TwipsGeometry(Control("TabStrip")),
                                          TwipsGeometry(Control("picDatenSteuerung")),
                                          ToTwipsX(frameGeometry().width() - geometry().width()),
                                          ToTwipsY(statusBar()->sizeHint().height()));
  setFixedWidth(ToPixelsX(client.width));
  resize(ToPixelsX(client.width), ToPixelsY(client.height));
  // Smaller, the button bar and the status bar would be cut off.
  setMinimumHeight(ToPixelsY(client.height));

  core_.Load();
  loaded_ = true;
}

// Bound fields -------------------------------------------------------------------------------

void frmKonfiguration::ConnectFieldChange(QWidget* widget) {
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    connect(line, &QLineEdit::textChanged, this, [this, widget] { FieldChanged(widget); });
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
    connect(text, &QPlainTextEdit::textChanged, this, [this, widget] { FieldChanged(widget); });
  } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
    connect(list, &QComboBox::currentIndexChanged, this, [this, widget] { FieldChanged(widget); });
  }
}

void frmKonfiguration::FieldChanged(QWidget* widget) {
  const std::string name = widget->objectName().toStdString();
  if (auto* list = qobject_cast<QComboBox*>(widget)) {
    core_.ListChanged(name, list->currentIndex());
    return;
  }
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    const QString text = line->text();
    const int caret = line->cursorPosition();
    if (auto fix = core_.TextChanged(name, text.toStdString(), Utf8Offset(text, caret))) {
      line->setText(QString::fromStdString(fix->text));
      line->setCursorPosition(QtOffset(fix->text, fix->caret));
    }
    return;
  }
  auto* edit = static_cast<QPlainTextEdit*>(widget);
  const QString text = edit->toPlainText();
  const int caret = edit->textCursor().position();
  if (auto fix = core_.TextChanged(name, text.toStdString(), Utf8Offset(text, caret))) {
    edit->setPlainText(QString::fromStdString(fix->text));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(QtOffset(fix->text, fix->caret));
    edit->setTextCursor(cursor);
  }
}

// The view -----------------------------------------------------------------------------------

void frmKonfiguration::ShowField(const std::string& control, const std::string& text) {
  QWidget* widget = Control(control);
  const QString shown = QString::fromStdString(text);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setText(shown);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    if (edit->toPlainText() != shown) edit->setPlainText(shown);
  } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
    list->setEditText(shown);
  }
}

void frmKonfiguration::ShowListRow(const std::string& control, int row) {
  if (auto* list = qobject_cast<QComboBox*>(Control(control))) list->setCurrentIndex(row);
}

void frmKonfiguration::ShowList(const std::string& control, const std::vector<LookupRow>& rows) {
  auto* list = qobject_cast<QComboBox*>(Control(control));
  if (list == nullptr) return;
  const QSignalBlocker blocker(list);
  list->clear();
  for (const LookupRow& row : rows)
    list->addItem(QString::fromStdString(row.text), ItemData(row.id));
  list->setCurrentIndex(-1);
}

std::string frmKonfiguration::FieldText(const std::string& control) const {
  QWidget* widget = Control(control);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text().toStdString();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText().toStdString();
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText().toStdString();
  return {};
}

void frmKonfiguration::ShowState(const WindowState& state) {
  for (const auto& [name, enabled] : state.Buttons()) Control(name)->setEnabled(enabled);
  statusPanel_->setText(QString::fromStdString(state.status));
  editPanel_->setText(QString::fromStdString(state.edit));
  for (size_t i = 0; i < frTab_.size(); ++i) frTab_[i]->setEnabled(state.panelEnabled[i]);
}

void frmKonfiguration::ShowTab(int tab) {
  showingTab_ = true;
  tabBar_->setCurrentIndex(tab - 1);
  showingTab_ = false;
  const TwipsRect strip = TwipsGeometry(Control("TabStrip"));
  for (size_t i = 0; i < frTab_.size(); ++i) {
    if (static_cast<int>(i) == tab - 1) {
      frTab_[i]->move(ToPixelsX(strip.left + layout::kPanelOffsetX),
                      ToPixelsY(strip.top + layout::kPanelOffsetY));
      frTab_[i]->raise();
    } else {
      frTab_[i]->move(central_->width(), central_->height());
    }
  }
  RaiseWindowButtons();
}

void frmKonfiguration::Focus(const std::string& control) {
  if (QWidget* widget = Control(control)) widget->setFocus();
}

std::string frmKonfiguration::FocusedControl() const {
  QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? std::string() : focus->objectName().toStdString();
}

void frmKonfiguration::WriteDebugLine(const std::string& text) {
  const int height = txbStatus_->y() + txbStatus_->height() + 2 * statusBar()->height();
  if (this->height() != height) resize(width(), height);
  txbStatus_->moveCursor(QTextCursor::End);
  txbStatus_->insertPlainText(QString::fromStdString(text) + QStringLiteral("\n"));
}

void frmKonfiguration::ClearDebugBox() { txbStatus_->clear(); }

void frmKonfiguration::ShowAbout() {
  frmInfo info(this);
  info.exec();
}

int frmKonfiguration::TwipsPerPixelY() const { return vn::config::TwipsPerPixelY(); }

void frmKonfiguration::MoveDownPixels(const std::string& control, int pixels) {
  QWidget* widget = Control(control);
  widget->move(widget->x(), widget->y() + pixels);
}

void frmKonfiguration::ShowBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void frmKonfiguration::LetMessagesRun() { QApplication::processEvents(); }

void frmKonfiguration::closeEvent(QCloseEvent* event) {
  if (!core_.Close()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

// Keyboard -----------------------------------------------------------------------------------

bool frmKonfiguration::IsTextOrListField(const QWidget* widget) const {
  for (const QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
        qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QAbstractSpinBox*>(w))
      return true;
  }
  return false;
}

bool frmKonfiguration::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == tvZuordnungen_->viewport()) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) OpenTreeMenu(mouse->globalPosition().toPoint());
  }
  if (event->type() == QEvent::KeyPress) {
    QWidget* focus = QApplication::focusWidget();
    // Only the key's first delivery, to a control of this window.
    if (watched == focus && focus != nullptr && isAncestorOf(focus) &&
        HandleKey(static_cast<QKeyEvent*>(event)))
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool frmKonfiguration::HandleKey(QKeyEvent* event) {
  const bool inField = IsTextOrListField(QApplication::focusWidget());
  static constexpr std::pair<int, Key> kKeys[] = {
      {Qt::Key_Escape, Key::kEscape},     {Qt::Key_End, Key::kEnd},
      {Qt::Key_Home, Key::kHome},         {Qt::Key_Up, Key::kUp},
      {Qt::Key_PageUp, Key::kPageUp},     {Qt::Key_Down, Key::kDown},
      {Qt::Key_PageDown, Key::kPageDown}, {Qt::Key_Insert, Key::kInsert},
      {Qt::Key_Delete, Key::kDelete},     {Qt::Key_Return, Key::kEnter},
      {Qt::Key_Enter, Key::kEnter},       {Qt::Key_F5, Key::kF5},
  };
  const Qt::KeyboardModifiers shift = event->modifiers() & ~Qt::KeypadModifier;
  for (const auto& [qtKey, key] : kKeys) {
    if (event->key() != qtKey) continue;
    // In a text or list field the field has the key, unless the core answers it there too.
    if (inField) return core_.FieldKeyPressed(key);
    return core_.KeyPressed(key, shift == Qt::ControlModifier);
  }
  return false;
}

// Size buttons -------------------------------------------------------------------------------

void frmKonfiguration::ShowResize(const FieldResize& resize) {
  SetTwipsGeometry(Control(resize.field), resize.fieldRect);
  SetTwipsGeometry(Control(resize.label), resize.labelRect);
  static_cast<QPushButton*>(Control(resize.sizeButton))->setText(Q(resize.caption.c_str()));
  for (const auto& [name, rect] : resize.buttons) SetTwipsGeometry(Control(name), rect);
  for (const std::string& name : resize.raise) Control(name)->raise();
  Control(resize.field)->setFocus();
}

}  // namespace vn::config
