#include "data/cursor.h"
#include "data/errors.h"

namespace vn::data {

namespace {

class MaterialisedCursor : public Cursor {
 public:
  MaterialisedCursor(std::shared_ptr<MaterialisedRowset> rows,
                     std::shared_ptr<const std::vector<size_t>> view)
      : rows_(std::move(rows)), view_(std::move(view)) {}

  const std::vector<Column>& Columns() const override { return rows_->columns; }
  bool Bof() const override { return Count() == 0; }
  bool Eof() const override { return pos_ >= Count(); }

  void MoveNext() override {
    if (Eof()) {
      throw RuntimeError(kErrNoCurrentRecord,
                         "Either BOF or EOF is True, or the current record has been deleted.",
                         "Recordset.MoveNext");
    }
    ++pos_;
  }

  std::unique_ptr<Cursor> Clone() const override {
    return std::make_unique<MaterialisedCursor>(rows_, view_);
  }

  long RecordCount() const override { return static_cast<long>(Count()); }

  bool Rewind() override {
    pos_ = 0;
    return true;
  }

  Variant Value(size_t column) const override {
    if (Eof()) {
      throw RuntimeError(kErrNoCurrentRecord,
                         "Either BOF or EOF is True, or the current record has been deleted.",
                         "Field.Value");
    }
    size_t row = view_ ? (*view_)[pos_] : pos_;
    if (const auto* chapter = rows_->ChapterAt(column)) {
      long group = chapter->groupOfRow[row];
      static const auto kEmpty = std::make_shared<const std::vector<size_t>>();
      auto rowsOfGroup = group < 0 ? kEmpty : chapter->groups[static_cast<size_t>(group)];
      return Variant(MakeRecordset(MakeMaterialisedCursor(chapter->child, rowsOfGroup)));
    }
    return rows_->rows[row][column];
  }

  const Variant* ValueInPlace(size_t column) const override {
    // A chapter's recordset is made on request.
    if (Eof() || rows_->ChapterAt(column) != nullptr) return nullptr;
    const Row& row = rows_->rows[view_ ? (*view_)[pos_] : pos_];
    return column < row.size() ? &row[column] : nullptr;
  }

 private:
  size_t Count() const { return view_ ? view_->size() : rows_->rows.size(); }

  std::shared_ptr<MaterialisedRowset> rows_;
  std::shared_ptr<const std::vector<size_t>> view_;
  size_t pos_ = 0;
};

}  // namespace

std::unique_ptr<Cursor> MakeMaterialisedCursor(std::shared_ptr<MaterialisedRowset> rows,
                                               std::shared_ptr<const std::vector<size_t>> view) {
  return std::make_unique<MaterialisedCursor>(std::move(rows), std::move(view));
}

std::shared_ptr<MaterialisedRowset> Materialise(RowSource& source) {
  auto result = std::make_shared<MaterialisedRowset>();
  result->columns = source.Columns();
  Row row;
  while (source.Fetch(row)) result->rows.push_back(std::move(row));
  return result;
}

}  // namespace vn::data
