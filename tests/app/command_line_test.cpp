#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/cls_log.h"
#include "tests/support/capture_log.h"

namespace brantvell {
namespace {

struct Switch {
  int present;
  std::string value;
};

struct ParseCase {
  const char* why;
  std::string command;
  Switch action;
  Switch mode;
  Switch target;
  int has_rest;
  std::string rest;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.why << ": [" << c.command << "]"; }

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, FillsRecord) {
  const ParseCase& c = GetParam();
  ParamInfoDat dat;
  EXPECT_TRUE(GetParamInfoDat(c.command, &dat));
  EXPECT_EQ(c.action.present, dat.Action.Present);
  EXPECT_EQ(c.action.value, dat.Action.Value);
  EXPECT_EQ(c.mode.present, dat.Mode.Present);
  EXPECT_EQ(c.mode.value, dat.Mode.Value);
  EXPECT_EQ(c.target.present, dat.Target.Present);
  EXPECT_EQ(c.target.value, dat.Target.Value);
  EXPECT_EQ(c.has_rest, dat.HasRest);
  EXPECT_EQ(c.rest, dat.Rest);
  EXPECT_EQ(c.command, dat.CommandLine);
}

const Switch kAbsent{0, ""};

INSTANTIATE_TEST_SUITE_P(
    EmptyAndPlain, ParseTest,
    ::testing::Values(
        ParseCase{"empty text", "", kAbsent, kAbsent, kAbsent, 0, ""},
        ParseCase{"spaces only", "   ", kAbsent, kAbsent, kAbsent, 0, ""},
        ParseCase{"action and mode", "/action=cz /mode=q", {1, "cz"}, {1, "q"}, kAbsent, 0, ""},
        ParseCase{"all three",
                  "/target=D:\\App /mode=q /action=clear",
                  {1, "clear"},
                  {1, "q"},
                  {1, "D:\\App"},
                  0,
                  ""},
        ParseCase{"name in any case, value keeps its case",
                  "/ACTION=CZ",
                  {1, "CZ"},
                  kAbsent,
                  kAbsent,
                  0,
                  ""},
        ParseCase{"no space needed between switches",
                  "/mode=q/action=sk",
                  {1, "sk"},
                  {1, "q"},
                  kAbsent,
                  0,
                  ""},
        ParseCase{"spaces around the value", "/action=  cz  ", {1, "cz"}, kAbsent, kAbsent, 0, ""},
        ParseCase{"tabs are not trimmed", "/mode=\tq", kAbsent, {1, "\tq"}, kAbsent, 0, ""}));

INSTANTIATE_TEST_SUITE_P(
    Quotes, ParseTest,
    ::testing::Values(
        ParseCase{"quoted folder with a space",
                  "/target=\"D:\\My Apps\" /action=cz",
                  {1, "cz"},
                  kAbsent,
                  {1, "D:\\My Apps"},
                  0,
                  ""},
        ParseCase{"only an opening quote stays",
                  "/target=\"D:\\App",
                  kAbsent,
                  kAbsent,
                  {1, "\"D:\\App"},
                  0,
                  ""},
        ParseCase{
            "two quotes give an empty value", "/target=\"\"", kAbsent, kAbsent, {1, ""}, 0, ""},
        ParseCase{"quotes do not protect a slash",
                  "/target=\"C:/Apps\"",
                  kAbsent,
                  kAbsent,
                  {1, "\"C:"},
                  1,
                  "/Apps\""},
        ParseCase{"a single quote cannot be cut and stays in the rest",
                  "/target=\"",
                  kAbsent,
                  kAbsent,
                  {0, "\""},
                  1,
                  "/target=\""},
        ParseCase{"a single quote after trimming",
                  "/mode=q /target=  \"  ",
                  kAbsent,
                  {1, "q"},
                  {0, "\""},
                  1,
                  "/target=  \""}));

INSTANTIATE_TEST_SUITE_P(
    CutAndLeftOver, ParseTest,
    ::testing::Values(
        ParseCase{
            "value cut at a slash", "/target=C:/Apps", kAbsent, kAbsent, {1, "C:"}, 1, "/Apps"},
        ParseCase{"no equals sign drops the rest of the text",
                  "/action cz /mode=q",
                  {1, ""},
                  kAbsent,
                  kAbsent,
                  0,
                  ""},
        ParseCase{"text before a switch without value stays",
                  "x /mode q /action=sk",
                  {1, "sk"},
                  {1, ""},
                  kAbsent,
                  1,
                  "x"},
        ParseCase{"longer name matches the shorter switch",
                  "/actionx=cz",
                  {1, ""},
                  kAbsent,
                  kAbsent,
                  0,
                  ""},
        ParseCase{
            "longer target name", "/mode=q /targetdir=D:\\", kAbsent, {1, "q"}, {1, ""}, 0, ""},
        ParseCase{"given twice", "/action=cz /action=sk", {2, "cz"}, kAbsent, kAbsent, 0, ""},
        ParseCase{"third occurrence stays",
                  "/action=a /action=b /action=c",
                  {2, "a"},
                  kAbsent,
                  kAbsent,
                  1,
                  "/action=c"},
        ParseCase{
            "unknown switch stays", "/foo=1 /action=cz", {1, "cz"}, kAbsent, kAbsent, 1, "/foo=1"},
        ParseCase{
            "word in front stays", "x /action=cz /mode=q", {1, "cz"}, {1, "q"}, kAbsent, 1, "x"},
        ParseCase{"text without switches is kept, trimmed", "  hello  ", kAbsent, kAbsent, kAbsent,
                  1, "hello"},
        ParseCase{"positions count characters, not bytes",
                  "Příliš /TARGET=C:\\Účty Šárky /mode=Q",
                  kAbsent,
                  {1, "Q"},
                  {1, "C:\\Účty Šárky"},
                  1,
                  "Příliš"}));

// Switches quoted whole by the Windows argument convention, as installers
// and PowerShell's Start-Process pass an argument that holds a space.
INSTANTIATE_TEST_SUITE_P(
    QuotedWhole, ParseTest,
    ::testing::Values(
        ParseCase{"target quoted whole",
                  "/action=czsk /mode=q \"/target=C:\\Aplikace Dvořák\\Veldramona 2\"",
                  {1, "czsk"},
                  {1, "q"},
                  {1, "C:\\Aplikace Dvořák\\Veldramona 2"},
                  0,
                  ""},
        ParseCase{"every switch quoted whole",
                  "\"/action=czsk\" \"/mode=q\"",
                  {1, "czsk"},
                  {1, "q"},
                  kAbsent,
                  0,
                  ""},
        ParseCase{"name in any case", "\"/MODE=Q\"", kAbsent, {1, "Q"}, kAbsent, 0, ""},
        ParseCase{"doubled backslashes before the closing quote count once",
                  "\"/target=C:\\A B\\\\\" /action=clear",
                  {1, "clear"},
                  kAbsent,
                  {1, "C:\\A B\\"},
                  0,
                  ""},
        ParseCase{"a quote inside a word is no argument quote",
                  "x\"/mode=q\"",
                  kAbsent,
                  {1, "q\""},
                  kAbsent,
                  1,
                  "x\""},
        ParseCase{
            "closing quote inside a word", "\"/mode=q\"x", kAbsent, {1, "q\"x"}, kAbsent, 1, "\""},
        ParseCase{"other switches stay quoted",
                  "\"/foo=1\" /action=cz",
                  {1, "cz"},
                  kAbsent,
                  kAbsent,
                  1,
                  "\"/foo=1\""}));

TEST(UnquoteWholeSwitchesTest, LeavesOtherQuotingAlone) {
  for (const char* text : {"", "/target=\"C:\\A B\"", "\"/mode=q", "\"/mode=q\\\" x\"",
                           "\"/actionx\"", "a\"/mode=q\" b", "\"/mode=q\"\"", "\"C:\\x\""}) {
    EXPECT_EQ(text, UnquoteWholeSwitches(text)) << text;
  }
  EXPECT_EQ("/mode=\"q\"\t/target=\"C:\\A B\"",
            UnquoteWholeSwitches("\"/mode=q\"\t\"/target=C:\\A B\""));
}

TEST(ArgParseTest, NotFoundClearsValueAndKeepsTextUntrimmed) {
  std::string value = "old";
  std::string rest = "unused";
  EXPECT_FALSE(ArgParse("  /mode=q  ", "/action", &value, &rest, ""));
  EXPECT_EQ("", value);
  EXPECT_EQ("  /mode=q  ", rest);
}

// A text parsed for one switch: whether it is found, its value, and the
// text without it.
struct ArgCase {
  std::string text, name;
  bool found;
  std::string value, rest;
};

// The caller cuts switches out of its text in place: `rest` may be the
// text itself, with the same outcome as a separate one. The text before
// the switch and after its value are joined and trimmed as one.
TEST(ArgParseTest, RestMayBeTheTextItself) {
  const std::string tail(5000, 'x');
  const ArgCase cases[] = {
      {"/action=cz /mode=q", "/action", true, "cz", "/mode=q"},
      {"   /action=cz   ", "/action", true, "cz", ""},
      {"  a  /action=cz  ", "/action", true, "cz", "a"},
      {"  /action=cz  /b  ", "/action", true, "cz", "/b"},
      {"a /action=cz /b", "/action", true, "cz", "a /b"},
      {"a /action", "/action", true, "", "a"},
      {"  /mode=q  ", "/action", false, "", "  /mode=q  "},
      {"/action=" + tail + " /mode=q", "/action", true, tail, "/mode=q"},
      {"/mode=q /action=cz " + tail, "/action", true, "cz " + tail, "/mode=q"},
      {"a /target=\"", "/target", false, "\"", "a /target=\""},  // fails: the text stays
  };
  for (const ArgCase& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    std::string value, rest;
    EXPECT_EQ(c.found, ArgParse(c.text, c.name, &value, &rest, ""));
    EXPECT_EQ(c.value, value);
    std::string text = c.text;
    value.clear();
    EXPECT_EQ(c.found, ArgParse(text, c.name, &value, &text, ""));
    EXPECT_EQ(c.value, value);
    EXPECT_EQ(c.rest, text);
    // A failed parse leaves a separate `rest` as it was.
    EXPECT_EQ(c.text.find('"') == std::string::npos ? c.rest : "", rest);
  }
}

TEST(ArgParseTest, NoEqualsSignLeavesValueAlone) {
  std::string value = "kept";
  std::string rest;
  EXPECT_TRUE(ArgParse(" x /mode q /action=cz", "/MODE", &value, &rest, ""));
  EXPECT_EQ("kept", value);
  EXPECT_EQ("x", rest);
}

TEST(ArgParseTest, SwitchAtEndOfTextHasNoValue) {
  std::string value;
  std::string rest;
  EXPECT_TRUE(ArgParse("a /mode", "/mode", &value, &rest, ""));
  EXPECT_EQ("", value);
  EXPECT_EQ("a", rest);
}

TEST(ArgParseTest, SeparatorOtherThanSlash) {
  std::string value;
  std::string rest;
  EXPECT_TRUE(ArgParse("/target=C:/a;/b ;x", "/target", &value, &rest, ";"));
  EXPECT_EQ("C:/a", value);
  EXPECT_EQ(";/b ;x", rest);
}

TEST(ArgParseTest, SingleQuoteFailsAndLeavesRestAsPassed) {
  std::string value;
  std::string rest = "as passed";
  EXPECT_FALSE(ArgParse("a /target=\"", "/target", &value, &rest, ""));
  EXPECT_EQ("\"", value);
  EXPECT_EQ("as passed", rest);
}

// Matches and cuts fall on whole characters: letters of either case match
// after lowering (Czech ones too), a malformed byte is a character of its
// own, a long text is searched in place, and a delimiter inside the name
// makes a negative cut, which fails.
TEST(ArgParseTest, CharacterCases) {
  const std::string long_text = std::string(300000, 'a') + " /Účet=x /mode=q";
  const ArgCase cases[] = {
      {"a /ÚČET=č /b", "/účet", true, "č", "a /b"},
      {"\xC3/mode=q", "/MODE", true, "q", "\xC3"},
      {"\xC3\xA1/ž=1 /x", "/Ž", true, "1", "\xC3\xA1/x"},
      {long_text, "/účet", true, "x", std::string(300000, 'a') + " /mode=q"},
      {"/a/b=1 /c", "/a/b", false, "", "kept"},
      {"x /modeq=1", "/mode", true, "", "x"},
  };
  for (const ArgCase& c : cases) {
    std::string value;
    std::string rest = "kept";
    EXPECT_EQ(c.found, ArgParse(c.text, c.name, &value, &rest, "")) << c.name;
    EXPECT_EQ(c.value, value) << c.name;
    EXPECT_EQ(c.rest, rest) << c.name;
  }
}

// The trace records of the parser, as the log writer receives them.
class ParserTraceTest : public ::testing::Test {
 protected:
  ScopedCaptureLog log_;

