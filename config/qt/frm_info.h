// frmInfo: the about window: version, copyright, the web link and a text that scrolls upwards.
// A click on the link opens the web address; any other click or key closes the window.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QTimer;

namespace vn::config {

class frmInfo : public QDialog {
  Q_OBJECT
 public:
  explicit frmInfo(QWidget* parent = nullptr);

  int ScrollOffset() const { return offset_; }
  // One timer tick: paints the next section of the scroll picture.
  void Tick();
  // The scroll picture (the tall picture of text) and the box it scrolls in.
  const QPixmap& ScrollPicture() const { return scrollPicture_; }
  QLabel* ScrollBox() const { return picScrollText_; }
  bool LinkUnderlined() const { return linkUnderlined_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void SetLinkUnderline(bool on);

  QLabel* lbVersion_;
  QLabel* lbCopyright_;
  QLabel* lbQX_;
  QLabel* picScrollText_;
  QTimer* timer_;
  QPixmap scrollPicture_;
  int offset_ = 0;
  bool linkUnderlined_ = false;
};

}  // namespace vn::config
