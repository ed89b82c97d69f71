// The inside of a Recordset, private to the data access layer: the cursor and the Field
// objects of its current row.
#pragma once

#include <memory>
#include <vector>

#include "data/cursor.h"
#include "data/recordset.h"

namespace vn::data {

struct Recordset::Impl {
  explicit Impl(std::unique_ptr<Cursor> c);
  // The cursor, as const as the recordset that reaches it.
  Cursor& Rows() { return *cursor; }
  const Cursor& Rows() const { return *cursor; }
  std::unique_ptr<Cursor> cursor;
  std::vector<std::unique_ptr<CursorField>> fields;
};

}  // namespace vn::data
