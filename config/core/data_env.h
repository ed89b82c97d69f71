// DataEnv: the configuration program's data environment. Two connections to the configuration
// database (cnConfig for the tables and look-ups, cnZuordnungen through the data shaping
// service for the assignment tree) and the recordsets of its seven commands.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "config/core/config_store.h"
#include "config/core/lookups.h"
#include "config/core/table_records.h"
#include "data/connection.h"
#include "data/recordset.h"

namespace vn::config {

class DataEnv : public LookupSource, public ConfigStore {
 public:
  // The connection strings and commands as designed; the Data Source is replaced at start.
  static const char* const kConfigConnection;
  static const char* const kZuordnungenConnection;
  static const char* const kTabRubriken;
  static const char* const kTabDaten;
  static const char* const kTabZuordnungen;
  static const char* const kLuRubriken;
  static const char* const kLuDaten;
  static const char* const kLuDatenFormate;
  static const char* const kLuZuordnungenRubriken;

  DataEnv();
  ~DataEnv() override;

  // The database the program edits: program folder + "\databases\config.mdb" on Windows,
  // + "/databases/config.mdb" here.
  static std::string DatabasePath(const std::string& programFolder);

  // Splits `connectionString` at every ";", replaces the first element that begins with
  // "Data Source" by "Data Source=" + `databasePath`, and joins the elements again.
  static std::string RewriteDataSource(const std::string& connectionString,
                                       const std::string& databasePath);

  // Opens both connections and the table recordsets and the shaped look-up. Throws
  // vn::RuntimeError with the provider's description when the database cannot be opened.
  void DataEnvironment_Initialize(const std::string& programFolder);

  vn::data::Connection& cnConfig() { return cnConfig_; }
  vn::data::Connection& cnZuordnungen() { return cnZuordnungen_; }
  TableRecords* rstabRubriken() { return rstabRubriken_.get(); }
  TableRecords* rstabDaten() { return rstabDaten_.get(); }
  TableRecords* rstabZuordnungen() { return rstabZuordnungen_.get(); }

  // LookupSource: "rsluRubriken", "rsluDaten", "rsluDatenFormate" (opened on first use) and the
  // shaped "rsluZuordnungenRubriken".
  std::vector<LookupRow> Rows(const std::string& name) override;
  std::shared_ptr<vn::data::Recordset> Hierarchy(const std::string& name) override;

  // ConfigStore, on cnConfig.
  std::vector<std::string> AssignedRubrics(std::int64_t dataId) override;
  void DeleteDataEntry(std::int64_t dataId) override;
  std::vector<std::string> AssignedData(std::int64_t rubricId) override;
  void DeleteRubric(std::int64_t rubricId) override;
  std::vector<std::string> RubricsNamed(const std::string& name, std::int64_t exceptId) override;
  std::vector<std::vector<std::string>> SharedRubricNames() override;
  void CheckDatabase() override;

 private:
  // The texts of the first column of `sql`'s rows ("" for a value that is none), and each row's
  // second column as a whole number where `groups` is given.
  std::vector<std::string> Texts(const std::string& sql, std::vector<std::int64_t>* groups = nullptr);
  // Deletes the row `id` of `table` (key `idColumn`) and the assignments whose `assignedColumn`
  // names it, in one transaction.
  void DeleteWithAssignments(const char* table, const char* idColumn, const char* assignedColumn,
                             std::int64_t id);
  std::shared_ptr<vn::data::Recordset> OpenCommand(vn::data::Connection& connection,
                                                   const char* command, bool edit);

  std::string databasePath_;
  vn::data::Connection cnConfig_;
  vn::data::Connection cnZuordnungen_;
  std::unique_ptr<TableRecords> rstabRubriken_;
  std::unique_ptr<TableRecords> rstabDaten_;
  std::unique_ptr<TableRecords> rstabZuordnungen_;
  std::shared_ptr<vn::data::Recordset> rsluZuordnungenRubriken_;
  std::map<std::string, std::shared_ptr<vn::data::Recordset>> lookups_;
};

}  // namespace vn::config
