#include "config/core/data_env.h"

#include "config/core/start_files.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/provider.h"
#include "platform/config_names.h"
#include "platform/joined_literal.h"
#include "platform/path_separator.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn::config {

namespace {

using namespace vn::configdb;

constexpr auto kTabRubrikenSql =
    JoinLiterals("SELECT ", kIdRubrik, ", ", kRang, ", ", kRubrik, ", ", kMenuetext, ", ", kTitel,
                 ", ", kBemerkung, " FROM ", kRubriken, " ORDER BY ", kRang);
constexpr auto kTabDatenSql =
    JoinLiterals("SELECT ", kIdDaten, ", ", kTitel, ", ", kFormatId, ", ", kDatenquelle, ", ",
                 kAbfrage, ", ", kBemerkung, " FROM ", kDaten);
constexpr auto kTabZuordnungenSql =
    JoinLiterals("SELECT ", kIdZuordnung, ", ", kRubrikId, ", ", kDatenId, ", ", kRang, " FROM ",
                 kZuordnungen, " ORDER BY ", kRubrikId, ", ", kRang);
constexpr auto kLuRubrikenSql =
    JoinLiterals("SELECT ", kIdRubrik, ", ", kRubrik, " FROM ", kRubriken, " ORDER BY ", kRang);
constexpr auto kLuDatenSql = JoinLiterals("SELECT ", kIdDaten, ", ", kTitel, " FROM ", kDaten);
constexpr auto kLuDatenFormateSql =
    JoinLiterals("SELECT ", kIdFormat, ", ", kBeschreibung, " FROM ", kFormate);
constexpr auto kLuZuordnungenRubrikenSql = JoinLiterals(
    "SHAPE {SELECT ", kIdRubrik, ", ", kRubrik, ", ", kRang, " FROM ", kRubriken, " ORDER BY ",
    kRang, "}  AS luZuordnungenRubriken APPEND ({SELECT ", kDaten, ".", kIdDaten, ", ", kDaten, ".",
    kTitel, ", ", kZuordnungen, ".", kIdZuordnung, ", ", kZuordnungen, ".", kRubrikId, ", ",
    kZuordnungen, ".", kRang, " FROM ", kZuordnungen, ", ", kDaten, " WHERE ", kZuordnungen, ".",
    kDatenId, " = ", kDaten, ".", kIdDaten, " ORDER BY ", kZuordnungen, ".", kRubrikId, ", ",
    kZuordnungen, ".", kRang, "}  AS luZuordnungenDaten RELATE '", kIdRubrik, "' TO '", kRubrikId,
    "') AS luZuordnungenDaten");
// The rubrics an entry is assigned to, for the entry's number appended.
constexpr auto kAssignedRubricsSql =
    JoinLiterals("SELECT ", kRubriken, ".", kRubrik, " FROM ", kZuordnungen, ", ", kRubriken,
                 " WHERE ", kZuordnungen, ".", kRubrikId, " = ", kRubriken, ".", kIdRubrik, " AND ",
                 kZuordnungen, ".", kDatenId, " = ");
constexpr auto kAssignedRubricsOrder =
    JoinLiterals(" ORDER BY ", kRubriken, ".", kRang, ", ", kZuordnungen, ".", kRang);
constexpr auto kAssignmentsTargetSql =
    JoinLiterals("SELECT ", kIdZuordnung, ", ", kDatenId, " FROM ", kZuordnungen);
constexpr auto kDeleteAssignmentsSql =
    JoinLiterals("DELETE FROM ", kZuordnungen, " WHERE ", kDatenId, " = ?");
constexpr auto kDeleteEntrySql = JoinLiterals("DELETE FROM ", kDaten, " WHERE ", kIdDaten, " = ?");

}  // namespace

const char* const DataEnv::kConfigConnection =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=config.mdb;Persist Security Info=False;";
const char* const DataEnv::kZuordnungenConnection =
    "PROVIDER=MSDataShape;DATA PROVIDER=MICROSOFT.JET.OLEDB.4.0;Data Source=config.mdb;"
    "Persist Security Info=False;";
const char* const DataEnv::kTabRubriken = kTabRubrikenSql.data();
const char* const DataEnv::kTabDaten = kTabDatenSql.data();
const char* const DataEnv::kTabZuordnungen = kTabZuordnungenSql.data();
const char* const DataEnv::kLuRubriken = kLuRubrikenSql.data();
const char* const DataEnv::kLuDaten = kLuDatenSql.data();
const char* const DataEnv::kLuDatenFormate = kLuDatenFormateSql.data();
const char* const DataEnv::kLuZuordnungenRubriken = kLuZuordnungenRubrikenSql.data();

DataEnv::DataEnv() = default;
DataEnv::~DataEnv() = default;

std::string DataEnv::DatabasePath(const std::string& programFolder) {
  return programFolder + VN_PATH_SEP "databases" VN_PATH_SEP "config.mdb";
}

std::string DataEnv::RewriteDataSource(const std::string& connectionString,
                                       const std::string& databasePath) {
  std::vector<std::string> elements = Split(connectionString, ";");
  for (std::string& element : elements) {
    if (element.compare(0, 11, "Data Source") == 0 && element.size() >= 11) {
      element = "Data Source=" + databasePath;
      break;
    }
  }
  std::string joined;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) joined += ";";
    joined += elements[i];
  }
  return joined;
}

