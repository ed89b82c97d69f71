#include "config/core/table_records.h"

namespace vn::config {

TableRecords::TableRecords(std::string name, std::shared_ptr<vn::data::Recordset> recordset)
    : name_(std::move(name)), recordset_(std::move(recordset)) {
  recordset_->SetEvents(this);
}

TableRecords::~TableRecords() {
  if (recordset_->IsOpen()) recordset_->SetEvents(nullptr);
}

void TableRecords::FieldChangeComplete(vn::data::Recordset&,
                                       const std::vector<vn::data::FieldChange>& fields) {
  if (events_ == nullptr) return;
  std::vector<ChangedField> changed;
  for (const auto& field : fields) changed.push_back({field.name, field.value});
  events_->FieldChangeComplete(*this, changed);
}

void TableRecords::MoveComplete(vn::data::Recordset&, int reason) {
  if (events_ != nullptr) events_->MoveComplete(*this, reason);
}

void TableRecords::RecordChangeComplete(vn::data::Recordset&, int reason, long recordCount,
                                        const vn::RuntimeError* error) {
  if (events_ != nullptr) events_->RecordChangeComplete(*this, reason, recordCount, error);
}

void TableRecords::RecordsetChangeComplete(vn::data::Recordset&, int reason) {
  if (events_ != nullptr) events_->RecordsetChangeComplete(*this, reason);
}

}  // namespace vn::config
