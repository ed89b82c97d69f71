// ConfigStore: what the window asks of the configuration database beyond its three tables: the
// rubrics a data entry is assigned to and the data entries of a rubric, the deletion of either
// together with its assignments, the rubrics that share a name, and whether the database file
// is still where it was opened. Names compare as the database compares them for the library's
// query of a rubric: without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vn::config {

class ConfigStore {
 public:
  virtual ~ConfigStore() = default;
  // The names of the rubrics the data entry `dataId` is assigned to, in Rang order (a rubric
  // without a name is listed as ""). Throws vn::RuntimeError.
  virtual std::vector<std::string> AssignedRubrics(std::int64_t dataId) = 0;
  // Deletes the data entry `dataId` and every assignment of it in one transaction: both or
  // neither. Throws vn::RuntimeError with the database's reason.
  virtual void DeleteDataEntry(std::int64_t dataId) = 0;
  // The titles of the data entries assigned to the rubric `rubricId`, in Rang order.
  virtual std::vector<std::string> AssignedData(std::int64_t rubricId) = 0;
  // Deletes the rubric `rubricId` and every assignment to it in one transaction; the data
  // entries stay.
  virtual void DeleteRubric(std::int64_t rubricId) = 0;
  // The names of the rubrics other than `exceptId` (0: none excepted) named `name`.
  virtual std::vector<std::string> RubricsNamed(const std::string& name, std::int64_t exceptId) = 0;
  // The names of rubrics that share a name with another, each group of equal names in Rang order
  // of its first.
  virtual std::vector<std::vector<std::string>> SharedRubricNames() = 0;
  // Throws vn::RuntimeError when the database file has gone (moved or deleted while the
  // program runs): a write would then land in a file nobody reads again.
  virtual void CheckDatabase() = 0;
};

}  // namespace vn::config
