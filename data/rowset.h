// The rows behind recordsets: column descriptions, a row source that a provider streams, and
// client-side materialised rowsets (with the chapters of shaped results) that cursors share.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"

namespace vn::data {

struct Column {
  std::string name;
  int type = 0;  // DataTypeEnum
};

using Row = std::vector<Variant>;

// A provider's result, read forward once. Columns() is valid right after execution.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual const std::vector<Column>& Columns() const = 0;
  // Reads the next row into `row`; false at the end.
  virtual bool Fetch(Row& row) = 0;
};

// Runs a command again for a cursor that needs rows its sibling cursors have already let go.
class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  virtual std::unique_ptr<RowSource> Run() = 0;
};

// All rows of a result held in memory. A chapter column's cells stay Empty in `rows`; its
// values are the groups of `chapters`.
struct MaterialisedRowset {
  struct Chapter {
    size_t column = 0;
    std::shared_ptr<MaterialisedRowset> child;
    // The child row positions of each group, in the child's row order.
    std::vector<std::shared_ptr<const std::vector<size_t>>> groups;
    // For each parent row, the index into `groups`, or -1 for an empty chapter.
    std::vector<long> groupOfRow;
  };

  std::vector<Column> columns;
  std::vector<Row> rows;
  std::vector<Chapter> chapters;

  const Chapter* ChapterAt(size_t column) const {
    for (const auto& chapter : chapters) {
      if (chapter.column == column) return &chapter;
    }
    return nullptr;
  }
};

// Reads all rows of `source` into a materialised rowset.
std::shared_ptr<MaterialisedRowset> Materialise(RowSource& source);

}  // namespace vn::data
