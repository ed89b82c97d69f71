#include "resources/markup.h"

#include <array>

#include "resources/res_text.h"

namespace vn::markup {

namespace {

// The character reference of a character that page text must not hold as it is; empty for
// every other character.
constexpr std::string_view Reference(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return {};
  }
}

// Which bytes have a reference, by byte: the scan over every value of a page asks this once per
// byte.
constexpr std::array<bool, 256> kHasReference = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[static_cast<size_t>(b)] = !Reference(static_cast<char>(b)).empty();
  return table;
}();

// 1 or 0, so that four of them combine with `|` without a branch each.
unsigned HasReference(char c) { return kHasReference[static_cast<unsigned char>(c)] ? 1U : 0U; }

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out(text);
  EscapeHtmlFrom(out, 0);
  return out;
}

void EscapeHtmlFrom(std::string& out, std::size_t from) {
  if (from >= out.size()) return;
  const char* const begin = out.data();
  const char* const end = begin + out.size();
  const char* p = begin + from;
  // Four bytes a step while they last: a page's values rarely hold one of the five.
  while (end - p >= 4 &&
         !(HasReference(p[0]) | HasReference(p[1]) | HasReference(p[2]) | HasReference(p[3]))) {
    p += 4;
  }
  while (p != end && !HasReference(*p)) ++p;
  if (p == end) return;
  const std::size_t first = static_cast<std::size_t>(p - begin);
  std::size_t grown = out.size();
  for (; p != end; ++p) {
    if (HasReference(*p)) grown += Reference(*p).size() - 1;
  }
  // Written from the back, so that every byte is read before the longer text reaches it.
  std::size_t read = out.size();
  std::size_t write = grown;
  out.resize(grown);
  while (read > first) {
    const char c = out[--read];
    const std::string_view reference = Reference(c);
    if (reference.empty()) {
      out[--write] = c;
    } else {
      write -= reference.size();
      reference.copy(out.data() + write, reference.size());
    }
  }
}

std::string Cell(const std::string& attributes, std::string_view content) {
  std::string cell = ResText(res::kCell, attributes);
  cell += content;
  cell += ResText(res::kCellEnd);
  return cell;
}

std::string FullWidthTable(int border, int padding, int spacing) {
  return ResText(res::kTable, ResText(res::kTableLayout, border, padding, spacing) +
                                  ResText(res::kWidth, "100%"));
}

std::string ScriptInclude(const std::string& path) {
  return ResText(res::kScript,
                 ResText(res::kLanguage, ResText(res::kVBScript)) + ResText(res::kSrc, path)) +
         ResText(res::kScriptEnd);
}

std::string FoldImage(const Fold& fold, bool alignMiddle) {
  const std::string image = "'" + fold.image + "'";
  std::string attributes = ResText(res::kName, fold.image) + ResText(res::kSrc, fold.imagePath) +
                           ResText(res::kOnClickDisplayItem, image + ",'" + fold.block + "'") +
                           ResText(res::kOnMouseOverPoint, image) +
                           ResText(res::kOnMouseOutDontPoint, image) + ResText(res::kWidth, 11) +
                           ResText(res::kHeight, 11);
  if (alignMiddle) attributes += ResText(res::kAlign, ResText(res::kAbsMiddle));
  return ResText(res::kImage, attributes);
}

std::string FoldTitleBar(const Fold& fold, const std::string& rowAttributes,
                         const std::string& cellAttributes, std::string_view title) {
  std::string s = FullWidthTable(0, 2, 0) + ResText(res::kRow, rowAttributes) +
                  ResText(res::kCell, cellAttributes) + FoldImage(fold, true);
  s += ResText(res::kNbsp) + ResText(res::kNbsp);
  s += title;
  s += ResText(res::kCellEnd) + ResText(res::kRowEnd) + ResText(res::kTableEnd);
  return s;
}

std::string FoldBlockStart(const std::string& block, const std::string& style) {
  return "\r\n" +
         ResText(res::kDiv, ResText(res::kIdAttribute, block) + ResText(res::kStyle, style)) +
         "\r\n";
}

}  // namespace vn::markup
