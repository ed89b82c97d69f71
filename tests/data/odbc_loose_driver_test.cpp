// The ODBC layer over a driver that describes its columns more than it delivers: mdbtools'
// driver (Debian odbc-mdbtools) over the real Jet 4 test file. Linux only: the driver and the
// file's path are Linux ones.
#include <gtest/gtest.h>

#include "data/field.h"
#include "tests/data/access_test_file.h"
#include "tests/data/data_test_support.h"

namespace vn::data::test {
namespace {

class LooseOdbcDriverTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    file_ = FruitMdb();
    driver_ = OdbcDriverLibrary("libmdbodbc.so");
  }
  std::string file_;
  std::string driver_;
};

#ifndef _WIN32

TEST_F(LooseOdbcDriverTest, IntegersTheDriverOnlyGivesAsTextAreReadAsIntegersOnLinux) {
  VN_REQUIRE_TEST_PIECE(!file_.empty(), "fruit.mdb (scripts/fetch-test-access.sh)");
  VN_REQUIRE_TEST_PIECE(!driver_.empty(), "mdbtools' ODBC driver (odbc-mdbtools)");
  Connection connection;
  connection.Open("Driver=" + driver_ + ";DBQ=" + file_);
  Recordset rs;
  rs.Open("SELECT * FROM Fruit", connection);
  ASSERT_EQ(rs.FieldCount(), 11);
  EXPECT_EQ(rs.Fields(0).Type(), adVarChar);
  EXPECT_EQ(rs.Fields(4).Name(), "Sugar");
  EXPECT_EQ(rs.Fields(4).Type(), adInteger);
  EXPECT_EQ(rs.Fields(4).Value().As<std::int64_t>(), 12);
  int rows = 0;
  // The driver's own WHERE cannot be trusted; the row is looked for here.
  for (; !rs.Eof(); rs.MoveNext(), ++rows) {
    if (rs.Fields(0).Value().As<std::string>() != "Kumquat") continue;
    EXPECT_EQ(rs.Fields(6).Value().As<std::int64_t>(), 55);
    EXPECT_TRUE(rs.Fields(9).Value().IsNull());  // empty in the file
    EXPECT_TRUE(rs.Fields(10).Value().IsNull());
  }
  EXPECT_EQ(rows, 37);
}

TEST_F(LooseOdbcDriverTest, AFailureWithoutTheDriversReasonNamesTheCallOnLinux) {
  VN_REQUIRE_TEST_PIECE(!driver_.empty(), "mdbtools' ODBC driver (odbc-mdbtools)");
  Connection connection;
  RuntimeError error =
      ErrorOf([&] { connection.Open("Driver=" + driver_ + ";DBQ=" + folder_ + "/none.mdb"); });
  EXPECT_EQ(error.Description(), "The ODBC driver gave no reason why SQLDriverConnect failed.");
}

#endif

}  // namespace
}  // namespace vn::data::test
