// The data-link dialog: builds a connection string for an SQLite file, an ODBC data source or
// an ODBC driver with its keys, or takes one as typed; "Testen" opens it through the probe.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "config/core/data_link.h"
#include "config/core/data_link_fields.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;

namespace vn::config {

class ConnectionProbe;
class MessageBoxes;
class Prompts;

class DataLinkDialog : public QDialog {
  Q_OBJECT
 public:
  using Kind = DataLinkFields::Kind;
  static constexpr Kind kSqliteFile = DataLinkFields::kSqliteFile;
  static constexpr Kind kOdbcDataSource = DataLinkFields::kOdbcDataSource;
  static constexpr Kind kOdbcDriver = DataLinkFields::kOdbcDriver;
  static constexpr Kind kTyped = DataLinkFields::kTyped;

  // The database file is chosen through `prompts`.
  DataLinkDialog(ConnectionProbe& probe, MessageBoxes& messages, Prompts& prompts,
                 QWidget* parent = nullptr);

  // Fills the dialog from an existing connection string.
  void SetConnectionString(const std::string& connectionString);
  // The connection string the dialog's fields describe.
  std::string ConnectionString() const;
  Kind CurrentKind() const;
  void SetKind(Kind kind);
  // Opens the described connection and reports the result in a message box.
  void TestConnection();

 private:
  // Shows the page of a kind and fits the dialog's height to it.
  void ShowPage(int index);
  ConnectionProbe& probe_;
  MessageBoxes& messages_;
  Prompts& prompts_;
  DataLinkFields read_;  // the fields as read, so that an unchanged field gives its text back
  QComboBox* kind_;
  QStackedWidget* pages_;
  QLineEdit* sqliteFile_;
  QLineEdit* dsn_;
  QLineEdit* dsnUser_;
  QLineEdit* dsnPassword_;
  QLineEdit* driver_;
  QPlainTextEdit* driverKeys_;
  QPlainTextEdit* typed_;
};

// The dialog as the connection button prompts with it.
class QtDataLinkPrompt : public DataLinkPrompt {
 public:
  QtDataLinkPrompt(ConnectionProbe& probe, MessageBoxes& messages, Prompts& prompts,
                   QWidget* parent = nullptr)
      : probe_(probe), messages_(messages), prompts_(prompts), parent_(parent) {}
  std::optional<std::string> PromptNew() override;
  std::optional<std::string> PromptEdit(const std::string& connectionString) override;

 private:
  ConnectionProbe& probe_;
  MessageBoxes& messages_;
  Prompts& prompts_;
  QWidget* parent_;
};

}  // namespace vn::config
