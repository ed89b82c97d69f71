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

TEST(ParseUrlTest, DecodedNulEndsTheTextAndInvalidUtf8Fails) {
  auto p = Parse("varnolis://rubrik/Ab%00cd");
  EXPECT_EQ(p.parameter, "Ab");
  EXPECT_EQ(Parse("varnolis://rubrik/M%C3%BCller").parameter, "M\xC3\xBCller");
  EXPECT_EQ(Parse("varnolis://rubrik/50%").parameter, "50%");
  EXPECT_EQ(Parse("varnolis://rubrik/%zz%4").parameter, "%zz%4");
  vn::ParsedUrl parsed;
  EXPECT_FALSE(vn::ParseURL("varnolis://rubrik/%FF", parsed));
  EXPECT_FALSE(vn::ParseURL("varnolis://rubrik/%C3", parsed));        // cut sequence
  EXPECT_FALSE(vn::ParseURL("varnolis://rubrik/%C0%AF", parsed));     // overlong '/'
  EXPECT_FALSE(vn::ParseURL("varnolis://rubrik/%ED%A0%80", parsed));  // surrogate
  EXPECT_FALSE(vn::ParseURL("varnolis://\xFF", parsed));              // raw invalid byte
}

}  // namespace
