#include "config/core/access_conversion.h"

#include "config/convert/config_converter.h"
#include "config/core/texts.h"
#include "config_schema.h"
#include "data/database_file.h"
#include "platform/runtime_error.h"

namespace vn::config {

AccessConversion OfferAccessConversion(const std::string& configPath, Prompts& prompts) {
  const data::DatabaseFileKind kind = data::KindOfDatabaseFile(configPath);
  if (kind != data::DatabaseFileKind::kJet3 && kind != data::DatabaseFileKind::kJet4 &&
      kind != data::DatabaseFileKind::kAce) {
    return AccessConversion::kNotNeeded;
  }
  const std::string kept = KeptOriginalPath(configPath);
  if (prompts.Message(texts::ConvertAccessQuestion(configPath, kept), MsgIcon::kQuestion,
                      MsgButtons::kYesNo) != MsgResult::kYes) {
    prompts.Message(texts::kAccessKept, MsgIcon::kInformation);
    return AccessConversion::kRefused;
  }
  try {
    // The Jet provider reads the file as a page would: Windows' Access driver, or on Linux
    // mdbtools' snapshot.
    std::string quoted;  // a folder's name may hold a ";"
    for (char c : configPath) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    ConvertConfigDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + quoted + "\"",
                          configPath, kConfigSchemaSql);
  } catch (const RuntimeError& e) {
    prompts.Message(texts::AccessNotConverted(e.Description()), MsgIcon::kExclamation);
    return AccessConversion::kFailed;
  }
  prompts.Message(texts::AccessConverted(kept), MsgIcon::kInformation);
  return AccessConversion::kConverted;
}

}  // namespace vn::config
