#include "handler/html_menu.h"

#include <cmath>
#include <exception>
#include <limits>

#include "act/act_data_parser.h"
#include "platform/module_path.h"
#include "platform/text.h"
#include "render/format_field_value.h"
#include "resources/res_text.h"

namespace vn {

namespace {

const char* const kCrLf = "\r\n";

// The number at the start of a text as Visual Basic's Val reads it (blanks skipped, point as
// decimal separator), rounded half to even; 0 when the text starts with no number.
int LeadingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i++] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  value = std::nearbyint(negative ? -value : value);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// A column of the current row as the page shows it.
std::string ColumnText(const data::Recordset& rs, int columnId) {
  return FormatFieldValue(rs.Fields(ResText(columnId)));
}

}  // namespace

clHTMLMenu::clHTMLMenu() = default;

clHTMLMenu::~clHTMLMenu() { CloseAll(); }

void clHTMLMenu::CloseAll() noexcept {
  try {
    if (eintraege_) eintraege_->Close();
  } catch (...) {
  }
  try {
    if (rubriken_) rubriken_->Close();
  } catch (...) {
  }
  try {
    if (connection_) connection_->Close();
  } catch (...) {
  }
}

bool clHTMLMenu::Init(const std::string& strRubrik, clACTDataParser* ACTDataParser,
                      const std::string& strConfigurationPath,
                      const std::string& strResourcePath) {
  error_.Init("clHTMLMenu", strResourcePath);
  rubrik_ = strRubrik;
  if (ACTDataParser == nullptr) {
    error_.SetError(184);
    return false;
  }
  parser_ = ACTDataParser;
  databasePath_ =
      (strConfigurationPath.empty() ? LibraryFolder() : strConfigurationPath) + ResText(1001);
  connectionString_ = ResText(1002, databasePath_);
  sql_ = ResText(1003, ResText(1004), ResText(1004), ResText(1014));

  try {
    connection_ = std::make_unique<data::Connection>();
    connection_->SetConnectionString(connectionString_);
    // The library only reads the configuration; the configuration program may be writing.
    connection_->SetMode(data::adModeRead);
    connection_->Open({}, {}, {}, -1);
  } catch (const std::exception&) {
    error_.SetError(101, {connectionString_});
    return false;
  }

  try {
    rubriken_ = std::make_unique<data::Recordset>();
    rubriken_->Open(sql_, *connection_, data::adOpenForwardOnly, data::adLockUnspecified, -1);
  } catch (const std::exception&) {
    error_.SetError(102, {sql_});
    return false;
  }
  if (rubriken_->Bof() && rubriken_->Eof()) {
    error_.SetError(181, {ResText(1004)});
    return false;
  }

  // The name stands inside a double-quoted literal, where only a double quote can end it:
  // doubling it keeps every name a literal. An apostrophe is an ordinary character there, so
  // it stays single (doubled, a name such as O'Neil could never be found).
  const std::string name = ReplaceAll(rubrik_, "\"", "\"\"");
  sql_ = ResText(1009, name);
  try {
    eintraege_ = std::make_unique<data::Recordset>();
    eintraege_->Open(sql_, *connection_, data::adOpenForwardOnly, data::adLockReadOnly, -1);
  } catch (const std::exception&) {
    error_.SetError(102, {sql_});
    return false;
  }

  daten_.clear();
  if (!(eintraege_->Bof() && eintraege_->Eof())) {
    try {
      while (!eintraege_->Eof()) {
        clDaten& d = daten_.emplace_back();
        d.Bemerkung = ColumnText(*eintraege_, 1008);
        d.DatenQuelle = ColumnText(*eintraege_, 1011);
        d.Format = LeadingNumber(ColumnText(*eintraege_, 1013));
        d.Abfrage = ColumnText(*eintraege_, 1012);
        d.Titel = ColumnText(*eintraege_, 1010);
        d.Rubrik = ColumnText(*eintraege_, 1006);
        eintraege_->MoveNext();
      }
    } catch (const std::exception&) {
      error_.SetError(105);
      return false;
    }
  }
  state_ = 1;
  return true;
}

const clDaten* clHTMLMenu::Daten(int Index) {
  if (Index < 0 || Index >= AnzahlDaten()) {
    error_.SetError(183, {"Index=" + std::to_string(Index)});
    return nullptr;
  }
  return &daten_[static_cast<size_t>(Index)];
}

std::string clHTMLMenu::GetNext() {
  switch (state_) {
    case 0:
      return "Initialisierung<br>";
    case 1:
      state_ = 2;
      return "";
    case 2:
      return MenuBar();
    case 3:
      return Heading();
    default:
      return "";
  }
}

std::string clHTMLMenu::MenuBar() {
  const std::string spacer =
      ResText(312, ResText(404, 10)) + ResText(606) + ResText(313) + kCrLf;
  std::string s = ResText(308, ResText(706)) + ResText(310);
  int n = 0;
  try {
    while (!rubriken_->Eof()) {
      s += spacer;
      ++n;
      std::string menuetext = ColumnText(*rubriken_, 1007);
      const std::string rubrik = ColumnText(*rubriken_, 1006);
      menuetext = parser_->Parse(menuetext);
      if (parser_->ErrNumber() != 100) {
        error_.SetError(160, {parser_->ErrDescription()});
        return s;
      }
      const std::string link = ResText(651, ResText(652, rubrik));
      const bool selected = rubrik == rubrik_;
      if (selected) {
        bemerkung_ = ColumnText(*rubriken_, 1008);
        titel_ = ColumnText(*rubriken_, 1010);
      }
      s += ResText(312, ResText(404, 100) + ResText(406, ResText(605)) +
                            ResText(412, ResText(613, selected ? 1 : 0)) + ResText(504, link));
      if (selected) {
        s += ResText(324, ResText(412, ResText(614, 1)));
      } else {
        s += ResText(324, ResText(412, ResText(614, 0)) + ResText(504, link));
      }
      s += menuetext + ResText(325);
      s += ResText(313) + kCrLf;
      rubriken_->MoveNext();
      ++n;
    }
  } catch (const std::exception&) {
    error_.SetError(105);
    return s;
  }
  s += spacer;
  ++n;
  s += ResText(311) + kCrLf + ResText(309) + kCrLf;
  s += ResText(308, ResText(706) + ResText(404, "100%")) + ResText(310) +
       ResText(312, ResText(408, n) + ResText(412, ResText(613, 2))) +
       ResText(316, ResText(404, 1) + ResText(405, 8) + ResText(403, "")) + ResText(313) + kCrLf +
       ResText(311) + kCrLf + ResText(309) + kCrLf;
  state_ = 3;
  return s;
}

std::string clHTMLMenu::Heading() {
  std::string s = ResText(322, ResText(412, ResText(611, 1)));
  const std::string titel = parser_->Parse(titel_);
  if (parser_->ErrNumber() != 100) {
    error_.SetError(160, {parser_->ErrDescription()});
    return s;
  }
  if (!TrimSpaces(titel).empty()) s += titel + ResText(320);
  const std::string bemerkung = parser_->Parse(bemerkung_);
  if (parser_->ErrNumber() != 100) {
    error_.SetError(160, {parser_->ErrDescription()});
    return s;
  }
  if (!TrimSpaces(bemerkung).empty()) {
    s += ResText(324, ResText(412, ResText(611, 2))) + bemerkung + ResText(325);
  }
  s += ResText(323);
  state_ = 4;
  return s;
}

}  // namespace vn
