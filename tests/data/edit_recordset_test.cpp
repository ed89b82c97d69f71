// The client-side editing recordset over SQLite: navigation and positions, the pending changes
// and their statuses, UpdateBatch in one transaction, cancelling, and the notifications.
#include <sqlite3.h>

#include "data/errors.h"
#include "data/sqlite_handles.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

// Notifications as text: "fld Titel=x", "mov 13", "rec 3/1", "rec 3/2!", "rset 7".
class EventLog : public RecordsetEvents {
 public:
  std::vector<std::string> lines;
  void FieldChangeComplete(Recordset&, const std::vector<FieldChange>& fields) override {
    for (const auto& f : fields) lines.push_back("fld " + f.name + "=" + f.value.DebugText());
  }
  void MoveComplete(Recordset&, int reason) override {
    lines.push_back("mov " + std::to_string(reason));
  }
  void RecordChangeComplete(Recordset&, int reason, long count,
                            const RuntimeError* error) override {
    lines.push_back("rec " + std::to_string(reason) + "/" + std::to_string(count) +
                    (error ? "!" : ""));
  }
  void RecordsetChangeComplete(Recordset&, int reason) override {
    lines.push_back("rset " + std::to_string(reason));
  }
  std::string Take() {
    std::string out;
    for (const auto& l : lines) out += (out.empty() ? "" : ", ") + l;
    lines.clear();
    return out;
  }
};

class EditRecordsetTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/edit.db",
                 "CREATE TABLE Rubriken (ID_Rubrik INTEGER PRIMARY KEY AUTOINCREMENT, "
                 "Rang INTEGER NOT NULL DEFAULT 0, Rubrik VARCHAR(255), Bemerkung LONGTEXT);"
                 "INSERT INTO Rubriken VALUES (1, 1, 'Start', NULL), (2, 2, 'Kunden', 'k'), "
                 "(3, 3, 'Posten', NULL);");
    path_ = folder_ + "/databases/edit.db";
    connection_.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_);
  }

  void OpenRubriken() {
    rs_.Open("SELECT ID_Rubrik, Rang, Rubrik, Bemerkung FROM Rubriken ORDER BY Rang", connection_,
             adOpenStatic, adLockBatchOptimistic);
    rs_.SetEvents(&log_);
  }

  // The table as stored, "id|rang|name|remark" per row, read by a connection of its own.
  std::string Stored() {
    Connection other;
    other.Open("Provider=SQLite;Data Source=" + path_);
    Recordset rs;
    rs.Open("SELECT * FROM Rubriken ORDER BY ID_Rubrik", other);
    return Dump(rs);
  }

  std::string FileBytes() {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string Name() { return rs_.Fields("Rubrik").Value().DebugText(); }

  std::string path_;
  const ShortBusyTimeout busy_;  // in force when SetUp opens the connection
  Connection connection_;
  Recordset rs_;
  EventLog log_;
};

TEST_F(EditRecordsetTest, NavigatesWithPositionsBookmarksAndTheMoveReasons) {
  OpenRubriken();
  EXPECT_TRUE(rs_.Updatable());
  EXPECT_EQ(rs_.RecordCount(), 3);
  EXPECT_EQ(rs_.AbsolutePosition(), 1);
  EXPECT_EQ(rs_.Status(), adRecUnmodified);
  rs_.MoveLast();
  EXPECT_EQ(Name(), "Posten");
  EXPECT_EQ(rs_.AbsolutePosition(), 3);
  const long bookmark = rs_.Bookmark();
  rs_.MovePrevious();
  EXPECT_EQ(Name(), "Kunden");
  rs_.MoveFirst();
  rs_.MovePrevious();
  EXPECT_TRUE(rs_.Bof());
  EXPECT_FALSE(rs_.Eof());
  EXPECT_EQ(rs_.AbsolutePosition(), adPosBOF);
  EXPECT_EQ(ErrorOf([&] { rs_.MovePrevious(); }).Number(), kErrNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs_.Fields("Rubrik").Value(); }).Number(), kErrNoCurrentRecord);
  rs_.SetBookmark(bookmark);
  EXPECT_EQ(Name(), "Posten");
  rs_.MoveNext();
  EXPECT_TRUE(rs_.Eof());
  EXPECT_EQ(rs_.AbsolutePosition(), adPosEOF);
  EXPECT_EQ(ErrorOf([&] { rs_.MoveNext(); }).Number(), kErrNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs_.SetBookmark(99); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(log_.Take(), "mov 15, mov 14, mov 12, mov 14, mov 10, mov 13");
}

