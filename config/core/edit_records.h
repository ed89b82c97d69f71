// EditRecords: what the configuration window needs from the records it edits (one table of the
// configuration database, opened client-side with batch updates), and the four notifications
// it receives from them. The data layer's recordsets are adapted to it (TableRecords).
#pragma once

#include <string>
#include <vector>

#include "data/recordset.h"
#include "data/variant.h"
#include "platform/runtime_error.h"

namespace vn::config {

// The data layer's record status flags, notification reasons and position values, by their
// ADO names.
using enum data::RecordStatus;
using enum data::EventReason;
using enum data::Position;

class EditRecords;

// A field as the "fields changed" notification reports it: name and new value.
struct ChangedField {
  std::string name;
  vn::data::Variant value;
};

// The "...Complete" notifications; raised after the operation, also when it failed (a refused
// UpdateBatch passes its failure as `error`, otherwise `error` is nullptr).
class EditRecordsEvents {
 public:
  virtual ~EditRecordsEvents() = default;
  virtual void FieldChangeComplete(EditRecords& records,
                                   const std::vector<ChangedField>& fields) = 0;
  virtual void MoveComplete(EditRecords& records, int reason) = 0;
  virtual void RecordChangeComplete(EditRecords& records, int reason, long recordCount,
                                    const vn::RuntimeError* error) = 0;
  virtual void RecordsetChangeComplete(EditRecords& records, int reason) = 0;
};

// Every operation that fails throws vn::RuntimeError with the provider's number and
// description (3021 when there is no current row).
class EditRecords {
 public:
  virtual ~EditRecords() = default;

  // "rstabRubriken", "rstabDaten" or "rstabZuordnungen".
  virtual std::string Name() const = 0;
  virtual bool IsOpen() const = 0;

  virtual bool Bof() const = 0;
  virtual bool Eof() const = 0;
  virtual long RecordCount() const = 0;
  // 1-based position of the current row, or a data::Position value.
  virtual long AbsolutePosition() const = 0;
  // Status of the current row (a sum of data::RecordStatus flags).
  virtual long Status() const = 0;
  // Whether the records stand on a row, neither before the first nor past the last: its status
  // and bookmark can be read, also when it has been deleted.
  bool OnRow() const { return !Bof() && !Eof(); }
  // Whether there is a current row whose values can be read: on a row that is not deleted.
  bool HasCurrentRow() const { return OnRow() && (Status() & adRecDeleted) == 0; }
  // The current row's bookmark (positive), and a move to the row a bookmark names.
  virtual long Bookmark() const = 0;
  virtual void SetBookmark(long bookmark) = 0;

  virtual void MoveFirst() = 0;
  virtual void MovePrevious() = 0;
  virtual void MoveNext() = 0;
  virtual void MoveLast() = 0;

  virtual void AddNew() = 0;
  // Writes all pending changes in one transaction; on failure nothing is written.
  virtual void UpdateBatch() = 0;
  // Drops the edit buffer of the current row (an added row disappears again).
  virtual void CancelUpdate() = 0;
  // Drops the edit buffer and every pending change not yet written (revives pending deletions);
  // the current row stays current if it still exists, otherwise the first row becomes current.
  virtual void CancelBatch() = 0;
  virtual void Delete() = 0;
  // Commits the current row's edit buffer into the pending changes (no events when unchanged).
  virtual void Update() = 0;
  virtual void Requery() = 0;
  // True while the current row's edit buffer or any pending change is not yet written.
  virtual bool IsChanged() const = 0;

  // The value of a column of the current row, and an assignment to it.
  virtual vn::data::Variant Value(const std::string& column) const = 0;
  virtual void SetValue(const std::string& column, const vn::data::Variant& value) = 0;

  // Who hears the notifications (nullptr: nobody).
  virtual void SetEvents(EditRecordsEvents* events) = 0;

  // Searches forward from the current row for "column=value" (past the end when none meets
  // it), and shows only the rows that meet criteria joined by " AND " ("" shows all again).
  // Records that cannot search refuse with 3251.
  virtual void Find(const std::string& criteria);
  virtual void SetFilter(const std::string& criteria);
};

inline void EditRecords::Find(const std::string&) {
  throw vn::RuntimeError(3251, "Operation is not supported by these records.");
}
inline void EditRecords::SetFilter(const std::string&) {
  throw vn::RuntimeError(3251, "Operation is not supported by these records.");
}

}  // namespace vn::config
