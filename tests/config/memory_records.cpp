#include "memory_records.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace vn::config::testing {

namespace {
[[noreturn]] void NoCurrentRow() {
  throw vn::RuntimeError(3021, "Either BOF or EOF is True, or the current record has been deleted.");
}
}  // namespace

MemoryRecords::MemoryRecords(std::string name, std::vector<std::string> columns)
    : name_(std::move(name)), columns_(std::move(columns)) {}

std::vector<size_t> MemoryRecords::Visible() const {
  std::vector<size_t> visible;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (!rows_[i].deleted) visible.push_back(i);
  return visible;
}

long MemoryRecords::RecordCount() const { return static_cast<long>(Visible().size()); }

long MemoryRecords::AbsolutePosition() const {
  if (!OnRow()) return Visible().empty() ? adPosUnknown : (bof_ ? adPosBOF : adPosEOF);
  if (rows_[cur_].deleted) return adPosUnknown;
  const auto visible = Visible();
  return static_cast<long>(std::find(visible.begin(), visible.end(), size_t(cur_)) - visible.begin()) + 1;
}

const MemoryRecords::Cached& MemoryRecords::Current() const {
  if (!OnRow()) NoCurrentRow();
  return rows_[cur_];
}

long MemoryRecords::Status() const { return Current().status; }
long MemoryRecords::Bookmark() const { return Current().bookmark; }

int MemoryRecords::ColumnIndex(const std::string& column) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i] == column) return static_cast<int>(i);
  throw vn::RuntimeError(3265, "Item cannot be found in the collection: " + column);
}

void MemoryRecords::MoveComplete(int reason) {
  eventLog.push_back("Move " + std::to_string(reason));
  if (events_ != nullptr) events_->MoveComplete(*this, reason);
}

void MemoryRecords::RecordChange(int reason, long count) {
  eventLog.push_back("Record " + std::to_string(reason));
  if (events_ != nullptr) events_->RecordChangeComplete(*this, reason, count);
}

void MemoryRecords::Position(long index, int reason) {
  Update();
  if (index < 0) {
    cur_ = -1;
    bof_ = eof_ = true;
  } else {
    cur_ = index;
    bof_ = eof_ = false;
  }
  MoveComplete(reason);
}

void MemoryRecords::SetBookmark(long bookmark) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].bookmark == bookmark && !rows_[i].deleted) {
      Position(static_cast<long>(i), adRsnMove);
      return;
    }
  }
  throw vn::RuntimeError(3001, "Arguments are of the wrong type, out of range, or conflict.");
}

void MemoryRecords::MoveFirst() {
  const auto visible = Visible();
  Position(visible.empty() ? -1 : static_cast<long>(visible.front()), adRsnMoveFirst);
}

void MemoryRecords::MoveLast() {
  const auto visible = Visible();
  Position(visible.empty() ? -1 : static_cast<long>(visible.back()), adRsnMoveLast);
}

void MemoryRecords::MoveNext() {
  if (eof_) NoCurrentRow();
  Update();
  for (size_t i = cur_ + 1; i < rows_.size(); ++i) {
    if (!rows_[i].deleted) {
      Position(static_cast<long>(i), adRsnMoveNext);
      return;
    }
  }
  eof_ = true;
  bof_ = Visible().empty();
  cur_ = static_cast<long>(rows_.size());
  MoveComplete(adRsnMoveNext);
}

void MemoryRecords::MovePrevious() {
  if (bof_) NoCurrentRow();
  Update();
  for (long i = cur_ - 1; i >= 0; --i) {
    if (!rows_[i].deleted) {
      Position(i, adRsnMovePrevious);
      return;
    }
  }
  bof_ = true;
  eof_ = Visible().empty();
  cur_ = -1;
  MoveComplete(adRsnMovePrevious);
}

void MemoryRecords::AddNew() {
  Update();
  beforeAdd_ = OnRow() ? cur_ : -1;
  Cached added{nextBookmark_++, {}, {}, adRecNew};
  added.values.assign(columns_.size(), vn::data::Variant(vn::data::Null{}));
  rows_.push_back(std::move(added));
  cur_ = static_cast<long>(rows_.size()) - 1;
  bof_ = eof_ = false;
  edit_ = 2;
  RecordChange(adRsnAddNew);
  MoveComplete(adRsnMove);
}

void MemoryRecords::SetValue(const std::string& column, const vn::data::Variant& value) {
  if (!OnRow() || rows_[cur_].deleted) NoCurrentRow();
  const int index = ColumnIndex(column);
  Cached& row = rows_[cur_];
  const bool first = edit_ == 0;
  if (first) {
    edit_ = 1;
    if (row.original.empty()) row.original = row.values;
  }
  row.values[index] = value;
  if (events_ != nullptr) events_->FieldChangeComplete(*this, {{column, value}});
  if (first) RecordChange(adRsnFirstChange);
}

