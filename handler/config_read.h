// What a rubric page takes from the configuration database: every rubric for the menu bar and
// the data entries of the requested rubric, read together through one connection. A read is kept
// for the next page of the same rubric while the file is provably the one it was read from,
// unchanged, so that a save of the configuration program always shows on the next page.
#pragma once

#include <string>
#include <vector>

#include "handler/daten.h"
#include "resources/html_error.h"

namespace vn {

// A rubric's tab in the menu bar.
struct RubricRow {
  std::string menuetext;
  std::string rubrik;
};

struct PageConfiguration {
  std::vector<RubricRow> rubrics;  // in their rank
  // The requested rubric's title and remark (of the last row of its name).
  std::string titel;
  std::string bemerkung;
  // A rubric row could not be read: the rows before it are the list, and the menu bar reports
  // the failure after drawing them; `failedInRow` when a column failed rather than the move on.
  bool rubricsIncomplete = false;
  bool failedInRow = false;
  std::vector<clDaten> entries;  // of the requested rubric, in their rank
};

// The configuration of a page of `rubric` from the configuration database at `databasePath`:
// false with `error` set (message 101, 102, 181 or 105, as the menu reports them) when it cannot
// be read.
bool ReadPageConfiguration(const std::string& databasePath, const std::string& rubric,
                           PageConfiguration& configuration, clHTMLError& error);

// How many times the configuration database has been read in this process (a read being the
// queries of one page); what the tests count pages' reads with.
unsigned ConfigurationReads();

}  // namespace vn
