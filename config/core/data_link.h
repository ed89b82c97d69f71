// DataLinkPrompt: the data-link dialog's two operations, as the connection button uses them:
// prompt for a new connection, and prompt to edit an existing one. A front implements it with
// its own dialog.
#pragma once

#include <optional>
#include <string>

namespace vn::config {

class DataLinkPrompt {
 public:
  virtual ~DataLinkPrompt() = default;
  // The connection string of the new connection, or nothing when the user cancelled.
  virtual std::optional<std::string> PromptNew() = 0;
  // The edited connection string when the user confirmed, or nothing.
  virtual std::optional<std::string> PromptEdit(const std::string& connectionString) = 0;
  // Whether the dialog edits the database files of the library's own providers (SQLite); where
  // it does not, the connection button chooses the file itself.
  virtual bool ShowsLibraryFiles() const { return true; }
};

}  // namespace vn::config
