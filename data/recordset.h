// Recordset: the rows of a statement, read through a cursor, with the fields of the current
// row. Read side: Open, Bof/Eof, MoveNext, Clone, RecordCount, Fields, Close. Opened as a
// client-side static cursor it also navigates, searches and filters, and with batch optimistic
// locking it edits: AddNew, field assignment, Update, UpdateBatch, CancelUpdate, CancelBatch,
// Delete, Requery, with the four "...Complete" notifications.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/field.h"
#include "platform/runtime_error.h"

namespace vn::data {

class Connection;

// CursorTypeEnum and LockTypeEnum values used by the callers.
enum CursorType : int {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3
};
enum LockType : int {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4
};

// EventReasonEnum: why a notification was raised.
enum EventReason : int {
  adRsnAddNew = 1,
  adRsnDelete = 2,
  adRsnUpdate = 3,
  adRsnUndoUpdate = 4,
  adRsnUndoAddNew = 5,
  adRsnUndoDelete = 6,
  adRsnRequery = 7,
  adRsnResynch = 8,
  adRsnClose = 9,
  adRsnMove = 10,
  adRsnFirstChange = 11,
  adRsnMoveFirst = 12,
  adRsnMoveNext = 13,
  adRsnMovePrevious = 14,
  adRsnMoveLast = 15,
};

// RecordStatusEnum: the status of a row is a sum of these flags.
enum RecordStatus : long {
  adRecOK = 0x0,
  adRecNew = 0x1,
  adRecModified = 0x2,
  adRecDeleted = 0x4,
  adRecUnmodified = 0x8,
  adRecInvalid = 0x10,
  adRecMultipleChanges = 0x40,
  adRecPendingChanges = 0x80,
  adRecCanceled = 0x100,
  adRecCantRelease = 0x400,
  adRecConcurrencyViolation = 0x800,
  adRecIntegrityViolation = 0x1000,
  adRecMaxChangesExceeded = 0x2000,
  adRecObjectOpen = 0x4000,
  adRecOutOfMemory = 0x8000,
  adRecPermissionDenied = 0x10000,
  adRecSchemaViolation = 0x20000,
  adRecDBDeleted = 0x40000,
};

// PositionEnum: AbsolutePosition without a position in the rows.
enum Position : long { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

// EditModeEnum: the state of the current row's edit buffer.
enum EditMode : int { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };

enum SearchDirection : int { adSearchForward = 1, adSearchBackward = -1 };

class Recordset;

// A field as a "fields changed" notification reports it, with its new value.
struct FieldChange {
  std::string name;
  Variant value;
};

// The "...Complete" notifications of an editing recordset; each is raised after its operation.
// `error` is the failure of an UpdateBatch that the database refused (the operation then
// throws it), otherwise nullptr.
class RecordsetEvents {
 public:
  virtual ~RecordsetEvents() = default;
  virtual void FieldChangeComplete(Recordset& recordset,
                                   const std::vector<FieldChange>& fields) = 0;
  virtual void MoveComplete(Recordset& recordset, int reason) = 0;
  virtual void RecordChangeComplete(Recordset& recordset, int reason, long recordCount,
                                    const RuntimeError* error) = 0;
  virtual void RecordsetChangeComplete(Recordset& recordset, int reason) = 0;
};

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

  // Client-side cursor (adOpenStatic or adLockBatchOptimistic at Open): the rows are read at
  // Open and held. Each of these throws RuntimeError 3251 on a forward-only recordset, and
  // the edits also on one that is not opened with adLockBatchOptimistic or whose statement
  // reads no single table with its key.
  void MoveFirst();
  void MovePrevious();
  void MoveLast();
  // 1-based position in the (filtered) rows, or a Position value.
  long AbsolutePosition() const;
  // The current row's bookmark (positive, unchanged until Requery), and a move to it.
  long Bookmark() const;
  void SetBookmark(long bookmark);
  // RecordStatus flags of the current row (also of a deleted current row).
  long Status() const;
  int EditMode() const;
  bool Updatable() const;

  // Searches from the current row (skipping `skipRows`) for a row that meets "column op value"
  // (op =, <>, <, >, <=, >=, LIKE). Not found: EOF forward, BOF backward. 3001 for a
  // malformed criterion, 3265 for an unknown column.
  void Find(const std::string& criteria, long skipRows = 0, int direction = adSearchForward);
  // Shows only the rows that meet the criteria (clauses joined by AND and OR, parentheses);
  // an empty text shows all rows again. Moves to the first row shown.
  void SetFilter(const std::string& criteria);
  std::string Filter() const;

  // Assigns a value to a column of the current row (its edit buffer).
  void SetValue(const std::string& column, const Variant& value);
  void AddNew();
  // Commits the edit buffer to the pending changes; nothing happens when nothing is edited.
  void Update();
  // Writes every pending change in one transaction. When the database refuses any of them,
  // nothing is written, the rows stay pending (their status carries the reason) and the
  // failure is thrown. Identifiers the database assigns are read back into the new rows.
  void UpdateBatch();
  // Drops the edit buffer (an added row disappears again).
  void CancelUpdate();
  // Drops the edit buffer and every pending change.
  void CancelBatch();
  // Marks the current row deleted; UpdateBatch deletes it from the database.
  void Delete();
  // Reads the rows again (pending changes are dropped); 3219 while a row is edited.
  void Requery();
  bool HasPendingChanges() const;
  // Who hears the notifications (nullptr: nobody).
  void SetEvents(RecordsetEvents* events);

  struct Impl;
  // For providers and the data shaping service, which build recordsets over their rows.
  explicit Recordset(std::unique_ptr<Impl> impl);
  Impl& Internals();
  const Impl& Internals() const;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vn::data
