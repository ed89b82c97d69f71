// Cursor: a position in a rowset, the engine behind a Recordset (data/recordset_impl.h pairs
// a cursor with the Field objects of its current row).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/field.h"
#include "data/rowset.h"

namespace vn::data {

class Recordset;

class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual const std::vector<Column>& Columns() const = 0;
  virtual bool Bof() const = 0;
  virtual bool Eof() const = 0;
  virtual void MoveNext() = 0;
  // A new cursor on the same rows, on the first row.
  virtual std::unique_ptr<Cursor> Clone() const = 0;
  // Exact count, or -1 while it is not known (a streamed result not yet read to its end).
  virtual long RecordCount() const = 0;
  // Value of `column` in the current row; throws RuntimeError 3021 without a current row.
  virtual Variant Value(size_t column) const = 0;
  // The value of `column` where the current row holds it, for reading without a copy; valid
  // until the cursor moves. Null when the cursor makes its values on request, or has no row.
  virtual const Variant* ValueInPlace(size_t /*column*/) const { return nullptr; }
  // Back to the first row; false when the cursor cannot go back (a streamed result).
  virtual bool Rewind() { return false; }
};

// A field of the recordset's current row: reads through the cursor at every access.
class CursorField : public Field {
 public:
  CursorField(const Cursor& cursor, size_t column) : cursor_(cursor), column_(column) {}
  std::string Name() const override { return cursor_.Columns()[column_].name; }
  int Type() const override { return cursor_.Columns()[column_].type; }
  Variant Value() const override { return cursor_.Value(column_); }
  const Variant* ValueInPlace() const override { return cursor_.ValueInPlace(column_); }

 private:
  const Cursor& cursor_;
  size_t column_;
};

// An open recordset over `cursor`.
std::shared_ptr<Recordset> MakeRecordset(std::unique_ptr<Cursor> cursor);

// Cursor over all rows of a materialised rowset, or over one chapter's rows of it.
std::unique_ptr<Cursor> MakeMaterialisedCursor(
    std::shared_ptr<MaterialisedRowset> rows, std::shared_ptr<const std::vector<size_t>> view = {});

// Cursor over a streamed result; clones share the rows still buffered and run the command
// again when they need rows already let go, so that forward reads hold bounded memory.
std::unique_ptr<Cursor> MakeStreamingCursor(std::unique_ptr<RowSource> source,
                                            std::shared_ptr<CommandRunner> runner);

class Provider;

// Client-side static cursor over `source`, its rows read now; `updatable` asks for edits
// written back through the provider (granted when the rows are those of one table with its key).
std::unique_ptr<Cursor> OpenClientCursor(const std::string& source, Provider& provider,
                                         bool updatable);

}  // namespace vn::data
