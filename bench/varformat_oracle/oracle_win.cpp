// Windows side of the formatter oracle (cross-compiled with MinGW, run under Wine): reads
// "kind<TAB>value<TAB>pattern" lines and writes, per line, "OK<TAB>text" with the result of
// OLE Automation's VarFormat (first day Sunday, first week the week of 1 January) or
// "ERR<TAB>hresult".
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Utf8(const wchar_t* w, int length) {
  if (length <= 0) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w, length, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, length, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  static char line[8192];
  while (std::fgets(line, sizeof line, stdin)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::size_t t1 = text.find('\t');
    std::size_t t2 = t1 == std::string::npos ? std::string::npos : text.find('\t', t1 + 1);
    if (t2 == std::string::npos) {
      std::fputs("ERR\tbad line\n", stdout);
      continue;
    }
    std::string kind = text.substr(0, t1);
    std::string value = text.substr(t1 + 1, t2 - t1 - 1);
    std::wstring pattern = Wide(text.substr(t2 + 1));
    std::wstring wideValue = Wide(value);

    VARIANT v;
    VariantInit(&v);
    if (kind == "R8") {
      v.vt = VT_R8;
      v.dblVal = std::strtod(value.c_str(), nullptr);
    } else if (kind == "I4") {
      v.vt = VT_I4;
      v.lVal = std::strtol(value.c_str(), nullptr, 10);
    } else if (kind == "CY") {
      v.vt = VT_CY;
      v.cyVal.int64 = std::strtoll(value.c_str(), nullptr, 10);
    } else if (kind == "DATE") {
      v.vt = VT_DATE;
      v.date = std::strtod(value.c_str(), nullptr);
    } else if (kind == "BOOL") {
      v.vt = VT_BOOL;
      v.boolVal = value == "1" ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (kind == "NULL") {
      v.vt = VT_NULL;
    } else {
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocStringLen(wideValue.data(), static_cast<UINT>(wideValue.size()));
    }
    BSTR out = nullptr;
    HRESULT hr = VarFormat(&v, pattern.empty() ? nullptr : const_cast<LPOLESTR>(pattern.c_str()), 1,
                           1, 0, &out);
    if (SUCCEEDED(hr)) {
      std::string result = out ? Utf8(out, static_cast<int>(SysStringLen(out))) : std::string();
      for (char& c : result) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      }
      std::fprintf(stdout, "OK\t%s\n", result.c_str());
    } else {
      std::fprintf(stdout, "ERR\t%08lx\n", static_cast<unsigned long>(hr));
    }
    if (out) SysFreeString(out);
    VariantClear(&v);
  }
  return 0;
}
