#include "config/core/data_env.h"

#include "config/core/start_files.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/provider.h"
#include "platform/path_separator.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn::config {

const char* const DataEnv::kConfigConnection =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=config.mdb;Persist Security Info=False;";
const char* const DataEnv::kZuordnungenConnection =
    "PROVIDER=MSDataShape;DATA PROVIDER=MICROSOFT.JET.OLEDB.4.0;Data Source=config.mdb;"
    "Persist Security Info=False;";
const char* const DataEnv::kTabRubriken =
    "SELECT ID_Rubrik, Rang, Rubrik, Menuetext, Titel, Bemerkung FROM Rubriken ORDER BY Rang";
const char* const DataEnv::kTabDaten =
    "SELECT ID_Daten, Titel, Format_ID, Datenquelle, Abfrage, Bemerkung FROM Daten";
const char* const DataEnv::kTabZuordnungen =
    "SELECT ID_Zuordnung, Rubrik_ID, Daten_ID, Rang FROM Zuordnungen ORDER BY Rubrik_ID, Rang";
const char* const DataEnv::kLuRubriken = "SELECT ID_Rubrik, Rubrik FROM Rubriken ORDER BY Rang";
const char* const DataEnv::kLuDaten = "SELECT ID_Daten, Titel FROM Daten";
const char* const DataEnv::kLuDatenFormate = "SELECT ID_Format, Beschreibung FROM Formate";
const char* const DataEnv::kLuZuordnungenRubriken =
    "SHAPE {SELECT ID_Rubrik, Rubrik, Rang FROM Rubriken ORDER BY Rang}  AS luZuordnungenRubriken "
    "APPEND ({SELECT Daten.ID_Daten, Daten.Titel, Zuordnungen.ID_Zuordnung, Zuordnungen.Rubrik_ID, "
    "Zuordnungen.Rang FROM Zuordnungen, Daten WHERE Zuordnungen.Daten_ID = Daten.ID_Daten ORDER BY "
    "Zuordnungen.Rubrik_ID, Zuordnungen.Rang}  AS luZuordnungenDaten RELATE 'ID_Rubrik' TO "
    "'Rubrik_ID') AS luZuordnungenDaten";

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

std::vector<std::string> DataEnv::Texts(const std::string& sql,
                                        std::vector<std::int64_t>* groups) {
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
  return Texts(
      "SELECT Rubriken.Rubrik FROM Zuordnungen, Rubriken WHERE Zuordnungen.Rubrik_ID = "
      "Rubriken.ID_Rubrik AND Zuordnungen.Daten_ID = " +
      std::to_string(dataId) + " ORDER BY Rubriken.Rang, Zuordnungen.Rang");
}

std::vector<std::string> DataEnv::AssignedData(std::int64_t rubricId) {
  return Texts(
      "SELECT Daten.Titel FROM Zuordnungen, Daten WHERE Zuordnungen.Daten_ID = Daten.ID_Daten "
      "AND Zuordnungen.Rubrik_ID = " +
      std::to_string(rubricId) + " ORDER BY Zuordnungen.Rang");
}

std::vector<std::string> DataEnv::RubricsNamed(const std::string& name, std::int64_t exceptId) {
  // The column's comparison is the one the library's query of a rubric makes.
  std::string literal = "'";
  for (const char c : name) literal += c == '\'' ? std::string("''") : std::string(1, c);
  return Texts("SELECT Rubrik FROM Rubriken WHERE Rubrik = " + literal + "' AND ID_Rubrik <> " +
               std::to_string(exceptId) + " ORDER BY Rang");
}

std::vector<std::vector<std::string>> DataEnv::SharedRubricNames() {
  // Each rubric with the first identifier of its name, for every name more than one carries.
  std::vector<std::int64_t> firsts;
  const std::vector<std::string> names = Texts(
      "SELECT a.Rubrik, (SELECT MIN(b.ID_Rubrik) FROM Rubriken b WHERE b.Rubrik = a.Rubrik) "
      "AS Erste FROM Rubriken a WHERE (SELECT COUNT(*) FROM Rubriken c WHERE c.Rubrik = "
      "a.Rubrik) > 1 ORDER BY a.Rang, a.ID_Rubrik",
      &firsts);
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
  DeleteWithAssignments("Daten", "ID_Daten", "Daten_ID", dataId);
}

void DataEnv::DeleteRubric(std::int64_t rubricId) {
  DeleteWithAssignments("Rubriken", "ID_Rubrik", "Rubrik_ID", rubricId);
}

void DataEnv::DeleteWithAssignments(const char* table, const char* idColumn,
                                    const char* assignedColumn, std::int64_t id) {
  CheckDatabase();
  // The writer of the assignments' table runs statements in one transaction on cnConfig's
  // session, the same the table recordsets write through.
  std::optional<vn::data::UpdateTarget> target =
      cnConfig_.ProviderSession().UpdateTargetOf("SELECT ID_Zuordnung, Daten_ID FROM Zuordnungen");
  if (!target || !target->writer) {
    throw vn::RuntimeError(vn::data::kErrFeatureNotAvailable,
                           "The configuration database cannot be written.");
  }
  vn::data::RowWriter& writer = *target->writer;
  writer.Begin();
  try {
    writer.Execute(std::string("DELETE FROM Zuordnungen WHERE ") + assignedColumn + " = ?",
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
