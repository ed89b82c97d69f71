// The preview of a data entry: the entry as it stands in the fields (nothing saved), its ACT!
// commands resolved for the contact that is current in ACT!, its query run read-only through
// the providers a page uses, and the result as the entry's format shows it on the page, as
// rows of display strings a front draws in a grid.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "act/automation.h"

namespace vn::data {
class CallCancel;
}

namespace vn::config {

// A data entry as the tab Daten's fields hold it.
struct PreviewEntry {
  std::string title;
  std::string connection;  // with its ACT! commands
  std::string query;       // with its ACT! commands
  int format = 0;          // the Format_ID
};

// What runs: the entry's texts with the commands resolved. A failure found while resolving them
// is the result already.
struct PreviewCommand {
  std::string title;
  std::string connection;  // resolved, as it is opened
  std::string query;       // resolved
  int format = 0;
  int errorNumber = 0;  // the page's message number, 0 while nothing failed
  std::string errorText;
};

// What the preview window shows.
struct PreviewResult {
  std::string caption;          // the window's title
  std::string connectionShown;  // the resolved connection string, its passwords masked
  std::string query;            // the resolved query
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;  // display strings, at most kPreviewRows
  std::string notice;  // the rows not shown, or why there are none; "" when all are shown
  std::chrono::milliseconds elapsed{0};
  int errorNumber = 0;    // the page's message number; 0 when the query ran
  std::string errorText;  // its text with the driver's reason, plain text
  bool cancelled = false;
};

// The rows the preview shows at most.
inline constexpr int kPreviewRows = 500;
// Rows counted beyond those shown before the total is given up as not cheap.
inline constexpr int kPreviewCountedRows = 100000;

// Resolves the entry's ACT! commands (on the calling thread, where the ACT! bridge lives), with
// the checks a page makes first: ACT! running, a database open. `automation` is the layer the
// bridge runs over: a page's (PageACTAutomation) in the program.
PreviewCommand ResolvePreview(const PreviewEntry& entry, ACTAutomation automation);

// Runs a resolved entry; a call into a provider is stopped when `cancel` is cancelled. Never
// throws for a failure of the entry: the result says it.
PreviewResult RunPreview(const PreviewCommand& command, data::CallCancel& cancel);

// The window's title for an entry's title.
std::string PreviewCaption(const std::string& title);

// "500 von 12 345 Zeilen", or "mehr als 500 Zeilen" when the total was not counted; "" when
// every row is shown. `total` < 0: not counted.
std::string RowsNotice(int shown, long long total);

// The time a preview took, as the window shows it.
std::string ElapsedText(std::chrono::milliseconds elapsed);

}  // namespace vn::config
