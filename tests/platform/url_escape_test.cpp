#include "platform/url_escape.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/url_unescape.h"

namespace {

TEST(UrlEscapeNameTest, OnlyCharactersThatEndAUrlAttributeOrScriptStringAreEncoded) {
  EXPECT_EQ(vn::UrlEscapeName("Offene_Posten-2024.(alt)/x+y"), "Offene_Posten-2024.(alt)/x+y");
  EXPECT_EQ(vn::UrlEscapeName("Grüße"), "Grüße");
  EXPECT_EQ(vn::UrlEscapeName("Grüße_O'Neil_\"X\""), "Grüße_O%27Neil_%22X%22");
  EXPECT_EQ(vn::UrlEscapeName("a b\\c%d#e?f<g>h&i"), "a%20b%5Cc%25d%23e%3Ff%3Cg%3Eh%26i");
  EXPECT_EQ(vn::UrlEscapeName(std::string("\t\r\n\x7F\x01", 5) + std::string(1, '\0')),
            "%09%0D%0A%7F%01%00");
  EXPECT_EQ(vn::UrlEscapeName("100%s"), "100%25s");
}

TEST(UrlEscapeNameTest, UnescapingGivesTheNameBack) {
  std::string every;
  for (int c = 1; c < 128; ++c) every += static_cast<char>(c);
  every += "Grüße €";
  every += "\xE2\x86\x92\xE6\x97\xA5";  // "→日": no character of Windows-1252
  const std::string escaped = vn::UrlEscapeName(every);
  EXPECT_EQ(escaped.find_first_of("'\"\\#?<> &\r\n"), std::string::npos);
  EXPECT_EQ(vn::UrlUnescape(escaped), every);
  // Escaped down to ASCII, the UTF-8 escapes read back as the same characters.
  const std::string ascii = vn::UrlEscapeName(every, vn::NonAscii::kEscape);
  EXPECT_TRUE(std::all_of(ascii.begin(), ascii.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  EXPECT_EQ(vn::UrlUnescape(ascii), every);
}

}  // namespace
