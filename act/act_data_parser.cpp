#include "act/act_data_parser.h"

#include "act/act_application.h"
#include "act/act_snapshot.h"
#include "act/ini_value.h"
#include "act/numeric_text.h"
#include "act/sql_literal_scanner.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/module_path.h"
#include "platform/path_separator.h"
#include "platform/ini_file.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "platform/vb_errors.h"
#include "platform/unicode_case.h"
#include "resources/markup.h"
#include "resources/message_ids.h"

namespace vn {
namespace {

// Lower case as the platform's LCase: every letter, not only ASCII. Bytes that are not UTF-8
// stay as they are.
std::string LowerText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    long cp = DecodeUtf8(text, pos);
    if (cp < 0) {
      out.append(text, start, pos - start);
    } else {
      AppendUtf8(out, LowerCodePoint(static_cast<unsigned long>(cp)));
    }
  }
  return out;
}

// Field `n` (from 1) of `text` split at `separator`, without surrounding blanks; "" when `n` is
// below 1 or the text has fewer fields (an empty text has none).
std::string HoleFeld(const std::string& text, const std::string& separator, long n) {
  if (n < 1 || text.empty()) return {};
  std::vector<std::string> fields = Split(text, separator);
  if (static_cast<size_t>(n) > fields.size()) return {};
  return TrimSpaces(fields[static_cast<size_t>(n) - 1]);
}

// The character with ANSI code `code`, as UTF-8.
std::string AnsiCharacter(int code) {
  if (code < 0 || code > 255) {
    throw RuntimeError(kErrInvalidProcedureCall, kTextInvalidProcedureCall, "clACTDataParser");
  }
  return Cp1252ToUtf8(std::string(1, static_cast<char>(code)));
}

// The path of an existing file whose last part may differ in case (names written for a system
// that ignores case), or "" when there is none.
std::string ExistingFile(const std::string& path) {
  if (IsRegularFile(path)) return path;
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos || slash + 1 == path.size()) return {};
  std::string found =
      FindFileIgnoringCase(slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1));
  if (slash == 0 && found.rfind("//", 0) == 0) found.erase(0, 1);
  return IsRegularFile(found) ? found : std::string();
}

}  // namespace

bool clACTDataParser::Init(clACTApplication* objACTApp, const std::string& strResourcePath) {
  error_.Init("clACTDataParser", strResourcePath);
  objACTApp_ = objACTApp;
  pageSnapshot_ = nullptr;
  return true;
}

bool clACTDataParser::InitPage(clACTSnapshot* snapshot, const std::string& strResourcePath) {
  error_.Init("clACTDataParser", strResourcePath);
  objACTApp_ = nullptr;
  pageSnapshot_ = snapshot;
  return true;
}

clACTDataParser::clACTDataParser() = default;
clACTDataParser::~clACTDataParser() = default;

void clACTDataParser::Expect(const std::string& text) {
  if (pageSnapshot_ != nullptr) pageSnapshot_->Expect(text);
}

const std::string& clACTDataParser::Text() const { return text_; }

int clACTDataParser::ErrNumber() const { return error_.Number(); }

bool clACTDataParser::Failed() const { return error_.Failed(); }

std::string clACTDataParser::ErrDescription() const { return error_.Description(); }

std::string clACTDataParser::ErrText() const {
  if (!error_.Failed()) return {};
  return ResText(error_.Number(), errorValues_);
}

void clACTDataParser::SetError(int Fehlernummer, const ResValues& sZusatz) {
  errorValues_ = sZusatz;
  // The block goes into a page: its values (command texts, paths that hold ACT! values) are
  // shown as text there. ErrText keeps them as they are.
  ResValues shown;
  shown.reserve(sZusatz.size());
  for (const ResValue& value : sZusatz) shown.emplace_back(markup::EscapeHtml(value.Text()));
  error_.SetError(Fehlernummer, shown);
}

