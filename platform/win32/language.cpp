#include "platform/language.h"

#include "platform/win32/wide.h"

namespace vn {
namespace {

// The user's locale as "de_DE" (Windows writes "de-DE").
std::string UserLocaleName() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  if (::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) == 0) return {};
  std::string text = win32::Narrow(name);
  for (char& c : text) {
    if (c == '-') c = '_';
  }
  return text;
}

}  // namespace

Language UserLanguage() {
  return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_GERMAN ? Language::kGerman
                                                                    : Language::kEnglish;
}

std::string NumericLocaleName() { return UserLocaleName(); }

std::string TimeLocaleName() { return UserLocaleName(); }

}  // namespace vn
