// Rows in memory behind the window's records interface, with the batch editing, positions,
// statuses and notification order of the data layer's client-side recordsets. The "database"
// is a plain list of rows that only UpdateBatch changes, all or nothing.
#pragma once

#include <string>
#include <vector>

#include "config/edit_records.h"

namespace vn::config::testing {

using Row = std::vector<vn::data::Variant>;

class MemoryRecords : public EditRecords {
 public:
  // The first column is the identifier the database assigns.
  MemoryRecords(std::string name, std::vector<std::string> columns);

  std::vector<Row> database;      // what is stored
  bool failNextUpdateBatch = false;  // the next UpdateBatch fails as a locked database does
  std::vector<std::string> eventLog;  // "Move 12", "Record 3", ...

  std::string Name() const override { return name_; }
  bool IsOpen() const override { return true; }
  bool Bof() const override { return bof_; }
  bool Eof() const override { return eof_; }
  long RecordCount() const override;
  long AbsolutePosition() const override;
  long Status() const override;
  long Bookmark() const override;
  void SetBookmark(long bookmark) override;
  void MoveFirst() override;
  void MovePrevious() override;
  void MoveNext() override;
  void MoveLast() override;
  void AddNew() override;
  void UpdateBatch() override;
  void CancelUpdate() override;
  void CancelBatch() override;
  void Delete() override;
  void Update() override;
  void Requery() override;
  vn::data::Variant Value(const std::string& column) const override;
  void SetValue(const std::string& column, const vn::data::Variant& value) override;
  void SetEvents(EditRecordsEvents* events) override { events_ = events; }

 private:
  struct Cached {
    long bookmark;
    Row values;
    Row original;
    long status;
    bool deleted = false;  // pending or sent deletion: out of the view
  };
  bool OnRow() const { return !bof_ && !eof_; }
  const Cached& Current() const;
  std::vector<size_t> Visible() const;
  int ColumnIndex(const std::string& column) const;
  void Position(long index, int reason);  // index into rows_, -1 none
  void MoveComplete(int reason);
  void RecordChange(int reason, long count = 1);

  std::string name_;
  std::vector<std::string> columns_;
  std::vector<Cached> rows_;
  long cur_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  int edit_ = 0;  // 0 none, 1 changed, 2 added
  long beforeAdd_ = -1;
  long nextBookmark_ = 1;
  EditRecordsEvents* events_ = nullptr;
};

}  // namespace vn::config::testing
