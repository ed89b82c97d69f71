#include "data/edit_criteria.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "data/date_serial.h"
#include "data/errors.h"
#include "data/sql_values.h"
#include "platform/text.h"

namespace vn::data {

namespace {

[[noreturn]] void Malformed(const std::string& text, const std::string& why) {
  throw RuntimeError(kErrInvalidArgument,
                     "Arguments are of the wrong type, are out of acceptable range, or are in "
                     "conflict with one another (" +
                         why + " in '" + text + "').",
                     "Recordset.Filter");
}

enum class Op { kEq, kNe, kLt, kGt, kLe, kGe, kLike };

struct Literal {
  std::string text;
  std::optional<double> number;  // a bare number
  std::optional<Date> date;      // a #date#
};

// A number held by a value, if it is one.
std::optional<double> NumberOf(const Variant& v) {
  if (v.Is<std::int64_t>()) return static_cast<double>(v.As<std::int64_t>());
  if (v.Is<double>()) return v.As<double>();
  if (v.Is<bool>()) return v.As<bool>() ? -1.0 : 0.0;
  if (v.Is<Currency>()) return static_cast<double>(v.As<Currency>().scaled) / 10000.0;
  if (v.Is<Decimal>()) return std::strtod(v.As<Decimal>().text.c_str(), nullptr);
  if (v.Is<Date>()) return v.As<Date>().serial;
  return std::nullopt;
}

int Compare(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool Like(const std::string& value, const std::string& pattern) {
  std::string p = LowerAscii(pattern);
  std::string v = LowerAscii(value);
  bool lead = !p.empty() && (p.front() == '*' || p.front() == '%');
  if (lead) p.erase(0, 1);
  bool trail = !p.empty() && (p.back() == '*' || p.back() == '%');
  if (trail) p.pop_back();
  if (lead && trail) return v.find(p) != std::string::npos;
  if (trail) return v.rfind(p, 0) == 0;
  return v == p;
}

}  // namespace

struct Criteria::Node {
  enum class Kind { kClause, kAnd, kOr } kind = Kind::kClause;
  std::unique_ptr<Node> left, right;
  size_t column = 0;
  Op op = Op::kEq;
  Literal literal;

  bool Matches(const Row& row) const {
    switch (kind) {
      case Kind::kAnd:
        return left->Matches(row) && right->Matches(row);
      case Kind::kOr:
        return left->Matches(row) || right->Matches(row);
      case Kind::kClause:
        break;
    }
    const Variant& v = row[column];
    if (v.IsNull() || v.IsEmpty()) return false;
    if (op == Op::kLike) {
      std::string text = v.Is<std::string>() ? v.As<std::string>() : v.DebugText();
      return Like(text, literal.text);
    }
    int c = 0;
    auto number = NumberOf(v);
    std::optional<double> wanted =
        literal.date ? std::optional<double>(literal.date->serial) : literal.number;
    if (number && wanted) {
      c = Compare(*number, *wanted);
    } else if (v.Is<std::string>() && wanted && !literal.date) {
      // A text column compared with a number: numerically when the text is one.
      auto d = NormaliseDecimal(TrimSpaces(v.As<std::string>()));
      if (!d) return op == Op::kNe;
      c = Compare(std::strtod(d->c_str(), nullptr), *wanted);
    } else {
      std::string a = LowerAscii(v.Is<std::string>() ? v.As<std::string>() : v.DebugText());
      std::string b = LowerAscii(literal.text);
      c = a < b ? -1 : (a > b ? 1 : 0);
    }
    switch (op) {
      case Op::kEq:
        return c == 0;
      case Op::kNe:
        return c != 0;
      case Op::kLt:
        return c < 0;
      case Op::kGt:
        return c > 0;
      case Op::kLe:
        return c <= 0;
      case Op::kGe:
        return c >= 0;
      case Op::kLike:
        break;
    }
    return false;
  }
};

namespace {

class Parser {
 public:
  Parser(const std::string& text, const std::vector<Column>& columns)
      : text_(text), columns_(columns) {}

  std::unique_ptr<Criteria::Node> Parse(bool single) {
    auto node = single ? Clause() : Or();
    SkipBlanks();
    if (pos_ != text_.size())
      Malformed(text_, "unexpected text at position " + std::to_string(pos_ + 1));
    return node;
  }

 private:
  using Node = Criteria::Node;

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool Keyword(const char* word) {
    SkipBlanks();
    size_t n = std::char_traits<char>::length(word);
    if (pos_ + n > text_.size()) return false;
    if (!EqualsIgnoringCase(text_.substr(pos_, n), word)) return false;
    size_t after = pos_ + n;
    if (after < text_.size() && text_[after] != ' ' && text_[after] != '(' &&
        text_[after] != '\t') {
      return false;
    }
    pos_ = after;
    return true;
  }

  std::unique_ptr<Node> Or() {
    auto left = And();
    while (Keyword("OR")) {
      auto node = std::make_unique<Node>();
      node->kind = Node::Kind::kOr;
      node->left = std::move(left);
      node->right = And();
      left = std::move(node);
    }
    return left;
  }

