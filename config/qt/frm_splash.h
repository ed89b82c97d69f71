// frmSplash: the window shown while the main window loads: product, subtitle, version, company
// and copyright. Any key or click closes it.
#pragma once

#include <QDialog>

class QLabel;

namespace vn::config {

class frmSplash : public QDialog {
  Q_OBJECT
 public:
  explicit frmSplash(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vn::config
