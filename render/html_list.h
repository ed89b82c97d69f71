// clHTMLList: the record card of a data entry (format 2): the first record of the entry's
// query as caption/value pairs in three columns under a title bar that folds the card away,
// handed out in three pieces.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/connection.h"
#include "data/recordset.h"
#include "render/page_generator.h"
#include "resources/html_error.h"

namespace vn {

class clACTDataParser;

class clHTMLList final : public PageGenerator {
 public:
  clHTMLList();
  ~clHTMLList() override;
  clHTMLList(const clHTMLList&) = delete;
  clHTMLList& operator=(const clHTMLList&) = delete;

  // Resolves the ACT! source commands of connection string and query, opens the query and
  // reads the first record. `strTableIcon` has no effect on the card; a non-empty
  // `strResourcePath` replaces the library folder for the script and image paths;
  // `strTabellenKennung` makes the card's element ids unique in the page.
  bool Init(const std::string& strTitel, const std::string& strConnection,
            const std::string& strSQL, clACTDataParser* ACTDataParser,
            const std::string& strTableIcon, const std::string& strResourcePath,
            const std::string& strTabellenKennung);

  bool Init(const GeneratorEntry& entry) override {
    return Init(entry.title, entry.connection, entry.query, entry.parser, entry.tableIcon,
                entry.resourcePath, entry.tableId);
  }

  std::string GetNext() override;
  bool Ready() const override { return step_ == 3; }
  int ErrNumber() const override { return error_.Number(); }
  std::string ErrDescription() const override { return error_.Description(); }

 private:
  struct Entry {
    std::string caption;
    std::string value;  // as the page holds it: page text, or markup for an "html_" column
  };

  std::string TitleBar() const;
  std::string Body() const;

  std::string connection_;
  std::string query_;
  clHTMLError error_;
  std::unique_ptr<data::Connection> db_;
  std::unique_ptr<data::Recordset> recordset_;
  std::string title_;
  int step_ = 0;
  std::string scriptPath_;
  std::string minusPath_;
  std::string blockId_;
  clACTDataParser* parser_ = nullptr;
  std::vector<Entry> entries_;
};

}  // namespace vn
