// The connection dialogs change only what the user changed: a string read and given back without
// an edit keeps its bytes; an edited field changes its own key, and every other key, the order,
// the blanks and the quoting stay.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "config/core/connection_edit.h"
#include "config/core/data_link_fields.h"
#include "platform/runtime_error.h"

namespace vn::config {
namespace {

// Strings of every kind the dialog reads, each with keys it does not show, odd blanks, quotes,
// a trailing ";", a bare word or a syntax it cannot read.
constexpr const char* kUntouched[] = {
    "Provider=SQLite;Data Source=databases/demo.db",
    "Provider=SQLite; Data Source = \"C:\\Daten;alt\\k.db\" ;Command Timeout=60;",
    "provider=sqlite;data source=/srv/k.db;Mode=Read",
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\x.mdb;Jet OLEDB:Database Password='a;b'",
    "Provider=SQLite;Data Source=/srv/kunden.db;",
    "DSN=Kunden;UID=admin;PWD=a;b",
    "dsn={Kunden alt};uid=admin;Mode=Read",
    "Driver={PostgreSQL Unicode};Server=localhost;Database=erp",
    "DRIVER={SQLite3 ODBC Driver};Database=/srv/k.db;Timeout=1000;",
    "Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db",
    "Provider=SQLOLEDB;Data Source=srv;Initial Catalog=erp;Integrated Security=SSPI",
    "Data Source='offen",
    "",
};

TEST(ConnectionRoundTripTest, AStringGivenBackWithoutAnEditKeepsItsBytes) {
  for (const char* text : kUntouched) {
    SCOPED_TRACE(text);
    EXPECT_EQ(DataLinkFields::Read(text).ConnectionString(), text);
    EXPECT_EQ(MergeDialogResult(text, text), text);
  }
}

struct EditCase {
  const char* what;
  const char* read;
  std::function<void(DataLinkFields&)> edit;
  const char* written;
};

TEST(ConnectionRoundTripTest, AnEditChangesItsKeyAndKeepsEveryOther) {
  const EditCase cases[] = {
      {"file_kept_keys_and_blanks",
       "Provider=SQLite; Data Source=\"C:\\Daten;alt\\k.db\";Mode=Read;Command Timeout=30",
       [](DataLinkFields& f) { f.file = "C:\\neu.db"; },
       "Provider=SQLite; Data Source=C:\\neu.db;Mode=Read;Command Timeout=30"},
      {"file_with_a_semicolon_quoted", "Provider=SQLite;Data Source=/srv/k.db;Mode=Read;",
       [](DataLinkFields& f) { f.file = "/srv/a;b.db"; },
       "Provider=SQLite;Data Source=\"/srv/a;b.db\";Mode=Read;"},
      {"jet_password_kept",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a.mdb;Jet OLEDB:Database Password=x",
       [](DataLinkFields& f) { f.file = "C:\\b.mdb"; },
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\b.mdb;Jet OLEDB:Database Password=x"},
      {"dsn_user", "DSN=Kunden;UID=admin;PWD=geheim;Mode=Read",
       [](DataLinkFields& f) { f.user = "otto"; }, "DSN=Kunden;UID=otto;PWD=geheim;Mode=Read"},
      {"dsn_password_added", "DSN=Kunden;Mode=Read", [](DataLinkFields& f) { f.password = "p;w"; },
       "DSN=Kunden;Mode=Read;PWD=\"{p;w}\""},
      {"dsn_password_emptied", "DSN=Kunden;PWD=alt;Mode=Read",
       [](DataLinkFields& f) { f.password.clear(); }, "DSN=Kunden;Mode=Read"},
      {"driver_keys", "Driver={PostgreSQL Unicode};Server=localhost;Database=erp;Port=5432",
       [](DataLinkFields& f) { f.keys = "Server=localhost\nDatabase=crm"; },
       "Driver={PostgreSQL Unicode};Server=localhost;Database=crm"},
      {"kind_changed", "DSN=Kunden;UID=a;Mode=Read",
       [](DataLinkFields& f) {
         f.kind = DataLinkFields::kSqliteFile;
         f.file = "/srv/k.db";
       },
       "Mode=Read;Provider=SQLite;Data Source=/srv/k.db"},
      {"typed", "DSN=Kunden;Mode=Read", [](DataLinkFields& f) {
         f.kind = DataLinkFields::kTyped;
         f.typed = "Provider=SQLite;Data Source=x.db";
       },
       "Provider=SQLite;Data Source=x.db"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataLinkFields fields = DataLinkFields::Read(c.read);
    c.edit(fields);
    EXPECT_EQ(fields.ConnectionString(), c.written);
  }
}

// The system's dialog gives back a string of its own making: what it left as it was keeps the
// bytes of the field, what it does not show stays.
TEST(ConnectionRoundTripTest, TheSystemDialogsResultIsPutIntoTheField) {
  const struct {
    const char* original;
    const char* result;
    const char* merged;
  } cases[] = {
      {"Provider=SQLOLEDB; Data Source = srv ;Command Timeout=60",
       "Provider=SQLOLEDB.1;Data Source=srv", "Provider=SQLOLEDB.1; Data Source = srv ;Command Timeout=60"},
      {"Provider=SQLOLEDB;Data Source=srv;Mode=Read",
       "Provider=SQLOLEDB;Data Source=neu;Initial Catalog=erp",
       "Provider=SQLOLEDB;Data Source=neu;Mode=Read;Initial Catalog=erp"},
      {"Provider=SQLOLEDB;Data Source='a;b'", "Provider=SQLOLEDB;Data Source=\"a;b\"",
       "Provider=SQLOLEDB;Data Source='a;b'"},
      {"Data Source='offen", "Provider=SQLOLEDB;Data Source=srv",
       "Provider=SQLOLEDB;Data Source=srv"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.original);
    EXPECT_EQ(MergeDialogResult(c.original, c.result), c.merged);
  }
}

TEST(ConnectionRoundTripTest, ChangeKeysChangesWhereTheDataLayerReads) {
  // The first Provider counts, the last of any other key.
  EXPECT_EQ(ChangeKeys("Provider=A;Provider=B;x=1;x=2", {{"Provider", "C"}, {"X", "3"}}),
            "Provider=C;Provider=B;x=1;x=3");
  EXPECT_EQ(ChangeKeys("a=1;b=2", {{"a", std::nullopt}}), "b=2");
  EXPECT_EQ(ChangeKeys("a=1;b=2", {{"b", std::nullopt}}), "a=1");
  EXPECT_EQ(ChangeKeys("a=1;", {{"c", "x y"}}), "a=1;c=x y;");
  EXPECT_EQ(ChangeKeys("", {{"c", " x"}}), "c=\" x\"");
  EXPECT_THROW(ChangeKeys("a='1", {{"a", "2"}}), vn::RuntimeError);
}

TEST(ConnectionRoundTripTest, ProvidersTheLibraryCannotOpenAreNamed) {
  const struct {
    const char* text;
    const char* cannot;  // nullptr: it can
    bool libraryFile;
  } cases[] = {
      {"Provider=SQLite;Data Source=x.db", nullptr, true},
      {"Provider=MSDataShape;Data Provider=SQLite;Data Source=x.db", nullptr, true},
      {"DSN=Kunden", nullptr, false},
      {"Provider=MSDASQL.1;DSN=Kunden", nullptr, false},
      {"Provider=SQLOLEDB;Data Source=srv", nullptr, false},
      {"Provider=OraOLEDB.Oracle;Data Source=db", "OraOLEDB.Oracle", false},
      {"Provider=MSDataShape;Data Provider=IBMDA400;Data Source=as", "IBMDA400", false},
      {"Provider='offen", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<std::string> cannot = ProviderLibraryCannotOpen(c.text);
    EXPECT_EQ(cannot.has_value(), c.cannot != nullptr);
    if (cannot && c.cannot != nullptr) {
      EXPECT_EQ(*cannot, c.cannot);
    }
    EXPECT_EQ(OpensLibraryFile(c.text), c.libraryFile);
  }
}

}  // namespace
}  // namespace vn::config
