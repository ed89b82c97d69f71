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

std::string FillTemplate(std::string_view templateText, const ResValues& values) {
  // The placeholders are those of the template alone, filled in one pass from left to right:
  // a "%s" that a value brings in (a query, a driver's reason) is text of that value.
  std::string text;
  text.reserve(templateText.size());
  size_t next = 0;
  size_t copied = 0;
  for (auto pos = templateText.find("%s"); pos != std::string_view::npos;
       pos = templateText.find("%s", copied)) {
    text.append(templateText, copied, pos - copied);
    if (next < values.size()) text += values[next++].Text();
    copied = pos + 2;
  }
  text.append(templateText, copied);
  for (auto pos = text.find(" >"); pos != std::string::npos; pos = text.find(" >", pos)) {
    text.erase(pos, 1);
  }
  return text;
}

std::string ResText(int id, const ResValues& values) {
  return FillTemplate(ResTemplate(id), values);
}

std::string ResText(std::string_view templateText, const ResValues& values) {
  return FillTemplate(templateText, values);
}

}  // namespace vn
