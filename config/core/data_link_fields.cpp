#include "config/core/data_link_fields.h"

#include "data/connection_string.h"
#include "data/database_file.h"
#include "data/odbc_routes.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn::config {

namespace {

// A driver or value that the ODBC syntax needs in braces.
std::string Braced(const std::string& value) {
  return value.find_first_of(";{}= ") == std::string::npos ? value : "{" + value + "}";
}

std::string Unbraced(const std::string& value) {
  if (value.size() >= 2 && value.front() == '{' && value.back() == '}')
    return value.substr(1, value.size() - 2);
  return value;
}

// The provider for the database file at `path`: the one it was read with while that one reads
// the file, else the one its first bytes call for. The Jet providers read SQLite files too,
// the SQLite provider no Access file.
std::string FileProvider(const std::string& path, const std::string& readWith) {
  const data::DatabaseFileKind kind = data::KindOfDatabaseFile(path);
  const bool access = kind == data::DatabaseFileKind::kJet3 ||
                      kind == data::DatabaseFileKind::kJet4 || kind == data::DatabaseFileKind::kAce;
  if (!readWith.empty() && (!access || data::IsJetProvider(readWith))) return readWith;
  if (kind == data::DatabaseFileKind::kAce) return "Microsoft.ACE.OLEDB.12.0";
  return access ? "Microsoft.Jet.OLEDB.4.0" : "SQLite";
}

}  // namespace

DataLinkFields DataLinkFields::Read(const std::string& connectionString) {
  DataLinkFields fields;
  fields.typed = connectionString;
  data::ConnectionString pairs;
  try {
    pairs = data::ConnectionString(connectionString, data::ConnectionString::BareWords::kSkip);
  } catch (const vn::RuntimeError&) {
    // A string the syntax cannot read (an open quote) is shown as typed.
    fields.kind = kTyped;
    return fields;
  }
  const size_t count = pairs.Pairs().size();
  const std::string provider = vn::TrimSpaces(pairs.Get("Provider"));
  const bool fileProvider =
      vn::EqualsIgnoringCase(provider, "SQLite") || data::IsJetProvider(provider);
  if (fileProvider && pairs.Has("Data Source") && count <= 3) {
    fields.file = pairs.Get("Data Source");
    fields.provider = provider;
    fields.kind = kSqliteFile;
  } else if (!pairs.Has("Provider") && pairs.Has("DSN") && !pairs.Has("Driver")) {
    fields.dsn = Unbraced(pairs.Get("DSN"));
    fields.user = Unbraced(pairs.Get("UID"));
    fields.password = Unbraced(pairs.Get("PWD"));
    fields.kind = count <= 3 ? kOdbcDataSource : kTyped;
  } else if (!pairs.Has("Provider") && pairs.Has("Driver")) {
    fields.driver = Unbraced(pairs.Get("Driver"));
    std::string keys;
    for (const auto& [key, value] : pairs.Pairs()) {
      if (vn::EqualsIgnoringCase(key, "Driver")) continue;
      keys += key + "=" + Unbraced(value) + "\n";
    }
    fields.keys = vn::TrimSpaces(keys);
    while (!fields.keys.empty() && fields.keys.back() == '\n') fields.keys.pop_back();
    fields.kind = kOdbcDriver;
  } else {
    fields.kind = kTyped;
  }
  return fields;
}

std::string DataLinkFields::ConnectionString() const {
  switch (kind) {
    case kSqliteFile: {
      const std::string path = vn::TrimSpaces(file);
      return path.empty()
                 ? std::string()
                 : "Provider=" + FileProvider(path, provider) + ";Data Source=" + path + ";";
    }
    case kOdbcDataSource: {
      const std::string name = vn::TrimSpaces(dsn);
      if (name.empty()) return {};
      std::string text = "DSN=" + Braced(name) + ";";
      if (!user.empty()) text += "UID=" + Braced(user) + ";";
      if (!password.empty()) text += "PWD=" + Braced(password) + ";";
      return text;
    }
    case kOdbcDriver: {
      const std::string name = vn::TrimSpaces(driver);
      if (name.empty()) return {};
      std::string text = "Driver={" + name + "};";
      size_t start = 0;
      while (start <= keys.size()) {
        size_t end = keys.find('\n', start);
        if (end == std::string::npos) end = keys.size();
        const std::string line = keys.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0)
          text += vn::TrimSpaces(line.substr(0, equals)) + "=" +
                  Braced(vn::TrimSpaces(line.substr(equals + 1))) + ";";
        start = end + 1;
      }
      return text;
    }
    case kTyped:
      return vn::TrimSpaces(typed);
  }
  return {};
}

std::vector<std::string> DataLinkKindNames() {
  return {"SQLite-Datenbankdatei", "ODBC-Datenquelle (DSN)", "ODBC-Treiber mit Schlüsseln",
          "Verbindungszeichenfolge eingeben"};
}

}  // namespace vn::config
