#include "config/qt/data_link_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "config/core/connection_probe.h"
#include "config/core/prompts.h"
#include "config/core/texts.h"
#include "config/qt/message_box.h"
#include "platform/runtime_error.h"

namespace vn::config {

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

DataLinkDialog::DataLinkDialog(ConnectionProbe& probe, MessageBoxes& messages, Prompts& prompts,
                               QWidget* parent)
    : QDialog(parent), probe_(probe), messages_(messages), prompts_(prompts) {
  setObjectName(QStringLiteral("frmDatenverknuepfung"));
  setWindowTitle(Q(texts::kDataLinkCaption));
  auto* layout = new QVBoxLayout(this);
  auto* kindRow = new QFormLayout;
  kind_ = new QComboBox(this);
  for (const std::string& name : DataLinkKindNames()) kind_->addItem(QString::fromStdString(name));
  kindRow->addRow(Q(texts::kDataLinkKind), kind_);
  layout->addLayout(kindRow);

  pages_ = new QStackedWidget(this);
  // SQLite file
  auto* sqlitePage = new QWidget;
  auto* sqliteForm = new QHBoxLayout(sqlitePage);
  sqliteFile_ = new QLineEdit;
  auto* browse = new QPushButton(Q(texts::kDataLinkBrowse));
  sqliteForm->addWidget(new QLabel(Q(texts::kDataLinkFile)));
  sqliteForm->addWidget(sqliteFile_, 1);
  sqliteForm->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, [this] {
    if (std::optional<std::string> file = prompts_.ChooseFile(texts::kDataLinkFileTitle,
                                                              sqliteFile_->text().toStdString()))
      sqliteFile_->setText(QString::fromStdString(*file));
  });
  pages_->addWidget(sqlitePage);
  // ODBC data source
  auto* dsnPage = new QWidget;
  auto* dsnForm = new QFormLayout(dsnPage);
  dsn_ = new QLineEdit;
  dsnUser_ = new QLineEdit;
  dsnPassword_ = new QLineEdit;
  dsnPassword_->setEchoMode(QLineEdit::Password);
  dsnForm->addRow(Q(texts::kDataLinkDsn), dsn_);
  dsnForm->addRow(Q(texts::kDataLinkUser), dsnUser_);
  dsnForm->addRow(Q(texts::kDataLinkPassword), dsnPassword_);
  pages_->addWidget(dsnPage);
  // ODBC driver
  auto* driverPage = new QWidget;
  auto* driverForm = new QFormLayout(driverPage);
  driver_ = new QLineEdit;
  driverKeys_ = new QPlainTextEdit;
  driverKeys_->setPlaceholderText(Q(texts::kDataLinkKeysExample));
  driverForm->addRow(Q(texts::kDataLinkDriver), driver_);
  driverForm->addRow(Q(texts::kDataLinkKeys), driverKeys_);
  pages_->addWidget(driverPage);
  // typed
  typed_ = new QPlainTextEdit;
  pages_->addWidget(typed_);
  layout->addWidget(pages_, 1);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this](int index) { ShowPage(index); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(Q(texts::kDataLinkCancel));
  auto* test = buttons->addButton(Q(texts::kDataLinkTest), QDialogButtonBox::ActionRole);
  connect(test, &QPushButton::clicked, this, &DataLinkDialog::TestConnection);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  ShowPage(0);
}

void DataLinkDialog::ShowPage(int index) {
  // Only the page in view counts for the dialog's size, so that a one-line page leaves no
  // empty space that the long text pages need.
  for (int i = 0; i < pages_->count(); ++i) {
    pages_->widget(i)->setSizePolicy(i == index ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                                     i == index ? QSizePolicy::Preferred : QSizePolicy::Ignored);
  }
  pages_->setCurrentIndex(index);
  const bool longText = index == kTyped || index == kOdbcDriver;
  pages_->updateGeometry();
  adjustSize();
  resize(560, longText ? std::max(300, sizeHint().height()) : sizeHint().height());
}

DataLinkDialog::Kind DataLinkDialog::CurrentKind() const {
  return static_cast<Kind>(kind_->currentIndex());
}

void DataLinkDialog::SetKind(Kind kind) { kind_->setCurrentIndex(kind); }

void DataLinkDialog::SetConnectionString(const std::string& connectionString) {
  const DataLinkFields fields = DataLinkFields::Read(connectionString);
  read_ = fields;
  auto q = [](const std::string& text) { return QString::fromStdString(text); };
  typed_->setPlainText(q(fields.typed));
  // Line ends come back from the page as "\n": an untouched text is the one read.
  typed_->document()->setModified(false);
  if (fields.kind == kSqliteFile) sqliteFile_->setText(q(fields.file));
  if (!fields.dsn.empty()) {
    dsn_->setText(q(fields.dsn));
    dsnUser_->setText(q(fields.user));
    dsnPassword_->setText(q(fields.password));
  }
  if (fields.kind == kOdbcDriver) {
    driver_->setText(q(fields.driver));
    driverKeys_->setPlainText(q(fields.keys));
  }
  SetKind(fields.kind);
}

std::string DataLinkDialog::ConnectionString() const {
  // The fields as read, changed where the dialog's fields say otherwise.
  DataLinkFields fields = read_;
  fields.kind = CurrentKind();
  fields.file = sqliteFile_->text().toStdString();
  fields.dsn = dsn_->text().toStdString();
  fields.user = dsnUser_->text().toStdString();
  fields.password = dsnPassword_->text().toStdString();
  fields.driver = driver_->text().toStdString();
  fields.keys = driverKeys_->toPlainText().toStdString();
  if (typed_->document()->isModified()) fields.typed = typed_->toPlainText().toStdString();
  return fields.ConnectionString();
}

void DataLinkDialog::TestConnection() {
  try {
    probe_.Probe(ConnectionString());
    messages_.Show(this, Q(texts::kDataLinkTestPassed), MsgIcon::kInformation);
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this, QString::fromStdString(texts::DataLinkTestFailed(e.Description())),
                   MsgIcon::kExclamation);
  }
}

std::optional<std::string> QtDataLinkPrompt::PromptNew() {
  DataLinkDialog dialog(probe_, messages_, prompts_, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::string text = dialog.ConnectionString();
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<std::string> QtDataLinkPrompt::PromptEdit(const std::string& connectionString) {
  DataLinkDialog dialog(probe_, messages_, prompts_, parent_);
  dialog.SetConnectionString(connectionString);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ConnectionString();
}

}  // namespace vn::config
