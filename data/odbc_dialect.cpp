#include "data/odbc_dialect.h"

#include <algorithm>

#include "data/errors.h"
#include "data/odbc_session.h"
#include "data/odbc_text.h"
#include "platform/text.h"

namespace vn::data {

namespace {

// SQLite's driver takes no access mode: a session opened to read is made to refuse changes.
class SqliteOdbcDialect : public OdbcDialect {
 public:
  void Prepare(OdbcSession& session) const override {
    if (session.options.readOnly && !RunForRows(session, "PRAGMA query_only = ON")) {
      throw RuntimeError(kErrProviderFailed, "The SQLite session cannot be made read-only.",
                         "ODBC");
    }
  }
};

}  // namespace

const OdbcDialect& OdbcDialect::Of(const std::string& dbmsName) {
  static const OdbcDialect plain;
  static const SqliteOdbcDialect sqlite;
  if (dbmsName == "PostgreSQL") return PostgresOdbcDialect();
  if (dbmsName == "SQLite") return sqlite;
  return plain;
}

std::optional<OdbcColumnDescription> OdbcDialect::Describe(SQLHSTMT stmt, SQLUSMALLINT i) const {
  return DescribeColumn(stmt, i, true, SQL_DESC_TYPE_NAME);
}

std::optional<OdbcColumnDescription> OdbcDialect::DescribeColumn(SQLHSTMT stmt, SQLUSMALLINT i,
                                                                 bool withSqlType,
                                                                 SQLUSMALLINT typeNameField) {
  OdbcColumnDescription column;
  SQLWCHAR name[512] = {};
  SQLSMALLINT nameLength = 0, digits = 0;
  if (!SQL_SUCCEEDED(SQLDescribeColW(stmt, i, name, 512, &nameLength,
                                     withSqlType ? &column.sqlType : nullptr, &column.size, &digits,
                                     nullptr))) {
    return std::nullopt;
  }
  column.name = FromOdbcText(name, std::min<size_t>(static_cast<size_t>(nameLength), 511));
  SQLLEN isUnsigned = SQL_FALSE;
  SQLColAttributeW(stmt, i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
  column.isUnsigned = isUnsigned == SQL_TRUE;
  SQLWCHAR typeName[128] = {};
  SQLSMALLINT typeNameBytes = 0;
  SQLColAttributeW(stmt, i, typeNameField, typeName, sizeof typeName, &typeNameBytes, nullptr);
  column.typeName = LowerAscii(FromOdbcText(
      typeName, std::min<size_t>(static_cast<size_t>(typeNameBytes) / sizeof(SQLWCHAR), 127)));
  return column;
}

}  // namespace vn::data
