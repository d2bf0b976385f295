#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
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

// Each length's first and last code point, appended behind what is there,
// in its shortest form that the readers take for that one character.
TEST(TextTest, AppendUtf8WritesShortestFormAtTheEdgesOfEachLength) {
  const struct {
    char32_t code_point;
    std::string bytes;
  } kCases[] = {
      {0x0, std::string(1, '\0')},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0xD7FF, "\xED\x9F\xBF"},
      {0xE000, "\xEE\x80\x80"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<unsigned long>(c.code_point));
    std::string text = "a";
    AppendUtf8(c.code_point, &text);
    EXPECT_EQ(text, "a" + c.bytes);
    EXPECT_EQ(CharCount(text), 2u);
    EXPECT_EQ(CharSubstr(text, 1), c.bytes);
  }
}

// Numbers that are no characters are not refused but written in the
// pattern of their size; the readers then see malformed bytes, never a
// character.
TEST(TextTest, AppendUtf8WritesSurrogatesAndNumbersPastTheRangeUnchecked) {
  const struct {
    char32_t code_point;
    std::string bytes;
  } kCases[] = {
      {0xD800, "\xED\xA0\x80"},
      {0xDFFF, "\xED\xBF\xBF"},
      {0x110000, "\xF4\x90\x80\x80"},
      {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<unsigned long>(c.code_point));
    std::string text;
    AppendUtf8(c.code_point, &text);
    EXPECT_EQ(text, c.bytes);
    EXPECT_EQ(CharCount(text), c.bytes.size());
    EXPECT_EQ(Utf8ToUtf16(text), std::u16string(c.bytes.size(), u'\xFFFD'));
  }
}

// Counting and cutting step over ASCII bytes and multi-byte characters
// alike, wherever they stand in the text.
TEST(TextTest, CountsAndCutsMixedAsciiAndMultiByteCharacters) {
  const std::string text =
      "a\xC3\xA9\xE2\x82\xAC"
      "b\xF0\x9F\x98\x80";  // a é € b 😀
  EXPECT_EQ(CharCount(text), 5u);
  EXPECT_EQ(CharSubstr(text, 1, 2), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(CharSubstr(text, 3), "b\xF0\x9F\x98\x80");
  EXPECT_EQ(CharSubstr(text, 5), "");
  EXPECT_EQ(SplitChars(text).size(), 5u);
}

// The log's dates and times are written with AppendPadded; it must agree
// with printf's "%0*lld" for every sign, width and size of number.
TEST(TextTest, IsValidUtf8TellsWellFormedTextFromMalformed) {
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {"", true},
      {"Příliš žluťoučký kůň", true},
      {"\xEF\xBF\xBD written as itself", true},
      {"\xF0\x9F\x98\x80", true},
      {"Latin-2 \xE8"
       "esk\xFD",
       false},
      {"cut \xC5", false},
      {"overlong \xC0\xAF", false},
      {"surrogate \xED\xA0\x80", false},
      {"past the range \xF4\x90\x80\x80", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.valid, IsValidUtf8(c.text)) << c.text;
}

// Long ASCII runs are skipped in blocks: a malformed byte is found at any
// place of one, at its ends too, and a well-formed character after a run
// still counts as one.
TEST(TextTest, IsValidUtf8FindsABadByteAnywhereInALongText) {
  const std::string run(70, 'a');
  for (size_t at = 0; at <= run.size(); ++at) {
    SCOPED_TRACE(at);
    std::string text = run;
    EXPECT_FALSE(IsValidUtf8(text.insert(at, "\xC5")));
    text = run;
    EXPECT_TRUE(IsValidUtf8(text.insert(at, "\xC5\xBE")));
  }
  EXPECT_FALSE(IsValidUtf8(run + "\xC5"));
  EXPECT_TRUE(IsValidUtf8(std::string(1 << 20, 'x')));
}

TEST(TextTest, FindLastByteFindsTheLastOne) {
  const std::string long_text = "(" + std::string(1000, 'a') + "(" + std::string(5, 'b');
  const struct {
    std::string text;
    char byte;
    size_t at;
  } cases[] = {
      {"", '(', std::string::npos},
      {"abc", '(', std::string::npos},
      {"(", '(', 0},
      {"a(b(c", '(', 3},
      {"(bcdefghijklmnop", '(', 0},   // before the last block of eight
      {"abcdefghijklmno(", '(', 15},  // at the very end
      {"abcdefg(ijklmnop", '(', 7},   // at a block's end
      {long_text, '(', 1001},
      {long_text, 'a', 1000},
      {long_text, 'z', std::string::npos},
      {"\xC5\xBE\xC5", '\xC5', 2},
  };
  for (const auto& c : cases) EXPECT_EQ(c.at, FindLastByte(c.text, c.byte)) << c.text;
}

TEST(TextTest, ControlsReplacedKeepsTabAndLineBreaksOnly) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ("a\tb\nc\r\n", ControlsReplaced("a\tb\nc\r\n"));
  EXPECT_EQ(r + "[1m" + r + r + "z", ControlsReplaced("\x1b[1m\x01\x7fz"));
  EXPECT_EQ(r + "x\xC2\xA0", ControlsReplaced("\xC2\x85x\xC2\xA0"));
  EXPECT_EQ(std::string("\xC2", 1), ControlsReplaced("\xC2"));
  EXPECT_EQ("žluť", ControlsReplaced("žluť"));
}

// Texts compared without regard to case, ASCII ones by their bytes and the
// rest through their lowered forms: both ways give the same answer.
TEST(TextTest, EqualsNoCaseMatchesLoweredTexts) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } kCases[] = {
      {"Veldramona (CZ).lnk", "VELDRAMONA (cz).LNK", true},
      {"abc", "abcd", false},
      {"", "", true},
      {"a[", "A{", false},
      {"@", "`", false},
      {"N\xC3\xA1pov\xC4\x9B"
       "da",
       "N\xC3\x81POV\xC4\x9A"
       "DA",
       true},
      {"abc", "abc\xC3\xA1", false},
      {"x\xC3\xA1", "X\xC3\x81", true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(EqualsNoCase(c.a, c.b), ToLower(c.a) == ToLower(c.b)) << c.a << " / " << c.b;
  }
}

TEST(TextTest, AppendPaddedWritesWhatPrintfWrites) {
  const long long kValues[] = {0,     1,  9,  10,  59,    99,        100,      2026,
                               12345, -1, -5, -99, -2026, LLONG_MAX, LLONG_MIN};
  for (long long value : kValues) {
    for (int width : {0, 1, 2, 4, 6}) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "%0*lld", width, value);
      std::string text = "x";
      AppendPadded(value, width, &text);
      EXPECT_EQ(text, std::string("x") + expected) << value << " width " << width;
    }
  }
}

}  // namespace
}  // namespace brantvell
