// frmVorschau: the preview window of a data entry on Qt, beside the configuration window. It
// draws what the core's PreviewControl gives it: the lines above the grid, a busy indicator and
// "Abbrechen" while the query runs, and the result in a table view.
#pragma once

#include <QWidget>

#include "config/core/preview_control.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vn::config {

class frmVorschau : public QWidget, private PreviewView {
  Q_OBJECT

 public:
  explicit frmVorschau(QWidget* configurationWindow);
  ~frmVorschau() override;

  PreviewControl& Control() { return control_; }

  // For the tests: the grid, the lines, the busy indicator and the cancel button.
  QTableWidget* Grid() const { return grid_; }
  QPlainTextEdit* Lines() const { return lines_; }
  QProgressBar* Busy() const { return busy_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  // PreviewView.
  void ShowPreviewRunning(const std::string& caption) override;
  void ShowPreviewResult(const PreviewResult& result) override;
  void WakePreview() override;

  QWidget* configurationWindow_;
  QPlainTextEdit* lines_ = nullptr;
  QProgressBar* busy_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTableWidget* grid_ = nullptr;
  bool placed_ = false;
  PreviewControl control_{*this};  // last: its worker is stopped before the widgets go
};

}  // namespace vn::config