  std::unique_ptr<Node> And() {
    auto left = Factor();
    while (Keyword("AND")) {
      auto node = std::make_unique<Node>();
      node->kind = Node::Kind::kAnd;
      node->left = std::move(left);
      node->right = Factor();
      left = std::move(node);
    }
    return left;
  }

  std::unique_ptr<Node> Factor() {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '(') {
      ++pos_;
      auto node = Or();
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ')') Malformed(text_, "missing ')'");
      ++pos_;
      return node;
    }
    return Clause();
  }

  std::unique_ptr<Node> Clause() {
    auto node = std::make_unique<Node>();
    node->column = ColumnName();
    node->op = Operator();
    node->literal = Value(node->op == Op::kLike);
    return node;
  }

  size_t ColumnName() {
    SkipBlanks();
    std::string name;
    if (pos_ < text_.size() && text_[pos_] == '[') {
      size_t end = text_.find(']', pos_);
      if (end == std::string::npos) Malformed(text_, "missing ']'");
      name = text_.substr(pos_ + 1, end - pos_ - 1);
      pos_ = end + 1;
    } else {
      size_t start = pos_;
      while (pos_ < text_.size() &&
             std::string_view("=<> \t()").find(text_[pos_]) == std::string_view::npos) {
        ++pos_;
      }
      name = text_.substr(start, pos_ - start);
    }
    if (name.empty()) Malformed(text_, "missing column name");
    for (size_t i = 0; i < columns_.size(); ++i) {
      if (EqualsIgnoringCase(columns_[i].name, name)) return i;
    }
    throw RuntimeError(kErrItemNotFound,
                       "Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal ('" +
                           name + "').",
                       "Recordset.Filter");
  }

  Op Operator() {
    SkipBlanks();
    auto next = [&](const char* s) {
      size_t n = std::char_traits<char>::length(s);
      if (text_.compare(pos_, n, s) == 0) {
        pos_ += n;
        return true;
      }
      return false;
    };
    if (next("<=")) return Op::kLe;
    if (next(">=")) return Op::kGe;
    if (next("<>")) return Op::kNe;
    if (next("=")) return Op::kEq;
    if (next("<")) return Op::kLt;
    if (next(">")) return Op::kGt;
    if (Keyword("LIKE")) return Op::kLike;
    Malformed(text_, "missing comparison operator");
  }

  Literal Value(bool like) {
    SkipBlanks();
    Literal literal;
    if (pos_ >= text_.size()) Malformed(text_, "missing value");
    char c = text_[pos_];
    if (c == '\'') {
      ++pos_;
      while (true) {
        if (pos_ >= text_.size()) Malformed(text_, "unterminated text");
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            literal.text += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        literal.text += text_[pos_++];
      }
    } else if (c == '#') {
      size_t end = text_.find('#', pos_ + 1);
      if (end == std::string::npos) Malformed(text_, "unterminated date");
      literal.text = text_.substr(pos_ + 1, end - pos_ - 1);
      pos_ = end + 1;
      if (auto iso = ParseIsoDate(literal.text)) {
        literal.date = *iso;
      } else {
        // m/d/yyyy, as the criteria write dates.
        int m = 0, d = 0, y = 0;
        char rest = 0;
        if (std::sscanf(literal.text.c_str(), "%d/%d/%d%c", &m, &d, &y, &rest) == 3) {
          if (y < 100) y += y < 30 ? 2000 : 1900;
          literal.date = Date{DateSerial(y, m, d)};
        } else if (!(literal.text.size() >= 2 && literal.text.front() == '\'' &&
                     literal.text.back() == '\'')) {
          Malformed(text_, "bad date");
        } else {
          literal.text = literal.text.substr(1, literal.text.size() - 2);
        }
      }
    } else {
      size_t start = pos_;
      while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != ')' &&
             text_[pos_] != '\t') {
        ++pos_;
      }
      std::string word = text_.substr(start, pos_ - start);
      std::string number = word;
      if (!number.empty() && number.front() == '$') number.erase(0, 1);
      char* end = nullptr;
      double value = std::strtod(number.c_str(), &end);
      if (number.empty() || end == nullptr || *end != '\0' || !std::isfinite(value)) {
        Malformed(text_, "a text value needs quotes");
      }
      literal.text = word;
      literal.number = value;
    }
    if (like) {
      const std::string& p = literal.text;
      for (size_t i = 0; i < p.size(); ++i) {
        bool wild = p[i] == '*' || p[i] == '%';
        if (wild && i != 0 && i != p.size() - 1) Malformed(text_, "a wildcard inside the pattern");
      }
      bool lead = !p.empty() && (p.front() == '*' || p.front() == '%');
      bool trail = p.size() > 1 && (p.back() == '*' || p.back() == '%');
      if (lead && !trail) Malformed(text_, "a leading wildcard without a trailing one");
    }
    return literal;
  }

  const std::string& text_;
  const std::vector<Column>& columns_;
  size_t pos_ = 0;
};

}  // namespace

Criteria::Criteria(const std::string& text, const std::vector<Column>& columns, bool singleClause)
    : root_(Parser(text, columns).Parse(singleClause)) {}
Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

bool Criteria::Matches(const Row& row) const { return root_->Matches(row); }

}  // namespace vn::data
