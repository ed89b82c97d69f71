#include "data/errors.h"
#include "data/field.h"
#include "data/provider.h"
#include "data/shape_parser.h"
#include "data_test_support.h"

namespace vn::data::test {
namespace {

constexpr const char* kShop =
    "CREATE TABLE kunde (nr INTEGER, region TEXT, name TEXT);"
    "INSERT INTO kunde VALUES (1, 'N', 'Anna'), (2, 'S', 'Bernd'), (3, 'N', 'Cäcilie'), "
    "(NULL, 'N', 'Niemand');"
    "CREATE TABLE auftrag (id INTEGER, kunde_nr TEXT, region TEXT, summe DOUBLE);"
    "INSERT INTO auftrag VALUES (10, '1', 'N', 5.5), (11, '2', 'S', 7), (12, '1', 'N', 1), "
    "(13, '1', 'S', 9), (14, '9', 'N', 3);"
    "CREATE TABLE posten (auftrag_id INTEGER, artikel TEXT);"
    "INSERT INTO posten VALUES (12, 'Öl'), (10, 'Tür'), (10, 'Schloss'), (11, 'Rad');"
    "CREATE TABLE notiz (nr INTEGER, text TEXT);"
    "INSERT INTO notiz VALUES (3, 'ruft zurück'), (1, 'VIP');";

class ShapeTest : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    MakeDatabase("databases/shop.db", kShop);
    connection_.Open("Provider=MSDataShape;Data Provider=SQLite;Data Source=databases/shop.db");
  }
  std::string Run(const std::string& command) {
    Recordset rs;
    rs.Open(command, connection_, adOpenForwardOnly, adLockUnspecified, -1);
    return Dump(rs);
  }
  Connection connection_;
};

TEST_F(ShapeTest, PlainCommandPassesThrough) {
  EXPECT_EQ(Run("  select nr, name from kunde where nr < 3 order by nr"), "1|Anna;2|Bernd");
  EXPECT_EQ(Run("SELECT 'SHAPE' AS shaped"), "SHAPE");
}

TEST_F(ShapeTest, ChaptersHoldTheChildRowsOfEachParentInChildOrder) {
  Recordset rs;
  rs.Open(
      "SHAPE {SELECT nr, name FROM kunde ORDER BY name}  AS k APPEND ({SELECT id, kunde_nr "
      "FROM auftrag ORDER BY id DESC}  AS a RELATE nr TO kunde_nr) AS Auftraege",
      connection_);
  ASSERT_EQ(rs.FieldCount(), 3);
  EXPECT_EQ(rs.Fields(2).Name(), "Auftraege");
  EXPECT_EQ(rs.Fields(2).Type(), adChapter);
  EXPECT_EQ(rs.RecordCount(), 4);
  auto child = rs.Fields("auftraege").Value().As<std::shared_ptr<Recordset>>();
  EXPECT_EQ(child->RecordCount(), 3);
  auto clone = child->Clone();
  // Integer parent keys meet text child keys numerically; a NULL key meets nothing.
  EXPECT_EQ(Dump(rs), "1|Anna|{13|1;12|1;10|1};2|Bernd|{11|2};3|Cäcilie|{};NULL|Niemand|{}");
  EXPECT_EQ(Dump(*clone), "13|1;12|1;10|1");
  EXPECT_EQ(Dump(*child), "13|1;12|1;10|1");
}

TEST_F(ShapeTest, EmptyChildIsAnEmptyRecordsetNotNull) {
  Recordset rs;
  rs.Open(
      "SHAPE {SELECT nr FROM kunde WHERE nr = 3} APPEND ({SELECT id, kunde_nr FROM auftrag} "
      "RELATE nr TO kunde_nr)",
      connection_);
  EXPECT_EQ(rs.Fields(1).Name(), "Chapter1");
  auto child = rs.Fields(1).Value().As<std::shared_ptr<Recordset>>();
  EXPECT_TRUE(child->Bof());
  EXPECT_TRUE(child->Eof());
  EXPECT_EQ(child->RecordCount(), 0);
  EXPECT_EQ(child->FieldCount(), 2);
  EXPECT_EQ(child->Clone()->RecordCount(), 0);
}

