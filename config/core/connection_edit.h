// Edits of a connection string that change only what the user changed: a key's new value is
// written where the key stands, a new key is added at the end, a removed key goes, and every
// other part of the text keeps its bytes (order, blanks, quoting and keys the editing dialog does
// not show). Read and written with the data layer's connection-string syntax.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vn::config {

// One change of a connection string: `key` gets `value`, or goes when `value` is nothing.
struct KeyChange {
  std::string key;
  std::optional<std::string> value;
};

// `original` with `changes` made, in order. A key that occurs more than once changes where the
// data layer reads it (the first `Provider`, the last of any other key). Throws vn::RuntimeError
// when `original` cannot be read (an open quote).
std::string ChangeKeys(const std::string& original, const std::vector<KeyChange>& changes);

// The text that a dialog which shows only some keys gave back (`result`), put into `original`:
// a key whose value the dialog changed or added is changed, a key it left as it was keeps its
// bytes, and a key it did not give back stays (the dialog did not show it). `original` itself
// when nothing changed; `result` as it is when either text cannot be read.
std::string MergeDialogResult(const std::string& original, const std::string& result);

// The value of `key` in `connectionString` as the data layer reads it; "" when absent or when the
// text cannot be read.
std::string KeyValue(const std::string& connectionString, const std::string& key);

// True when the data layer's own providers open the connection string's database file: the SQLite
// provider, the data shaping service over it, or a Jet or ACE provider naming an SQLite file.
bool OpensLibraryFile(const std::string& connectionString);

// The provider that `connectionString` names and the library cannot open (the data shaping
// service's data provider for a shaped one); nothing when it can, or when the text names none.
std::optional<std::string> ProviderLibraryCannotOpen(const std::string& connectionString);

}  // namespace vn::config
