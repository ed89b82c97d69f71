// ClientCursor: the client-side static cursor behind a navigable or editing Recordset. It holds
// every row of the statement with its bookmark, status and original values, keeps edits as
// pending changes, and writes them back through the provider's RowWriter in one transaction.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/cursor.h"
#include "data/edit_criteria.h"
#include "data/recordset.h"
#include "data/row_writer.h"

namespace vn::data {

class ClientCursor : public Cursor {
 public:
  using Loader = std::function<std::unique_ptr<Cursor>()>;

  // Reads all rows through `loader` (run again by Requery). With a target, the rows can be
  // edited and written back.
  ClientCursor(Loader loader, std::optional<UpdateTarget> target);

  void SetOwner(Recordset* owner, RecordsetEvents* events) {
    owner_ = owner;
    events_ = events;
  }
  void SetEvents(RecordsetEvents* events) { events_ = events; }

  // Cursor
  const std::vector<Column>& Columns() const override { return columns_; }
  bool Bof() const override { return bof_; }
  bool Eof() const override { return eof_; }
  void MoveNext() override;
  std::unique_ptr<Cursor> Clone() const override;
  long RecordCount() const override;
  Variant Value(size_t column) const override;

  void MoveFirst();
  void MovePrevious();
  void MoveLast();
  long AbsolutePosition() const;
  long Bookmark() const;
  void SetBookmark(long bookmark);
  long Status() const;
  int EditMode() const { return editMode_; }
  bool Updatable() const { return target_.has_value(); }

  void Find(const std::string& criteria, long skipRows, int direction);
  void SetFilter(const std::string& criteria);
  const std::string& Filter() const { return filterText_; }

  void SetValue(size_t column, const Variant& value);
  void AddNew();
  void Update();
  void UpdateBatch();
  void CancelUpdate();
  void CancelBatch();
  void Delete();
  void Requery();
  void Close();
  bool HasPendingChanges() const;

 private:
  struct ClientRow {
    long bookmark = 0;
    Row values;
    Row original;        // as read or as last written
    long status = 0;     // RecordStatus flags
    bool stored = true;  // the row exists in the database
    bool gone = false;   // deleted: out of the rows shown
  };

  void Load();
  bool Visible(long index) const;
  bool OnRow() const { return !bof_ && !eof_; }
  const ClientRow& CurrentRow(const char* where) const;
  void RequireUpdatable(const char* where) const;
  void RequireRow(const char* where) const;
  // Puts the cursor on row `index`; -1: BOF and EOF, no row left.
  void MoveTo(long index, int reason);
  void SetPastEnd(bool forward, int reason);
  long FirstVisible() const;  // -1 when none
  long LastVisible() const;
  bool IsPending(const ClientRow& row) const;

  // One statement of a batch save with its `?` parameters.
  struct WriteStatement {
    std::string sql;
    std::vector<Variant> parameters;
  };
  // Writes the pending rows in one transaction; on failure nothing is written and the failing
  // row (or every row, when the transaction itself fails) carries the reason.
  void Write(const std::vector<size_t>& pending);
  WriteStatement DeleteStatement(const ClientRow& row) const;
  // Nullopt when no column of the row changed.
  std::optional<WriteStatement> UpdateStatement(const ClientRow& row) const;
  WriteStatement InsertStatement(const ClientRow& row) const;
  Variant WrittenValue(const ClientRow& row, size_t column) const;
  std::string KeyCondition(const ClientRow& row, std::vector<Variant>& parameters) const;
  void MarkWritten(const std::vector<size_t>& pending,
                   const std::vector<std::pair<size_t, Variant>>& assigned);

  void RaiseMove(int reason);
  void RaiseRecord(int reason, long count, const RuntimeError* error = nullptr);
  void RaiseRecordset(int reason);

  Loader loader_;
  std::optional<UpdateTarget> target_;
  std::vector<Column> columns_;
  std::vector<ClientRow> rows_;
  long cur_ = -1;  // row index; -1 at BOF, rows_.size() at EOF
  bool bof_ = true;
  bool eof_ = true;
  int editMode_ = 0;  // EditMode
  Row beforeEdit_;    // the current row's values before the edit buffer changed
  long beforeAdd_ = -1;
  long nextBookmark_ = 1;
  std::string filterText_;
  std::optional<Criteria> filter_;
  Recordset* owner_ = nullptr;
  RecordsetEvents* events_ = nullptr;
};

}  // namespace vn::data
