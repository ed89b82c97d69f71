// clACTDataParser: replaces the ACT! source commands ("{!kontakt, 25}" ...) in connection
// strings and queries by values of the current ACT! contact or group and of the sibling link
// products' INI files.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "act/value_place.h"
#include "resources/html_error.h"

namespace vn {

class clACTApplication;
class clACTSnapshot;

// What a text given to Parse is, which says where the values of its commands are written.
enum class ParsedText {
  kAsRead,    // a connection string, the administrator's tools: values as ACT! holds them
  kPageText,  // a menu text, a rubric's title or remark: values as HTML text
  kSql,       // an entry's query: by each command's place, inside or outside a '...' literal
  kJetSql,    // the same in Jet's dialect, where "..." is a text literal too
};

class clACTDataParser {
 public:
  clACTDataParser();
  ~clACTDataParser();
  clACTDataParser(const clACTDataParser&) = delete;
  clACTDataParser& operator=(const clACTDataParser&) = delete;

  // Creates the error block (class "clACTDataParser") and keeps the bridge (may be null); each
  // text given to Parse then takes one look at ACT!, its fields asked once each.
  bool Init(clACTApplication* objACTApp, const std::string& strResourcePath);
  // The same for the texts of one page: every text is answered from the page's `snapshot` (may
  // be null), which must outlive the parsing.
  bool InitPage(clACTSnapshot* snapshot, const std::string& strResourcePath);
  // A text this parser will be given later on the page: its fields are read with the page's first
  // field, so the page shows one contact. Nothing without a page's snapshot.
  void Expect(const std::string& text);

  // The text with every command replaced by its value, written as its place reads it
  // (FitValue); on the first failing command the trimmed input. In a query a command outside
  // the literals must give a number or nothing (then its default applies), anything else fails
  // with 174. A command's default (its third field) is the administrator's text and is
  // written as typed. Errors that ACT!'s automation raises are thrown through (RuntimeError).
  std::string Parse(const std::string& sText, ParsedText kind);

  const std::string& Text() const;
  int ErrNumber() const;
  // Whether a command has failed (ErrNumber is no longer the "no error" number).
  bool Failed() const;
  std::string ErrDescription() const;
  // The error's message as plain text (the string-table text with its arguments); "" while
  // there is no error.
  std::string ErrText() const;

 private:
  // The value of one command (trimmed and lower-cased command text) written for `place`;
  // nothing after an error.
  std::optional<std::string> ErsetzeKommando(const std::string& sKommando, ValuePlace place);
  std::optional<std::string> FeldKommando(const std::string& sKommando,
                                          const std::string& sParameter, int viewTyp,
                                          int fehlerKeineFeldID);
  // The checks both link products make first: their INI file in the program folder (164) and
  // an active contact view (124).
  bool LinkProductReady(const std::string& sDatei, const std::string& sKommando);
  std::optional<std::string> Brimlow(const std::string& sKommando, const std::string& sParameter);
  std::optional<std::string> Tessaran(const std::string& sKommando, const std::string& sParameter);
  // The ACT! field number from the first part of an "ID_" entry of a link product's INI file.
  std::optional<int> IniFeldnummer(const std::string& sDatei, const std::string& sSektion,
                                   const std::string& sSchluessel);
  void SetError(int Fehlernummer, const ResValues& sZusatz = {});

  clHTMLError error_;
  ResValues errorValues_;
  clACTApplication* objACTApp_ = nullptr;
  clACTSnapshot* pageSnapshot_ = nullptr;
  std::unique_ptr<clACTSnapshot> textSnapshot_;  // the look of the text being parsed, no page
  clACTSnapshot* act_ = nullptr;                 // what answers the commands of this text
  std::string text_;
};

}  // namespace vn
