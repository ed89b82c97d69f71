#include "config/data_link_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/connection_probe.h"
#include "config/message_box.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn::config {

namespace {

struct Pair {
  std::string key;
  std::string value;
};

// key=value pairs separated by ';' (a value may be wrapped in quotes or braces).
std::vector<Pair> ParsePairs(const std::string& text) {
  std::vector<Pair> pairs;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eq = text.find('=', pos);
    size_t semi = text.find(';', pos);
    if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
      if (semi == std::string::npos) break;
      pos = semi + 1;
      continue;
    }
    Pair pair{vn::TrimSpaces(text.substr(pos, eq - pos)), {}};
    size_t v = eq + 1;
    while (v < text.size() && text[v] == ' ') ++v;
    if (v < text.size() && (text[v] == '"' || text[v] == '\'' || text[v] == '{')) {
      const char close = text[v] == '{' ? '}' : text[v];
      size_t end = text.find(close, v + 1);
      if (end == std::string::npos) end = text.size();
      pair.value = text.substr(v + 1, end - v - 1);
      semi = text.find(';', end);
    } else {
      semi = text.find(';', v);
      pair.value =
          vn::TrimSpaces(text.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
    }
    pairs.push_back(pair);
    if (semi == std::string::npos) break;
    pos = semi + 1;
  }
  return pairs;
}

const Pair* FindKey(const std::vector<Pair>& pairs, const char* key) {
  for (const Pair& p : pairs)
    if (vn::EqualsIgnoringCase(p.key, key)) return &p;
  return nullptr;
}

std::string Braced(const std::string& value) {
  return value.find_first_of(";{}= ") == std::string::npos ? value : "{" + value + "}";
}

}  // namespace

DataLinkDialog::DataLinkDialog(ConnectionProbe& probe, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), probe_(probe), messages_(messages) {
  setObjectName(QStringLiteral("frmDatenverknuepfung"));
  setWindowTitle(QStringLiteral("Datenverknüpfungseigenschaften"));
  auto* layout = new QVBoxLayout(this);
  auto* kindRow = new QFormLayout;
  kind_ = new QComboBox(this);
  kind_->addItems({QStringLiteral("SQLite-Datenbankdatei"),
                   QStringLiteral("ODBC-Datenquelle (DSN)"),
                   QStringLiteral("ODBC-Treiber mit Schlüsseln"),
                   QStringLiteral("Verbindungszeichenfolge eingeben")});
  kindRow->addRow(QStringLiteral("&Art der Verbindung:"), kind_);
  layout->addLayout(kindRow);

  pages_ = new QStackedWidget(this);
  // SQLite file
  auto* sqlitePage = new QWidget;
  auto* sqliteForm = new QHBoxLayout(sqlitePage);
  sqliteFile_ = new QLineEdit;
  auto* browse = new QPushButton(QStringLiteral("&Durchsuchen..."));
  sqliteForm->addWidget(new QLabel(QStringLiteral("Datei:")));
  sqliteForm->addWidget(sqliteFile_, 1);
  sqliteForm->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Datenbankdatei"), sqliteFile_->text());
    if (!file.isEmpty()) sqliteFile_->setText(file);
  });
  pages_->addWidget(sqlitePage);
  // ODBC data source
  auto* dsnPage = new QWidget;
  auto* dsnForm = new QFormLayout(dsnPage);
  dsn_ = new QLineEdit;
  dsnUser_ = new QLineEdit;
  dsnPassword_ = new QLineEdit;
  dsnPassword_->setEchoMode(QLineEdit::Password);
  dsnForm->addRow(QStringLiteral("Datenquelle:"), dsn_);
  dsnForm->addRow(QStringLiteral("Benutzername:"), dsnUser_);
  dsnForm->addRow(QStringLiteral("Kennwort:"), dsnPassword_);
  pages_->addWidget(dsnPage);
  // ODBC driver
  auto* driverPage = new QWidget;
  auto* driverForm = new QFormLayout(driverPage);
  driver_ = new QLineEdit;
  driverKeys_ = new QPlainTextEdit;
  driverKeys_->setPlaceholderText(QStringLiteral("Server=localhost\nDatabase=kunden"));
  driverForm->addRow(QStringLiteral("Treiber:"), driver_);
  driverForm->addRow(QStringLiteral("Schlüssel (je Zeile Name=Wert):"), driverKeys_);
  pages_->addWidget(driverPage);
  // typed
  typed_ = new QPlainTextEdit;
  pages_->addWidget(typed_);
  layout->addWidget(pages_, 1);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this](int index) { ShowPage(index); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  auto* test =
      buttons->addButton(QStringLiteral("Verbindung &testen"), QDialogButtonBox::ActionRole);
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
  const std::vector<Pair> pairs = ParsePairs(connectionString);
  const Pair* provider = FindKey(pairs, "Provider");
  const Pair* source = FindKey(pairs, "Data Source");
  const Pair* dsn = FindKey(pairs, "DSN");
  const Pair* driver = FindKey(pairs, "Driver");
  const bool sqliteProvider =
      provider != nullptr && (vn::EqualsIgnoringCase(provider->value, "SQLite") ||
                              vn::EqualsIgnoringCase(provider->value, "Microsoft.Jet.OLEDB.4.0"));
  typed_->setPlainText(QString::fromStdString(connectionString));
  if (sqliteProvider && source != nullptr && pairs.size() <= 3) {
    sqliteFile_->setText(QString::fromStdString(source->value));
    SetKind(kSqliteFile);
  } else if (provider == nullptr && dsn != nullptr && driver == nullptr) {
    dsn_->setText(QString::fromStdString(dsn->value));
    if (const Pair* uid = FindKey(pairs, "UID"))
      dsnUser_->setText(QString::fromStdString(uid->value));
    if (const Pair* pwd = FindKey(pairs, "PWD"))
      dsnPassword_->setText(QString::fromStdString(pwd->value));
    SetKind(pairs.size() <= 3 ? kOdbcDataSource : kTyped);
  } else if (provider == nullptr && driver != nullptr) {
    driver_->setText(QString::fromStdString(driver->value));
    QString keys;
    for (const Pair& p : pairs)
      if (&p != driver)
        keys += QString::fromStdString(p.key + "=" + p.value) + QStringLiteral("\n");
    driverKeys_->setPlainText(keys.trimmed());
    SetKind(kOdbcDriver);
  } else {
    SetKind(kTyped);
  }
}

