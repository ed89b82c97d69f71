#include "config/core/data_link_fields.h"

#include "config/core/connection_edit.h"
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
  fields.original_ = connectionString;
  data::ConnectionString pairs;
  try {
    pairs = data::ConnectionString(connectionString, data::ConnectionString::BareWords::kSkip);
  } catch (const vn::RuntimeError&) {
    // A string the syntax cannot read (an open quote) is shown as typed.
    fields.kind = kTyped;
    return fields;
  }
  const std::string provider = vn::TrimSpaces(pairs.Get("Provider"));
  const bool fileProvider =
      vn::EqualsIgnoringCase(provider, "SQLite") || data::IsJetProvider(provider);
  // Keys a kind does not show stay as they are when its fields are edited.
  if (fileProvider && pairs.Has("Data Source")) {
    fields.file = pairs.Get("Data Source");
    fields.provider = provider;
    fields.kind = kSqliteFile;
  } else if (!pairs.Has("Provider") && pairs.Has("DSN") && !pairs.Has("Driver")) {
    fields.dsn = Unbraced(pairs.Get("DSN"));
    fields.user = Unbraced(pairs.Get("UID"));
    fields.password = Unbraced(pairs.Get("PWD"));
    fields.kind = kOdbcDataSource;
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
  DataLinkFields read = fields;
  read.original_.clear();
  fields.read_.push_back(std::move(read));
  return fields;
}

bool DataLinkFields::SameFields(const DataLinkFields& other) const {
  if (kind != other.kind) return false;
  switch (kind) {
    case kSqliteFile:
      return file == other.file && provider == other.provider;
    case kOdbcDataSource:
      return dsn == other.dsn && user == other.user && password == other.password;
    case kOdbcDriver:
      return driver == other.driver && keys == other.keys;
    case kTyped:
      return typed == other.typed;
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> DataLinkFields::Shown(bool asRead) const {
  switch (kind) {
    case kSqliteFile: {
      const std::string path = vn::TrimSpaces(file);
      return {{"Provider", asRead || path.empty() ? provider : FileProvider(path, provider)},
              {"Data Source", path}};
    }
    case kOdbcDataSource:
      return {{"DSN", vn::TrimSpaces(dsn)}, {"UID", user}, {"PWD", password}};
    case kOdbcDriver: {
      std::vector<std::pair<std::string, std::string>> shown{{"Driver", vn::TrimSpaces(driver)}};
      for (const std::string& line : vn::Split(keys, "\n")) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0)
          shown.emplace_back(vn::TrimSpaces(line.substr(0, equals)),
                             vn::TrimSpaces(line.substr(equals + 1)));
      }
      return shown;
    }
    case kTyped:
      return {};
  }
  return {};
}

std::string DataLinkFields::Written(const std::string& key, const std::string& value) const {
  if (kind == kOdbcDriver && vn::EqualsIgnoringCase(key, "Driver")) return "{" + value + "}";
  if (kind == kOdbcDataSource || kind == kOdbcDriver) return Braced(value);
  return value;
}

std::string DataLinkFields::ConnectionString() const {
  if (read_.empty()) return Built();
  const DataLinkFields& read = read_.front();
  if (SameFields(read)) return original_;
  if (kind == kTyped || read.kind == kTyped || Built().empty()) return Built();
  // The keys of the kind as read, with the values they had; those of the current kind as the
  // fields hold them now. Where the kind changed, all the old kind's keys go.
  const std::vector<std::pair<std::string, std::string>> before = read.Shown(true);
  const std::vector<std::pair<std::string, std::string>> after = Shown(false);
  auto valueIn = [](const std::vector<std::pair<std::string, std::string>>& pairs,
                    const std::string& key) -> const std::string* {
    for (const auto& [name, value] : pairs)
      if (vn::EqualsIgnoringCase(name, key)) return &value;
    return nullptr;
  };
  std::vector<KeyChange> changes;
  for (const auto& [key, value] : before)
    if (read.kind != kind || valueIn(after, key) == nullptr) changes.push_back({key, std::nullopt});
  for (const auto& [key, value] : after) {
    const std::string* old = read.kind == kind ? valueIn(before, key) : nullptr;
    if (old != nullptr && *old == value) continue;
    if (value.empty()) {
      changes.push_back({key, std::nullopt});
    } else {
      changes.push_back({key, Written(key, value)});
    }
  }
  try {
    return ChangeKeys(original_, changes);
  } catch (const vn::RuntimeError&) {
    return Built();  // the string as read could not be read: a new one of the fields
  }
}

std::string DataLinkFields::Built() const {
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
      const std::vector<std::pair<std::string, std::string>> shown = Shown(false);
      if (shown.front().second.empty()) return {};
      std::string text;
      for (const auto& [key, value] : shown) text += key + "=" + Written(key, value) + ";";
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
