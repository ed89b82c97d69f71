// ACT! values placed into an entry's SQL: outside a quoted literal only numbers, inside one
// nothing that could end it.
#include <gtest/gtest.h>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "act/numeric_text.h"
#include "act_fixture.h"
#include <nlohmann/json.hpp>

namespace {

class SqlValuesTest : public vn::test::ActFixture {
 protected:
  // The result of parsing `sql` as a query with field 25 of the current contact holding
  // `value`, or "<number>: <message>" after an error.
  std::string Sql(const std::string& value, const std::string& sql, bool jet = false) {
    WriteContact(value);
    vn::clACTApplication act;
    vn::clACTDataParser parser;
    parser.Init(&act, "");
    std::string result = parser.Parse(sql, jet ? vn::ParsedText::kJetSql : vn::ParsedText::kSql);
    if (parser.Failed()) {
      EXPECT_EQ(result, parser.Text());
      return std::to_string(parser.ErrNumber()) + ": " + parser.ErrText();
    }
    return result;
  }
  void WriteContact(const std::string& value) {
    nlohmann::json contact = {{"1", "C1"}, {"25", value}, {"57", "O'Neil"}};
    WriteRunningAct(1, contact.dump());
  }
  static std::string Refused(const std::string& command) {
    return "174: Das ACT!-Quellenkommando '" + command +
           "' steht in der SQL-Abfrage außerhalb von Anführungszeichen; erwartet wurde eine Zahl.";
  }
};

TEST_F(SqlValuesTest, OutsideALiteralOnlyNumbersAreTaken) {
  const std::string sql = "SELECT * FROM kunden WHERE nr = {!kontakt, 25}";
  for (const char* number : {"10002", "-5", "+7", "1.5", "1,5", ".5", "5."}) {
    EXPECT_EQ(Sql(number, sql), std::string("SELECT * FROM kunden WHERE nr = ") + number) << number;
  }
  for (const char* hostile : {"6; DELETE FROM canary", "0 OR 1=1", "1e5", " 5", "5 ", "1.2.3",
                              "1,5.0", "+", "-", ".", "0x10", "5--", "K10001", "1)"}) {
    EXPECT_EQ(Sql(hostile, sql), Refused("kontakt, 25")) << hostile;
  }
}

TEST_F(SqlValuesTest, AnEmptyValueTakesTheDefaultAsBefore) {
  EXPECT_EQ(Sql("", "SELECT 1 WHERE nr = {!kontakt, 25, 0}"), "SELECT 1 WHERE nr = 0");
  EXPECT_EQ(Sql("", "SELECT 1 WHERE nr = {!kontakt, 25, NULL}"), "SELECT 1 WHERE nr = null");
  EXPECT_EQ(Sql("", "SELECT 1 WHERE nr = {!kontakt, 25}"), "SELECT 1 WHERE nr = ");
}

TEST_F(SqlValuesTest, InsideSingleQuotesAnyValueStaysText) {
  EXPECT_EQ(Sql("0' OR '1'='1", "SELECT 1 WHERE nr = '{!kontakt, 25}'"),
            "SELECT 1 WHERE nr = '0'' OR ''1''=''1'");
  EXPECT_EQ(Sql("x", "SELECT 'it''s' WHERE a = '{!k,57}' AND b = {!k,25}"), Refused("k,25"));
  EXPECT_EQ(Sql("7", "SELECT 'it''s' WHERE a = '{!k,57}' AND b = {!k,25}"),
            "SELECT 'it''s' WHERE a = 'O''Neil' AND b = 7");
}

TEST_F(SqlValuesTest, DoubleQuotesAreTextOnlyOnJet) {
  // Elsewhere they quote a name: the value would become SQL.
  EXPECT_EQ(Sql("a b", "SELECT \"{!kontakt,25}\" FROM t"), Refused("kontakt,25"));
  EXPECT_EQ(Sql("a b", "SELECT \"{!kontakt,25}\" FROM t", true), "SELECT \"a b\" FROM t");
  // A double quote in the value cannot end Jet's literal.
  EXPECT_EQ(Sql("x\" OR \"1\"=\"1", "SELECT 1 WHERE a = \"{!kontakt,25}\"", true),
            "SELECT 1 WHERE a = \"x\"\" OR \"\"1\"\"=\"\"1\"");
  // An apostrophe inside "..." opens no literal.
  EXPECT_EQ(Sql("0 OR 1=1", "SELECT \"it's\" WHERE a = {!kontakt,25}", true),
            Refused("kontakt,25"));
}

TEST_F(SqlValuesTest, NamesAndCommentsAreNoLiterals) {
  for (const char* sql :
       {"SELECT [it's] WHERE a = {!kontakt,25}", "SELECT `it's` WHERE a = {!kontakt,25}",
        "SELECT 1 -- it's\nWHERE a = {!kontakt,25}", "SELECT 1 /* it's */ WHERE a = {!kontakt,25}",
        "SELECT 1 WHERE a = /* {!kontakt,25} */ 1"}) {
    EXPECT_EQ(Sql("0 OR 1=1", sql), Refused("kontakt,25")) << sql;
  }
  EXPECT_EQ(Sql("0 OR 1=1", "SELECT 1 -- x\nWHERE a = '{!kontakt,25}'"),
            "SELECT 1 -- x\nWHERE a = '0 OR 1=1'");
}

TEST_F(SqlValuesTest, ANegativeNumberAfterAMinusIsRefused) {
  EXPECT_EQ(Sql("-5", "SELECT 10 -{!kontakt,25} AS x"), Refused("kontakt,25"));
  EXPECT_EQ(Sql("-5", "SELECT 10 - {!kontakt,25} AS x"), "SELECT 10 - -5 AS x");
}

TEST_F(SqlValuesTest, TitlesAndConnectionStringsTakeAnyValue) {
  WriteContact("0 OR 1=1");
  vn::clACTApplication act;
  vn::clACTDataParser parser;
  parser.Init(&act, "");
  EXPECT_EQ(parser.Parse("Kunde {!kontakt,25}", vn::ParsedText::kAsRead), "Kunde 0 OR 1=1");
  EXPECT_FALSE(parser.Failed());
}

TEST_F(SqlValuesTest, LinkProductValuesInsideQuotesHaveTheirApostrophesDoubled) {
  WriteFile(ProgramFolder() + "/Brimlow.ini", "[Brimlow]\r\nID_Nummer=57\r\n");
  EXPECT_EQ(Sql("", "SELECT 1 WHERE n = '{!brimlow, nummer}'"), "SELECT 1 WHERE n = 'O''Neil'");
  EXPECT_EQ(Sql("", "SELECT 1 WHERE n = {!brimlow, nummer}"), Refused("brimlow, nummer"));
}

TEST_F(SqlValuesTest, TheMessageInEnglish) {
  setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(Sql("x", "SELECT {!kontakt, 25}"),
            "174: The ACT! source command 'kontakt, 25' stands outside quotes in the SQL query; a "
            "number was expected.");
}

}  // namespace
