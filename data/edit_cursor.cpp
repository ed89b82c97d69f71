#include "data/edit_cursor.h"

#include "data/errors.h"
#include "data/field.h"
#include "data/sql_values.h"
#include "platform/text.h"

namespace vn::data {

namespace {

constexpr long kPendingFlags = adRecNew | adRecModified | adRecDeleted;
constexpr long kRowFlags = kPendingFlags | adRecUnmodified;

[[noreturn]] void NoCurrentRecord(const char* where) {
  throw RuntimeError(kErrNoCurrentRecord,
                     "Either BOF or EOF is True, or the current record has been deleted. "
                     "Requested operation requires a current record.",
                     where);
}

}  // namespace

ClientCursor::ClientCursor(Loader loader, std::optional<UpdateTarget> target)
    : loader_(std::move(loader)), target_(std::move(target)) {
  Load();
  long first = FirstVisible();
  cur_ = first;
  bof_ = eof_ = first < 0;
}

void ClientCursor::Load() {
  auto cursor = loader_();
  std::vector<ClientRow> rows;
  while (!cursor->Eof()) {
    ClientRow row;
    row.bookmark = nextBookmark_++;
    row.values.reserve(cursor->Columns().size());
    for (size_t i = 0; i < cursor->Columns().size(); ++i) row.values.push_back(cursor->Value(i));
    row.original = row.values;
    row.status = adRecUnmodified;
    rows.push_back(std::move(row));
    cursor->MoveNext();
  }
  columns_ = cursor->Columns();
  rows_ = std::move(rows);
  if (target_ && target_->baseColumns.size() != columns_.size()) target_.reset();
}

// Positions and moves ----------------------------------------------------------------------------

bool ClientCursor::Visible(long index) const {
  if (index < 0 || index >= static_cast<long>(rows_.size())) return false;
  const ClientRow& row = rows_[static_cast<size_t>(index)];
  return !row.gone && (!filter_ || filter_->Matches(row.values));
}

long ClientCursor::FirstVisible() const {
  for (long i = 0; i < static_cast<long>(rows_.size()); ++i) {
    if (Visible(i)) return i;
  }
  return -1;
}

long ClientCursor::LastVisible() const {
  for (long i = static_cast<long>(rows_.size()) - 1; i >= 0; --i) {
    if (Visible(i)) return i;
  }
  return -1;
}

long ClientCursor::RecordCount() const {
  long count = 0;
  for (long i = 0; i < static_cast<long>(rows_.size()); ++i) count += Visible(i) ? 1 : 0;
  return count;
}

long ClientCursor::AbsolutePosition() const {
  if (FirstVisible() < 0) return adPosUnknown;
  if (bof_) return adPosBOF;
  if (eof_) return adPosEOF;
  if (!Visible(cur_)) return adPosUnknown;
  long position = 1;
  for (long i = 0; i < cur_; ++i) position += Visible(i) ? 1 : 0;
  return position;
}

const ClientCursor::ClientRow& ClientCursor::CurrentRow(const char* where) const {
  if (!OnRow()) NoCurrentRecord(where);
  return rows_[static_cast<size_t>(cur_)];
}

void ClientCursor::RequireRow(const char* where) const {
  if (CurrentRow(where).gone) NoCurrentRecord(where);
}

void ClientCursor::RequireUpdatable(const char* where) const {
  if (!target_) {
    throw RuntimeError(kErrFeatureNotAvailable,
                       "Current Recordset does not support updating. This may be a limitation of "
                       "the provider, or of the selected locktype.",
                       where);
  }
}

void ClientCursor::MoveTo(long index, int reason) {
  if (index < 0) {
    cur_ = -1;
    bof_ = eof_ = true;
  } else {
    cur_ = index;
    bof_ = eof_ = false;
  }
  RaiseMove(reason);
}

void ClientCursor::SetPastEnd(bool forward, int reason) {
  const bool none = FirstVisible() < 0;
  if (forward) {
    cur_ = static_cast<long>(rows_.size());
    eof_ = true;
    bof_ = none;
  } else {
    cur_ = -1;
    bof_ = true;
    eof_ = none;
  }
  RaiseMove(reason);
}

void ClientCursor::MoveFirst() {
  if (bof_ && eof_) NoCurrentRecord("Recordset.MoveFirst");
  Update();
  MoveTo(FirstVisible(), adRsnMoveFirst);
}

void ClientCursor::MoveLast() {
  if (bof_ && eof_) NoCurrentRecord("Recordset.MoveLast");
  Update();
  MoveTo(LastVisible(), adRsnMoveLast);
}

void ClientCursor::MoveNext() {
  if (eof_) NoCurrentRecord("Recordset.MoveNext");
  Update();
  for (long i = cur_ + 1; i < static_cast<long>(rows_.size()); ++i) {
    if (Visible(i)) return MoveTo(i, adRsnMoveNext);
  }
  SetPastEnd(true, adRsnMoveNext);
}

void ClientCursor::MovePrevious() {
  if (bof_) NoCurrentRecord("Recordset.MovePrevious");
  Update();
  for (long i = cur_ - 1; i >= 0; --i) {
    if (Visible(i)) return MoveTo(i, adRsnMovePrevious);
  }
  SetPastEnd(false, adRsnMovePrevious);
}

long ClientCursor::Bookmark() const { return CurrentRow("Recordset.Bookmark").bookmark; }

void ClientCursor::SetBookmark(long bookmark) {
  for (long i = 0; i < static_cast<long>(rows_.size()); ++i) {
    if (rows_[static_cast<size_t>(i)].bookmark != bookmark) continue;
    if (!Visible(i)) break;
    Update();
    return MoveTo(i, adRsnMove);
  }
  throw RuntimeError(kErrInvalidArgument,
                     "Arguments are of the wrong type, are out of acceptable range, or are in "
                     "conflict with one another (no row has the bookmark " +
                         std::to_string(bookmark) + ").",
                     "Recordset.Bookmark");
}

long ClientCursor::Status() const { return CurrentRow("Recordset.Status").status; }

Variant ClientCursor::Value(size_t column) const {
  RequireRow("Field.Value");
  return rows_[static_cast<size_t>(cur_)].values[column];
}

std::unique_ptr<Cursor> ClientCursor::Clone() const {
  auto snapshot = std::make_shared<MaterialisedRowset>();
  snapshot->columns = columns_;
  for (long i = 0; i < static_cast<long>(rows_.size()); ++i) {
    if (Visible(i)) snapshot->rows.push_back(rows_[static_cast<size_t>(i)].values);
  }
  return MakeMaterialisedCursor(std::move(snapshot));
}

// Find and Filter ------------------------------------------------------------------------------

void ClientCursor::Find(const std::string& text, long skipRows, int direction) {
  Criteria criteria(text, columns_, true);
  Update();
  const bool forward = direction != adSearchBackward;
  if (forward ? eof_ : bof_) return RaiseMove(adRsnMove);  // nothing beyond: the position stays
  std::vector<long> view;
  long before = 0;  // rows shown before the current row
  long upTo = 0;    // rows shown up to and including the current row
  for (long i = 0; i < static_cast<long>(rows_.size()); ++i) {
    if (!Visible(i)) continue;
    view.push_back(i);
    if (i < cur_) ++before;
    if (i <= cur_) ++upTo;
  }
  const long size = static_cast<long>(view.size());
  auto matches = [&](long k) {
    return criteria.Matches(rows_[static_cast<size_t>(view[static_cast<size_t>(k)])].values);
  };
  if (forward) {
    for (long k = bof_ ? 0 : before + skipRows; k >= 0 && k < size; ++k) {
      if (matches(k)) return MoveTo(view[static_cast<size_t>(k)], adRsnMove);
    }
    return SetPastEnd(true, adRsnMove);
  }
  for (long k = eof_ ? size - 1 : upTo - 1 - skipRows; k >= 0 && k < size; --k) {
    if (matches(k)) return MoveTo(view[static_cast<size_t>(k)], adRsnMove);
  }
  SetPastEnd(false, adRsnMove);
}

void ClientCursor::SetFilter(const std::string& text) {
  std::optional<Criteria> criteria;
  if (!TrimSpaces(text).empty()) criteria.emplace(text, columns_, false);
  Update();
  filter_ = std::move(criteria);
  filterText_ = filter_ ? text : std::string();
  MoveTo(FirstVisible(), adRsnMove);
}

// Edits --------------------------------------------------------------------------------------

void ClientCursor::SetValue(size_t column, const Variant& value) {
  RequireUpdatable("Field.Value");
  RequireRow("Field.Value");
  if (columns_[column].type == adChapter) {
    throw RuntimeError(kErrIllegalOperation, "A chapter field cannot be assigned.", "Field.Value");
  }
  ClientRow& row = rows_[static_cast<size_t>(cur_)];
  const bool first = editMode_ == adEditNone;
  if (first) {
    beforeEdit_ = row.values;
    editMode_ = adEditInProgress;
  }
  row.values[column] = value;
  if (events_ != nullptr && owner_ != nullptr) {
    events_->FieldChangeComplete(*owner_, {FieldChange{columns_[column].name, value}});
  }
  if (first) RaiseRecord(adRsnFirstChange, 1);
}

void ClientCursor::AddNew() {
  RequireUpdatable("Recordset.AddNew");
  Update();
  beforeAdd_ = OnRow() && Visible(cur_) ? cur_ : -1;
  ClientRow row;
  row.bookmark = nextBookmark_++;
  row.values.assign(columns_.size(), Variant());  // Empty: the database's default on insert
  row.status = adRecNew;
  row.stored = false;
  rows_.push_back(std::move(row));
  cur_ = static_cast<long>(rows_.size()) - 1;
  bof_ = eof_ = false;
  editMode_ = adEditAdd;
  RaiseRecord(adRsnAddNew, 1);
  RaiseMove(adRsnMove);
}

void ClientCursor::Update() {
  if (editMode_ == adEditNone) return;
  ClientRow& row = rows_[static_cast<size_t>(cur_)];
  if ((row.status & adRecNew) == 0)
    row.status = adRecModified | (row.status & ~kRowFlags & ~adRecOK);
  editMode_ = adEditNone;
  beforeEdit_.clear();
  RaiseRecord(adRsnUpdate, 1);
}

void ClientCursor::CancelUpdate() {
  if (editMode_ == adEditAdd) {
    rows_.erase(rows_.begin() + cur_);
    editMode_ = adEditNone;
    // Back on the row current before the addition before anyone hears of it.
    cur_ = Visible(beforeAdd_) ? beforeAdd_ : FirstVisible();
    bof_ = eof_ = cur_ < 0;
    RaiseRecord(adRsnUndoAddNew, 1);
    RaiseMove(adRsnMove);
  } else if (editMode_ == adEditInProgress) {
    rows_[static_cast<size_t>(cur_)].values = beforeEdit_;
    beforeEdit_.clear();
    editMode_ = adEditNone;
    RaiseRecord(adRsnUndoUpdate, 1);
  }
}

void ClientCursor::Delete() {
  RequireUpdatable("Recordset.Delete");
  RequireRow("Recordset.Delete");
  ClientRow& row = rows_[static_cast<size_t>(cur_)];
  if (editMode_ == adEditInProgress) row.values = beforeEdit_;
  editMode_ = adEditNone;
  beforeEdit_.clear();
  row.gone = true;
  row.status = adRecDeleted;
  RaiseRecord(adRsnDelete, 1);
}

bool ClientCursor::IsPending(const ClientRow& row) const {
  if (row.gone) return row.stored && (row.status & adRecDeleted) != 0;
  if (!row.stored) return true;
  return (row.status & adRecModified) != 0;
}

bool ClientCursor::HasPendingChanges() const {
  if (editMode_ != adEditNone) return true;
  for (const ClientRow& row : rows_) {
    if (IsPending(row)) return true;
  }
  return false;
}

void ClientCursor::UpdateBatch() {
  RequireUpdatable("Recordset.UpdateBatch");
  Update();
  std::vector<size_t> pending;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (IsPending(rows_[i])) pending.push_back(i);
  }
  if (pending.empty()) return;
  try {
    Write(pending);
  } catch (const RuntimeError& error) {
    RaiseRecord(adRsnUpdate, static_cast<long>(pending.size()), &error);
    throw;
  }
  RaiseRecord(adRsnUpdate, static_cast<long>(pending.size()));
}

