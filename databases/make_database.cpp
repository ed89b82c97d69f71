// Build tool: makes a fresh SQLite database file from SQL scripts, all in one transaction,
// so that a failing script leaves no half-made file behind.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: make_database OUTPUT SCRIPT...\n";
    return 2;
  }
  std::string output = argv[1];
  std::string temporary = output + ".part";
  std::remove(temporary.c_str());
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    std::cerr << "make_database: cannot create " << temporary << ": " << sqlite3_errmsg(db) << '\n';
    sqlite3_close(db);
    return 1;
  }
  std::string sql = "BEGIN;\n";
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << "make_database: cannot read " << argv[i] << '\n';
      sqlite3_close(db);
      std::remove(temporary.c_str());
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    sql += text.str() + "\n";
  }
  sql += "COMMIT;\n";
  char* error = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::cerr << "make_database: " << (error ? error : "error") << '\n';
    sqlite3_free(error);
    sqlite3_close(db);
    std::remove(temporary.c_str());
    return 1;
  }
  sqlite3_close(db);
  if (std::rename(temporary.c_str(), output.c_str()) != 0) {
    std::cerr << "make_database: cannot write " << output << '\n';
    std::remove(temporary.c_str());
    return 1;
  }
  return 0;
}
