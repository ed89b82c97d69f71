#include "platform/unicode_case.h"

#include "platform/codepage.h"
#include "platform/win32/wide.h"

namespace vn {
namespace {

std::wstring MapCase(const std::wstring& text, DWORD flags) {
  if (text.empty()) return text;
  int length = ::LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.c_str(),
                               static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr, 0);
  if (length <= 0) return text;
  std::wstring out(static_cast<size_t>(length), L'\0');
  ::LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.c_str(), static_cast<int>(text.size()),
                  out.data(), length, nullptr, nullptr, 0);
  return out;
}

// One character through LCMapStringEx; the character itself when the mapping is not one character.
unsigned long MapCodePoint(unsigned long codePoint, DWORD flags) {
  std::string utf8;
  AppendUtf8(utf8, codePoint);
  std::string mapped = win32::Narrow(MapCase(win32::Widen(utf8), flags));
  size_t pos = 0;
  long result = mapped.empty() ? -1 : DecodeUtf8(mapped, pos);
  return result >= 0 && pos == mapped.size() ? static_cast<unsigned long>(result) : codePoint;
}

}  // namespace

std::string UpperText(std::string_view utf8) {
  return win32::Narrow(MapCase(win32::Widen(utf8), LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING));
}

std::string LowerText(std::string_view utf8) {
  return win32::Narrow(MapCase(win32::Widen(utf8), LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING));
}

unsigned long LowerCodePoint(unsigned long codePoint) {
  return MapCodePoint(codePoint, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING);
}

// Windows has no case folding of its own; the invariant lower case is its counterpart.
unsigned long FoldCodePoint(unsigned long codePoint) {
  return MapCodePoint(codePoint, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING);
}

}  // namespace vn