Variant ClientCursor::WrittenValue(const ClientRow& row, size_t column) const {
  // Whole-number columns take whole numbers only: text that holds one is converted, other text
  // is refused, as the database of record refuses it.
  const Variant& v = row.values[column];
  if (IsWholeNumberType(columns_[column].type) && v.Is<std::string>()) {
    const std::optional<std::int64_t> number = ParseWholeNumber(v.As<std::string>());
    if (!number) {
      throw RuntimeError(kErrCantConvert,
                         "The value '" + v.As<std::string>() +
                             "' cannot be stored in the "
                             "field '" +
                             columns_[column].name + "', which holds whole numbers.",
                         "Recordset.UpdateBatch");
    }
    return Variant(*number);
  }
  return v;
}

std::string ClientCursor::KeyCondition(const ClientRow& row,
                                       std::vector<Variant>& parameters) const {
  const UpdateTarget& target = *target_;
  std::string where;
  for (size_t k : target.key) {
    if (!where.empty()) where += " AND ";
    const Variant& v = row.original[k];
    if (v.IsNull() || v.IsEmpty()) {
      where += target.writer->QuoteName(target.baseColumns[k]) + " IS NULL";
    } else {
      where += target.writer->QuoteName(target.baseColumns[k]) + " = ?";
      parameters.push_back(v);
    }
  }
  return where;
}

