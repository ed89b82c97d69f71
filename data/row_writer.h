// What a provider offers the client cursor for writing its edits back: the base table behind a
// statement's columns with its key, and a session that runs parameterised statements in one
// transaction.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/variant.h"

namespace vn::data {

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  // Starts the one transaction of a batch; throws RuntimeError when the database cannot be
  // written (locked, read-only).
  virtual void Begin() = 0;
  // Runs one statement with `?` parameters; returns the number of rows it changed.
  virtual long Execute(const std::string& sql, const std::vector<Variant>& parameters) = 0;
  // The identifier the database assigned to the last inserted row.
  virtual Variant LastInsertId() = 0;
  virtual void Commit() = 0;
  // Never throws.
  virtual void Rollback() noexcept = 0;
  // `name` as a quoted identifier of the writer's SQL.
  virtual std::string QuoteName(const std::string& name) const = 0;
};

// The table a statement's rows come from.
struct UpdateTarget {
  std::string table;
  // Per result column, the table's column it shows; empty for a computed column.
  std::vector<std::string> baseColumns;
  // Result columns that make the table's key.
  std::vector<size_t> key;
  // True when the key is one column the database assigns on insert (an identifier).
  bool keyAssigned = false;
  std::shared_ptr<RowWriter> writer;
};

// Errors of a refused write, with the row status flag that tells the reason.
long RecordStatusOfWriteError(long errorNumber);

}  // namespace vn::data
