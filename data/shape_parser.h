// The SHAPE command language of the data shaping service: a parser from command text to a
// tree of provider commands, relations and chapter names. Errors name the position.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vn::data {

struct ShapeCommand;

// `{provider text}` or a nested `(SHAPE ...)`.
struct ShapeTable {
  std::string providerText;
  std::unique_ptr<ShapeCommand> shape;
  size_t position = 0;  // 1-based offset of the table expression in the command text
};

struct ShapeRelation {
  std::string parentColumn;
  std::string childColumn;
  size_t position = 0;
};

// One `(child RELATE ...) [AS chapter]` item of an APPEND list.
struct ShapeChild {
  ShapeTable table;
  std::string innerAlias;
  std::vector<ShapeRelation> relations;
  std::string alias;
};

struct ShapeCommand {
  ShapeTable parent;
  std::string alias;
  std::vector<ShapeChild> children;
};

// The command tree of `text`, or nullopt when it is no SHAPE command (the text then goes to
// the data provider unchanged). A malformed command throws RuntimeError with the position
// and what was expected.
std::optional<ShapeCommand> ParseShape(const std::string& text);

}  // namespace vn::data