ClientCursor::WriteStatement ClientCursor::DeleteStatement(const ClientRow& row) const {
  WriteStatement statement;
  statement.sql = "DELETE FROM " + target_->writer->QuoteName(target_->table) + " WHERE " +
                  KeyCondition(row, statement.parameters);
  return statement;
}

std::optional<ClientCursor::WriteStatement> ClientCursor::UpdateStatement(
    const ClientRow& row) const {
  const UpdateTarget& target = *target_;
  const RowWriter& writer = *target.writer;
  WriteStatement statement;
  std::string set;
  // The changed columns must still hold what was read, or another writer came first.
  std::string unchanged;
  std::vector<Variant> criteria;
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (target.baseColumns[c].empty() || row.values[c] == row.original[c]) continue;
    if (!set.empty()) set += ", ";
    set += writer.QuoteName(target.baseColumns[c]) + " = ?";
    statement.parameters.push_back(WrittenValue(row, c));
    const Variant& before = row.original[c];
    unchanged += " AND " + writer.QuoteName(target.baseColumns[c]);
    if (before.IsNull() || before.IsEmpty()) {
      unchanged += " IS NULL";
    } else {
      unchanged += " = ?";
      criteria.push_back(before);
    }
  }
  if (set.empty()) return std::nullopt;
  statement.sql = "UPDATE " + writer.QuoteName(target.table) + " SET " + set + " WHERE " +
                  KeyCondition(row, statement.parameters) + unchanged;
  statement.parameters.insert(statement.parameters.end(), criteria.begin(), criteria.end());
  return statement;
}

