// The texts of a record status and a notification reason, and the data environment's rewrite
// of the Data Source and its database path.
#include "config/core/data_env.h"
#include "config/core/record_status.h"
#include "config/core/version_texts.h"
#include "core_fixture.h"

namespace vn::config::testing {
namespace {

TEST(RecordStatusTextTest, EveryFlagSetGivesItsLineInOrderEachAfterALineBreak) {
  EXPECT_EQ(RecordStatusText(0), std::string());
  EXPECT_EQ(RecordStatusText(0x8),
            std::string("\nEs gibt keine anstehenden Änderungen in diesen Datensatz."));
  EXPECT_EQ(RecordStatusText(0x40004),
            std::string("\nDer Datensatz wurde aus der Datensatzgruppe gelöscht."
                        "\nDer Datensatz wurde aus der Datenquelle gelöscht."));
  EXPECT_EQ(RecordStatusText(0x1001),
            std::string("\nDer Datensatz ist ein neuer anstehender Datensatz, der noch nicht in "
                        "der Datenbank gespeichert wurde.\nDer Datensatz wurde nicht gespeichert, "
                        "da der Benutzer die Integritätseinschränkungen verletzt hat."));
  // 0x20 and 0x200 are no flags of their own.
  EXPECT_EQ(RecordStatusText(0x220), std::string());
}

TEST(VersionTextTest, SplashShowsThreeNumbersAboutShowsFourWithALiteralZero) {
  EXPECT_EQ(SplashVersionText(2, 1, 17), "Version 2.1.17");
  EXPECT_EQ(InfoVersionText(2, 1, 17), "Version 2.1.0.17");
}

TEST(RecordStatusTextTest, ReasonWords) {
  EXPECT_EQ(GetADOEventReason(1), std::string("AddNew"));
  EXPECT_EQ(GetADOEventReason(11), std::string("FirstChange"));
  EXPECT_EQ(GetADOEventReason(15), std::string("MoveLast"));
  EXPECT_EQ(GetADOEventReason(0), std::string("Unkown"));
  EXPECT_EQ(GetADOEventReason(16), std::string("Unkown"));
}

TEST(DataSourceRewriteTest, OnlyTheFirstDataSourceElementChanges) {
  EXPECT_EQ(
      DataEnv::RewriteDataSource(DataEnv::kConfigConnection, "/opt/Tools/databases/config.mdb"),
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/Tools/databases/config.mdb;"
      "Persist Security Info=False;");
  // Not the first element: everything else keeps its place; no trailing ";" stays without one.
  EXPECT_EQ(DataEnv::RewriteDataSource("Persist Security Info=False;Data Source=alt.mdb;Mode=Read",
                                       "/x.mdb"),
            "Persist Security Info=False;Data Source=/x.mdb;Mode=Read");
  EXPECT_EQ(DataEnv::RewriteDataSource("Data Source=a;Data Source=b", "/x"),
            "Data Source=/x;Data Source=b");
  // The comparison of the first eleven characters minds case; nothing matches, nothing changes.
  EXPECT_EQ(DataEnv::RewriteDataSource("data source=a;", "/x"), "data source=a;");
  EXPECT_EQ(DataEnv::RewriteDataSource("Data Sourcery=1;;", "/x"), "Data Source=/x;;");
#ifdef _WIN32
  EXPECT_EQ(DataEnv::DatabasePath("C:\\Tools"), "C:\\Tools\\databases\\config.mdb");
#else
  EXPECT_EQ(DataEnv::DatabasePath("/opt/Tools"), "/opt/Tools/databases/config.mdb");
#endif
}

}  // namespace
}  // namespace vn::config::testing
