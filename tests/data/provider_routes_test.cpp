// The OLE DB providers of existing configurations and the ODBC connection strings they become
// on each system, then the same providers through Connection on the system at hand.
#include <gtest/gtest.h>

#include "data/connect_options.h"
#include "data/errors.h"
#include "data/odbc_drivers.h"
#include "data/odbc_routes.h"
#include "tests/data/access_test_file.h"
#include "tests/data/data_test_support.h"
#include "platform/text.h"

namespace vn::data::test {
namespace {

struct SqlServerCase {
  OdbcSystem system;
  std::vector<std::string> installed;
  std::string freeTdsLibrary;
  std::string oleDb;
  std::string odbc;  // the ODBC string, or the failure's text when the system has no driver
};

const std::vector<std::string> kFreeTds = {"PostgreSQL Unicode", "FreeTDS"};
const std::vector<std::string> kAllWindows = {"SQL Server", "ODBC Driver 17 for SQL Server",
                                              "ODBC Driver 18 for SQL Server",
                                              "SQL Server Native Client 11.0"};

const SqlServerCase kSqlServerCases[] = {
    // Linux: FreeTDS, registered or only installed; port apart, no protocol prefix.
    {OdbcSystem::kLinux, kFreeTds, "",
     "Provider=SQLOLEDB;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=u;Password=p",
     "Driver={FreeTDS};Server=127.0.0.1;Port=1;Database=x;UID=u;PWD=p;"},
    {OdbcSystem::kLinux, kFreeTds, "",
     "Provider=SQLOLEDB.1;Server=tcp:db.example.com, 1433;Database=crm;"
     "Integrated Security=SSPI;User ID=ignored",
     "Driver={FreeTDS};Server=db.example.com;Port=1433;Database=crm;Trusted_Connection=yes;"},
    {OdbcSystem::kLinux, kFreeTds, "",
     "Provider=sqlncli11;Address=srv\\SQLEXPRESS;Trusted_Connection=Yes;"
     "Application Name=Varnolis;Workstation ID=PC1",
     "Driver={FreeTDS};Server=srv\\SQLEXPRESS;Trusted_Connection=yes;APP=Varnolis;WSID=PC1;"},
    {OdbcSystem::kLinux, kFreeTds, "",
     "Provider=MSOLEDBSQL;Data Source=(local);Encrypt=yes;TrustServerCertificate=true;"
     "Auto Translate=False;TDS_Version=7.4",
     "Driver={FreeTDS};Server=localhost;Encryption=require;TDS_Version=7.4;"},
    {OdbcSystem::kLinux, kFreeTds, "",
     "Provider=SQLNCLI;Network Address=a;Addr=b;Encrypt=no;User ID=u;Password=\"p;w\";"
     "Persist Security Info=False;Mode=Read",
     "Driver={FreeTDS};Server=b;UID=u;PWD={p;w};Encryption=request;"},
    {OdbcSystem::kLinux,
     {},
     "/usr/lib/odbc/libtdsodbc.so",
     "Provider=SQLNCLI10;Data Source=h",
     "Driver=/usr/lib/odbc/libtdsodbc.so;Server=h;"},
    {OdbcSystem::kLinux,
     {"PostgreSQL Unicode"},
     "",
     "Provider=MSOLEDBSQL19;Data Source=h",
     "The SQL Server providers reach SQL Server through FreeTDS' ODBC driver, which is not "
     "installed: install the package tdsodbc."},
    // Windows: the newest driver installed; the provider's default encryption where the
    // driver's differs.
    {OdbcSystem::kWindows, kAllWindows, "",
     "Provider=SQLOLEDB;Data Source=srv,1433;Initial Catalog=x;User ID=u;Password=p",
     "Driver={ODBC Driver 18 for SQL Server};Server=srv,1433;Database=x;UID=u;PWD=p;"
     "Encrypt=no;"},
    {OdbcSystem::kWindows, kAllWindows, "",
     "Provider=MSOLEDBSQL19;Data Source=srv\\inst;Integrated Security=SSPI",
     "Driver={ODBC Driver 18 for SQL Server};Server=srv\\inst;Trusted_Connection=yes;"},
    {OdbcSystem::kWindows,
     {"SQL Server", "ODBC Driver 17 for SQL Server"},
     "",
     "Provider=SQLOLEDB.1;Server=tcp:srv,1433;Database=d;Encrypt=Mandatory;"
     "TrustServerCertificate=yes;Application Name=App",
     "Driver={ODBC Driver 17 for SQL Server};Server=tcp:srv,1433;Database=d;APP=App;"
     "Encrypt=yes;TrustServerCertificate=yes;"},
    {OdbcSystem::kWindows,
     {"SQL Server", "SQL Server Native Client 11.0"},
     "",
     "Provider=SQLNCLI11;Data Source=.;Workstation ID=W;Trust Server Certificate=False",
     "Driver={SQL Server Native Client 11.0};Server=.;WSID=W;TrustServerCertificate=no;"},
    {OdbcSystem::kWindows,
     {"sql server"},
     "",
     "Provider=SQLNCLI;Data Source=s;Password=p",
     "Driver={sql server};Server=s;PWD=p;"},
    {OdbcSystem::kWindows,
     {},
     "",
     "Provider=SQLOLEDB;Data Source=s",
     "No SQL Server ODBC driver is installed (not even Windows' own \"SQL Server\"): install "
     "Microsoft's \"ODBC Driver 18 for SQL Server\"."},
};

// The ODBC string, or the failure's text.
template <typename F>
std::string OdbcOrFailure(F&& map) {
  try {
    return map().OdbcText();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kErrProviderNotFound);
    return error.Description();
  }
}

TEST(ProviderRoutesTest, SqlServerProvidersAndTheirKeysOnBothSystems) {
  for (const SqlServerCase& c : kSqlServerCases) {
    ConnectionString pairs(c.oleDb);
    TakeConnectOptions(pairs, 0);
    EXPECT_EQ(OdbcOrFailure([&] {
                return SqlServerOdbcPairs(pairs, pairs.Get("Provider"), c.system, c.installed,
                                          c.freeTdsLibrary);
              }),
              c.odbc)
        << c.oleDb;
  }
}

TEST(ProviderRoutesTest, AccessFilesOverWindowsAccessDrivers) {
  const std::vector<std::string> both = {"Microsoft Access Driver (*.mdb)",
                                         "Microsoft Access Driver (*.mdb, *.accdb)"};
  const std::vector<std::string> aceOnly = {"Microsoft Access Driver (*.mdb, *.accdb)"};
  struct Case {
    std::vector<std::string> installed;
    bool ace;
    std::string oleDb;
    std::string odbc;
  };
  const Case cases[] = {
      {both, false,
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\db\\a.mdb;User ID=Admin;Password=pw;"
       "Jet OLEDB:System database=C:\\db\\sys.mdw;Mode=Read",
       "Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\db\\a.mdb;SystemDB=C:\\db\\sys.mdw;"
       "UID=Admin;PWD=pw;ReadOnly=1;"},
      {both, true,
       "Provider=Microsoft.ACE.OLEDB.16.0;Data Source=C:\\db\\a.mdb;Password=user;"
       "Jet OLEDB:Database Password=\"ge;heim\";Mode=Share Deny None|Share Exclusive",
       "Driver={Microsoft Access Driver (*.mdb, *.accdb)};DBQ=C:\\db\\a.mdb;PWD={ge;heim};"
       "Exclusive=1;"},
      {aceOnly, false, "Provider=microsoft.jet.oledb.4.0;Data Source=C:\\db\\a.mdb",
       "Driver={Microsoft Access Driver (*.mdb, *.accdb)};DBQ=C:\\db\\a.mdb;"},
      {{"Microsoft Access Driver (*.mdb)"},
       true,
       "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\db\\a.mdb",
       "Reading the Access file 'C:\\db\\a.mdb' needs the ODBC driver \"Microsoft Access Driver "
       "(*.mdb, *.accdb)\", which is not installed: install the Microsoft Access Database Engine "
       "2016 Redistributable (32-bit)."},
  };
  for (const Case& c : cases) {
    ConnectionString pairs(c.oleDb);
    const ConnectOptions options = TakeConnectOptions(pairs, 0);
    EXPECT_EQ(OdbcOrFailure([&] {
                return AccessOdbcPairs(pairs, "C:\\db\\a.mdb", c.ace, options.readOnly,
                                       c.installed);
              }),
              c.odbc)
        << c.oleDb;
  }
}

TEST(ProviderRoutesTest, ProviderNamesInAnyCase) {
  for (const char* name : {"Microsoft.Jet.OLEDB.4.0", "MICROSOFT.JET.OLEDB.4.0",
                           "Microsoft.ACE.OLEDB.12.0", "microsoft.ace.oledb.16.0"}) {
    EXPECT_TRUE(IsJetProvider(name)) << name;
    EXPECT_FALSE(IsSqlServerProvider(name)) << name;
  }
  for (const char* name : {"SQLOLEDB", "sqloledb.1", "SQLNCLI", "SQLNCLI10", "SqlNcli11",
                           "MSOLEDBSQL", "MSOLEDBSQL19", " SQLOLEDB "}) {
    EXPECT_TRUE(IsSqlServerProvider(name)) << name;
  }
  for (const char* name : {"MSDASQL", "SQLOLEDB.2", "MSOLEDBSQL18", "Microsoft.Jet", "SQLite"}) {
    EXPECT_FALSE(IsSqlServerProvider(name) || IsJetProvider(name)) << name;
  }
}

class ProviderRoutesConnectionTest : public DataTest {};

TEST_F(ProviderRoutesConnectionTest, AnUnknownProviderNamesTheUnderstoodOnesAndOdbc) {
  Connection connection;
  RuntimeError error = ErrorOf([&] { connection.Open("Provider=Oracle.OLEDB;Data Source=x"); });
  EXPECT_EQ(error.Number(), kErrProviderNotFound);
  EXPECT_EQ(error.Description(),
            "Provider cannot be found: 'Oracle.OLEDB'. Understood providers: "
            "Microsoft.Jet.OLEDB.4.0, Microsoft.ACE.OLEDB.12.0 and Microsoft.ACE.OLEDB.16.0 "
            "(Access and SQLite files); SQLOLEDB, SQLNCLI, SQLNCLI10, SQLNCLI11, MSOLEDBSQL and "
            "MSOLEDBSQL19 (SQL Server); MSDASQL (ODBC); SQLite; MSDataShape. An ODBC connection "
            "string (Driver={...};... or DSN=...) reaches any installed ODBC driver.");
}

#ifdef _WIN32

// Wine has neither SQL Server's nor Access's ODBC drivers: the page's message names them.
TEST_F(ProviderRoutesConnectionTest, MissingDriversNameWhatToInstallOnWindows) {
  const std::vector<std::string> drivers = InstalledOdbcDrivers();
  for (const std::string& driver : drivers) {
    if (EqualsIgnoringCase(driver, "SQL Server")) GTEST_SKIP() << "a real Windows";
  }
  Connection connection;
  RuntimeError error =
      ErrorOf([&] { connection.Open("Provider=SQLNCLI11;Data Source=s;Password=p"); });
  EXPECT_EQ(error.Number(), kErrProviderNotFound);
  EXPECT_EQ(error.Description(),
            "No SQL Server ODBC driver is installed (not even Windows' own \"SQL Server\"): "
            "install Microsoft's \"ODBC Driver 18 for SQL Server\".");
  const std::string fruit = FruitMdb();
  if (fruit.empty()) return;
  error =
      ErrorOf([&] { connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fruit); });
  EXPECT_EQ(error.Description(),
            "Reading the Access file '" + fruit +
                "' needs the ODBC driver \"Microsoft Access Driver (*.mdb)\", which is not "
                "installed: install the Microsoft Access Database Engine 2016 Redistributable "
                "(32-bit).");
}

