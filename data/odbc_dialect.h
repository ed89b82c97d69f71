// OdbcDialect: what one kind of database server needs of the ODBC provider beyond plain ODBC
// (how its sessions are prepared and reset, how its columns are described), chosen once per
// connection by the name the server gives itself when it connects.
#pragma once

#include <optional>
#include <string>

#include "data/odbc_handles.h"

namespace vn::data {

struct OdbcSession;

// A result column as the driver describes it.
struct OdbcColumnDescription {
  std::string name;
  SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;  // the concise SQL type
  SQLULEN size = 0;
  bool isUnsigned = false;
  std::string typeName;  // the driver's name of the type, in lower case
};

class OdbcDialect {
 public:
  virtual ~OdbcDialect() = default;

  // The dialect of the server whose SQL_DBMS_NAME is `dbmsName`: PostgreSQL's, SQLite's, or the
  // plain one of every other server.
  static const OdbcDialect& Of(const std::string& dbmsName);

  // Makes a newly connected session ready: what the connection's options ask of it that the
  // driver does not do itself, and what a reset of it needs. Throws RuntimeError.
  virtual void Prepare(OdbcSession& /*session*/) const {}

  // Whether a session can be made a new one again after its user (Reset), and so be pooled.
  virtual bool Resets() const { return false; }
  // Resets a session on its own; false when a statement of the reset failed.
  virtual bool Reset(OdbcSession& /*session*/) const { return false; }

  // Whether the session holds the command timeout itself, so that statements need none of their
  // own.
  virtual bool TimesStatements() const { return false; }

  // Column `i` of the result of `stmt`; nullopt when the driver refuses to describe it.
  virtual std::optional<OdbcColumnDescription> Describe(SQLHSTMT stmt, SQLUSMALLINT i) const;

 protected:
  // The column's name, size, signedness and the type name in `typeNameField`, and its SQL type
  // when `withSqlType` (which some drivers look up in the catalog).
  static std::optional<OdbcColumnDescription> DescribeColumn(SQLHSTMT stmt, SQLUSMALLINT i,
                                                             bool withSqlType,
                                                             SQLUSMALLINT typeNameField);
};

// PostgreSQL's dialect (odbc_postgres.cpp).
const OdbcDialect& PostgresOdbcDialect();

}  // namespace vn::data