TEST_F(ShapeTest, SeveralRelationPairsSeveralChildrenAndQuotedNames) {
  EXPECT_EQ(Run("SHAPE {SELECT nr, region FROM kunde WHERE nr IS NOT NULL ORDER BY nr} "
                "APPEND ({SELECT id, kunde_nr, region FROM auftrag} RELATE [nr] TO \"kunde_nr\", "
                "'REGION' TO region) AS a, ({SELECT nr, text FROM notiz} RELATE nr TO nr), "
                "({SELECT nr FROM notiz} AS innen RELATE (nr TO nr))"),
            "1|N|{10|1|N;12|1|N}|{1|VIP}|{1};2|S|{11|2|S}|{}|{};3|N|{}|{3|ruft zurück}|{3}");
  Recordset rs;
  rs.Open(
      "SHAPE {SELECT nr FROM kunde} APPEND ({SELECT nr FROM notiz} RELATE nr TO nr), "
      "({SELECT nr FROM notiz} AS innen RELATE nr TO nr)",
      connection_);
  EXPECT_EQ(rs.Fields(1).Name(), "Chapter1");
  EXPECT_EQ(rs.Fields(2).Name(), "innen");
}

TEST_F(ShapeTest, ThreeLevelsNestedInTheChildAndInTheParent) {
  EXPECT_EQ(Run("SHAPE {SELECT nr FROM kunde WHERE nr IS NOT NULL ORDER BY nr} APPEND ((SHAPE "
                "{SELECT id, kunde_nr AS hide_k FROM auftrag ORDER BY id} APPEND ({SELECT "
                "auftrag_id, artikel FROM posten ORDER BY rowid} RELATE id TO auftrag_id) AS p) "
                "RELATE nr TO hide_k) AS a"),
            "1|{10|1|{10|Tür;10|Schloss};12|1|{12|Öl};13|1|{}};2|{11|2|{11|Rad}};3|{}");
  EXPECT_EQ(Run("SHAPE (SHAPE {SELECT nr FROM kunde WHERE nr < 3 ORDER BY nr} APPEND ({SELECT "
                "id, kunde_nr FROM auftrag WHERE id < 12} RELATE nr TO kunde_nr) AS a) APPEND "
                "({SELECT nr, text FROM notiz} RELATE nr TO nr) AS n"),
            "1|{10|1}|{1|VIP};2|{11|2}|{}");
}

// Counts the commands that reach the data provider.
class CountingProvider : public Provider {
 public:
  CountingProvider(std::unique_ptr<Provider> inner, int& count)
      : inner_(std::move(inner)), count_(count) {}
  std::shared_ptr<CommandRunner> Command(const std::string& command) override {
    ++count_;
    return inner_->Command(command);
  }

 private:
  std::unique_ptr<Provider> inner_;
  int& count_;
};

TEST_F(ShapeTest, EachCommandRunsOnceNotOncePerParentRow) {
  int count = 0;
  auto provider = OpenShapeProvider(std::make_unique<CountingProvider>(
      OpenSqliteProvider(ConnectionString("Data Source=databases/shop.db"), false,
                         ConnectOptions{}),
      count));
  auto cursor = provider->Open(
      "SHAPE {SELECT nr FROM kunde} APPEND ((SHAPE {SELECT id, kunde_nr FROM auftrag} APPEND "
      "({SELECT auftrag_id FROM posten} RELATE id TO auftrag_id)) RELATE nr TO kunde_nr)");
  EXPECT_EQ(count, 3);
  auto rs = MakeRecordset(std::move(cursor));
  Dump(*rs);
  EXPECT_EQ(count, 3);
}

