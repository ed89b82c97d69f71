#include "config/core/connection_edit.h"

#include "data/connection_string.h"
#include "data/database_file.h"
#include "data/odbc_routes.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn::config {

namespace {

using data::ConnectionString;

// One part of a connection string between two separating ";": a pair, or blanks or a bare
// word, which stay as they are.
struct Part {
  size_t begin = 0;
  size_t end = 0;  // the ";" after the part, or the text's end
  bool pair = false;
  std::string key;
  std::string value;
};

// The parts of `text`. A ";" separates two parts where the text before it reads without an open
// quote, as the data layer reads it; a ";" inside a quoted value does not. Throws when the whole
// text cannot be read.
std::vector<Part> Parts(const std::string& text) {
  ConnectionString whole(text, ConnectionString::BareWords::kSkip);
  std::vector<Part> parts;
  size_t begin = 0;
  for (size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] != ';') continue;
    if (at < text.size()) {
      try {
        ConnectionString before(text.substr(0, at), ConnectionString::BareWords::kSkip);
      } catch (const vn::RuntimeError&) {
        continue;  // the ";" stands inside a quoted value
      }
    }
    Part part;
    part.begin = begin;
    part.end = at;
    const ConnectionString one(text.substr(begin, at - begin), ConnectionString::BareWords::kSkip);
    if (one.Pairs().size() == 1) {
      part.pair = true;
      part.key = one.Pairs().front().first;
      part.value = one.Pairs().front().second;
    }
    parts.push_back(part);
    begin = at + 1;
  }
  return parts;
}

// The part that holds the value of `key` as the data layer reads it; -1 when none does.
int PartOf(const std::vector<Part>& parts, const std::string& key) {
  int found = -1;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].pair || !vn::EqualsIgnoringCase(parts[i].key, key)) continue;
    found = static_cast<int>(i);
    if (vn::EqualsIgnoringCase(key, "Provider")) break;  // the first one counts
  }
  return found;
}

// `key=value` as the data layer writes a pair, quoted where the value needs it.
std::string PairText(const std::string& key, const std::string& value) {
  ConnectionString pair;
  pair.Add(key, value);
  return pair.Text();
}

std::string WithChange(const std::string& text, const KeyChange& change) {
  const std::vector<Part> parts = Parts(text);
  const int index = PartOf(parts, change.key);
  if (index < 0) {
    if (!change.value) return text;
    const std::string pair = PairText(change.key, *change.value);
    const std::string trimmed = vn::TrimSpaces(text);
    if (trimmed.empty()) return pair;
    // A text that ends with ";" keeps ending with one.
    return trimmed.back() == ';' ? text + pair + ";" : text + ";" + pair;
  }
  const Part& part = parts[static_cast<size_t>(index)];
  if (!change.value) {
    // The part goes with the ";" after it, or, as the last part, with the one before it.
    if (part.end < text.size()) return text.substr(0, part.begin) + text.substr(part.end + 1);
    return text.substr(0, part.begin > 0 ? part.begin - 1 : 0);
  }
  // The key as written and the blanks before it stay.
  const std::string written = text.substr(part.begin, part.end - part.begin);
  const size_t keyStart = written.find_first_not_of(" \t\r\n");
  std::string key = vn::TrimSpaces(written.substr(keyStart, written.find('=') - keyStart));
  if (key.find("==") != std::string::npos || !vn::EqualsIgnoringCase(key, part.key)) key = part.key;
  return text.substr(0, part.begin) + written.substr(0, keyStart) + PairText(key, *change.value) +
         text.substr(part.end);
}

std::string ProviderOf(const ConnectionString& pairs) { return vn::TrimSpaces(pairs.Get("Provider")); }

// Whether the data layer has a provider of the name `provider` ("" is ODBC, as in ADO).
bool LibraryProvider(const std::string& provider) {
  return provider.empty() || vn::EqualsIgnoringCase(provider, "SQLite") ||
         vn::LowerAscii(provider).rfind("msdasql", 0) == 0 || data::IsJetProvider(provider) ||
         data::IsSqlServerProvider(provider);
}

}  // namespace

std::string ChangeKeys(const std::string& original, const std::vector<KeyChange>& changes) {
  std::string text = original;
  for (const KeyChange& change : changes) text = WithChange(text, change);
  return text;
}

std::string MergeDialogResult(const std::string& original, const std::string& result) {
  std::vector<KeyChange> changes;
  try {
    const ConnectionString before(original, ConnectionString::BareWords::kSkip);
    const ConnectionString after(result, ConnectionString::BareWords::kSkip);
    for (const auto& [key, value] : after.Pairs()) {
      // A repeated key counts once, with the value the data layer reads.
      const std::string now = after.Get(key);
      bool listed = false;
      for (const KeyChange& change : changes) listed |= vn::EqualsIgnoringCase(change.key, key);
      if (listed || (before.Has(key) && before.Get(key) == now)) continue;
      changes.push_back({key, now});
    }
    return ChangeKeys(original, changes);
  } catch (const vn::RuntimeError&) {
    return result;  // a text the syntax cannot read has no keys to keep
  }
}

std::string KeyValue(const std::string& connectionString, const std::string& key) {
  try {
    return ConnectionString(connectionString, ConnectionString::BareWords::kSkip).Get(key);
  } catch (const vn::RuntimeError&) {
    return {};  // unreadable: no value
  }
}

bool OpensLibraryFile(const std::string& connectionString) {
  try {
    const ConnectionString pairs(connectionString, ConnectionString::BareWords::kSkip);
    std::string provider = ProviderOf(pairs);
    if (vn::EqualsIgnoringCase(provider, "MSDataShape"))
      provider = vn::TrimSpaces(pairs.Get("Data Provider"));
    if (vn::EqualsIgnoringCase(provider, "SQLite")) return true;
    return data::IsJetProvider(provider) &&
           data::KindOfDatabaseFile(data::DataSourceFile(pairs)) == data::DatabaseFileKind::kSqlite;
  } catch (const vn::RuntimeError&) {
    return false;  // unreadable: no file to choose
  }
}

std::optional<std::string> ProviderLibraryCannotOpen(const std::string& connectionString) {
  try {
    const ConnectionString pairs(connectionString, ConnectionString::BareWords::kSkip);
    std::string provider = ProviderOf(pairs);
    if (vn::EqualsIgnoringCase(provider, "MSDataShape")) {
      provider = vn::TrimSpaces(pairs.Get("Data Provider"));
      if (vn::EqualsIgnoringCase(provider, "MSDataShape")) return provider;
    }
    if (LibraryProvider(provider)) return std::nullopt;
    return provider;
  } catch (const vn::RuntimeError&) {
    return std::nullopt;  // unreadable: the page says why, as the connection test does
  }
}

}  // namespace vn::config
