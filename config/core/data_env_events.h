// The handlers of the table recordsets' notifications: trace lines for the debug box, the edit
// mode after a move or a save, and the record-position text after a save or a deletion.
#pragma once

#include <string>

#include "config/core/edit_records.h"

namespace vn::config {

class KonfigurationWindow;

class DataEnvEvents : public EditRecordsEvents {
 public:
  explicit DataEnvEvents(KonfigurationWindow& window) : window_(window) {}

  void FieldChangeComplete(EditRecords& records, const std::vector<ChangedField>& fields) override;
  void MoveComplete(EditRecords& records, int reason) override;
  void RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                            const vn::RuntimeError* error) override;
  void RecordsetChangeComplete(EditRecords& records, int reason) override;

  // "Fields Changed " + name, then "n. field=value" for each field.
  void LogChangedFields(const std::string& name, const std::vector<ChangedField>& fields);

 private:
  KonfigurationWindow& window_;
};

// A value in its default text form (NULL and empty give "").
std::string VariantText(const vn::data::Variant& value);

}  // namespace vn::config