std::shared_ptr<vn::data::Recordset> DataEnv::OpenCommand(vn::data::Connection& connection,
                                                          const char* command, bool edit) {
  auto recordset = std::make_shared<vn::data::Recordset>();
  recordset->Open(command, connection, vn::data::adOpenStatic,
                  edit ? vn::data::adLockBatchOptimistic : vn::data::adLockReadOnly);
  return recordset;
}

void DataEnv::DataEnvironment_Initialize(const std::string& programFolder) {
  const std::string path = DatabasePath(programFolder);
  databasePath_ = path;
  cnConfig_.SetConnectionString(RewriteDataSource(kConfigConnection, path));
  cnConfig_.Open(std::string(), std::string(), std::string());
  rstabRubriken_ =
      std::make_unique<TableRecords>("rstabRubriken", OpenCommand(cnConfig_, kTabRubriken, true));
  rstabDaten_ =
      std::make_unique<TableRecords>("rstabDaten", OpenCommand(cnConfig_, kTabDaten, true));
  rstabZuordnungen_ = std::make_unique<TableRecords>("rstabZuordnungen",
                                                     OpenCommand(cnConfig_, kTabZuordnungen, true));
  for (TableRecords* records : {rstabRubriken_.get(), rstabDaten_.get(), rstabZuordnungen_.get()}) {
    if (!records->Recordset().Updatable()) {
      throw vn::RuntimeError(3251, "The table of " + records->Name() + " in '" + path +
                                       "' cannot be written (no key among its columns).");
    }
  }
  cnZuordnungen_.SetConnectionString(RewriteDataSource(kZuordnungenConnection, path));
  cnZuordnungen_.Open(std::string(), std::string(), std::string());
  rsluZuordnungenRubriken_ = OpenCommand(cnZuordnungen_, kLuZuordnungenRubriken, false);
}

std::vector<LookupRow> DataEnv::Rows(const std::string& name) {
  const char* command = nullptr;
  if (name == "rsluRubriken") command = kLuRubriken;
  if (name == "rsluDaten") command = kLuDaten;
  if (name == "rsluDatenFormate") command = kLuDatenFormate;
  if (command == nullptr) throw vn::RuntimeError(3265, "Unknown look-up '" + name + "'.");
  auto& recordset = lookups_[name];
  if (recordset) {
    recordset->Requery();
  } else {
    recordset = OpenCommand(cnConfig_, command, false);
  }
  std::vector<LookupRow> rows;
  while (!recordset->Eof()) {
    const vn::data::Variant text = recordset->Fields(1).Value();
    rows.push_back({recordset->Fields(0).Value(),
                    text.Is<std::string>()
                        ? text.As<std::string>()
                        : (text.IsNull() || text.IsEmpty() ? "" : text.DebugText())});
    recordset->MoveNext();
  }
  return rows;
}

std::shared_ptr<vn::data::Recordset> DataEnv::Hierarchy(const std::string& name) {
  if (name != "rsluZuordnungenRubriken" || !rsluZuordnungenRubriken_) return nullptr;
  rsluZuordnungenRubriken_->Requery();
  return rsluZuordnungenRubriken_;
}

std::vector<std::string> DataEnv::AssignedRubrics(std::int64_t dataId) {
  vn::data::Recordset recordset;
  recordset.Open(kAssignedRubricsSql.data() + std::to_string(dataId) + kAssignedRubricsOrder.data(),
                 cnConfig_, vn::data::adOpenForwardOnly, vn::data::adLockReadOnly);
  std::vector<std::string> names;
  for (; !recordset.Eof(); recordset.MoveNext()) {
    const vn::data::Variant name = recordset.Fields(0).Value();
    names.push_back(name.Is<std::string>() ? name.As<std::string>() : std::string());
  }
  return names;
}

void DataEnv::DeleteDataEntry(std::int64_t dataId) {
  CheckDatabase();
  // The writer of the assignments' table runs statements in one transaction on cnConfig's
  // session, the same the table recordsets write through.
  std::optional<vn::data::UpdateTarget> target =
      cnConfig_.ProviderSession().UpdateTargetOf(kAssignmentsTargetSql.data());
  if (!target || !target->writer) {
    throw vn::RuntimeError(vn::data::kErrFeatureNotAvailable,
                           "The configuration database cannot be written.");
  }
  vn::data::RowWriter& writer = *target->writer;
  writer.Begin();
  try {
    writer.Execute(kDeleteAssignmentsSql.data(), {vn::data::Variant(dataId)});
    writer.Execute(kDeleteEntrySql.data(), {vn::data::Variant(dataId)});
    writer.Commit();
  } catch (...) {
    writer.Rollback();
    throw;
  }
}

void DataEnv::CheckDatabase() {
  if (!databasePath_.empty() && !FileExists(databasePath_)) {
    throw vn::RuntimeError(vn::data::kErrProviderFailed,
                           "Could not find file '" + databasePath_ + "'.");
  }
}

}  // namespace vn::config
