#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace brantvell {
namespace {

// Byte sequences that look like characters but are not UTF-8: each byte
// counts as one malformed character, so nothing compares equal to the
// character they seem to spell.
TEST(TextTest, OverlongSurrogateAndOutOfRangeFormsAreMalformedBytes) {
  const struct {
    const char* why;
    std::string bytes;
  } kCases[] = {
      {"'A' in two bytes", "\xC1\x81"},
      {"'/' in two bytes", "\xC0\xAF"},
      {"NUL in two bytes", std::string("\xC0\x80", 2)},
      {"'A' in three bytes", "\xE0\x81\x81"},
      {"U+07FF in three bytes", "\xE0\x9F\xBF"},
      {"U+FFFF in four bytes", "\xF0\x8F\xBF\xBF"},
      {"a high surrogate", "\xED\xA0\x80"},
      {"a low surrogate", "\xED\xBF\xBF"},
      {"past U+10FFFF", "\xF4\x90\x80\x80"},
      {"far past U+10FFFF", "\xF7\xBF\xBF\xBF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(CharCount(c.bytes), c.bytes.size());
    EXPECT_EQ(SplitChars(c.bytes).size(), c.bytes.size());
    EXPECT_EQ(Utf8ToUtf16(c.bytes), std::u16string(c.bytes.size(), u'\xFFFD'));
    // Case mapping keeps malformed bytes as they are.
    EXPECT_EQ(ToLower(c.bytes + "X"), c.bytes + "x");
  }
  EXPECT_FALSE(
      EqualsNoCase("/\xC1\x81"
                   "ction",
                   "/action"));
  EXPECT_EQ(CharSubstr("\xC1\x81"
                       "bc",
                       1, 2),
            "\x81"
            "b");
}

TEST(TextTest, ShortestFormsAtTheEdgesOfEachLengthAreCharacters) {
  const struct {
    std::string bytes;
    std::u16string units;
  } kCases[] = {
      {"\x7F", u"\x7F"},
      {"\xC2\x80", u"\x80"},
      {"\xDF\xBF", u"\x7FF"},
      {"\xE0\xA0\x80", u"\x800"},
      {"\xED\x9F\xBF", u"\xD7FF"},
      {"\xEE\x80\x80", u"\xE000"},
      {"\xEF\xBF\xBF", u"\xFFFF"},
      {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(CharCount(c.bytes), 1u);
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.units);
    EXPECT_EQ(Utf16ToUtf8(c.units), c.bytes);
  }
}

}  // namespace
}  // namespace brantvell