TEST_F(EditRecordsetTest, EmptyResultRefusesMoveFirstAndReportsUnknownPosition) {
  rs_.Open("SELECT ID_Rubrik, Rubrik FROM Rubriken WHERE Rang > 10", connection_, adOpenStatic,
           adLockBatchOptimistic);
  EXPECT_TRUE(rs_.Bof() && rs_.Eof());
  EXPECT_EQ(rs_.RecordCount(), 0);
  EXPECT_EQ(rs_.AbsolutePosition(), adPosUnknown);
  EXPECT_EQ(ErrorOf([&] { rs_.MoveFirst(); }).Number(), kErrNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs_.Bookmark(); }).Number(), kErrNoCurrentRecord);
}

TEST_F(EditRecordsetTest, FieldChangesStayPendingUntilUpdateBatchWritesThem) {
  OpenRubriken();
  rs_.MoveNext();
  rs_.SetValue("Rubrik", "Kundendaten");
  rs_.SetValue("Bemerkung", Null{});
  EXPECT_EQ(rs_.EditMode(), adEditInProgress);
  EXPECT_EQ(log_.Take(), "mov 13, fld Rubrik=Kundendaten, rec 11/1, fld Bemerkung=NULL");
  rs_.MoveNext();  // the buffer goes into the pending changes
  EXPECT_EQ(log_.Take(), "rec 3/1, mov 13");
  rs_.MovePrevious();
  EXPECT_EQ(rs_.Status(), adRecModified);
  EXPECT_EQ(Name(), "Kundendaten");
  EXPECT_TRUE(rs_.HasPendingChanges());
  EXPECT_EQ(Stored(), "1|1|Start|NULL;2|2|Kunden|k;3|3|Posten|NULL");
  log_.Take();
  rs_.UpdateBatch();
  EXPECT_EQ(log_.Take(), "rec 3/1");
  EXPECT_EQ(rs_.Status(), adRecOK);
  EXPECT_FALSE(rs_.HasPendingChanges());
  EXPECT_EQ(Stored(), "1|1|Start|NULL;2|2|Kundendaten|NULL;3|3|Posten|NULL");
}

TEST_F(EditRecordsetTest, AddNewAppendsAndUpdateBatchReadsTheAssignedIdentifierBack) {
  OpenRubriken();
  rs_.AddNew();
  EXPECT_EQ(log_.Take(), "rec 1/1, mov 10");
  EXPECT_EQ(rs_.EditMode(), adEditAdd);
  EXPECT_EQ(rs_.RecordCount(), 4);
  EXPECT_EQ(rs_.AbsolutePosition(), 4);
  EXPECT_EQ(rs_.Status(), adRecNew);
  rs_.SetValue("Rubrik", "Neu");  // Rang is left to the database's default
  EXPECT_EQ(log_.Take(), "fld Rubrik=Neu");
  rs_.AddNew();  // the first addition is committed to the pending changes
  rs_.SetValue("Rubrik", "Zweite");
  rs_.SetValue("Rang", "7");  // a whole number typed as text
  rs_.UpdateBatch();
  EXPECT_EQ(log_.Take(),
            "rec 3/1, rec 1/1, mov 10, fld Rubrik=Zweite, fld Rang=7, rec 3/1, rec 3/2");
  EXPECT_EQ(rs_.Fields("ID_Rubrik").Value(), Variant(std::int64_t{5}));
  rs_.MovePrevious();
  EXPECT_EQ(rs_.Fields("ID_Rubrik").Value(), Variant(std::int64_t{4}));
  EXPECT_EQ(rs_.Status(), adRecOK);
  EXPECT_EQ(Stored(), "1|1|Start|NULL;2|2|Kunden|k;3|3|Posten|NULL;4|0|Neu|NULL;5|7|Zweite|NULL");
  rs_.Requery();
  EXPECT_EQ(rs_.RecordCount(), 5);
  EXPECT_EQ(Name(), "Neu");  // Rang 0 sorts first
}

TEST_F(EditRecordsetTest, CancelUpdateDropsTheBufferAndAnAddedRow) {
  OpenRubriken();
  rs_.MoveNext();
  rs_.SetValue("Rubrik", "x");
  log_.Take();
  rs_.CancelUpdate();
  EXPECT_EQ(log_.Take(), "rec 4/1");
  EXPECT_EQ(Name(), "Kunden");
  EXPECT_EQ(rs_.EditMode(), adEditNone);
  rs_.AddNew();
  rs_.SetValue("Rubrik", "y");
  log_.Take();
  rs_.CancelUpdate();
  EXPECT_EQ(log_.Take(), "rec 5/1, mov 10");
  EXPECT_EQ(Name(), "Kunden");  // the row current before AddNew
  EXPECT_EQ(rs_.RecordCount(), 3);
  rs_.CancelUpdate();  // nothing to cancel: no notification
  EXPECT_EQ(log_.Take(), "");
  EXPECT_FALSE(rs_.HasPendingChanges());
}

