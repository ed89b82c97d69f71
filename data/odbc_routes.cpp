#include "data/odbc_routes.h"

#include <array>
#include <optional>

#include "data/errors.h"
#include "platform/text.h"

namespace vn::data {

namespace {

bool IsAnyOf(const std::string& key, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (EqualsIgnoringCase(key, name)) return true;
  }
  return false;
}

// The installed driver of that name, as the driver manager spells it.
std::optional<std::string> Installed(const std::vector<std::string>& installed,
                                     const std::string& name) {
  for (const std::string& driver : installed) {
    if (EqualsIgnoringCase(driver, name)) return driver;
  }
  return std::nullopt;
}

// OLE DB's boolean and enumerated forms of a yes: True, Yes, SSPI, Mandatory...
bool SaysYes(const std::string& value) {
  const std::string v = LowerAscii(TrimSpaces(value));
  return v == "true" || v == "yes" || v == "sspi" || v == "mandatory" || v == "1" || v == "-1";
}

// Reported as the driver's own failure: the page shows what to install.
RuntimeError MissingDriver(const std::string& text) {
  return RuntimeError(kErrProviderNotFound, text, kSourceOdbc);
}

// Windows' SQL Server drivers, newest first; "SQL Server" comes with every Windows.
constexpr std::array<const char*, 4> kWindowsSqlServerDrivers = {
    "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server",
    "SQL Server Native Client 11.0", "SQL Server"};

std::string SqlServerDriver(OdbcSystem system, const std::vector<std::string>& installed,
                            const std::string& freeTdsLibrary) {
  if (system == OdbcSystem::kWindows) {
    for (const char* name : kWindowsSqlServerDrivers) {
      if (auto driver = Installed(installed, name)) return "{" + *driver + "}";
    }
    throw MissingDriver(
        "No SQL Server ODBC driver is installed (not even Windows' own \"SQL Server\"): install "
        "Microsoft's \"ODBC Driver 18 for SQL Server\".");
  }
  if (auto driver = Installed(installed, "FreeTDS")) return "{" + *driver + "}";
  if (!freeTdsLibrary.empty()) return freeTdsLibrary;
  throw MissingDriver(
      "The SQL Server providers reach SQL Server through FreeTDS' ODBC driver, which is not "
      "installed: install the package tdsodbc.");
}

}  // namespace

bool IsJetProvider(const std::string& provider) {
  const std::string p = LowerAscii(TrimSpaces(provider));
  return p.starts_with("microsoft.jet.oledb") || p.starts_with("microsoft.ace.oledb");
}

bool IsSqlServerProvider(const std::string& provider) {
  return IsAnyOf(TrimSpaces(provider), {"SQLOLEDB", "SQLOLEDB.1", "SQLNCLI", "SQLNCLI10",
                                        "SQLNCLI11", "MSOLEDBSQL", "MSOLEDBSQL19"});
}

std::string UnknownProviderText(const std::string& provider) {
  return "Provider cannot be found: '" + provider +
         "'. Understood providers: Microsoft.Jet.OLEDB.4.0, Microsoft.ACE.OLEDB.12.0 and "
         "Microsoft.ACE.OLEDB.16.0 (Access and SQLite files); SQLOLEDB, SQLNCLI, SQLNCLI10, "
         "SQLNCLI11, MSOLEDBSQL and MSOLEDBSQL19 (SQL Server); MSDASQL (ODBC); SQLite; "
         "MSDataShape. An ODBC connection string (Driver={...};... or DSN=...) reaches any "
         "installed ODBC driver.";
}

