#include "resources/res_text.h"

#include "platform/language.h"
#include "platform/runtime_error.h"
#include "resources/string_table.h"

namespace vn {

namespace {
// The error Visual Basic raises for a missing resource.
constexpr long kResourceNotFound = 326;
}  // namespace

std::string ResTemplate(int id) {
  const StringEntry* entry = FindStringEntry(id);
  if (entry == nullptr) {
    throw RuntimeError(kResourceNotFound,
                       "Resource with identifier '" + std::to_string(id) + "' not found",
                       "ResText");
  }
  if (entry->english != nullptr && UserLanguage() == Language::kEnglish) return entry->english;
  return entry->german;
}

std::string FillTemplate(std::string text, const ResValues& values) {
  // Each search starts at the beginning of the current text, so a "%s" that a value brings
  // in is filled by the next value.
  size_t next = 0;
  for (auto pos = text.find("%s"); pos != std::string::npos; pos = text.find("%s")) {
    if (next < values.size()) {
      text.replace(pos, 2, values[next].Text());
      ++next;
    } else {
      text.erase(pos, 2);
    }
  }
  for (auto pos = text.find(" >"); pos != std::string::npos; pos = text.find(" >", pos)) {
    text.erase(pos, 1);
  }
  return text;
}

std::string ResText(int id, const ResValues& values) {
  return FillTemplate(ResTemplate(id), values);
}

std::string ResText(std::string_view templateText, const ResValues& values) {
  return FillTemplate(std::string(templateText), values);
}

}  // namespace vn