ClientCursor::WriteStatement ClientCursor::InsertStatement(const ClientRow& row) const {
  const UpdateTarget& target = *target_;
  const RowWriter& writer = *target.writer;
  WriteStatement statement;
  std::string names;
  std::string marks;
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (target.baseColumns[c].empty() || row.values[c].IsEmpty()) continue;
    if (!names.empty()) {
      names += ", ";
      marks += ", ";
    }
    names += writer.QuoteName(target.baseColumns[c]);
    marks += "?";
    statement.parameters.push_back(WrittenValue(row, c));
  }
  const std::string table = writer.QuoteName(target.table);
  statement.sql = names.empty()
                      ? "INSERT INTO " + table + " DEFAULT VALUES"
                      : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
  return statement;
}

void ClientCursor::Write(const std::vector<size_t>& pending) {
  const UpdateTarget& target = *target_;
  RowWriter& writer = *target.writer;
  for (size_t i : pending) rows_[i].status &= kRowFlags;  // reasons of an earlier failure go

  auto concurrency = [] {
    return RuntimeError(kErrConcurrency,
                        "Row cannot be located for updating. Some values may have been changed "
                        "since it was last read.",
                        "Recordset.UpdateBatch");
  };
  enum class Kind { kDelete, kUpdate, kInsert };
  auto kindOf = [](const ClientRow& row) {
    if (row.gone) return Kind::kDelete;
    return row.stored ? Kind::kUpdate : Kind::kInsert;
  };

  std::vector<std::pair<size_t, Variant>> assigned;
  size_t failing = static_cast<size_t>(-1);
  try {
    writer.Begin();
    // Deletions, then changes, then additions, each in row order.
    for (Kind pass : {Kind::kDelete, Kind::kUpdate, Kind::kInsert}) {
      for (size_t i : pending) {
        const ClientRow& row = rows_[i];
        if (kindOf(row) != pass) continue;
        failing = i;
        if (pass == Kind::kDelete) {
          WriteStatement statement = DeleteStatement(row);
          if (writer.Execute(statement.sql, statement.parameters) == 0) throw concurrency();
        } else if (pass == Kind::kUpdate) {
          std::optional<WriteStatement> statement = UpdateStatement(row);
          if (!statement) continue;
          if (writer.Execute(statement->sql, statement->parameters) == 0) throw concurrency();
        } else {
          WriteStatement statement = InsertStatement(row);
          writer.Execute(statement.sql, statement.parameters);
          if (target.keyAssigned) {
            const Variant& key = row.values[target.key.front()];
            if (key.IsNull() || key.IsEmpty()) assigned.emplace_back(i, writer.LastInsertId());
          }
        }
      }
    }
    failing = static_cast<size_t>(-1);
    writer.Commit();
  } catch (const RuntimeError& error) {
    writer.Rollback();
    const long reason = RecordStatusOfWriteError(error.Number());
    if (failing != static_cast<size_t>(-1)) {
      rows_[failing].status |= reason;
    } else {
      for (size_t i : pending) rows_[i].status |= reason;
    }
    throw;
  }
  MarkWritten(pending, assigned);
}

