#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace brantvell {
namespace {

TEST(ProfileTextTest, MatchesSectionAndKeyWithoutRegardToCase) {
  const std::string ini =
      "[Default]\n"
      "DebugLog=FILE\n"
      "[Brantvell]\n"
      "InfoLog=OFF\n"
      "debuglog=MSGBOX\n";
  EXPECT_EQ(ProfileValue(ini, "brantvell", "DEBUGLOG"), "MSGBOX");
  EXPECT_EQ(ProfileValue(ini, "BRANTVELL", "infolog"), "OFF");
  EXPECT_EQ(ProfileValue(ini, "default", "DebugLog"), "FILE");
  EXPECT_EQ(ProfileValue(ini, "Dřevo", "DebugLog"), "");
  EXPECT_EQ(ProfileValue("[ŽLUŤ]\nKůň=ano\n", "žluť", "KŮŇ"), "ano");
}

TEST(ProfileTextTest, TrimsBlanksThenOneEnclosingPairOfQuotes) {
  const std::string ini =
      "[S]\n"
      "plain =   FILE , MSGBOX  \n"
      "tabs\t=\tON\t\n"
      "double=\"quoted value\"\n"
      "single='single'\n"
      "inner=\" keeps blanks \"\n"
      "twice=\"\"x\"\"\n"
      "open=\"unbalanced\n"
      "mixed=\"mixed'\n"
      "lone=\"\n"
      "empty=\n";
  EXPECT_EQ(ProfileValue(ini, "S", "plain"), "FILE , MSGBOX");
  EXPECT_EQ(ProfileValue(ini, "S", "tabs"), "ON");
  EXPECT_EQ(ProfileValue(ini, "S", "double"), "quoted value");
  EXPECT_EQ(ProfileValue(ini, "S", "single"), "single");
  EXPECT_EQ(ProfileValue(ini, "S", "inner"), " keeps blanks ");
  EXPECT_EQ(ProfileValue(ini, "S", "twice"), "\"x\"");
  EXPECT_EQ(ProfileValue(ini, "S", "open"), "\"unbalanced");
  EXPECT_EQ(ProfileValue(ini, "S", "mixed"), "\"mixed'");
  EXPECT_EQ(ProfileValue(ini, "S", "lone"), "\"");
  EXPECT_EQ(ProfileValue(ini, "S", "empty"), "");
}

TEST(ProfileTextTest, FirstSectionAndFirstKeyOfANameWin) {
  const std::string ini =
      "[A]\n"
      "k=first\n"
      "K=second\n"
      "[B]\n"
      "k=other section\n"
      "[a]\n"
      "k=later section\n"
      "only=in later section\n";
  EXPECT_EQ(ProfileValue(ini, "A", "k"), "first");
  EXPECT_EQ(ProfileValue(ini, "B", "k"), "other section");
  EXPECT_EQ(ProfileValue(ini, "A", "only"), "");
}

TEST(ProfileTextTest, SkipsCommentsAndKeysOfOtherSections) {
  const std::string ini =
      "early=before any section\n"
      "; [S] is not here\n"
      "[S]\n"
      ";key=commented\n"
      "   ; key=indented comment\n"
      "name = value\n"
      "[T]\n"
      "key=of T\n";
  EXPECT_EQ(ProfileValue(ini, "S", "key"), "");
  EXPECT_EQ(ProfileValue(ini, "S", "early"), "");
  EXPECT_EQ(ProfileValue(ini, "S", "name"), "value");
  EXPECT_EQ(ProfileValue(ini, "T", "key"), "of T");
  // Keys above the first header form the section without name.
  EXPECT_EQ(ProfileValue(ini, "", "early"), "before any section");
  EXPECT_EQ(ProfileValue(ini, "", "name"), "");
}

TEST(ProfileTextTest, ReadsCrLfLinesBlankSectionNamesAndAByteOrderMark) {
  EXPECT_EQ(ProfileValue("\xEF\xBB\xBF[S]\r\nk=v\r\nm=w\r\n", "S", "k"), "v");
  EXPECT_EQ(ProfileValue("[S]\r\nk=v\r\nm=\"w\"\r\n", "s", "M"), "w");
  EXPECT_EQ(ProfileValue("  [ S ]  \nk=v", "S", "k"), "v");
  EXPECT_EQ(ProfileValue("[S]\nk=no newline at the end", "S", "k"), "no newline at the end");
}

TEST(ProfileTextTest, KeyWithoutEqualsSignHasAnEmptyValue) {
  EXPECT_EQ(ProfileValue("[S]\nflag\nflag=later\n", "S", "flag"), "");
}

TEST(ProfileTextTest, MissingSectionKeyOrTextGiveEmptyText) {
  EXPECT_EQ(ProfileValue("", "S", "k"), "");
  EXPECT_EQ(ProfileValue("[S]\nk=v\n", "T", "k"), "");
  EXPECT_EQ(ProfileValue("[S]\nk=v\n", "S", "key"), "");
  EXPECT_EQ(ProfileValue("[S]\nk=v\n", "S", ""), "");
}

TEST(ProfileTextTest, CutsLongValuesAt1023Characters) {
  std::string value;
  for (int i = 0; i < 1500; ++i) value += i % 2 ? "é" : "x";
  std::string result = ProfileValue("[S]\nk=" + value + "\n", "S", "k");
  EXPECT_EQ(CharCount(result), 1023u);
  EXPECT_EQ(result, CharSubstr(value, 0, 1023));
  std::string exact(1023, 'a');
  EXPECT_EQ(ProfileValue("[S]\nk=" + exact + "\n", "S", "k"), exact);
}

}  // namespace
}  // namespace brantvell
