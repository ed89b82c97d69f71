// The handlers of the table recordsets' notifications: trace lines for the debug box, the edit
// mode after a move or a save, and the record-position text after a save or a deletion.
#pragma once

#include <QString>

#include "config/edit_records.h"

namespace vn::config {

class frmKonfiguration;

class DataEnvEvents : public EditRecordsEvents {
 public:
  explicit DataEnvEvents(frmKonfiguration& window) : window_(window) {}

  void FieldChangeComplete(EditRecords& records, const std::vector<ChangedField>& fields) override;
  void MoveComplete(EditRecords& records, int reason) override;
  void RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                            const vn::RuntimeError* error) override;
  void RecordsetChangeComplete(EditRecords& records, int reason) override;

  // "Fields Changed " + name, then "n. field=value" for each field.
  void LogChangedFields(const QString& name, const std::vector<ChangedField>& fields);

 private:
  frmKonfiguration& window_;
};

// A value in its default text form (NULL and empty give "").
QString VariantText(const vn::data::Variant& value);

}  // namespace vn::config
