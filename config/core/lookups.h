// LookupSource: the look-up lists behind the window's list fields ("rsluRubriken": ID_Rubrik and
// Rubrik in Rang order, "rsluDaten": ID_Daten and Titel, "rsluDatenFormate": ID_Format and
// Beschreibung), and the shaped look-up of the assignment tree ("rsluZuordnungenRubriken").
// Read afresh whenever a tab's data is refreshed.
#pragma once

#include <memory>
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
  // Re-queries the named shaped look-up and returns it on its first row; nullptr when this
  // source has none. Throws vn::RuntimeError.
  virtual std::shared_ptr<vn::data::Recordset> Hierarchy(const std::string& /*name*/) {
    return nullptr;
  }
};

}  // namespace vn::config
