// The connection message of a data entry shows its connection string without the password and,
// where a driver or library outside the program failed, that one's reason.
#include "render/entry_source.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/odbc_drivers.h"
#include "platform/runtime_error.h"
#include "tests/render/page_fixture.h"

namespace {

class EntrySourceTest : public vn::testing::PageFixture {};

TEST_F(EntrySourceTest, TheConnectionMessageHidesThePassword) {
  const std::string message =
      ">Es konnte keine Verbindung zu der Datenbank hergestellt werden.<br>Connection String: ";
  // An unknown provider is the program's own failure: the message ends with the string.
  {
    vn::clHTMLError error;
    error.Init("clHTMLList", "");
    EXPECT_EQ(vn::OpenEntryConnection(error,
                                      "Provider=Nirgendwo;Data Source=x;User ID=vn;PWD=vn-test-pw"),
              nullptr);
    EXPECT_EQ(error.Number(), 101);
    EXPECT_NE(error.Description().find(message +
                                       "Provider=Nirgendwo;Data Source=x;User ID=vn;PWD=***</TD>"),
              std::string::npos)
        << error.Description();
    EXPECT_EQ(error.Description().find("vn-test-pw"), std::string::npos);
  }
  // The driver manager's reason ("Can't open lib", "Data source name not found") follows on a
  // line of its own, without the password either.
  {
    vn::clHTMLError error;
    error.Init("clHTMLList", "");
    EXPECT_EQ(
        vn::OpenEntryConnection(error, "Provider=MSDASQL;Driver={Nirgendwo};Password='vn;test'"),
        nullptr);
    EXPECT_EQ(error.Number(), 101);
    const std::string& d = error.Description();
    const size_t at = d.find(message + "Provider=MSDASQL;Driver={Nirgendwo};Password=***<BR>[");
    EXPECT_NE(at, std::string::npos) << d;
    EXPECT_EQ(d.find("vn;test"), std::string::npos);
  }
}

#ifdef _WIN32
// Wine has no SQL Server driver: the page's message says what to install.
TEST_F(EntrySourceTest, AMissingSqlServerDriverNamesWhatToInstallOnWindows) {
  for (const std::string& driver : vn::data::InstalledOdbcDrivers()) {
    if (driver == "SQL Server") GTEST_SKIP() << "a real Windows";
  }
  vn::clHTMLError error;
  error.Init("clHTMLList", "");
  EXPECT_EQ(vn::OpenEntryConnection(error, "Provider=SQLNCLI11;Data Source=s;Password=p"), nullptr);
  EXPECT_NE(
      error.Description().find(
          "Connection String: Provider=SQLNCLI11;Data Source=s;Password=***<BR>No SQL "
          "Server ODBC driver is installed (not even Windows&#39; own &quot;SQL Server&quot;): "
          "install Microsoft&#39;s &quot;ODBC Driver 18 for SQL Server&quot;.</TD>"),
      std::string::npos)
      << error.Description();
}
#else
// The block exactly as a page carries it, for the Linux reader of Access files without its
// library. (The expected block holds the Linux path of the plus image.)
TEST_F(EntrySourceTest, AMissingLibraryNamesWhatToInstallInTheBlockOnLinux) {
  vn::clHTMLError error;
  error.Init("clHTMLList", "");
  const vn::RuntimeError missing(
      vn::data::kErrProviderNotFound,
      "Reading Access files on Linux needs mdbtools' library, but libmdb.so.3 is not installed: "
      "install the package libmdb3 (or mdbtools, which brings it).",
      vn::data::kSourceJet);
  vn::RecordConnectionFailure(
      error,
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/a.mdb;Jet OLEDB:Database Password=x",
      missing);
  EXPECT_EQ(error.Number(), 101);
  EXPECT_EQ(
      error.Description(),
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\"><TR>"
      "<TD  CLASS=\"errortitle\"><IMG  NAME=\"img_error_clHTMLList\" "
      "SRC=\"/opt/Varnolis/ResourceHTML/plus.gif\" onclick=\"DisplayItem "
      "'img_error_clHTMLList','div_error_clHTMLList'\" onmouseover=\"Point "
      "'img_error_clHTMLList'\" onmouseout=\"DontPoint 'img_error_clHTMLList'\" WIDTH=\"11\" "
      "HEIGHT=\"11\" ALIGN=\"absmiddle\">&nbsp;&nbsp;<B>Hinweis von Klasse clHTMLList.</B></TD>"
      "</TR></TABLE>\r\n"
      "<DIV  ID=\"div_error_clHTMLList\" STYLE=\"display:none\">\r\n"
      "<TABLE border=\"0\" cellpadding=\"2\" cellspacing=\"0\" WIDTH=\"100%\">"
      "<TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">Nummer</TD><TD  CLASS=\"errortext\">"
      "Beschreibung</TD></TR><TR  VALIGN=\"top\"><TD  CLASS=\"errortext\">101</TD>"
      "<TD  CLASS=\"errortext\">Es konnte keine Verbindung zu der Datenbank hergestellt "
      "werden.<br>Connection String: Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/a.mdb;"
      "Jet OLEDB:Database Password=***<BR>Reading Access files on Linux needs mdbtools&#39; "
      "library, but libmdb.so.3 is not installed: install the package libmdb3 (or mdbtools, "
      "which brings it).</TD></TR></TABLE></DIV>");
}
#endif

// A driver's text is page text: no markup, no password; its "%s" is text, never filled.
TEST_F(EntrySourceTest, TheDriversReasonIsShownAsTextWithoutPasswords) {
  const std::string connection = "Driver={X};UID=vn;PWD=s3cret";
  const vn::RuntimeError reason(vn::data::kErrProviderFailed,
                                "[28000] <b>Login</b> failed for \"vn\" & s3cret: 100%s",
                                vn::data::kSourceOdbc);
  vn::clHTMLError error;
  error.Init("clHTMLList", "");
  vn::RecordConnectionFailure(error, connection, reason);
  EXPECT_NE(error.Description().find(
                "Connection String: Driver={X};UID=vn;PWD=***<BR>[28000] &lt;b&gt;Login&lt;/b&gt; "
                "failed for &quot;vn&quot; &amp; ***: 100%s</TD>"),
            std::string::npos)
      << error.Description();
  // The program's own providers (here SQLite's) keep the message without a reason.
  vn::RecordConnectionFailure(
      error, connection,
      vn::RuntimeError(vn::data::kErrProviderFailed, "Could not find file 'x'.", "SQLite"));
  EXPECT_NE(error.Description().find("Connection String: Driver={X};UID=vn;PWD=***</TD>"),
            std::string::npos)
      << error.Description();
}

}  // namespace
