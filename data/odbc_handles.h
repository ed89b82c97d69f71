// Owners of the ODBC driver manager's handles: an environment, a connection and a statement,
// each freed when its owner goes (a connection disconnected first), moved but never copied, so
// that no path out of a call, thrown or returned, leaves a handle behind.
#pragma once

#ifdef _WIN32
#include <windows.h>  // Windows' ODBC headers rest on its types
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <utility>

namespace vn::data {

// One handle of the kind `Type` (SQL_HANDLE_ENV, SQL_HANDLE_DBC or SQL_HANDLE_STMT).
template <SQLSMALLINT Type>
class OdbcHandle {
 public:
  OdbcHandle() = default;
  ~OdbcHandle() { Free(); }
  OdbcHandle(OdbcHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
      Free();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  // A new handle below `parent` (SQL_NULL_HANDLE for an environment); an empty owner when the
  // driver manager refuses, and then the parent's diagnostics say why.
  static OdbcHandle Allocate(SQLHANDLE parent) {
    OdbcHandle owner;
    if (!SQL_SUCCEEDED(SQLAllocHandle(Type, parent, &owner.handle_)))
      owner.handle_ = SQL_NULL_HANDLE;
    return owner;
  }

  SQLHANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }

  // Frees the handle now: for callers that must free it inside a guard of their own (freeing a
  // statement may talk to the server).
  void Free() noexcept {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(Type, handle_);
    handle_ = SQL_NULL_HANDLE;
  }

 private:
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

using OdbcStatement = OdbcHandle<SQL_HANDLE_STMT>;

// An environment of ODBC 3; empty when the driver manager cannot be initialised.
class OdbcEnvironment {
 public:
  static OdbcEnvironment Allocate() {
    OdbcEnvironment env;
    env.handle_ = OdbcHandle<SQL_HANDLE_ENV>::Allocate(SQL_NULL_HANDLE);
    if (env.handle_) {
      SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                    0);
    }
    return env;
  }

  SQLHENV Get() const { return handle_.Get(); }
  explicit operator bool() const { return static_cast<bool>(handle_); }
  void Free() noexcept { handle_.Free(); }

 private:
  OdbcHandle<SQL_HANDLE_ENV> handle_;
};

// A connection handle, and whether it is connected: the owner disconnects before it frees.
class OdbcConnection {
 public:
  OdbcConnection() = default;
  ~OdbcConnection() { Free(); }
  OdbcConnection(OdbcConnection&& other) noexcept
      : handle_(std::move(other.handle_)), connected_(std::exchange(other.connected_, false)) {}
  OdbcConnection& operator=(OdbcConnection&& other) noexcept {
    if (this != &other) {
      Free();
      handle_ = std::move(other.handle_);
      connected_ = std::exchange(other.connected_, false);
    }
    return *this;
  }
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // A new connection handle in `env`; empty when refused (the environment's diagnostics say why).
  static OdbcConnection Allocate(const OdbcEnvironment& env) {
    OdbcConnection dbc;
    dbc.handle_ = OdbcHandle<SQL_HANDLE_DBC>::Allocate(env.Get());
    return dbc;
  }

  // SQLDriverConnect without a prompt and without the completed string, which nothing reads
  // (and which unixODBC converts with strlen for a driver without wide-character calls, although
  // such a driver may leave it without its terminating NUL).
  SQLRETURN DriverConnect(std::basic_string<SQLWCHAR> text) {
    const SQLRETURN rc =
        SQLDriverConnectW(Get(), nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                          nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    connected_ = SQL_SUCCEEDED(rc);
    return rc;
  }

  SQLHDBC Get() const { return handle_.Get(); }
  explicit operator bool() const { return static_cast<bool>(handle_); }
  bool Connected() const { return connected_; }

  // Ends the connection (the handle stays): for callers that must disconnect inside a guard of
  // their own (disconnecting talks to the server).
  void Disconnect() noexcept {
    if (connected_) SQLDisconnect(Get());
    connected_ = false;
  }
  void Free() noexcept {
    Disconnect();
    handle_.Free();
  }

 private:
  OdbcHandle<SQL_HANDLE_DBC> handle_;
  bool connected_ = false;
};

}  // namespace vn::data