TEST_F(ShapeTest, MalformedCommandsNameThePositionAndWhatWasExpected) {
  struct Case {
    const char* command;
    const char* description;
  };
  const Case cases[] = {
      {"SHAPE",
       "Syntax error in the SHAPE command at position 6: expected '{', '(' and a nested "
       "SHAPE, after SHAPE, found the end of the command."},
      {"SHAPE {SELECT 1",
       "Syntax error in the SHAPE command at position 16: expected '}' to close "
       "the command begun at position 7, found the end of the command."},
      {"SHAPE {SELECT nr FROM kunde} APPEND ({SELECT 1} nr TO x)",
       "Syntax error in the SHAPE command at position 52: expected RELATE, found 'TO'."},
      {"SHAPE {SELECT nr FROM kunde} APPEND ({SELECT 1} RELATE nr x)",
       "Syntax error in the SHAPE command at position 59: expected TO, found 'x'."},
      {"SHAPE {a} APPEND ({b} RELATE x TO y",
       "Syntax error in the SHAPE command at position 36: "
       "expected ')' or ',' after the relation begun at "
       "position 18, found the end of the command."},
      {"SHAPE {a} junk more",
       "Syntax error in the SHAPE command at position 16: expected the end "
       "of the command, found 'more'."},
      {"SHAPE {a} APPEND ({b} RELATE [x TO y)",
       "Syntax error in the SHAPE command at position 38: "
       "expected the closing ] of the name begun at "
       "position 30, found the end of the command."},
  };
  for (const Case& c : cases) {
    RuntimeError e = ErrorOf([&] { ParseShape(c.command); });
    EXPECT_EQ(e.Number(), kErrCommandFailed) << c.command;
    EXPECT_EQ(e.Description(), c.description) << c.command;
  }
  RuntimeError e = ErrorOf([&] { Run("SHAPE {SELECT nr FROM kunde} COMPUTE x BY y"); });
  EXPECT_EQ(e.Number(), kErrFeatureNotAvailable);
  EXPECT_EQ(e.Description(),
            "The SHAPE command uses COMPUTE at position 30, which is not supported.");
  e = ErrorOf([&] {
    Run("SHAPE {SELECT nr FROM kunde} APPEND ({SELECT id FROM auftrag} RELATE nr TO kunde_nr)");
  });
  EXPECT_EQ(e.Description(),
            "The relation at position 70 names the column 'kunde_nr', which the "
            "child command does not return.");
  e = ErrorOf([&] { Run("SHAPE {SELECT nope FROM kunde}"); });
  EXPECT_EQ(e.Number(), kErrCommandFailed);
  EXPECT_NE(e.Description().find("nope"), std::string::npos);
}

TEST_F(ShapeTest, BracesInsideLiteralsDoNotEndTheCommand) {
  auto shape = ParseShape("shape {SELECT '}' AS a, \"{\" AS b} AS p");
  ASSERT_TRUE(shape.has_value());
  EXPECT_EQ(shape->parent.providerText, "SELECT '}' AS a, \"{\" AS b");
  EXPECT_EQ(shape->alias, "p");
  EXPECT_FALSE(ParseShape("SHAPED_TABLE").has_value());
  std::string deep = "SHAPE {x}";
  for (int i = 0; i < 20; ++i) deep = "SHAPE (" + deep + ")";
  EXPECT_NE(ErrorOf([&] { ParseShape(deep); }).Description().find("deeper than 16"),
            std::string::npos);
}

TEST_F(ShapeTest, ConnectionFailuresOfTheShapingService) {
  Connection c;
  EXPECT_EQ(ErrorOf([&] { c.Open("Provider=MSDataShape;Data Source=x"); }).Number(),
            kErrProviderFailed);
  RuntimeError e =
      ErrorOf([&] { c.Open("Provider=MSDataShape;Data Provider=Nowhere;Data Source=x"); });
  EXPECT_EQ(e.Number(), kErrProviderNotFound);
  EXPECT_NE(e.Description().find("'Nowhere'"), std::string::npos);
}

}  // namespace
}  // namespace vn::data::test
