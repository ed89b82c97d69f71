#include "platform/unicode_case.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace vn {
namespace {

std::string ChangeCase(std::string_view text, bool upper) {
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  if (upper) {
    u.toUpper(icu::Locale::getRoot());
  } else {
    u.toLower(icu::Locale::getRoot());
  }
  std::string out;
  u.toUTF8String(out);
  return out;
}

}  // namespace

std::string UpperText(std::string_view utf8) { return ChangeCase(utf8, true); }

std::string LowerText(std::string_view utf8) { return ChangeCase(utf8, false); }

unsigned long LowerCodePoint(unsigned long codePoint) {
  return static_cast<unsigned long>(u_tolower(static_cast<UChar32>(codePoint)));
}

unsigned long FoldCodePoint(unsigned long codePoint) {
  return static_cast<unsigned long>(
      u_foldCase(static_cast<UChar32>(codePoint), U_FOLD_CASE_DEFAULT));
}

}  // namespace vn
