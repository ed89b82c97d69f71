// clHTMLMenu: the rubric menu at the top of a rubric page (a tab per rubric, the requested one
// marked, then the rubric's title and remark), and the rubric's data entries in assignment
// order, both from the page's one read of the configuration database.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "handler/config_read.h"
#include "handler/daten.h"
#include "resources/html_error.h"

namespace vn {

class clACTDataParser;

class clHTMLMenu {
 public:
  clHTMLMenu();
  ~clHTMLMenu();
  clHTMLMenu(const clHTMLMenu&) = delete;
  clHTMLMenu& operator=(const clHTMLMenu&) = delete;

  // Reads all rubrics and the data entries of `strRubrik`. A non-empty
  // `strConfigurationPath` replaces the library folder as the place of databases/config.mdb;
  // a non-empty `strResourcePath` the folder of the error block's image. The parser is
  // shared, not owned.
  bool Init(const std::string& strRubrik, clACTDataParser* ACTDataParser,
            const std::string& strConfigurationPath, const std::string& strResourcePath);

  // The next piece of the menu's HTML (state 1: empty, 2: menu bar, 3: heading).
  std::string GetNext();
  bool Ready() const { return state_ == 4; }
  int ErrNumber() const { return error_.Number(); }
  std::string ErrDescription() const { return error_.Description(); }

  int AnzahlDaten() const { return static_cast<int>(config_.entries.size()); }
  // The entry at zero-based `Index`, or nullptr (with message 183) outside the list.
  const clDaten* Daten(int Index);

 private:
  std::string MenuBar();
  std::string Heading();

  PageConfiguration config_;  // the page's one read of the configuration database
  clACTDataParser* parser_ = nullptr;
  std::string rubrik_;
  std::string titel_;
  std::string bemerkung_;
  clHTMLError error_;
  int state_ = 0;
};

}  // namespace vn