std::string clACTDataParser::Parse(const std::string& sText, ParsedText kind) {
  std::optional<SqlLiteralScanner> sql;
  if (kind == ParsedText::kSql || kind == ParsedText::kJetSql)
    sql.emplace(kind == ParsedText::kJetSql);
  const ValuePlace textPlace =
      kind == ParsedText::kPageText ? ValuePlace::kPageText : ValuePlace::kAsRead;
  text_ = TrimSpaces(sText);
  // Without a page, one text is one look at ACT!.
  if (objACTApp_ != nullptr) textSnapshot_ = std::make_unique<clACTSnapshot>(*objACTApp_);
  act_ = objACTApp_ != nullptr ? textSnapshot_.get() : pageSnapshot_;
  const std::string& text = text_;
  const size_t n = text.size();
  std::string output;
  // Only the text around the commands tells where literals are, never the values put in.
  auto copy = [&](char c) {
    output += c;
    if (sql) sql->Feed(c);
  };
  size_t i = 0;
  while (i < n) {
    if (text[i] != '{' || i + 1 == n) {
      copy(text[i++]);
      continue;
    }
    if (text[i + 1] != '!') {
      copy('{');
      ++i;
      continue;
    }
    if (i + 2 == n) {  // a "{!" at the very end is dropped
      i += 2;
      continue;
    }
    std::string collected;
    size_t j = i + 2;
    bool evaluated = false;
    for (; j < n; ++j) {
      if (text[j] != '}') {
        collected += text[j];
        continue;
      }
      std::string command = LowerText(TrimSpaces(collected));
      if (command.empty()) {  // a brace cannot end an empty command: it is dropped
        collected.clear();
        continue;
      }
      const ValuePlace place = sql ? sql->Place() : textPlace;
      std::optional<std::string> value = ErsetzeKommando(command, place);
      if (value && place == ValuePlace::kSqlCode && value->starts_with('-') &&
          output.ends_with('-')) {
        // A sign right after a minus would make "--", which comments out the rest of the line.
        SetError(msg::kUnquotedSourceCommand, {command});
      }
      if (value) output += *value;
      if (error_.Failed()) return text_;
      evaluated = true;
      break;
    }
    if (!evaluated) {
      SetError(msg::kMissingBrace, {text_});
      return text_;
    }
    i = j + 1;
  }
  return output;
}

