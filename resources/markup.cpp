#include "resources/markup.h"

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

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out(text);
  EscapeHtmlFrom(out, 0);
  return out;
}

void EscapeHtmlFrom(std::string& out, std::size_t from) {
  std::size_t first = from;
  while (first < out.size() && Reference(out[first]).empty()) ++first;
  if (first >= out.size()) return;
  std::size_t grown = out.size();
  for (std::size_t i = first; i < out.size(); ++i) {
    const std::size_t length = Reference(out[i]).size();
    if (length > 0) grown += length - 1;
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
