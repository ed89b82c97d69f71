#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace {

// The page conversion takes ASCII in runs; character by character it must give the same.
TEST(CodepageRunsTest, WholeTextConvertsAsEachCharacterOnItsOwn) {
  const std::vector<std::string> others = {
      "\xC3\xBC", "\xE2\x82\xAC", "\xCE\xA9", "\xF0\x9F\x98\x80", "\xFF", "\xC3", "\x7F"};
  std::vector<std::string> characters;
  for (int length = 0; length < 40; ++length) {
    for (int i = 0; i < length; ++i)
      characters.push_back(std::string(1, static_cast<char>('A' + i)));
    characters.push_back(others[static_cast<size_t>(length) % others.size()]);
  }
  for (const vn::Unmappable mode :
       {vn::Unmappable::kCharacterReference, vn::Unmappable::kQuestionMark}) {
    std::string text;
    std::string expected;
    for (const std::string& c : characters) {
      text += c;
      expected += vn::Utf8ToCp1252(c, mode);
      // Every prefix, so that runs end at every position of an eight- and a sixteen-byte step.
      EXPECT_EQ(vn::Utf8ToCp1252(text, mode), expected) << text.size();
    }
  }
}

// The page writer appends each line to the bytes it already holds, which are Windows-1252
// already and must not be touched again.
TEST(CodepageRunsTest, AppendingKeepsTheBufferAndAddsTheConvertedText) {
  std::string out = "ab\xFC";
  vn::AppendUtf8AsCp1252(out, "\xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80 \xFF",
                         vn::Unmappable::kCharacterReference);
  EXPECT_EQ(out, "ab\xFC\xE4 \x80 &#128512; &#65533;");
  vn::AppendUtf8AsCp1252(out, "", vn::Unmappable::kQuestionMark);
  vn::AppendUtf8AsCp1252(out, "\xCE\xA9z", vn::Unmappable::kQuestionMark);
  EXPECT_EQ(out, "ab\xFC\xE4 \x80 &#128512; &#65533;?z");
}

}  // namespace
