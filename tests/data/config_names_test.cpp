// The configuration database's names: databases/schema.sql makes exactly the tables and columns
// that the code names (a column renamed on one side only fails here), and the library's string
// entries built of the names read as before, byte for byte.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "data/sqlite_handles.h"
#include "data_test_support.h"
#include "platform/config_names.h"
#include "resources/string_table.h"

namespace vn::data::test {
namespace {

using namespace vn::configdb;

// The tables of `schemaSql` with their columns in order, as "Table(a, b)" lines.
std::vector<std::string> TablesOf(const std::string& schemaSql) {
  SqliteDatabase db;
  EXPECT_EQ(OpenSqlite(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db.get(), schemaSql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  std::vector<std::string> tables;
  SqliteStatement names;
  PrepareSqlite(db.get(),
                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                "'sqlite_%' ORDER BY name",
                names);
  while (sqlite3_step(names.get()) == SQLITE_ROW) {
    const std::string table = reinterpret_cast<const char*>(sqlite3_column_text(names.get(), 0));
    std::string line = table + "(";
    SqliteStatement columns;
    PrepareSqlite(db.get(), "PRAGMA table_info(" + QuoteSqliteName(table) + ")", columns);
    for (bool first = true; sqlite3_step(columns.get()) == SQLITE_ROW; first = false) {
      line += (first ? "" : ", ") +
              std::string(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)));
    }
    tables.push_back(line + ")");
  }
  return tables;
}

std::string Line(const char* table, std::initializer_list<const char*> columns) {
  std::string line = std::string(table) + "(";
  for (const char* column : columns) line += (line.back() == '(' ? "" : ", ") + std::string(column);
  return line + ")";
}

class ConfigNamesTest : public DataTest {};

TEST_F(ConfigNamesTest, TheSchemaMakesTheTablesAndColumnsTheCodeNames) {
  EXPECT_EQ(TablesOf(ReadSource("databases/schema.sql")),
            (std::vector<std::string>{
                Line(kDaten, {kIdDaten, kTitel, kFormatId, kDatenquelle, kAbfrage, kBemerkung}),
                Line(kFormate, {kIdFormat, kBeschreibung}),
                Line(kRubriken, {kIdRubrik, kRang, kRubrik, kMenuetext, kTitel, kBemerkung}),
                Line(kZuordnungen, {kIdZuordnung, kRubrikId, kDatenId, kRang}),
            }));
}

TEST_F(ConfigNamesTest, TheLibrarysEntriesOfTheConfigurationReadAsEver) {
  const std::pair<int, const char*> entries[] = {
      {1003, "SELECT [%s].* FROM [%s] ORDER BY [%s]"},
      {1004, "Rubriken"},
      {1006, "Rubrik"},
      {1007, "Menuetext"},
      {1008, "Bemerkung"},
      {1009,
       "SELECT Rubriken.Rubrik, Daten.Titel, Daten.Datenquelle, Daten.Abfrage, Daten.Bemerkung, "
       "Daten.Format_ID AS Format, Zuordnungen.Rang FROM Daten INNER JOIN (Zuordnungen INNER JOIN "
       "Rubriken ON Zuordnungen.Rubrik_ID = Rubriken.ID_Rubrik) ON Daten.ID_Daten = "
       "Zuordnungen.Daten_ID WHERE (((Rubriken.Rubrik)=\"%s\")) ORDER BY Zuordnungen.Rang"},
      {1010, "Titel"},
      {1011, "Datenquelle"},
      {1012, "Abfrage"},
      {1013, "Format"},
      {1014, "Rang"},
  };
  for (const auto& [id, text] : entries) {
    const StringEntry* entry = FindStringEntry(id);
    ASSERT_NE(entry, nullptr) << id;
    EXPECT_STREQ(entry->german, text) << id;
    EXPECT_EQ(entry->english, nullptr) << id;
  }
}

}  // namespace
}  // namespace vn::data::test
