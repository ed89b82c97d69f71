#include "render/column_names.h"

#include <vector>

#include "platform/text.h"
#include "resources/markup.h"
#include "resources/res_text.h"

namespace vn {

namespace {

bool IsAlignmentWord(const std::string& lowered) {
  return lowered == ResText(res::kLeft) || lowered == ResText(res::kRight) ||
         lowered == ResText(res::kCenter);
}

bool IsFormatPart(const std::string& part) {
  return LowerAscii(part).starts_with(ResText(res::kFormatPrefix));
}

// The alignment word before the first "_" (lower-cased), or "" when the name has none or
// nothing follows the "_".
std::string LeadingAlignmentWord(const std::string& name) {
  const auto p = name.find('_');
  if (p == std::string::npos || p + 1 == name.size()) return {};
  std::string word = LowerAscii(name.substr(0, p));
  return IsAlignmentWord(word) ? word : std::string();
}

std::string JoinFrom(const std::vector<std::string>& parts, size_t first) {
  std::string joined;
  for (size_t i = first; i < parts.size(); ++i) {
    if (i > first) joined += '_';
    joined += parts[i];
  }
  return joined;
}

}  // namespace

ColumnName SplitMarkupPrefix(const std::string& name) {
  constexpr std::string_view kPrefix = "html_";
  if (name.size() > kPrefix.size() &&
      EqualsIgnoringCase(std::string_view(name).substr(0, kPrefix.size()), kPrefix)) {
    return {true, name.substr(kPrefix.size())};
  }
  return {false, name};
}

std::string ListCaption(const std::string& fullName) {
  const std::string name = SplitMarkupPrefix(fullName).rest;
  if (LeadingAlignmentWord(name).empty()) return name;
  return name.substr(name.find('_') + 1);
}

std::string GetAlignment(const std::string& fullName) {
  std::string word = LeadingAlignmentWord(SplitMarkupPrefix(fullName).rest);
  return word.empty() ? ResText(res::kLeft) : word;
}

std::string GetCaption(const std::string& fullName) {
  const std::string name = SplitMarkupPrefix(fullName).rest;
  const std::vector<std::string> parts = Split(name, "_");
  if (parts.size() < 2) return name;
  if (!IsAlignmentWord(LowerAscii(parts[0])) && !IsFormatPart(parts[0])) return name;
  if (parts.size() >= 3 && IsFormatPart(parts[1])) return JoinFrom(parts, 2);
  return JoinFrom(parts, 1);
}

bool IsHiddenColumn(const std::string& fullName) {
  return LowerAscii(SplitMarkupPrefix(fullName).rest).starts_with("hide_");
}

}  // namespace vn