  static CapturedRecord Event(const std::string& tag, const std::string& text) {
    return {kDebugLog, "Brantvell" + tag + "\t" + text, {}};
  }
  static CapturedRecord ArgParseStart() { return Event("[mdlMain] (ArgParse)", "START: "); }
  static CapturedRecord ArgParseReturn(bool found) {
    return Event("[mdlMain] (ArgParse)", found ? "RETURN=True" : "RETURN=False");
  }
  static CapturedRecord ParamReturn(const std::string& text) {
    return Event("[mdlMain] (GetParamInfo)", "RETURN=True\t" + text);
  }
  static CapturedRecord DatReturn() {
    return {kCapturedDebug, "Brantvell[mdlMain] (GetParamInfoDat)\t", {"RETURN=True"}};
  }
};

TEST_F(ParserTraceTest, EmptyCommandLineWritesInfoAndReturn) {
  ParamInfoDat dat;
  GetParamInfoDat(" ", &dat);
  const std::vector<CapturedRecord> expected = {
      Event("[mdlMain] (GetParamInfoDat)", "INFO: \tnejsou zadne parametry v prikazove radce"),
      DatReturn()};
  EXPECT_EQ(expected, log_->Records());
}

TEST_F(ParserTraceTest, EachSwitchIsSearchedTwice) {
  ParamInfoDat dat;
  GetParamInfoDat("/action=cz /action=sk /mode=q", &dat);
  const std::vector<CapturedRecord> expected = {ArgParseStart(),
                                                ArgParseReturn(true),
                                                ArgParseStart(),
                                                ArgParseReturn(true),
                                                ParamReturn("/action\t2\tcz"),
                                                ArgParseStart(),
                                                ArgParseReturn(true),
                                                ArgParseStart(),
                                                ArgParseReturn(false),
                                                ParamReturn("/mode\t1\tq"),
                                                ArgParseStart(),
                                                ArgParseReturn(false),
                                                ParamReturn("/target\t0\t"),
                                                DatReturn()};
  EXPECT_EQ(expected, log_->Records());
}

TEST_F(ParserTraceTest, SingleQuoteValueWritesErrorRecord) {
  ParamInfoDat dat;
  GetParamInfoDat("/target=\"", &dat);
  const std::vector<CapturedRecord> expected = {
      ArgParseStart(),
      ArgParseReturn(false),
      ParamReturn("/action\t0\t"),
      ArgParseStart(),
      ArgParseReturn(false),
      ParamReturn("/mode\t0\t"),
      ArgParseStart(),
      {kErrLog,
       "Brantvell[mdlMain] (ArgParse)\t\t5\tBrantvell\tInvalid procedure call or "
       "argument\t9\t/target\t1\t9\t",
       {}},
      ArgParseReturn(false),
      ParamReturn("/target\t0\t\""),
      DatReturn()};
  EXPECT_EQ(expected, log_->Records());
}

}  // namespace
}  // namespace brantvell