#else

TEST_F(ProviderRoutesConnectionTest, SqlServerProviderReachesFreeTdsAndShowsItsReasonOnLinux) {
  VN_REQUIRE_TEST_PIECE(!OdbcDriverLibrary("libtdsodbc.so").empty(), "FreeTDS (tdsodbc)");
  Connection connection;
  RuntimeError error = ErrorOf([&] {
    connection.Open(
        "Provider=SQLOLEDB;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=u;Password=geheim;"
        "Connect Timeout=5");
  });
  EXPECT_EQ(error.Number(), kErrProviderFailed);
  // FreeTDS' own words, with their SQLSTATEs.
  EXPECT_NE(error.Description().find("[08001] [FreeTDS][SQL Server]Unable to connect"),
            std::string::npos)
      << error.Description();
  EXPECT_EQ(error.Description().find("geheim"), std::string::npos);
}

TEST_F(ProviderRoutesConnectionTest, OdbcBridgeWithItsExtendedPropertiesOnLinux) {
  const std::string driver = OdbcDriverLibrary("libsqlite3odbc.so");
  VN_REQUIRE_TEST_PIECE(!driver.empty(), "SQLite's ODBC driver (libsqliteodbc)");
  MakeDatabase("databases/b.db", "CREATE TABLE t (n INTEGER); INSERT INTO t VALUES (7);");
  Connection connection;
  connection.Open("Provider=MSDASQL;Extended Properties=\"Driver=" + driver +
                  ";Database=" + folder_ + "/databases/b.db\"");
  Recordset rs;
  rs.Open("SELECT n FROM t", connection);
  EXPECT_EQ(Dump(rs), "7");
}

#endif

}  // namespace
}  // namespace vn::data::test
