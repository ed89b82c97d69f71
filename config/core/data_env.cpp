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
// The titles of a rubric's entries, for the rubric's number appended.
constexpr auto kAssignedDataSql = JoinLiterals(
    "SELECT ", kDaten, ".", kTitel, " FROM ", kZuordnungen, ", ", kDaten, " WHERE ", kZuordnungen,
    ".", kDatenId, " = ", kDaten, ".", kIdDaten, " AND ", kZuordnungen, ".", kRubrikId, " = ");
constexpr auto kAssignedDataOrder = JoinLiterals(" ORDER BY ", kZuordnungen, ".", kRang);
// The rubrics of a name, for the quoted name and the excepted number appended.
constexpr auto kRubricsNamedSql =
    JoinLiterals("SELECT ", kRubrik, " FROM ", kRubriken, " WHERE ", kRubrik, " = ");
constexpr auto kByRang = JoinLiterals(" ORDER BY ", kRang);
// Each rubric whose name another carries too, with the first number of its name.
constexpr auto kSharedRubricNamesSql =
    JoinLiterals("SELECT a.", kRubrik, ", (SELECT MIN(b.", kIdRubrik, ") FROM ", kRubriken,
                 " b WHERE b.", kRubrik, " = a.", kRubrik, ") AS Erste FROM ", kRubriken,
                 " a WHERE (SELECT COUNT(*) FROM ", kRubriken, " c WHERE c.", kRubrik, " = a.",
                 kRubrik, ") > 1 ORDER BY a.", kRang, ", a.", kIdRubrik);

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

std::vector<std::string> DataEnv::Texts(const std::string& sql, std::vector<std::int64_t>* groups) {
  vn::data::Recordset recordset;
  recordset.Open(sql, cnConfig_, vn::data::adOpenForwardOnly, vn::data::adLockReadOnly);
  std::vector<std::string> texts;
  for (; !recordset.Eof(); recordset.MoveNext()) {
    const vn::data::Variant text = recordset.Fields(0).Value();
    texts.push_back(text.Is<std::string>() ? text.As<std::string>() : std::string());
    if (groups == nullptr) continue;
    const vn::data::Variant group = recordset.Fields(1).Value();
    groups->push_back(group.Is<std::int64_t>() ? group.As<std::int64_t>() : 0);
  }
  return texts;
}

std::vector<std::string> DataEnv::AssignedRubrics(std::int64_t dataId) {
  return Texts(kAssignedRubricsSql.data() + std::to_string(dataId) + kAssignedRubricsOrder.data());
}

std::vector<std::string> DataEnv::AssignedData(std::int64_t rubricId) {
  return Texts(kAssignedDataSql.data() + std::to_string(rubricId) + kAssignedDataOrder.data());
}

std::vector<std::string> DataEnv::RubricsNamed(const std::string& name, std::int64_t exceptId) {
  // The column's comparison is the one the library's query of a rubric makes.
  return Texts(kRubricsNamedSql.data() + ("'" + ReplaceAll(name, "'", "''") + "'") + " AND " +
               kIdRubrik + " <> " + std::to_string(exceptId) + kByRang.data());
}

std::vector<std::vector<std::string>> DataEnv::SharedRubricNames() {
  // Each rubric with the first identifier of its name, for every name more than one carries.
  std::vector<std::int64_t> firsts;
  const std::vector<std::string> names = Texts(kSharedRubricNamesSql.data(), &firsts);
  std::vector<std::vector<std::string>> groups;
  std::vector<std::int64_t> groupFirsts;
  for (size_t i = 0; i < names.size(); ++i) {
    size_t group = 0;
    while (group < groupFirsts.size() && groupFirsts[group] != firsts[i]) ++group;
    if (group == groupFirsts.size()) {
      groupFirsts.push_back(firsts[i]);
      groups.emplace_back();
    }
    groups[group].push_back(names[i]);
  }
  return groups;
}

void DataEnv::DeleteDataEntry(std::int64_t dataId) {
  DeleteWithAssignments(kDaten, kIdDaten, kDatenId, dataId);
}

void DataEnv::DeleteRubric(std::int64_t rubricId) {
  DeleteWithAssignments(kRubriken, kIdRubrik, kRubrikId, rubricId);
}

void DataEnv::DeleteWithAssignments(const char* table, const char* idColumn,
                                    const char* assignedColumn, std::int64_t id) {
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
    writer.Execute(std::string("DELETE FROM ") + kZuordnungen + " WHERE " + assignedColumn + " = ?",
                   {vn::data::Variant(id)});
    writer.Execute(std::string("DELETE FROM ") + table + " WHERE " + idColumn + " = ?",
                   {vn::data::Variant(id)});
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
