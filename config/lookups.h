// LookupSource: the look-up lists behind the window's list fields ("rsluRubriken": ID_Rubrik and
// Rubrik in Rang order, "rsluDaten": ID_Daten and Titel, "rsluDatenFormate": ID_Format and
// Beschreibung). Read afresh whenever a tab's data is refreshed.
#pragma once

#include <string>
#include <vector>

#include "data/variant.h"

namespace vn::config {

struct LookupRow {
  vn::data::Variant id;  // the stored value
  std::string text;      // the shown value
};

class LookupSource {
 public:
  virtual ~LookupSource() = default;
  // Re-queries the named look-up and returns its rows in order. Throws vn::RuntimeError.
  virtual std::vector<LookupRow> Rows(const std::string& name) = 0;
};

}  // namespace vn::config
