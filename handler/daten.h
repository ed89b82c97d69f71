// clDaten: one data entry of a rubric as the rubric menu loads it from the configuration
// database (title, connection string, query, display format, remark); a plain record.
#pragma once

#include <string>

namespace vn {

struct clDaten {
  std::string Rubrik;
  std::string Titel;
  std::string DatenQuelle;  // connection string of the entry's data source
  std::string Abfrage;      // the entry's query
  int Format = 0;           // Format_ID: chooses the renderer of the entry
  std::string Bemerkung;
};

}  // namespace vn
