#include <gtest/gtest.h>

#include "data/connection_string.h"
#include "platform/runtime_error.h"

namespace vn::data {
namespace {

TEST(ConnectionStringTest, PairsQuotingAndBlanks) {
  ConnectionString cs(
      " My Key = my value ;Extended Properties=\"DSN=x;UID=y\";Caption='say \"hi\"';"
      "Title=\"it's \"\"new\"\"\";Pwd=' a b ';A==B=1;Plain=no \"escaping\" here;Eq=a=b;");
  EXPECT_EQ(cs.Get("my key"), "my value");
  EXPECT_EQ(cs.Get("EXTENDED PROPERTIES"), "DSN=x;UID=y");
  EXPECT_EQ(cs.Get("Caption"), "say \"hi\"");
  EXPECT_EQ(cs.Get("Title"), "it's \"new\"");
  EXPECT_EQ(cs.Get("Pwd"), " a b ");
  EXPECT_EQ(cs.Get("A=B"), "1");
  EXPECT_EQ(cs.Get("Plain"), "no \"escaping\" here");
  EXPECT_EQ(cs.Get("Eq"), "a=b");
  EXPECT_FALSE(cs.Has("Missing"));
  EXPECT_EQ(cs.Get("Missing"), "");
  EXPECT_EQ(cs.Pairs().size(), 8u);
}

TEST(ConnectionStringTest, RepeatedKeysLastWinsButProviderFirst) {
  ConnectionString cs("Provider=SQLite;Data Source=a.db;PROVIDER=MSDASQL;data source=b.db");
  EXPECT_EQ(cs.Get("Provider"), "SQLite");
  EXPECT_EQ(cs.Get("Data Source"), "b.db");
}

TEST(ConnectionStringTest, TextRoundTripsThroughTheParser) {
  ConnectionString cs;
  cs.Add("Provider", "SQLite");
  cs.Add("Pwd", "a;b'c\"d");
  cs.Add("Key=X", " padded ");
  cs.Add("Lead", "=starts with equals");
  ConnectionString again(cs.Text());
  EXPECT_EQ(again.Get("Pwd"), "a;b'c\"d");
  EXPECT_EQ(again.Get("Key=X"), " padded ");
  EXPECT_EQ(again.Get("Provider"), "SQLite");
  EXPECT_EQ(again.Get("Lead"), "=starts with equals");
}

TEST(ConnectionStringTest, OdbcFormMapsAdoKeysAndBracesValues) {
  ConnectionString cs(
      "Provider=MSDASQL;Data Source=crm;User ID=u;Password=\"p;w}\";Initial Catalog=db;"
      "Persist Security Info=False;Port=5432");
  EXPECT_EQ(cs.OdbcText(), "DSN=crm;UID=u;PWD={p;w}}};DATABASE=db;Port=5432;");
  ConnectionString driver("Driver={PostgreSQL Unicode};Data Source=ignored;Server=127.0.0.1");
  EXPECT_EQ(driver.OdbcText(), "Driver={PostgreSQL Unicode};Server=127.0.0.1;");
  ConnectionString extended("Provider=MSDASQL;Extended Properties=\"DSN=x;UID=y\"");
  EXPECT_EQ(extended.OdbcText(), "DSN=x;UID=y;");
}

TEST(ConnectionStringTest, MalformedTextNamesThePosition) {
  try {
    ConnectionString("Provider=SQLite;Data Source='open.db");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 3001);
    EXPECT_NE(e.Description().find("position 29"), std::string::npos) << e.Description();
  }
  EXPECT_THROW(ConnectionString("Provider=SQLite;JustAWord"), RuntimeError);
  EXPECT_THROW(ConnectionString("=value"), RuntimeError);
  EXPECT_NO_THROW(ConnectionString(";;Provider=SQLite;;"));
}

}  // namespace
}  // namespace vn::data
