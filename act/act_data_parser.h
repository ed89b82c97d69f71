// clACTDataParser: replaces the ACT! source commands ("{!kontakt, 25}" ...) in connection
// strings and queries by values of the current ACT! contact or group and of the sibling link
// products' INI files.
#pragma once

#include <optional>
#include <string>

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

  const std::string& Text() const;
  int ErrNumber() const;
  std::string ErrDescription() const;
  // The error's message as plain text (the string-table text with its arguments); "" while
  // there is no error.
  std::string ErrText() const;

 private:
  // The value of one command (trimmed and lower-cased command text); nothing after an error.
  std::optional<std::string> ErsetzeKommando(const std::string& sKommando);
  std::optional<std::string> FeldKommando(const std::string& sKommando, const std::string& sParameter,
                                          int viewTyp, int fehlerKeineFeldID);
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
