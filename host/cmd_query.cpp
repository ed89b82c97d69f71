// varnolis query: runs a statement through the data access layer and prints the fields'
// names and type codes, then the rows; chapters are printed indented under their row.
#include <clocale>
#include <cstring>
#include <iostream>
#include <string>

#include "data/connection.h"
#include "data/field.h"
#include "data/recordset.h"
#include "host/commands.h"
#include "platform/module_path.h"
#include "platform/password_mask.h"
#include "platform/runtime_error.h"
#include "render/format_field_value.h"

namespace vn::host {

namespace {

void PrintRecordset(data::Recordset& rs, const std::string& indent, std::ostream& out) {
  std::string header;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    const data::Field& f = rs.Fields(i);
    if (i > 0) header += '\t';
    header += f.Name() + " (" + std::to_string(f.Type()) + ")";
  }
  out << indent << header << '\n';
  if (rs.Bof() && rs.Eof()) {
    out << indent << "(no rows)\n";
    return;
  }
  while (!rs.Eof()) {
    std::string line;
    bool first = true;
    for (int i = 0; i < rs.FieldCount(); ++i) {
      const data::Field& f = rs.Fields(i);
      if (f.Type() == data::adChapter) continue;
      if (!first) line += '\t';
      first = false;
      line += FormatFieldValue(f);
    }
    out << indent << line << '\n';
    for (int i = 0; i < rs.FieldCount(); ++i) {
      const data::Field& f = rs.Fields(i);
      if (f.Type() != data::adChapter) continue;
      auto child = f.Value().As<std::shared_ptr<data::Recordset>>();
      out << indent << "  [" << f.Name() << "]\n";
      PrintRecordset(*child, indent + "    ", out);
    }
    rs.MoveNext();
  }
}

}  // namespace

int RunQuery(int argc, char** argv) {
  std::string connectionString;
  std::string sql;
  bool haveConnection = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--connection") == 0 && i + 1 < argc) {
      connectionString = argv[++i];
      haveConnection = true;
    } else if (sql.empty() && (argv[i][0] != '-' || std::strcmp(argv[i], "-") == 0)) {
      sql = argv[i];
    } else {
      std::cerr << "usage: varnolis query [--connection STRING] SQL\n";
      return 2;
    }
  }
  if (sql.empty()) {
    std::cerr << "usage: varnolis query [--connection STRING] SQL\n";
    return 2;
  }
  // Wide-character ODBC drivers convert through the process's character type.
  std::setlocale(LC_CTYPE, "");
  try {
    data::Connection connection;
    if (!haveConnection) {
      connectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + LibraryFolder() +
                         "/databases/config.mdb;Persist Security Info=False";
      connection.SetMode(data::adModeRead);  // the configuration database is only read
    }
    connection.Open(connectionString, "", "", -1);
    data::Recordset rs;
    rs.Open(sql, connection, data::adOpenForwardOnly, data::adLockReadOnly, -1);
    PrintRecordset(rs, "", std::cout);
    rs.Close();
    connection.Close();
  } catch (const RuntimeError& error) {
    // A driver's message may repeat the password it was given; the terminal shows none.
    std::cerr << "varnolis query: error " << error.Number() << ": "
              << MaskPasswordsIn(error.Description(), connectionString) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace vn::host
