// DataLinksPrompt: the connection button's data-link dialog on Windows, the system's DataLinks
// through IDataSourceLocator, exchanging late-bound ADODB.Connection objects. Where the dialog
// cannot be had, the user is told so and the field stays as it is.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "config/core/data_link.h"
#include "config/win32/dialogs/data_source_locator.h"
#include "platform/com_ptr.h"

namespace vn::config::win32 {

// What the user is told when the dialog cannot be opened, with the system's reason.
std::string DataLinkUnavailableText(const std::string& description);

class DataLinksPrompt : public DataLinkPrompt {
 public:
  // Makes the dialog's object; throws vn::RuntimeError when it cannot. Tests put their own.
  using LocatorFactory = std::function<ComPtr<IDataSourceLocator>()>;
  // Shows a message to the user (an exclamation box of the program).
  using Tell = std::function<void(const std::string& text)>;

  // The system's DataLinks object.
  static ComPtr<IDataSourceLocator> CreateDataLinks();

  DataLinksPrompt(HWND owner, Tell tell, LocatorFactory factory = &CreateDataLinks)
      : owner_(owner), tell_(std::move(tell)), factory_(std::move(factory)) {}

  std::optional<std::string> PromptNew() override;
  // The edit as the dialog gave it back, put into `connectionString`: keys the dialog left as
  // they were keep their bytes, and keys it does not show stay.
  std::optional<std::string> PromptEdit(const std::string& connectionString) override;
  // The system's dialog knows only the system's providers, not the library's own SQLite.
  bool ShowsLibraryFiles() const override { return false; }

 private:
  ComPtr<IDataSourceLocator> Locator();

  HWND owner_;
  Tell tell_;
  LocatorFactory factory_;
};

}  // namespace vn::config::win32
