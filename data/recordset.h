// Recordset: the rows of a statement, read through a cursor, with the fields of the current
// row. Read side: Open, Bof/Eof, MoveNext, Clone, RecordCount, Fields, Close.
#pragma once

#include <memory>
#include <string>

#include "data/field.h"

namespace vn::data {

class Connection;

// CursorTypeEnum and LockTypeEnum values used by the callers.
enum CursorType : int { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1,
                        adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType : int { adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2,
                      adLockOptimistic = 3, adLockBatchOptimistic = 4 };

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Runs `source` on the open connection. Throws RuntimeError when the provider rejects it.
  void Open(const std::string& source, Connection& activeConnection,
            int cursorType = adOpenForwardOnly, int lockType = adLockUnspecified,
            long options = -1);
  void Close();
  bool IsOpen() const;

  // Both true right after Open of an empty result. (EOF is a C macro, hence the names.)
  bool Bof() const;
  bool Eof() const;
  void MoveNext();

  // An independent cursor on the same rows, positioned on the first row.
  std::shared_ptr<Recordset> Clone(int lockType = adLockUnspecified) const;

  // Number of rows; 0 for an empty result and for an empty child.
  long RecordCount() const;

  // Fields.Count and Fields.Item by zero-based position or by name (case-insensitive).
  // Throws RuntimeError 3265 for an unknown position or name.
  int FieldCount() const;
  const Field& Fields(int index) const;
  const Field& Fields(const std::string& name) const;

  struct Impl;
  // For providers and the data shaping service, which build recordsets over their rows.
  explicit Recordset(std::unique_ptr<Impl> impl);
  Impl& Internals() const;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vn::data
