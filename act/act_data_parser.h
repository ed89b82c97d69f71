// clACTDataParser: replaces the ACT! source commands ("{!kontakt, 25}" ...) in connection
// strings and queries by values of the current ACT! contact or group and of the sibling link
// products' INI files.
#pragma once

#include <optional>
#include <string>

#include "act/sql_literal_scanner.h"
#include "resources/html_error.h"

namespace vn {

class clACTApplication;

class clACTDataParser {
 public:
  // Creates the error block (class "clACTDataParser") and keeps the bridge (may be null).
  bool Init(clACTApplication* objACTApp, const std::string& strResourcePath);

  // The text with every command replaced; on the first failing command the trimmed input.
  // Errors that ACT!'s automation raises are thrown through (RuntimeError).
  std::string Parse(const std::string& sText);
  // Parse for an entry's SQL query. A command outside the quoted literals must give a number
  // or nothing (then its default applies); anything else fails with 174. A value inside a
  // literal cannot end it. `doubleQuotedText`: "..." is a literal too (Jet's dialect).
  std::string ParseSQL(const std::string& sText, bool doubleQuotedText);

  const std::string& Text() const;
  int ErrNumber() const;
  // Whether a command has failed (ErrNumber is no longer the "no error" number).
  bool Failed() const;
  std::string ErrDescription() const;
  // The error's message as plain text (the string-table text with its arguments); "" while
  // there is no error.
  std::string ErrText() const;

 private:
  std::string ParseText(const std::string& sText, SqlLiteralScanner* sql);
  // The value of one command (trimmed and lower-cased command text); nothing after an error.
  // `place`: where the command stands in an entry's SQL; none for other texts.
  std::optional<std::string> ErsetzeKommando(const std::string& sKommando,
                                             std::optional<SqlPlace> place = std::nullopt);
  // Makes a command's value fit its place in the SQL; false when it cannot stand there.
  // `apostrophesAsRead`: the value's apostrophes are not doubled yet.
  static bool FitIntoSql(SqlPlace place, bool apostrophesAsRead, std::string& value);
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
  std::string text_;
};

}  // namespace vn
