// Find and Filter on a client-side recordset: criteria forms, the rows shown, positions and
// the malformed criteria that are refused.
#include "data/errors.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

class EditFilterTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/f.db",
                 "CREATE TABLE Zuordnungen (ID_Zuordnung INTEGER PRIMARY KEY, Rubrik_ID INTEGER, "
                 "Daten_ID INTEGER, Rang INTEGER, Name TEXT);"
                 "INSERT INTO Zuordnungen VALUES (1, 1, 1, 1, 'Müller'), (2, 1, 4, 2, 'O''Hara'),"
                 " (3, 2, 2, 1, 'meier'), (4, 3, 3, 1, 'Maier'), (5, 3, 1, 0, NULL);");
    connection_.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=databases/f.db");
    rs_.Open(
        "SELECT ID_Zuordnung, Rubrik_ID, Daten_ID, Rang, Name FROM Zuordnungen "
        "ORDER BY Rubrik_ID, Rang",
        connection_, adOpenStatic, adLockBatchOptimistic);
  }
  std::string Ids() {
    std::string ids;
    if (rs_.Bof() && rs_.Eof()) return ids;
    rs_.MoveFirst();
    while (!rs_.Eof()) {
      ids += rs_.Fields("ID_Zuordnung").Value().DebugText() + " ";
      rs_.MoveNext();
    }
    return ids;
  }
  std::string Id() { return rs_.Fields("ID_Zuordnung").Value().DebugText(); }
  Connection connection_;
  Recordset rs_;
};

TEST_F(EditFilterTest, FindSearchesForwardFromTheCurrentRowAndEndsAtEof) {
  rs_.Find("Daten_ID=1");
  EXPECT_EQ(Id(), "1");  // the current row itself counts
  rs_.Find("Daten_ID=1", 1);
  EXPECT_EQ(Id(), "5");
  rs_.Find("Daten_ID=1", 1);
  EXPECT_TRUE(rs_.Eof());
  rs_.Find("Daten_ID=1");  // from EOF nothing is found and nothing changes
  EXPECT_TRUE(rs_.Eof());
  rs_.MoveLast();
  rs_.Find("Rubrik_ID = 1", 0, adSearchBackward);
  EXPECT_EQ(Id(), "2");
  rs_.MoveFirst();
  rs_.Find("Name = 'O''Hara'");
  EXPECT_EQ(Id(), "2");
  rs_.MoveFirst();
  rs_.Find("Name='MEIER'");  // text compares without regard to case
  EXPECT_EQ(Id(), "3");
  rs_.MoveFirst();
  rs_.Find("Name LIKE 'ma*'");
  EXPECT_EQ(Id(), "4");
}

TEST_F(EditFilterTest, FilterWithTwoCriteriaShowsTheirRowsAndItsRemovalShowsAll) {
  rs_.MoveLast();
  rs_.SetFilter("Daten_ID=1 AND Rubrik_ID=3");
  EXPECT_EQ(rs_.RecordCount(), 1);
  EXPECT_EQ(Id(), "5");  // the first row shown is current
  EXPECT_EQ(rs_.AbsolutePosition(), 1);
  EXPECT_EQ(rs_.Filter(), "Daten_ID=1 AND Rubrik_ID=3");
  rs_.SetFilter("");
  EXPECT_EQ(rs_.RecordCount(), 5);
  EXPECT_EQ(Id(), "1");
  rs_.Find("ID_Zuordnung=5");
  EXPECT_EQ(rs_.AbsolutePosition(), 4);
  rs_.SetFilter("Rubrik_ID = 1 OR Rubrik_ID = 3 AND Rang > 0");
  EXPECT_EQ(Ids(), "1 2 4 ");
  rs_.SetFilter("(Rubrik_ID = 1 OR Rubrik_ID = 3) AND Rang > 0");
  EXPECT_EQ(Ids(), "1 2 4 ");
  rs_.SetFilter("Name LIKE '*i*'");
  EXPECT_EQ(Ids(), "3 4 ");
  rs_.SetFilter("Rubrik_ID=7");
  EXPECT_TRUE(rs_.Bof() && rs_.Eof());
  EXPECT_EQ(rs_.RecordCount(), 0);
  EXPECT_EQ(rs_.AbsolutePosition(), adPosUnknown);
}

TEST_F(EditFilterTest, MalformedCriteriaAreRefusedAndLeaveTheFilter) {
  rs_.SetFilter("Rubrik_ID=1");
  EXPECT_EQ(ErrorOf([&] { rs_.SetFilter("Rubrik_ID="); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { rs_.SetFilter("Name=Maier"); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { rs_.SetFilter("Name LIKE 'a*b'"); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { rs_.SetFilter("(Rang=1"); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { rs_.SetFilter("Nichtda=1"); }).Number(), kErrItemNotFound);
  EXPECT_EQ(ErrorOf([&] { rs_.Find("Rang=1 AND Rang=2"); }).Number(), kErrInvalidArgument);
  EXPECT_EQ(rs_.Filter(), "Rubrik_ID=1");
  EXPECT_EQ(rs_.RecordCount(), 2);
}

TEST_F(EditFilterTest, EditsUnderAFilterAreAllWrittenByUpdateBatch) {
  rs_.SetValue("Rang", 9);
  rs_.SetFilter("Rubrik_ID=3");  // the change moves out of sight but stays pending
  rs_.SetValue("Rang", 8);
  rs_.UpdateBatch();
  rs_.SetFilter("");
  rs_.Requery();
  std::string rangs;
  while (!rs_.Eof()) {
    rangs += Id() + ":" + rs_.Fields("Rang").Value().DebugText() + " ";
    rs_.MoveNext();
  }
  EXPECT_EQ(rangs, "2:2 1:9 3:1 4:1 5:8 ");
}

}  // namespace
}  // namespace vn::data::test
