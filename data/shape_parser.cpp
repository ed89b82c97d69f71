#include "data/shape_parser.h"

#include "data/errors.h"
#include "platform/text.h"

namespace vn::data {

namespace {

constexpr int kMaxDepth = 16;

enum class Tok { kEnd, kName, kQuoted, kBraced, kOpen, kClose, kComma, kDot, kNumber, kOther };

struct Token {
  Tok kind = Tok::kEnd;
  std::string text;     // the name, the quoted name's content or the braced text
  size_t position = 0;  // 1-based
};

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '#' || c == ':' || c == '$';
}

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  ShapeCommand ParseRoot() {
    ShapeCommand command = ParseCommand(0);
    Token t = Next();
    if (t.kind != Tok::kEnd) Fail(t, "the end of the command");
    return command;
  }

 private:
  [[noreturn]] void Fail(const Token& found, const std::string& expected) {
    std::string what;
    switch (found.kind) {
      case Tok::kEnd:
        what = "the end of the command";
        break;
      case Tok::kBraced:
        what = "'{'";
        break;
      case Tok::kQuoted:
        what = "the name '" + found.text + "'";
        break;
      default:
        what = "'" + found.text + "'";
        break;
    }
    throw RuntimeError(kErrCommandFailed,
                       "Syntax error in the SHAPE command at position " +
                           std::to_string(found.position) + ": expected " + expected + ", found " +
                           what + ".",
                       "MSDataShape");
  }

  [[noreturn]] void Unsupported(const Token& at, const std::string& feature) {
    throw RuntimeError(kErrFeatureNotAvailable,
                       "The SHAPE command uses " + feature + " at position " +
                           std::to_string(at.position) + ", which is not supported.",
                       "MSDataShape");
  }

