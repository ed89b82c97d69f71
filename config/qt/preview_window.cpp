#include "config/qt/preview_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/core/texts.h"

namespace vn::config {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmVorschau::frmVorschau(QWidget* configurationWindow)
    : QWidget(configurationWindow, Qt::Window), configurationWindow_(configurationWindow) {
  auto* layout = new QVBoxLayout(this);
  lines_ = new QPlainTextEdit(this);
  lines_->setObjectName(QStringLiteral("txbVorschauZeilen"));
  lines_->setReadOnly(true);
  lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
  lines_->setMaximumHeight(fontMetrics().lineSpacing() * 6 + 12);
  layout->addWidget(lines_);

  auto* bar = new QHBoxLayout();
  busy_ = new QProgressBar(this);
  busy_->setRange(0, 0);  // runs without an end while the query does
  busy_->setTextVisible(false);
  busy_->setVisible(false);
  bar->addWidget(busy_, 1);
  cancel_ = new QPushButton(QString::fromUtf8(texts::kPreviewCancel), this);
  cancel_->setObjectName(QStringLiteral("cmdVorschauAbbrechen"));
  cancel_->setEnabled(false);
  bar->addWidget(cancel_);
  layout->addLayout(bar);
  connect(cancel_, &QPushButton::clicked, this, [this] { control_.Cancel(); });

  grid_ = new QTableWidget(this);
  grid_->setObjectName(QStringLiteral("grdVorschau"));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->setVisible(false);
  layout->addWidget(grid_, 1);
  resize(720, 480);
}

frmVorschau::~frmVorschau() = default;

void frmVorschau::ShowPreviewRunning(const std::string& caption) {
  setWindowTitle(Q(caption));
  lines_->setPlainText(QString::fromUtf8(texts::kPreviewRunning));
  grid_->clear();
  grid_->setRowCount(0);
  grid_->setColumnCount(0);
  busy_->setVisible(true);
  cancel_->setEnabled(true);
  if (!placed_ && configurationWindow_ != nullptr) {
    // Beside the configuration window, the first time it opens; later where the user put it.
    const QRect frame = configurationWindow_->frameGeometry();
    move(frame.right() + 8, frame.top());
    placed_ = true;
  }
  show();
  raise();
}

void frmVorschau::ShowPreviewResult(const PreviewResult& result) {
  setWindowTitle(Q(result.caption));
  QStringList lines;
  for (const std::string& line : PreviewLines(result)) lines << Q(line);
  lines_->setPlainText(lines.join(QLatin1Char('\n')));
  busy_->setVisible(false);
  cancel_->setEnabled(false);
  grid_->clear();
  grid_->setColumnCount(static_cast<int>(result.columns.size()));
  grid_->setRowCount(static_cast<int>(result.rows.size()));
  QStringList captions;
  for (const std::string& caption : result.columns) captions << Q(caption);
  grid_->setHorizontalHeaderLabels(captions);
  for (size_t r = 0; r < result.rows.size(); ++r) {
    const auto& row = result.rows[r];
    for (size_t c = 0; c < row.size(); ++c) {
      grid_->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(row[c])));
    }
  }
  grid_->resizeColumnsToContents();
}

void frmVorschau::WakePreview() {
  // On the worker's thread: the result is taken on the window's.
  QMetaObject::invokeMethod(
      this, [this] { control_.Deliver(); }, Qt::QueuedConnection);
}

}  // namespace vn::config