TEST_F(EditRecordsetTest, DeleteMarksTheRowAndUpdateBatchDeletesIt) {
  OpenRubriken();
  rs_.MoveNext();
  rs_.Delete();
  EXPECT_EQ(log_.Take(), "mov 13, rec 2/1");
  EXPECT_FALSE(rs_.Eof());
  EXPECT_EQ(rs_.Status(), adRecDeleted);
  EXPECT_EQ(rs_.AbsolutePosition(), adPosUnknown);
  EXPECT_EQ(rs_.RecordCount(), 2);
  EXPECT_EQ(ErrorOf([&] { rs_.Fields("Rubrik").Value(); }).Number(), kErrNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { rs_.Delete(); }).Number(), kErrNoCurrentRecord);
  rs_.UpdateBatch();
  EXPECT_EQ(Stored(), "1|1|Start|NULL;3|3|Posten|NULL");
  rs_.MoveNext();  // from the deleted row to the one after it
  EXPECT_EQ(Name(), "Posten");
  EXPECT_EQ(rs_.AbsolutePosition(), 2);
  rs_.MoveFirst();
  rs_.Delete();
  rs_.MoveNext();
  rs_.Delete();
  rs_.UpdateBatch();
  EXPECT_FALSE(rs_.Bof() || rs_.Eof());  // the last row deleted stays current until a move
  EXPECT_EQ(rs_.RecordCount(), 0);
  rs_.MoveFirst();
  EXPECT_TRUE(rs_.Bof() && rs_.Eof());
  EXPECT_EQ(Stored(), "");
}

TEST_F(EditRecordsetTest, CancelBatchRevertsEveryPendingChange) {
  OpenRubriken();
  rs_.SetValue("Rubrik", "Anfang");
  rs_.MoveNext();
  rs_.Delete();
  rs_.AddNew();
  rs_.SetValue("Rubrik", "Neu");
  rs_.Update();
  rs_.MoveFirst();
  log_.Take();
  rs_.CancelBatch();
  EXPECT_EQ(log_.Take(), "rec 4/3");
  EXPECT_EQ(Name(), "Start");  // still the current row
  EXPECT_EQ(rs_.Status(), adRecUnmodified);
  EXPECT_EQ(rs_.RecordCount(), 3);
  rs_.MoveNext();
  EXPECT_EQ(Name(), "Kunden");  // revived
  rs_.AddNew();
  rs_.SetValue("Rubrik", "Weg");
  log_.Take();
  rs_.CancelBatch();  // the addition goes first: back to the row current before it
  EXPECT_EQ(log_.Take(), "rec 5/1, mov 10");
  EXPECT_EQ(Name(), "Kunden");
  EXPECT_FALSE(rs_.HasPendingChanges());
  rs_.UpdateBatch();  // nothing pending: no statement, no notification
  EXPECT_EQ(log_.Take(), "");
  EXPECT_EQ(Stored(), "1|1|Start|NULL;2|2|Kunden|k;3|3|Posten|NULL");
}

TEST_F(EditRecordsetTest, RequeryReadsAgainAndRefusesWhileARowIsEdited) {
  OpenRubriken();
  rs_.SetValue("Rubrik", "x");
  EXPECT_EQ(ErrorOf([&] { rs_.Requery(); }).Number(), kErrIllegalOperation);
  rs_.CancelUpdate();
  const long bookmark = rs_.Bookmark();
  MakeDatabase("databases/edit.db", "INSERT INTO Rubriken VALUES (9, 0, 'Vorne', NULL);");
  log_.Take();
  rs_.Requery();
  EXPECT_EQ(log_.Take(), "mov 7, rset 7");
  EXPECT_EQ(Name(), "Vorne");
  EXPECT_EQ(rs_.RecordCount(), 4);
  EXPECT_EQ(ErrorOf([&] { rs_.SetBookmark(bookmark); }).Number(), kErrInvalidArgument);
}

