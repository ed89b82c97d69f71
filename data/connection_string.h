// The OLE DB connection-string syntax: `key=value;` pairs with quoting, keys without regard
// to case; and the ODBC form that the ODBC provider hands to the driver manager.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vn::data {

class ConnectionString {
 public:
  ConnectionString() = default;
  // How a part without '=' is taken: an error, or skipped (a string a user typed, read by the
  // data-link dialog to fill its fields).
  enum class BareWords { kRefuse, kSkip };

  // Parses `text`; malformed input (an unterminated quote) throws RuntimeError with the
  // position.
  explicit ConnectionString(const std::string& text, BareWords bareWords = BareWords::kRefuse);

  // The value of `key` (case-insensitive): the last occurrence wins, except for `Provider`,
  // where the first one does. Empty when absent.
  std::string Get(const std::string& key) const;
  bool Has(const std::string& key) const;

  // The pairs in written order (repeats included), keys as written.
  const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }
  void Remove(const std::string& key);
  void Add(std::string key, std::string value) {
    pairs_.emplace_back(std::move(key), std::move(value));
  }

  // Writes the pairs back in OLE DB syntax, quoting values that need it.
  std::string Text() const;

  // The pairs as an ODBC connection string for SQLDriverConnect: ADO keys mapped to their
  // ODBC names, values in braces where needed.
  std::string OdbcText() const;

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace vn::data