std::string DataLinkDialog::ConnectionString() const {
  switch (CurrentKind()) {
    case kSqliteFile: {
      const std::string file = sqliteFile_->text().trimmed().toStdString();
      return file.empty() ? std::string() : "Provider=SQLite;Data Source=" + file + ";";
    }
    case kOdbcDataSource: {
      const std::string dsn = dsn_->text().trimmed().toStdString();
      if (dsn.empty()) return {};
      std::string text = "DSN=" + Braced(dsn) + ";";
      if (!dsnUser_->text().isEmpty())
        text += "UID=" + Braced(dsnUser_->text().toStdString()) + ";";
      if (!dsnPassword_->text().isEmpty())
        text += "PWD=" + Braced(dsnPassword_->text().toStdString()) + ";";
      return text;
    }
    case kOdbcDriver: {
      const std::string driver = driver_->text().trimmed().toStdString();
      if (driver.empty()) return {};
      std::string text = "Driver={" + driver + "};";
      for (const QString& line : driverKeys_->toPlainText().split(QLatin1Char('\n'))) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        text += line.left(eq).trimmed().toStdString() + "=" +
                Braced(line.mid(eq + 1).trimmed().toStdString()) + ";";
      }
      return text;
    }
    case kTyped:
      return typed_->toPlainText().trimmed().toStdString();
  }
  return {};
}

void DataLinkDialog::TestConnection() {
  try {
    probe_.Probe(ConnectionString());
    messages_.Show(this, QStringLiteral("Die Testverbindung war erfolgreich."),
                   MsgIcon::kInformation);
  } catch (const vn::RuntimeError& e) {
    messages_.Show(this,
                   QStringLiteral("Die Testverbindung ist fehlgeschlagen:\n") +
                       QString::fromStdString(e.Description()),
                   MsgIcon::kExclamation);
  }
}

std::optional<std::string> QtDataLinkPrompt::PromptNew(QWidget* parent) {
  DataLinkDialog dialog(probe_, messages_, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::string text = dialog.ConnectionString();
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<std::string> QtDataLinkPrompt::PromptEdit(QWidget* parent,
                                                        const std::string& connectionString) {
  DataLinkDialog dialog(probe_, messages_, parent);
  dialog.SetConnectionString(connectionString);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ConnectionString();
}

}  // namespace vn::config
