// Connection: a connection to a database, opened from an OLE DB style connection string
// (the provider is chosen by the string: embedded SQLite, ODBC, or the data shaping service).
#pragma once

#include <memory>
#include <string>

#include "data/connect_mode.h"

namespace vn::data {

class Provider;

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void SetConnectionString(const std::string& connectionString);
  std::string ConnectionString() const;

  // ConnectModeEnum (1 adModeRead opens the database read-only); set before Open. A
  // `Mode=Read` pair in the connection string asks the same.
  void SetMode(int mode);
  int Mode() const;

  // Opens the connection (with `connectionString` when it is not empty). Options -1 means
  // unspecified. Throws RuntimeError with the provider's number and description.
  void Open(const std::string& connectionString = {}, const std::string& userId = {},
            const std::string& password = {}, long options = -1);
  void Close();
  bool IsOpen() const;

  // The open provider session; for Recordset. Throws RuntimeError 3704 when closed.
  Provider& ProviderSession() const;

 private:
  std::string connectionString_;
  int mode_ = 0;
  std::unique_ptr<Provider> provider_;
};

}  // namespace vn::data
