#include "config/qt/frm_splash.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "config/qt/button_icons.h"
#include "config/core/texts.h"
#include "config/core/version_texts.h"
#include "resources/version.h"

namespace vn::config {

namespace {

QLabel* Line(QWidget* parent, const char* name, const QString& text, int pointSize, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  if (pointSize > 0) font.setPointSize(pointSize);
  font.setBold(bold);
  label->setFont(font);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(36, 28, 36, 24);
  layout->setSpacing(6);
  auto* icon = new QLabel(this);
  icon->setPixmap(MakeButtonIcon(ButtonPicture::kProgram).pixmap(48, 48));
  layout->addWidget(icon);
  layout->addWidget(
      Line(this, "lblProductName", QString::fromUtf8(vn::version::kProductName), 22, true));
  layout->addWidget(Line(this, "lbUntertitel", QString::fromUtf8(texts::kSubtitle), 14, false));
  layout->addSpacing(18);
  layout->addWidget(Line(this, "lblVersion",
                         QString::fromStdString(SplashVersionText(
                             vn::version::kMajor, vn::version::kMinor, vn::version::kRevision)),
                         0, false));
  layout->addWidget(
      Line(this, "lblCompany", QString::fromUtf8(vn::version::kCompanyName), 0, false));
  layout->addWidget(
      Line(this, "lblCopyright", QString::fromUtf8(vn::version::kCopyright), 0, false));
  setFixedSize(420, 260);
}

void frmSplash::keyPressEvent(QKeyEvent*) { close(); }
void frmSplash::mousePressEvent(QMouseEvent*) { close(); }

void frmSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
  gradient.setColorAt(1, QColor(0xd9, 0xe4, 0xf1));
  p.fillRect(rect(), gradient);
  p.setPen(QColor(0x1f, 0x4e, 0x8c));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vn::config
