#include "platform/language.h"

#include <cstdlib>
#include <initializer_list>

namespace vn {
namespace {

std::string FirstSet(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return {};
}

std::string StripEncoding(std::string name) {
  auto cut = name.find_first_of(".@");
  if (cut != std::string::npos) name.erase(cut);
  if (name == "C" || name == "POSIX") return {};
  return name;
}

}  // namespace

Language UserLanguage() {
  std::string value = FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
  return value.rfind("de", 0) == 0 ? Language::kGerman : Language::kEnglish;
}

std::string NumericLocaleName() {
  return StripEncoding(FirstSet({"LC_ALL", "LC_NUMERIC", "LANG"}));
}

std::string TimeLocaleName() { return StripEncoding(FirstSet({"LC_ALL", "LC_TIME", "LANG"})); }

}  // namespace vn
