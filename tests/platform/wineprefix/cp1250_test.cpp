#include "platform/wineprefix/cp1250.h"

#include <gtest/gtest.h>

#include <string>

namespace brantvell {
namespace {

TEST(Cp1250Test, CzechAndSlovakLettersHaveTheirBytes) {
  // Příliš žluťoučký kůň úpěl ďábelské ódy; Ľ ĺ ŕ ô ä – „“
  const std::string text =
      "P\xc5\x99\xc3\xadli\xc5\xa1 \xc5\xbelu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88 "
      "\xc3\xbap\xc4\x9bl \xc4\x8f\xc3\xa1\x62\x65lsk\xc3\xa9 \xc3\xb3\x64y; "
      "\xc4\xbd \xc4\xba \xc5\x95 \xc3\xb4 \xc3\xa4 \xe2\x80\x93 \xe2\x80\x9e\xe2\x80\x9c";
  const std::string bytes =
      "P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd k\xf9\xf2 \xfap\xecl \xef\xe1"
      "belsk\xe9 \xf3"
      "dy; "
      "\xbc \xe5 \xe0 \xf4 \xe4 \x96 \x84\x93";
  EXPECT_EQ(Utf8ToCp1250(text), bytes);
  EXPECT_EQ(Cp1250ToUtf8(bytes), text);
}

TEST(Cp1250Test, EveryAssignedByteComesBackUnchanged) {
  int unassigned = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string byte(1, static_cast<char>(b));
    std::string text = Cp1250ToUtf8(byte);
    if (text == "\xef\xbf\xbd") {
      ++unassigned;
      continue;
    }
    EXPECT_EQ(Utf8ToCp1250(text), byte) << b;
  }
  EXPECT_EQ(unassigned, 5);
}

TEST(Cp1250Test, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  // Cyrillic Ж, the euro sign (present), an emoji (two UTF-16 units).
  EXPECT_EQ(Utf8ToCp1250("\xd0\x96\xe2\x82\xac\xf0\x9f\x98\x80!"), "?\x80?!");
}

}  // namespace
}  // namespace brantvell
