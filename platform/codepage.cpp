#include "platform/codepage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vn {
namespace {

// Code points of the bytes 0x80-0x9F; 0 marks the five unassigned bytes.
constexpr std::array<unsigned short, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int EncodeCp1252(unsigned long cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

// The end of the run of ASCII bytes that starts at `pos`, looked at sixteen, then eight bytes
// at a time: a page is mostly markup.
size_t AsciiRunEnd(std::string_view text, size_t pos) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  for (std::uint64_t first = 0, second = 0; pos + 2 * sizeof first <= text.size();
       pos += 2 * sizeof first) {
    std::memcpy(&first, text.data() + pos, sizeof first);
    std::memcpy(&second, text.data() + pos + sizeof first, sizeof second);
    if (((first | second) & kHighBits) != 0) break;
  }
  for (std::uint64_t word = 0; pos + sizeof word <= text.size(); pos += sizeof word) {
    std::memcpy(&word, text.data() + pos, sizeof word);
    if ((word & kHighBits) != 0) break;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

}  // namespace

long DecodeUtf8(std::string_view text, size_t& pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char c = byte(pos);
  if (c < 0x80) {
    ++pos;
    return c;
  }
  int extra = 0;
  unsigned long cp = 0;
  unsigned long minimum = 0;
  if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
    minimum = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
    minimum = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return -1;
  }
  if (pos + static_cast<size_t>(extra) >= text.size()) {
    ++pos;
    return -1;
  }
  for (int i = 1; i <= extra; ++i) {
    unsigned char d = byte(pos + i);
    if ((d & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += static_cast<size_t>(extra) + 1;
  return static_cast<long>(cp);
}

void AppendUtf8(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    if (DecodeUtf8(bytes, pos) < 0) return false;
  }
  return true;
}

std::string Utf8ToCp1252(std::string_view utf8, Unmappable unmappable) {
  std::string out;
  AppendUtf8AsCp1252(out, utf8, unmappable);
  return out;
}

void AppendUtf8AsCp1252(std::string& out, std::string_view utf8, Unmappable unmappable) {
  out.reserve(out.size() + utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    // Runs of ASCII, which is the same in both, go over whole.
    const size_t run = AsciiRunEnd(utf8, pos);
    if (run > pos) {
      out.append(utf8.data() + pos, run - pos);
      pos = run;
      continue;
    }
    long cp = DecodeUtf8(utf8, pos);
    int b = cp < 0 ? -1 : EncodeCp1252(static_cast<unsigned long>(cp));
    if (b >= 0) {
      out += static_cast<char>(b);
    } else if (unmappable == Unmappable::kQuestionMark) {
      out += '?';
    } else if (cp >= 0) {
      out += "&#" + std::to_string(cp) + ";";
    } else {
      // A stray byte is not a character: keep it as the replacement character.
      out += "&#65533;";
    }
  }
}

bool AppendCp1252ByteAsUtf8(std::string& out, unsigned char byte) {
  unsigned long cp = byte;
  if (byte >= 0x80 && byte < 0xA0) {
    cp = kHigh[byte - 0x80];
    if (cp == 0) return false;
  }
  AppendUtf8(out, cp);
  return true;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    unsigned long cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kHigh[b - 0x80] != 0 ? kHigh[b - 0x80] : 0xFFFD;
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace vn