  void SkipBlanks() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) {
      ++pos_;
    }
  }

  Token Lex() {
    SkipBlanks();
    Token t;
    t.position = pos_ + 1;
    if (pos_ >= s_.size()) return t;
    char c = s_[pos_];
    if (c == '{') {
      t.kind = Tok::kBraced;
      t.text = BracedText();
      return t;
    }
    if (c == '"' || c == '\'' || c == '[') {
      char close = c == '[' ? ']' : c;
      t.kind = Tok::kQuoted;
      ++pos_;
      for (;;) {
        if (pos_ >= s_.size()) {
          Token end;
          end.position = s_.size() + 1;
          Fail(end, std::string("the closing ") + close + " of the name begun at position " +
                        std::to_string(t.position));
        }
        char d = s_[pos_++];
        if (d == close) {
          if (pos_ < s_.size() && s_[pos_] == close) {
            t.text += close;
            ++pos_;
            continue;
          }
          break;
        }
        t.text += d;
      }
      return t;
    }
    if (IsNameStart(c)) {
      t.kind = Tok::kName;
      while (pos_ < s_.size() && IsNameChar(s_[pos_])) t.text += s_[pos_++];
      return t;
    }
    if (c >= '0' && c <= '9') {
      t.kind = Tok::kNumber;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') t.text += s_[pos_++];
      return t;
    }
    ++pos_;
    t.text = std::string(1, c);
    t.kind = c == '('   ? Tok::kOpen
             : c == ')' ? Tok::kClose
             : c == ',' ? Tok::kComma
             : c == '.' ? Tok::kDot
                        : Tok::kOther;
    return t;
  }

  // The text between '{' and its matching '}', skipping quoted literals and nested braces.
  std::string BracedText() {
    size_t open = pos_;
    ++pos_;
    int depth = 1;
    size_t start = pos_;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\'' || c == '"') {
        size_t close = s_.find(c, pos_ + 1);
        if (close == std::string::npos) break;
        pos_ = close + 1;
        continue;
      }
      if (c == '{') ++depth;
      if (c == '}' && --depth == 0) {
        std::string inner = s_.substr(start, pos_ - start);
        ++pos_;
        return inner;
      }
      ++pos_;
    }
    Token end;
    end.position = s_.size() + 1;
    Fail(end, "'}' to close the command begun at position " + std::to_string(open + 1));
  }

  Token Peek() {
    if (!peeked_) {
      peek_ = Lex();
      peeked_ = true;
    }
    return peek_;
  }
  Token Next() {
    Token t = Peek();
    peeked_ = false;
    return t;
  }

  static bool IsKeyword(const Token& t, const char* word) {
    return t.kind == Tok::kName && EqualsIgnoringCase(t.text, word);
  }
  static bool IsReserved(const Token& t) {
    static const char* const kWords[] = {"SHAPE", "APPEND",    "COMPUTE", "BY",  "RELATE", "TO",
                                         "AS",    "PARAMETER", "TABLE",   "NEW", "CALC"};
    for (const char* w : kWords) {
      if (IsKeyword(t, w)) return true;
    }
    return false;
  }

  void Expect(Tok kind, const std::string& what) {
    Token t = Next();
    if (t.kind != kind) Fail(t, what);
  }

  std::string ParseName(const std::string& what) {
    Token t = Next();
    if (t.kind == Tok::kQuoted || (t.kind == Tok::kName && !IsReserved(t))) return t.text;
    Fail(t, what);
  }

  // [[AS] alias]: an alias follows when AS does, or a name that is no keyword.
  std::string ParseOptionalAlias() {
    Token t = Peek();
    if (IsKeyword(t, "AS")) {
      Next();
      return ParseName("an alias after AS");
    }
    if (t.kind == Tok::kQuoted || (t.kind == Tok::kName && !IsReserved(t))) {
      Next();
      return t.text;
    }
    return {};
  }

  ShapeCommand ParseCommand(int depth) {
    Token shape = Next();
    if (!IsKeyword(shape, "SHAPE")) Fail(shape, "SHAPE");
    if (depth >= kMaxDepth) {
      throw RuntimeError(kErrCommandFailed,
                         "The SHAPE command at position " + std::to_string(shape.position) +
                             " is nested deeper than " + std::to_string(kMaxDepth) + " levels.",
                         "MSDataShape");
    }
    ShapeCommand command;
    command.parent = ParseTable(depth, "'{', '(' and a nested SHAPE, after SHAPE");
    command.alias = ParseOptionalAlias();
    Token t = Peek();
    if (IsKeyword(t, "COMPUTE")) Unsupported(t, "COMPUTE");
    if (IsKeyword(t, "APPEND")) {
      Next();
      do {
        command.children.push_back(ParseChild(depth));
      } while (Peek().kind == Tok::kComma && (Next(), true));
    }
    return command;
  }

  ShapeTable ParseTable(int depth, const std::string& expected) {
    Token t = Next();
    ShapeTable table;
    table.position = t.position;
    if (t.kind == Tok::kBraced) {
      table.providerText = t.text;
      return table;
    }
    if (t.kind == Tok::kOpen) {
      table.shape = std::make_unique<ShapeCommand>(ParseCommand(depth + 1));
      Expect(Tok::kClose,
             "')' to close the nested SHAPE begun at position " + std::to_string(t.position));
      return table;
    }
    if (IsKeyword(t, "TABLE") || t.kind == Tok::kQuoted) Unsupported(t, "a table name");
    Fail(t, expected);
  }

  ShapeChild ParseChild(int depth) {
    Token t = Peek();
    if (IsKeyword(t, "CALC") || IsKeyword(t, "NEW")) Unsupported(t, UpperAscii(t.text));
    if (t.kind == Tok::kName && !IsReserved(t)) Unsupported(t, "an aggregate");
    Token open = Next();
    if (open.kind != Tok::kOpen) Fail(open, "'(' to begin a child of APPEND");
    ShapeChild child;
    child.table = ParseTable(depth, "'{' or '(' and a nested SHAPE for the child command");
    child.innerAlias = ParseOptionalAlias();
    Token relate = Next();
    if (!IsKeyword(relate, "RELATE")) Fail(relate, "RELATE");
    bool parenthesised = Peek().kind == Tok::kOpen;
    if (parenthesised) Next();
    do {
      ShapeRelation relation;
      relation.position = Peek().position;
      relation.parentColumn = ParseName("a parent column name after RELATE");
      if (IsKeyword(Peek(), "AS")) {
        Next();
        ParseName("an alias after AS");
      }
      Token to = Next();
      if (!IsKeyword(to, "TO")) Fail(to, "TO");
      if (IsKeyword(Peek(), "PARAMETER")) Unsupported(Peek(), "PARAMETER");
      relation.childColumn = ParseName("a child column name after TO");
      if (IsKeyword(Peek(), "AS")) {
        Next();
        ParseName("an alias after AS");
      }
      child.relations.push_back(std::move(relation));
    } while (Peek().kind == Tok::kComma && (Next(), true));
    if (parenthesised) Expect(Tok::kClose, "')' to close the RELATE list");
    Expect(Tok::kClose,
           "')' or ',' after the relation begun at position " + std::to_string(open.position));
    child.alias = ParseOptionalAlias();
    return child;
  }

  const std::string& s_;
  size_t pos_ = 0;
  Token peek_;
  bool peeked_ = false;
};

}  // namespace

std::optional<ShapeCommand> ParseShape(const std::string& text) {
  size_t i = 0;
  while (i < text.size() &&
         (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
    ++i;
  }
  if (text.size() - i < 5 || !EqualsIgnoringCase(std::string_view(text).substr(i, 5), "SHAPE") ||
      (text.size() - i > 5 && IsNameChar(text[i + 5]))) {
    return std::nullopt;
  }
  return Parser(text).ParseRoot();
}

}  // namespace vn::data
