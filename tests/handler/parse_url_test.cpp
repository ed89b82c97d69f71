#include "handler/parse_url.h"

#include <gtest/gtest.h>

namespace {

vn::ParsedUrl Parse(const std::string& url) {
  vn::ParsedUrl parsed{"unset", "unset"};
  EXPECT_TRUE(vn::ParseURL(url, parsed)) << url;
  return parsed;
}

TEST(ParseUrlTest, CommandAndParameter) {
  auto p = Parse("varnolis://rubrik/Offene%20Posten/");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "Offene Posten");
  p = Parse("varnolis://info");
  EXPECT_EQ(p.command, "info");
  EXPECT_EQ(p.parameter, "");
  // Further slashes, '?' and '#' belong to the parameter; only one trailing '/' is dropped.
  p = Parse("varnolis://rubrik/a/b?c#d//");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "a/b?c#d/");
  p = Parse("varnolis://rubrik/");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "");
  p = Parse("varnolis://rubrik//x");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "/x");
}

TEST(ParseUrlTest, SchemeIsDroppedUpToTheFirstColonAndNotChecked) {
  EXPECT_EQ(Parse("varnolis://").command, "");
  EXPECT_EQ(Parse("varnolis:").command, "");
  EXPECT_EQ(Parse("other:///TEST").command, "TEST");
  EXPECT_EQ(Parse("test").command, "test");  // no ':' at all
  auto p = Parse("varnolis://rubrik/Zeit: 10:00");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "Zeit: 10:00");
  // The escapes are decoded before the URL is split: an escaped ':' or '/' counts.
  p = Parse("varnolis%3A//rubrik%2FUmsatz");
  EXPECT_EQ(p.command, "rubrik");
  EXPECT_EQ(p.parameter, "Umsatz");
}

TEST(ParseUrlTest, DecodedNulEndsTheTextAndUnfinishedEscapesStay) {
  auto p = Parse("varnolis://rubrik/Ab%00cd");
  EXPECT_EQ(p.parameter, "Ab");
  EXPECT_EQ(Parse("varnolis://rubrik/%C3%BC%00%FF").parameter, "\xC3\xBC");
  EXPECT_EQ(Parse("varnolis://rubrik/50%").parameter, "50%");
  EXPECT_EQ(Parse("varnolis://rubrik/%zz%4").parameter, "%zz%4");
}

// The browser sends what the link holds: the menu's links are UTF-8, links and start files of
// older installations escape the characters of the ANSI code page one byte each.
TEST(ParseUrlTest, Utf8EscapesAreUtf8AndAnyOtherEscapedByteIsOneAnsiCharacter) {
  const std::string gruesse =
      "Gr\xC3\xBC\xC3\x9F"
      "e";  // "Grüße"
  EXPECT_EQ(Parse("varnolis://rubrik/Gr%C3%BC%C3%9Fe").parameter, gruesse);
  EXPECT_EQ(Parse("varnolis://rubrik/Gr%FC%DFe").parameter, gruesse);
  EXPECT_EQ(Parse("varnolis://rubrik/Gr%fc%dfe/").parameter, gruesse);
  EXPECT_EQ(Parse("varnolis://rubrik/M%C3%BCller").parameter, "M\xC3\xBCller");
  // Unescaped characters next to the escapes are taken as they are.
  EXPECT_EQ(Parse("varnolis://rubrik/Gr\xC3\xBC%DFe").parameter, gruesse);
  // 1252's own characters between 0x80 and 0x9F: the euro sign, the dagger.
  EXPECT_EQ(Parse("varnolis://rubrik/%80%86").parameter, "\xE2\x82\xAC\xE2\x80\xA0");
  // What is not a whole UTF-8 character is read byte by byte: a cut sequence, an overlong
  // form, a surrogate, a UTF-8 character followed by a lone byte.
  EXPECT_EQ(Parse("varnolis://rubrik/%C3").parameter, "\xC3\x83");             // Ã
  EXPECT_EQ(Parse("varnolis://rubrik/%C0%AF").parameter, "\xC3\x80\xC2\xAF");  // À¯
  EXPECT_EQ(Parse("varnolis://rubrik/%ED%A0%80").parameter,
            "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // í, no-break space, €
  EXPECT_EQ(Parse("varnolis://rubrik/%C3%BC%FC").parameter, "\xC3\xBC\xC3\xBC");
  // An escaped '/' still splits: the escapes are decoded before the URL is.
  EXPECT_EQ(Parse("varnolis://rubrik%2F%FC").parameter, "\xC3\xBC");
}

TEST(ParseUrlTest, WhatCannotBeDecodedFails) {
  vn::ParsedUrl parsed;
  // The five bytes that Windows-1252 leaves unassigned have no character.
  for (const char* url : {"varnolis://rubrik/%81", "varnolis://rubrik/a%8Db", "varnolis://%8F",
                          "varnolis://%90", "varnolis://rubrik/%C3%BC%9D"}) {
    EXPECT_FALSE(vn::ParseURL(url, parsed)) << url;
  }
  // Unescaped bytes that are not UTF-8 are no text.
  EXPECT_FALSE(vn::ParseURL("varnolis://\xFF", parsed));
  EXPECT_FALSE(vn::ParseURL("varnolis://rubrik/\xC3%FC", parsed));
}

}  // namespace