std::optional<std::string> clACTDataParser::ErsetzeKommando(const std::string& sKommando,
                                                            ValuePlace place) {
  if (act_ == nullptr) {
    SetError(msg::kNoActConnection);
    return std::nullopt;
  }
  if (!act_->ACTgestartet()) {
    SetError(msg::kActNotRunning);
    return std::nullopt;
  }
  if (act_->ACTDatenbank().empty()) {
    SetError(msg::kNoActDatabase);
    return std::nullopt;
  }
  const std::string befehl = LowerText(HoleFeld(sKommando, ",", 1));
  if (befehl.empty()) {
    SetError(msg::kMissingSourceCommand, {sKommando});
    return std::nullopt;
  }
  const std::string parameter = LowerText(HoleFeld(sKommando, ",", 2));
  if (parameter.empty()) {
    SetError(msg::kMissingParameter, {sKommando});
    return std::nullopt;
  }
  const std::string vorgabe = HoleFeld(sKommando, ",", 3);

  std::optional<std::string> value;
  if (befehl == "kontakt" || befehl == "k" || befehl == "c" || befehl == "contact") {
    value = FeldKommando(sKommando, parameter, avKontakt, msg::kNoContactField);
  } else if (befehl == "gruppe" || befehl == "g" || befehl == "group") {
    value = FeldKommando(sKommando, parameter, avGruppe, msg::kNoGroupField);
  } else if (befehl == "brimlow") {
    value = Brimlow(sKommando, parameter);
  } else if (befehl == "tessaran") {
    value = Tessaran(sKommando, parameter);
  } else {
    SetError(msg::kUnknownSourceCommand, {sKommando});
    return std::nullopt;
  }
  if (!value) return std::nullopt;
  // The default is the administrator's own text, written as typed.
  if (value->empty()) return vorgabe;
  if (!FitValue(place, *value)) {
    SetError(msg::kUnquotedSourceCommand, {sKommando});
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> clACTDataParser::FeldKommando(const std::string& sKommando,
                                                         const std::string& sParameter, int viewTyp,
                                                         int fehlerKeineFeldID) {
  if (!IsNumeric(sParameter)) {
    SetError(fehlerKeineFeldID, {sKommando});
    return std::nullopt;
  }
  const int feldID = RoundToLong(sParameter);
  if (act_->AktuellerViewTyp() != viewTyp) {
    SetError(msg::kWrongActView, {sKommando});
    return std::nullopt;
  }
  std::string value = act_->getFeldwert(feldID, viewTyp);
  const std::string teil = HoleFeld(sKommando, ",", 3);
  const std::string trennzeichen = HoleFeld(sKommando, ",", 4);
  if (!teil.empty() && !trennzeichen.empty()) {
    const int nummer = RoundToLong(teil);
    value = HoleFeld(value, AnsiCharacter(RoundToLong(trennzeichen)), nummer);
  }
  return value;
}

std::optional<int> clACTDataParser::IniFeldnummer(const std::string& sDatei,
                                                  const std::string& sSektion,
                                                  const std::string& sSchluessel) {
  const std::string erster =
      HoleFeld(modIniDatei::LeseIniWert(sDatei, sSektion, sSchluessel, ""), "|", 1);
  if (erster.empty()) {
    SetError(msg::kMissingIniEntry, {sSchluessel, sDatei, sSektion});
    return std::nullopt;
  }
  if (!IsNumeric(erster)) {
    SetError(msg::kIniValueNotNumeric, {sSchluessel, sDatei, sSektion});
    return std::nullopt;
  }
  return RoundToLong(erster);
}

bool clACTDataParser::LinkProductReady(const std::string& sDatei, const std::string& sKommando) {
  if (!IsRegularFile(modIniDatei::IniPfad(sDatei))) {
    SetError(msg::kFileNotFound, {LibraryFolder() + VN_PATH_SEP + sDatei});
    return false;
  }
  if (act_->AktuellerViewTyp() != avKontakt) {
    SetError(msg::kWrongActView, {sKommando});
    return false;
  }
  return true;
}

std::optional<std::string> clACTDataParser::Brimlow(const std::string& sKommando,
                                                    const std::string& sParameter) {
  static const std::string kDatei = "Brimlow.ini";
  static const std::string kSektion = "Brimlow";
  if (!LinkProductReady(kDatei, sKommando)) return std::nullopt;
  std::string schluessel;
  if (sParameter == "nummer" || sParameter == "number") {
    schluessel = "ID_Nummer";
  } else if (sParameter == "mandant") {
    schluessel = "ID_Mandant";
  } else if (sParameter == "typ") {
    schluessel = "ID_Typ";
  } else {
    SetError(msg::kUnknownParameter, {sKommando});
    return std::nullopt;
  }
  std::optional<int> feldID = IniFeldnummer(kDatei, kSektion, schluessel);
  if (!feldID) return std::nullopt;
  std::string value = act_->getFeldwert(*feldID, avKontakt);
  if (sParameter == "mandant") {
    const std::string pfad = modIniDatei::LeseIniWert(kDatei, kSektion, "PCKpfad", "");
    if (pfad.empty()) {
      SetError(msg::kNoMandant);
      return std::nullopt;
    }
    const std::string datei = pfad + value;
    const std::string vorhanden = ExistingFile(datei);
    if (vorhanden.empty()) {
      SetError(msg::kNoMandantFile, {datei});
      return std::nullopt;
    }
    value = vorhanden;
  }
  return value;
}

std::optional<std::string> clACTDataParser::Tessaran(const std::string& sKommando,
                                                     const std::string& sParameter) {
  static const std::string kDatei = "Tessaran.ini";
  static const std::string kSektion = "Tessaran";
  if (!LinkProductReady(kDatei, sKommando)) return std::nullopt;
  std::string schluessel;
  if (sParameter == "kunde" || sParameter == "debitor") {
    schluessel = "ID_Debitor";
  } else if (sParameter == "lieferant" || sParameter == "kreditor") {
    schluessel = "ID_Kreditor";
  } else if (sParameter == "typ") {
    schluessel = "ID_Typ";
  } else if (sParameter == "mandant" || sParameter == "adresse" ||
             sParameter == "ansprechpartner") {
    schluessel = "ID_Code";
  } else if (sParameter == "odbc") {
    schluessel = "ODBC";
  } else {
    SetError(msg::kUnknownParameter, {sKommando});
    return std::nullopt;
  }
  if (sParameter == "odbc") {
    const std::string odbc = modIniDatei::LeseIniWert(kDatei, kSektion, schluessel, "");
    if (odbc.empty()) {
      SetError(msg::kMissingIniEntry, {schluessel, kDatei, kSektion});
      return std::nullopt;
    }
    return ReplaceAll(odbc, "ODBC;", "");
  }
  std::optional<int> feldID = IniFeldnummer(kDatei, kSektion, schluessel);
  if (!feldID) return std::nullopt;
  std::string value = act_->getFeldwert(*feldID, avKontakt);
  struct Teil {
    const char* parameter;
    long nummer;
    const char* name;
  };
  for (const Teil& teil : {Teil{"mandant", 2, "Mandanten"}, Teil{"adresse", 3, "Adress"},
                           Teil{"ansprechpartner", 4, "Anprechpartner"}}) {
    if (sParameter != teil.parameter) continue;
    value = HoleFeld(value, ",", teil.nummer);
    if (value.empty()) {
      SetError(msg::kNoOfficeLineNumber, {teil.name});
      return std::nullopt;
    }
  }
  return value;
}

}  // namespace vn