void ClientCursor::MarkWritten(const std::vector<size_t>& pending,
                               const std::vector<std::pair<size_t, Variant>>& assigned) {
  // The rows now are what the database holds.
  for (const auto& [i, id] : assigned) rows_[i].values[target_->key.front()] = id;
  for (size_t i : pending) {
    ClientRow& row = rows_[i];
    if (row.gone) {
      row.stored = false;  // gone from the database; it stays the deleted current row
      continue;
    }
    for (size_t c = 0; c < columns_.size(); ++c) {
      // Columns the insert left to the database are read as Null until the next Requery.
      if (row.values[c].IsEmpty()) row.values[c] = Variant(Null{});
    }
    row.original = row.values;
    row.stored = true;
    row.status = adRecOK;
  }
}

void ClientCursor::CancelBatch() {
  CancelUpdate();
  const long bookmark = OnRow() ? rows_[static_cast<size_t>(cur_)].bookmark : 0;
  const bool atEnd = eof_ && !bof_;
  const bool atStart = bof_ && !eof_;
  const bool empty = bof_ && eof_;
  long reverted = 0;
  std::vector<ClientRow> kept;
  kept.reserve(rows_.size());
  for (ClientRow& row : rows_) {
    if (!row.stored) {
      // An added row never written goes; so does a row that is no longer in the database.
      if (!row.gone) ++reverted;
      continue;
    }
    if (IsPending(row) || (row.status & ~kRowFlags) != 0) {
      ++reverted;
      row.values = row.original;
      row.gone = false;
      row.status = adRecUnmodified;
    }
    kept.push_back(std::move(row));
  }
  rows_ = std::move(kept);
  // Where the cursor stands now, before anyone hears of the change.
  bool vanished = false;
  if (empty || atEnd || atStart) {
    cur_ = atEnd ? static_cast<long>(rows_.size()) : -1;
    vanished = empty ? FirstVisible() >= 0 : FirstVisible() < 0;
  } else {
    vanished = true;
    for (long i = 0; i < static_cast<long>(rows_.size()); ++i) {
      if (rows_[static_cast<size_t>(i)].bookmark == bookmark && Visible(i)) {
        cur_ = i;
        vanished = false;
      }
    }
    if (vanished) {
      cur_ = -1;
      bof_ = eof_ = true;
    }
  }
  if (reverted > 0) RaiseRecord(adRsnUndoUpdate, reverted);
  if (vanished) MoveTo(FirstVisible(), adRsnMove);
}

void ClientCursor::Requery() {
  if (editMode_ != adEditNone) {
    throw RuntimeError(kErrIllegalOperation,
                       "Operation is not allowed in this context (a record is being edited).",
                       "Recordset.Requery");
  }
  Load();
  cur_ = FirstVisible();
  bof_ = eof_ = cur_ < 0;
  RaiseMove(adRsnRequery);
  RaiseRecordset(adRsnRequery);
}

void ClientCursor::Close() { RaiseRecordset(adRsnClose); }

// Notifications ------------------------------------------------------------------------------

void ClientCursor::RaiseMove(int reason) {
  if (events_ != nullptr && owner_ != nullptr) events_->MoveComplete(*owner_, reason);
}

void ClientCursor::RaiseRecord(int reason, long count, const RuntimeError* error) {
  if (events_ != nullptr && owner_ != nullptr) {
    events_->RecordChangeComplete(*owner_, reason, count, error);
  }
}

void ClientCursor::RaiseRecordset(int reason) {
  if (events_ != nullptr && owner_ != nullptr) events_->RecordsetChangeComplete(*owner_, reason);
}

}  // namespace vn::data
