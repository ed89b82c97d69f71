#include "platform/codepage.h"

#include "platform/win32/wide.h"

namespace vn {

std::string Utf8ToAnsi(std::string_view utf8, Unmappable unmappable) {
  const UINT codePage = ::GetACP();
  if (codePage == 1252) return Utf8ToCp1252(utf8, unmappable);
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const size_t start = pos;
    long cp = DecodeUtf8(utf8, pos);
    if (cp >= 0 && cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    char bytes[8];
    int length = 0;
    if (cp >= 0) {
      std::wstring unit = win32::Widen(utf8.substr(start, pos - start));
      BOOL usedDefault = FALSE;
      length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, unit.data(),
                                     static_cast<int>(unit.size()), bytes, sizeof bytes, nullptr,
                                     &usedDefault);
      if (usedDefault) length = 0;
    }
    if (length > 0) {
      out.append(bytes, static_cast<size_t>(length));
    } else if (unmappable == Unmappable::kQuestionMark) {
      out += '?';
    } else {
      out += "&#" + std::to_string(cp >= 0 ? cp : 0xFFFD) + ";";
    }
  }
  return out;
}

void AppendUtf8AsAnsi(std::string& out, std::string_view utf8, Unmappable unmappable) {
  if (::GetACP() == 1252) {
    AppendUtf8AsCp1252(out, utf8, unmappable);
  } else {
    out += Utf8ToAnsi(utf8, unmappable);
  }
}

bool AppendAnsiByteAsUtf8(std::string& out, unsigned char byte) {
  const UINT codePage = ::GetACP();
  // The same table as on Linux: Windows maps the unassigned bytes of 1252 to control characters.
  if (codePage == 1252 || byte < 0x80) return AppendCp1252ByteAsUtf8(out, byte);
  if (::IsDBCSLeadByteEx(codePage, byte)) return false;
  const char single = static_cast<char>(byte);
  wchar_t wide[2];
  const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &single, 1, wide, 2);
  if (length <= 0) return false;
  out += win32::Narrow(std::wstring_view(wide, static_cast<size_t>(length)));
  return true;
}

}  // namespace vn
