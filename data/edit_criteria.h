// The criteria of Find and Filter: "column op value" clauses (op =, <>, <, >, <=, >=, LIKE),
// joined by AND and OR with parentheses, parsed once and tested against rows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/rowset.h"

namespace vn::data {

class Criteria {
 public:
  // Parses `text` against the columns; throws RuntimeError 3001 when it is malformed and 3265
  // for an unknown column. `singleClause` refuses AND and OR (Find takes one clause).
  Criteria(const std::string& text, const std::vector<Column>& columns, bool singleClause);
  ~Criteria();
  Criteria(Criteria&&) noexcept;
  Criteria& operator=(Criteria&&) noexcept;

  bool Matches(const Row& row) const;

  struct Node;  // a clause, or AND / OR of two nodes

 private:
  std::unique_ptr<Node> root_;
};

}  // namespace vn::data
