// TableRecords: one of the data environment's table recordsets (rstabRubriken, rstabDaten,
// rstabZuordnungen) as the records the window edits, with its notifications passed on.
#pragma once

#include <memory>
#include <string>

#include "config/core/edit_records.h"
#include "data/recordset.h"

namespace vn::config {

class TableRecords : public EditRecords, private vn::data::RecordsetEvents {
 public:
  TableRecords(std::string name, std::shared_ptr<vn::data::Recordset> recordset);
  ~TableRecords() override;

  vn::data::Recordset& Recordset() { return *recordset_; }

  std::string Name() const override { return name_; }
  bool IsOpen() const override { return recordset_->IsOpen(); }
  bool Bof() const override { return recordset_->Bof(); }
  bool Eof() const override { return recordset_->Eof(); }
  long RecordCount() const override { return recordset_->RecordCount(); }
  long AbsolutePosition() const override { return recordset_->AbsolutePosition(); }
  long Status() const override { return recordset_->Status(); }
  long Bookmark() const override { return recordset_->Bookmark(); }
  void SetBookmark(long bookmark) override { recordset_->SetBookmark(bookmark); }
  void MoveFirst() override { recordset_->MoveFirst(); }
  void MovePrevious() override { recordset_->MovePrevious(); }
  void MoveNext() override { recordset_->MoveNext(); }
  void MoveLast() override { recordset_->MoveLast(); }
  void AddNew() override { recordset_->AddNew(); }
  void UpdateBatch() override { recordset_->UpdateBatch(); }
  void CancelUpdate() override { recordset_->CancelUpdate(); }
  void CancelBatch() override { recordset_->CancelBatch(); }
  void Delete() override { recordset_->Delete(); }
  void Update() override { recordset_->Update(); }
  void Requery() override { recordset_->Requery(); }
  bool IsChanged() const override {
    return recordset_->EditMode() != vn::data::adEditNone || recordset_->HasPendingChanges();
  }
  vn::data::Variant Value(const std::string& column) const override {
    return recordset_->Fields(column).Value();
  }
  void SetValue(const std::string& column, const vn::data::Variant& value) override {
    recordset_->SetValue(column, value);
  }
  void SetEvents(EditRecordsEvents* events) override { events_ = events; }
  void Find(const std::string& criteria) override { recordset_->Find(criteria); }
  void SetFilter(const std::string& criteria) override { recordset_->SetFilter(criteria); }

 private:
  void FieldChangeComplete(vn::data::Recordset&,
                           const std::vector<vn::data::FieldChange>& fields) override;
  void MoveComplete(vn::data::Recordset&, int reason) override;
  void RecordChangeComplete(vn::data::Recordset&, int reason, long recordCount,
                            const vn::RuntimeError* error) override;
  void RecordsetChangeComplete(vn::data::Recordset&, int reason) override;

  std::string name_;
  std::shared_ptr<vn::data::Recordset> recordset_;
  EditRecordsEvents* events_ = nullptr;
};

}  // namespace vn::config