TEST_F(EditRecordsetTest, AFailedBatchWritesNothingAndKeepsItsRowsPending) {
  OpenRubriken();
  rs_.SetValue("Rubrik", "Geändert");
  rs_.MoveNext();
  rs_.Delete();
  rs_.AddNew();
  rs_.SetValue("Rubrik", "Neu");
  rs_.SetValue("Rang", Null{});  // NOT NULL: the insert is refused after the other statements
  const std::string before = FileBytes();
  log_.Take();
  RuntimeError error = ErrorOf([&] { rs_.UpdateBatch(); });
  EXPECT_EQ(error.Number(), kErrIntegrityViolation);
  EXPECT_NE(error.Description().find("NOT NULL constraint failed: Rubriken.Rang"),
            std::string::npos)
      << error.Description();
  EXPECT_EQ(log_.Take(), "rec 3/1, rec 3/3!");
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(rs_.Status(), adRecNew | adRecIntegrityViolation);
  EXPECT_TRUE(rs_.HasPendingChanges());
  // Mended, the same batch goes through.
  rs_.SetValue("Rang", 4);
  rs_.UpdateBatch();
  EXPECT_EQ(rs_.Status(), adRecOK);
  EXPECT_EQ(Stored(), "1|1|Geändert|NULL;3|3|Posten|NULL;4|4|Neu|NULL");
}

TEST_F(EditRecordsetTest, ALockedDatabaseRefusesTheBatchAndStaysByteForByteUnchanged) {
  OpenRubriken();
  rs_.SetValue("Rubrik", "Gesperrt");
  rs_.Update();
  const std::string before = FileBytes();
  SqliteDatabase other;
  ASSERT_EQ(OpenSqlite(path_, SQLITE_OPEN_READWRITE, other), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(other.get(), "BEGIN IMMEDIATE; UPDATE Rubriken SET Rang = 5 WHERE ID_Rubrik = 3;",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  RuntimeError error = ErrorOf([&] { rs_.UpdateBatch(); });
  sqlite3_exec(other.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  other.reset();
  EXPECT_EQ(error.Number(), kErrWriteFailed);
  EXPECT_EQ(error.Description(), "database is locked");
  EXPECT_EQ(rs_.Status(), adRecModified | adRecCantRelease);
  EXPECT_EQ(FileBytes(), before);
  rs_.UpdateBatch();  // the lock is gone
  EXPECT_EQ(rs_.Status(), adRecOK);
  EXPECT_EQ(Stored(), "1|1|Gesperrt|NULL;2|2|Kunden|k;3|3|Posten|NULL");
}

TEST_F(EditRecordsetTest, ARowChangedElsewhereIsAConcurrencyViolation) {
  OpenRubriken();
  MakeDatabase("databases/edit.db", "UPDATE Rubriken SET Rubrik = 'Anders' WHERE ID_Rubrik = 1;");
  rs_.SetValue("Rubrik", "Meins");
  EXPECT_EQ(ErrorOf([&] { rs_.UpdateBatch(); }).Number(), kErrConcurrency);
  EXPECT_EQ(rs_.Status(), adRecModified | adRecConcurrencyViolation);
  EXPECT_EQ(Stored(), "1|1|Anders|NULL;2|2|Kunden|k;3|3|Posten|NULL");
}

TEST_F(EditRecordsetTest, TextInAWholeNumberColumnIsRefusedOnSave) {
  OpenRubriken();
  rs_.SetValue("Rang", "zwei");
  RuntimeError error = ErrorOf([&] { rs_.UpdateBatch(); });
  EXPECT_EQ(error.Number(), kErrCantConvert);
  EXPECT_EQ(error.Description(),
            "The value 'zwei' cannot be stored in the field 'Rang', which holds whole numbers.");
  EXPECT_EQ(Stored(), "1|1|Start|NULL;2|2|Kunden|k;3|3|Posten|NULL");
}

TEST_F(EditRecordsetTest, ReadOnlyAndComputedResultsRefuseEdits) {
  MakeDatabase("databases/edit.db", "CREATE TABLE Notiz (ID INTEGER PRIMARY KEY, Text TEXT);");
  Recordset joined;
  joined.Open("SELECT ID_Rubrik, Text FROM Rubriken, Notiz WHERE ID_Rubrik = ID", connection_,
              adOpenStatic, adLockBatchOptimistic);
  EXPECT_FALSE(joined.Updatable());
  EXPECT_EQ(ErrorOf([&] { joined.SetValue("Text", "x"); }).Number(), kErrFeatureNotAvailable);
  Recordset lookup;
  lookup.Open("SELECT ID_Rubrik, Rubrik FROM Rubriken ORDER BY Rang", connection_, adOpenStatic,
              adLockReadOnly);
  EXPECT_FALSE(lookup.Updatable());
  lookup.MoveLast();
  EXPECT_EQ(lookup.Fields("Rubrik").Value(), Variant("Posten"));
  EXPECT_EQ(ErrorOf([&] { lookup.AddNew(); }).Number(), kErrFeatureNotAvailable);
  Recordset streamed;
  streamed.Open("SELECT Rubrik FROM Rubriken", connection_);
  EXPECT_EQ(ErrorOf([&] { streamed.MoveLast(); }).Number(), kErrFeatureNotAvailable);
}

}  // namespace
}  // namespace vn::data::test
