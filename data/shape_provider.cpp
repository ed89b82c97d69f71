// The data shaping service: runs the commands of a SHAPE tree on the data provider, each
// once, and joins children to parents through key groups held in memory.
#include <unordered_map>

#include "data/errors.h"
#include "data/field.h"
#include "data/provider.h"
#include "data/shape_parser.h"
#include "data/sql_values.h"
#include "platform/text.h"

namespace vn::data {

namespace {

// Keys of these types meet by their numbers; a Boolean's are -1 and 0.
bool ComparedAsNumber(int type) { return IsNumberType(type) || type == adBoolean; }

// Canonical text of a number, so that 7, 7.0, "7" (when compared numerically) and 7.0000 in
// currency meet.
std::string NumberKey(const std::string& decimal) { return "n" + decimal; }

// Key part of one value; nullopt for NULL (matches nothing).
std::optional<std::string> KeyPart(const Variant& v, bool numeric) {
  struct Visitor {
    bool numeric;
    std::optional<std::string> operator()(std::monostate) const { return std::nullopt; }
    std::optional<std::string> operator()(Null) const { return std::nullopt; }
    std::optional<std::string> operator()(bool b) const { return NumberKey(b ? "-1" : "0"); }
    std::optional<std::string> operator()(std::int64_t i) const {
      return NumberKey(std::to_string(i));
    }
    std::optional<std::string> operator()(double d) const {
      return NumberKey(NormaliseDecimal(ShortestDouble(d)).value_or(ShortestDouble(d)));
    }
    std::optional<std::string> operator()(const Currency& c) const {
      return NumberKey(*NormaliseDecimal(Variant(c).DebugText()));
    }
    std::optional<std::string> operator()(const Decimal& d) const { return NumberKey(d.text); }
    std::optional<std::string> operator()(const Date& d) const {
      return "d" + ShortestDouble(d.serial);
    }
    std::optional<std::string> operator()(const std::string& s) const {
      if (numeric) {
        if (auto d = NormaliseDecimal(TrimSpaces(s))) return NumberKey(*d);
      }
      return "s" + s;
    }
    std::optional<std::string> operator()(const std::shared_ptr<Recordset>&) const {
      return std::nullopt;
    }
  };
  return std::visit(Visitor{numeric}, v.Raw());
}

struct KeyColumns {
  std::vector<size_t> parent, child;
  std::vector<bool> numeric;
};

std::optional<std::string> RowKey(const Row& row, const std::vector<size_t>& columns,
                                  const std::vector<bool>& numeric) {
  std::string key;
  for (size_t i = 0; i < columns.size(); ++i) {
    auto part = KeyPart(row[columns[i]], numeric[i]);
    if (!part) return std::nullopt;
    key += std::to_string(part->size());
    key += ':';
    key += *part;
  }
  return key;
}

size_t FindColumn(const MaterialisedRowset& rows, const std::string& name, const char* side,
                  size_t position) {
  for (size_t i = 0; i < rows.columns.size(); ++i) {
    if (EqualsIgnoringCase(rows.columns[i].name, name)) {
      if (rows.columns[i].type == adChapter) {
        throw RuntimeError(kErrCommandFailed,
                           "The relation at position " + std::to_string(position) +
                               " uses the chapter column '" + name + "'; chapters cannot relate.",
                           "MSDataShape");
      }
      return i;
    }
  }
  throw RuntimeError(kErrCommandFailed,
                     std::string("The relation at position ") + std::to_string(position) +
                         " names the column '" + name + "', which the " + side +
                         " command does not return.",
                     "MSDataShape");
}

std::string ChapterName(const MaterialisedRowset& parent, const ShapeChild& child, size_t ordinal) {
  if (!child.alias.empty()) return child.alias;
  if (!child.innerAlias.empty()) return child.innerAlias;
  for (size_t n = ordinal;; ++n) {
    std::string name = "Chapter" + std::to_string(n);
    bool taken = false;
    for (const auto& c : parent.columns) taken = taken || EqualsIgnoringCase(c.name, name);
    if (!taken) return name;
  }
}

class ShapeProvider : public Provider {
 public:
  explicit ShapeProvider(std::unique_ptr<Provider> data) : data_(std::move(data)) {}

  std::shared_ptr<CommandRunner> Command(const std::string& command) override {
    if (ParseShape(command)) {
      throw RuntimeError(kErrFeatureNotAvailable,
                         "A SHAPE command gives a hierarchical result; open it as a recordset.",
                         "MSDataShape");
    }
    return data_->Command(command);
  }

  std::unique_ptr<Cursor> Open(const std::string& command) override {
    auto shape = ParseShape(command);
    if (!shape) return data_->Open(command);
    return MakeMaterialisedCursor(Execute(*shape));
  }

  // A plain command is the data provider's; a shaped result is never written back.
  std::optional<UpdateTarget> UpdateTargetOf(const std::string& command) override {
    if (ParseShape(command)) return std::nullopt;
    return data_->UpdateTargetOf(command);
  }

 private:
  std::shared_ptr<MaterialisedRowset> Run(const ShapeTable& table) {
    if (table.shape) return Execute(*table.shape);
    auto source = data_->Command(table.providerText)->Run();
    return Materialise(*source);
  }

  std::shared_ptr<MaterialisedRowset> Execute(const ShapeCommand& command) {
    auto parent = Run(command.parent);
    size_t ordinal = 0;
    for (const ShapeChild& child : command.children) {
      ++ordinal;
      auto rows = Run(child.table);
      KeyColumns keys;
      for (const ShapeRelation& relation : child.relations) {
        size_t p = FindColumn(*parent, relation.parentColumn, "parent", relation.position);
        size_t c = FindColumn(*rows, relation.childColumn, "child", relation.position);
        keys.parent.push_back(p);
        keys.child.push_back(c);
        keys.numeric.push_back(ComparedAsNumber(parent->columns[p].type) ||
                               ComparedAsNumber(rows->columns[c].type));
      }
      MaterialisedRowset::Chapter chapter;
      chapter.column = parent->columns.size();
      chapter.child = rows;
      // Group the child rows by key once, in the child's order.
      std::unordered_map<std::string, size_t> groupOfKey;
      std::vector<std::vector<size_t>> groups;
      for (size_t r = 0; r < rows->rows.size(); ++r) {
        auto key = RowKey(rows->rows[r], keys.child, keys.numeric);
        if (!key) continue;
        auto [it, added] = groupOfKey.try_emplace(*key, groups.size());
        if (added) groups.emplace_back();
        groups[it->second].push_back(r);
      }
      chapter.groups.reserve(groups.size());
      for (auto& g : groups) {
        chapter.groups.push_back(std::make_shared<const std::vector<size_t>>(std::move(g)));
      }
      chapter.groupOfRow.reserve(parent->rows.size());
      for (auto& row : parent->rows) {
        auto key = RowKey(row, keys.parent, keys.numeric);
        long group = -1;
        if (key) {
          auto it = groupOfKey.find(*key);
          if (it != groupOfKey.end()) group = static_cast<long>(it->second);
        }
        chapter.groupOfRow.push_back(group);
        row.emplace_back();
      }
      parent->columns.push_back(Column{ChapterName(*parent, child, ordinal), adChapter});
      parent->chapters.push_back(std::move(chapter));
    }
    return parent;
  }

  std::unique_ptr<Provider> data_;
};

}  // namespace

std::unique_ptr<Provider> OpenShapeProvider(std::unique_ptr<Provider> dataProvider) {
  return std::make_unique<ShapeProvider>(std::move(dataProvider));
}

}  // namespace vn::data
