#include "config/qt/frm_info.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "config/qt/button_icons.h"
#include "config/qt/shell_execute.h"
#include "config/core/scroll_text.h"
#include "config/core/texts.h"
#include "config/core/version_texts.h"
#include "resources/version.h"

namespace vn::config {

namespace {

constexpr int kBoxWidth = 300;
constexpr int kBoxHeight = 120;
constexpr int kTickMilliseconds = 40;

QPixmap MakeScrollPicture() {
  const int lineHeight = 20;
  const int lines = texts::kScrollLineCount;
  // Blank space of one box height above and below lets the text enter and leave the box.
  QPixmap picture(kBoxWidth, kBoxHeight * 2 + lines * lineHeight);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setPen(QColor(0x1f, 0x4e, 0x8c));
  for (int i = 0; i < lines; ++i) {
    QFont font = p.font();
    font.setBold(i == 0);
    p.setFont(font);
    p.drawText(QRect(0, kBoxHeight + i * lineHeight, kBoxWidth, lineHeight), Qt::AlignCenter,
               QString::fromUtf8(texts::kScrollLines[i]));
  }
  return picture;
}

}  // namespace

frmInfo::frmInfo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmInfo"));
  setWindowTitle(QString::fromUtf8(texts::kInfoCaption));
  setMouseTracking(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(MakeButtonIcon(ButtonPicture::kProgram).pixmap(48, 48));
  auto* product = new QLabel(QString::fromUtf8(vn::version::kProductName) + QStringLiteral(" - ") +
                                 QString::fromUtf8(texts::kSubtitle),
                             this);
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  product->setFont(big);
  lbVersion_ = new QLabel(QString::fromStdString(InfoVersionText(
                              vn::version::kMajor, vn::version::kMinor, vn::version::kRevision)),
                          this);
  lbVersion_->setObjectName(QStringLiteral("lbVersion"));
  lbCopyright_ = new QLabel(QString::fromUtf8(vn::version::kCopyright), this);
  lbCopyright_->setObjectName(QStringLiteral("lbCopyright"));
  lbQX_ = new QLabel(QString::fromUtf8(vn::version::kWebAddress), this);
  lbQX_->setObjectName(QStringLiteral("lbQX"));
  lbQX_->setToolTip(QString::fromUtf8(texts::kWebLinkTooltip));
  lbQX_->setCursor(Qt::PointingHandCursor);
  lbQX_->setMouseTracking(true);
  QPalette linkColours = lbQX_->palette();
  linkColours.setColor(QPalette::WindowText, QColor(0x1f, 0x4e, 0x8c));
  lbQX_->setPalette(linkColours);
  picScrollText_ = new QLabel(this);
  picScrollText_->setObjectName(QStringLiteral("picScrollText"));
  picScrollText_->setFixedSize(kBoxWidth, kBoxHeight);
  picScrollText_->setFrameShape(QFrame::StyledPanel);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(20, 18, 20, 18);
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(product, 0, 1);
  layout->addWidget(lbVersion_, 1, 1);
  layout->addWidget(lbCopyright_, 2, 1);
  layout->addWidget(picScrollText_, 3, 1);
  layout->addWidget(lbQX_, 4, 1);
  for (QWidget* w : std::initializer_list<QWidget*>{lbVersion_, lbCopyright_, lbQX_, picScrollText_,
                                                    icon, product})
    w->installEventFilter(this);

  scrollPicture_ = MakeScrollPicture();
  timer_ = new QTimer(this);
  timer_->setInterval(kTickMilliseconds);
  connect(timer_, &QTimer::timeout, this, &frmInfo::Tick);
  Tick();
  offset_ = 0;
  timer_->start();
}

void frmInfo::Tick() {
  QPixmap section =
      scrollPicture_.copy(0, offset_, picScrollText_->width(), picScrollText_->height());
  picScrollText_->setPixmap(section);
  picScrollText_->update();
  ++offset_;
  if (offset_ > scrollPicture_.height() - picScrollText_->height() - 1) offset_ = 0;
}

void frmInfo::SetLinkUnderline(bool on) {
  if (linkUnderlined_ == on) return;
  linkUnderlined_ = on;
  QFont font = lbQX_->font();
  font.setUnderline(on);
  lbQX_->setFont(font);
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
    SetLinkUnderline(watched == lbQX_);
    // The label does not take the move: passed on to the window, it would take the underline
    // away again at once.
    if (watched == lbQX_) return true;
  } else if (event->type() == QEvent::MouseButtonPress) {
    if (watched == lbQX_) {
      clShellExecute shell;
      shell.LaunchURL(std::string("https://") + vn::version::kWebAddress);
    }
    close();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void frmInfo::keyPressEvent(QKeyEvent*) { close(); }
void frmInfo::mousePressEvent(QMouseEvent*) { close(); }
void frmInfo::mouseMoveEvent(QMouseEvent*) { SetLinkUnderline(false); }

}  // namespace vn::config
