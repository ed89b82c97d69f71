#include "platform/url_unescape.h"

#include "platform/codepage.h"

namespace vn {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte of the escape at `i` ("%XX"), or -1 when there is none.
int EscapeAt(std::string_view url, size_t i) {
  if (url[i] != '%' || i + 2 >= url.size()) return -1;
  const int high = HexValue(url[i + 1]);
  const int low = HexValue(url[i + 2]);
  return high >= 0 && low >= 0 ? high * 16 + low : -1;
}

// Appends the decoded bytes of one run of escapes: each UTF-8 character as it is, each other
// byte as its ANSI character. Returns false when a byte has no character; sets `ended` at a NUL.
bool AppendEscapedRun(std::string& out, std::string_view run, bool& ended) {
  size_t pos = 0;
  while (pos < run.size()) {
    const size_t start = pos;
    const long cp = DecodeUtf8(run, pos);
    if (cp == 0) {
      ended = true;
      return true;
    }
    if (cp > 0) {
      out.append(run.substr(start, pos - start));
    } else {
      pos = start + 1;
      if (!AppendAnsiByteAsUtf8(out, static_cast<unsigned char>(run[start]))) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> UrlUnescape(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  std::string run;
  bool ended = false;
  for (size_t i = 0; i < url.size() && !ended;) {
    if (EscapeAt(url, i) < 0) {
      if (url[i] == '\0') break;
      out += url[i++];
      continue;
    }
    // A UTF-8 character is written as consecutive escapes: the run is decoded as a whole.
    run.clear();
    for (int byte = 0; i < url.size() && (byte = EscapeAt(url, i)) >= 0; i += 3) {
      run += static_cast<char>(byte);
    }
    if (!AppendEscapedRun(out, run, ended)) return std::nullopt;
  }
  if (!IsValidUtf8(out)) return std::nullopt;
  return out;
}

}  // namespace vn