ConnectionString SqlServerOdbcPairs(const ConnectionString& pairs, const std::string& provider,
                                    OdbcSystem system,
                                    const std::vector<std::string>& installedDrivers,
                                    const std::string& freeTdsLibrary) {
  const bool windows = system == OdbcSystem::kWindows;
  const std::string driver = SqlServerDriver(system, installedDrivers, freeTdsLibrary);
  std::string server, database, user, password, app, workstation, encrypt, trust;
  bool trusted = false;
  ConnectionString others;
  // OLE DB: the last of a key's occurrences wins, and synonyms count as the same key.
  for (const auto& [key, value] : pairs.Pairs()) {
    if (IsAnyOf(key, {"Provider", "Persist Security Info", "Mode", "Extended Properties"})) {
      continue;
    } else if (IsAnyOf(key, {"Data Source", "Server", "Address", "Addr", "Network Address"})) {
      server = TrimSpaces(value);
    } else if (IsAnyOf(key, {"Initial Catalog", "Database"})) {
      database = value;
    } else if (IsAnyOf(key, {"User ID", "UID"})) {
      user = value;
    } else if (IsAnyOf(key, {"Password", "PWD"})) {
      password = value;
    } else if (IsAnyOf(key, {"Integrated Security", "Trusted_Connection"})) {
      trusted = SaysYes(value);
    } else if (IsAnyOf(key, {"Application Name", "APP"})) {
      app = value;
    } else if (IsAnyOf(key, {"Workstation ID", "WSID"})) {
      workstation = value;
    } else if (IsAnyOf(key, {"Encrypt", "Use Encryption for Data"})) {
      encrypt = LowerAscii(TrimSpaces(value));
    } else if (IsAnyOf(key, {"TrustServerCertificate", "Trust Server Certificate"})) {
      trust = SaysYes(value) ? "yes" : "no";
    } else if (key.find(' ') == std::string::npos) {
      others.Add(key, value);  // a driver's own key, written the ODBC way
    }
    // Other OLE DB properties ("Auto Translate", "Packet Size"...) have no ODBC key.
  }

  ConnectionString out;
  out.Add("Driver", driver);
  if (windows) {
    if (!server.empty()) out.Add("Server", server);
  } else {
    // FreeTDS takes the port apart and knows no protocol prefix; "host\instance" it takes.
    if (LowerAscii(server).starts_with("tcp:")) server = TrimSpaces(server.substr(4));
    std::string port;
    if (size_t comma = server.find(','); comma != std::string::npos) {
      port = TrimSpaces(server.substr(comma + 1));
      server = TrimSpaces(server.substr(0, comma));
    }
    if (server == "." || EqualsIgnoringCase(server, "(local)")) server = "localhost";
    if (!server.empty()) out.Add("Server", server);
    if (!port.empty()) out.Add("Port", port);
  }
  if (!database.empty()) out.Add("Database", database);
  if (trusted) {
    out.Add("Trusted_Connection", "yes");
  } else {
    if (!user.empty()) out.Add("UID", user);
    if (!password.empty()) out.Add("PWD", password);
  }
  if (!app.empty()) out.Add("APP", app);
  if (!workstation.empty()) out.Add("WSID", workstation);
  const bool encryptYes = SaysYes(encrypt) || encrypt == "strict";
  if (windows) {
    if (!encrypt.empty()) {
      out.Add("Encrypt", encrypt == "strict" ? "strict" : (encryptYes ? "yes" : "no"));
    } else {
      // Each side's default where the string says nothing: the OLE DB Driver 19 encrypts, the
      // older providers do not; of the ODBC drivers only Driver 18 encrypts.
      const bool providerEncrypts = EqualsIgnoringCase(TrimSpaces(provider), "MSOLEDBSQL19");
      const bool driverEncrypts = driver == "{ODBC Driver 18 for SQL Server}";
      if (providerEncrypts != driverEncrypts) out.Add("Encrypt", providerEncrypts ? "yes" : "no");
    }
    if (!trust.empty()) out.Add("TrustServerCertificate", trust);
  } else if (!encrypt.empty()) {
    // FreeTDS checks no certificate unless told where the authorities are: no trust key.
    out.Add("Encryption", encryptYes ? "require" : "request");
  }
  for (const auto& [key, value] : others.Pairs()) out.Add(key, value);
  return out;
}

ConnectionString AccessOdbcPairs(const ConnectionString& pairs, const std::string& path, bool ace,
                                 bool readOnly, const std::vector<std::string>& installedDrivers) {
  constexpr const char* kJetDriver = "Microsoft Access Driver (*.mdb)";
  constexpr const char* kAceDriver = "Microsoft Access Driver (*.mdb, *.accdb)";
  std::optional<std::string> driver;
  if (!ace) driver = Installed(installedDrivers, kJetDriver);
  if (!driver) driver = Installed(installedDrivers, kAceDriver);
  if (!driver) {
    throw MissingDriver(
        std::string("Reading the Access file '") + path + "' needs the ODBC driver \"" +
        (ace ? kAceDriver : kJetDriver) +
        "\", which is not installed: install the Microsoft Access Database Engine 2016 "
        "Redistributable (32-bit).");
  }
  std::string user, password, databasePassword, systemDatabase;
  bool exclusive = false;
  for (const auto& [key, value] : pairs.Pairs()) {
    if (IsAnyOf(key, {"User ID", "UID"})) {
      user = value;
    } else if (IsAnyOf(key, {"Password", "PWD"})) {
      password = value;
    } else if (EqualsIgnoringCase(key, "Jet OLEDB:Database Password")) {
      databasePassword = value;
    } else if (EqualsIgnoringCase(key, "Jet OLEDB:System database")) {
      systemDatabase = value;
    } else if (EqualsIgnoringCase(key, "Mode")) {
      for (const std::string& part : Split(value, "|")) {
        if (EqualsIgnoringCase(TrimSpaces(part), "Share Exclusive")) exclusive = true;
      }
    }
  }
  ConnectionString out;
  out.Add("Driver", "{" + *driver + "}");
  out.Add("DBQ", path);
  if (!systemDatabase.empty()) out.Add("SystemDB", systemDatabase);
  if (!user.empty()) out.Add("UID", user);
  // The driver has one password: a database password is the one a file without a workgroup
  // asks for.
  if (!databasePassword.empty()) {
    out.Add("PWD", databasePassword);
  } else if (!password.empty()) {
    out.Add("PWD", password);
  }
  if (readOnly) out.Add("ReadOnly", "1");
  if (exclusive) out.Add("Exclusive", "1");
  return out;
}

}  // namespace vn::data
