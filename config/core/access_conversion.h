// Opening a configuration database in Access' format: the configuration program edits only its
// own format (the library reads both), so it explains that and offers to convert the file.
#pragma once

#include <string>

#include "config/core/prompts.h"

namespace vn::config {

enum class AccessConversion {
  kNotNeeded,  // the file is in the program's own format (or absent): open it as always
  kConverted,  // converted; the original kept beside it
  kRefused,    // the user said no: nothing changed, the program ends
  kFailed,     // the conversion failed and was told: nothing changed, the program ends
};

// Asks through `prompts` when the file at `configPath` is an Access file and, on yes, converts
// it through the Jet provider (the way pages read it) into the program's format, keeping the
// original under KeptOriginalPath. Tells the user the outcome. Call it before the data
// environment opens the file.
AccessConversion OfferAccessConversion(const std::string& configPath, Prompts& prompts);

}  // namespace vn::config