vn::data::Variant MemoryRecords::Value(const std::string& column) const {
  const Cached& row = Current();
  if (row.deleted) NoCurrentRow();
  return row.values[ColumnIndex(column)];
}

void MemoryRecords::Update() {
  if (edit_ == 0) return;
  Cached& row = rows_[cur_];
  if (edit_ == 1 && (row.status & adRecNew) == 0) row.status = adRecModified;
  edit_ = 0;
  RecordChange(adRsnUpdate);
}

void MemoryRecords::CancelUpdate() {
  if (edit_ == 2) {
    rows_.erase(rows_.begin() + cur_);
    edit_ = 0;
    // Back on the row before the addition before the notification reads the fields.
    cur_ = beforeAdd_;
    bof_ = eof_ = cur_ < 0;
    RecordChange(adRsnUndoAddNew);
    MoveComplete(adRsnMove);
  } else if (edit_ == 1) {
    Cached& row = rows_[cur_];
    if (row.status == adRecUnmodified) {
      row.values = row.original;
      row.original.clear();
    }
    edit_ = 0;
    RecordChange(adRsnUndoUpdate);
  }
}

void MemoryRecords::CancelBatch() {
  CancelUpdate();
  const long bookmark = OnRow() ? rows_[cur_].bookmark : 0;
  long reverted = 0;
  std::vector<Cached> kept;
  for (Cached& row : rows_) {
    if ((row.status & adRecNew) != 0) {
      ++reverted;
      continue;
    }
    if ((row.status & (adRecModified | adRecDeleted)) != 0) {
      ++reverted;
      if (!row.original.empty()) row.values = row.original;
      row.original.clear();
      row.deleted = false;
      row.status = adRecUnmodified;
    }
    kept.push_back(row);
  }
  rows_ = kept;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].bookmark == bookmark) {
      cur_ = static_cast<long>(i);
      if (reverted > 0) RecordChange(adRsnUndoUpdate, reverted);
      return;
    }
  }
  const auto visible = Visible();
  cur_ = visible.empty() ? -1 : static_cast<long>(visible.front());
  bof_ = eof_ = visible.empty();
  if (reverted > 0) RecordChange(adRsnUndoUpdate, reverted);
  MoveComplete(adRsnMove);
}

void MemoryRecords::Delete() {
  if (!OnRow() || rows_[cur_].deleted) NoCurrentRow();
  Cached& row = rows_[cur_];
  edit_ = 0;
  row.deleted = true;
  row.status = adRecDeleted;
  RecordChange(adRsnDelete);
}

void MemoryRecords::UpdateBatch() {
  Update();
  long pending = 0;
  for (const Cached& row : rows_)
    if ((row.status & (adRecNew | adRecModified | adRecDeleted)) != 0) ++pending;
  if (pending == 0) return;
  if (failNextUpdateBatch) {
    failNextUpdateBatch = false;
    for (Cached& row : rows_)
      if ((row.status & (adRecNew | adRecModified | adRecDeleted)) != 0) row.status |= adRecCantRelease;
    RecordChange(adRsnUpdate, pending);
    throw vn::RuntimeError(-2147467259, "Die Datenbank ist gesperrt.");
  }
  std::vector<Row> stored = database;
  std::int64_t nextId = 1;
  for (const Row& r : stored) nextId = std::max(nextId, r[0].As<std::int64_t>() + 1);
  for (Cached& row : rows_) {
    const bool isNew = (row.status & adRecNew) != 0;
    if ((row.status & adRecDeleted) != 0) {
      if (!isNew) {
        std::erase_if(stored, [&](const Row& r) { return r[0] == row.values[0]; });
      }
      row.status = adRecDeleted;
      continue;
    }
    if (isNew) {
      row.values[0] = nextId++;
      stored.push_back(row.values);
    } else if ((row.status & adRecModified) != 0) {
      for (Row& r : stored)
        if (r[0] == row.values[0]) r = row.values;
    } else {
      continue;
    }
    row.original.clear();
    row.status = adRecOK;
  }
  database = stored;
  RecordChange(adRsnUpdate, pending);
}

void MemoryRecords::Requery() {
  if (edit_ != 0) throw vn::RuntimeError(3219, "Operation is not allowed in this context.");
  rows_.clear();
  for (const Row& r : database) rows_.push_back({nextBookmark_++, r, {}, adRecUnmodified});
  eventLog.push_back("Recordset 7");
  cur_ = rows_.empty() ? -1 : 0;
  bof_ = eof_ = rows_.empty();
  MoveComplete(adRsnRequery);
  if (events_ != nullptr) events_->RecordsetChangeComplete(*this, adRsnRequery);
}

}  // namespace vn::config::testing
